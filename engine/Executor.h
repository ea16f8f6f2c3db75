#pragma once
// Runs a compiled program's statements in order: assignments, loops, aborts, displays, options,
// solves and put statements. Execution errors throw ExecError with the loop elements added.
#include <ostream>
#include <string>
#include <vector>

#include "engine/Evaluator.h"
#include "engine/Listing.h"
#include "engine/Program.h"
#include "engine/SolveSummary.h"

namespace tarvelin::engine {

struct RunOptions {
  bool writeFiles = true;      // put files on disk; otherwise kept in memory
  bool printSolverLog = true;  // Ipopt's iteration log on standard output
  double maxIterations = 3000;
};

class Executor {
 public:
  Executor(Program& program, Listing& listing, std::ostream& log, RunOptions options);

  void run();
  // Writes what remains of open put files and closes them.
  void finish();
  const std::vector<SolveSummary>& solves() const { return solves_; }
  // The current element of every enclosing loop ("j = 7"), for messages after an error.
  std::string loopElements() const { return env_.loopElements(); }

 private:
  void execute(const Stmt& stmt);
  void assign(const Stmt& stmt);
  void assignOne(const Stmt& stmt);
  void loop(const Stmt& stmt);
  void abort(const Stmt& stmt);
  void display(const Stmt& stmt);
  void option(const Stmt& stmt);
  void solve(const Stmt& stmt);
  void put(const Stmt& stmt);
  void writeItem(PutFile& file, const PutItem& item);
  void openFile(PutFile& file);
  void closeFile(PutFile& file);
  void append(PutFile& file, const std::string& text);
  void setFileAttribute(PutFile& file, const std::string& name, double value, SourcePos pos);
  std::string where(const Stmt& stmt) const;

  Program& program_;
  Listing& listing_;
  std::ostream& log_;
  RunOptions options_;
  Env env_;
  Symbol* currentFile_ = nullptr;
  std::string requestedSolver_;
  double iterationLimit_ = 2e9;
  double timeLimit_ = 1000;
  std::vector<SolveSummary> solves_;
};

}  // namespace tarvelin::engine
