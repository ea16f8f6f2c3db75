#pragma once
// The outcome of one solve as a value: statuses in the modelling language's numbering and words,
// the objective, the work done, and what the solver itself reported.
#include <string>

namespace tarvelin::engine {

struct SolveSummary {
  std::string modelName;
  std::string objectiveName;
  bool maximize = false;
  std::string requestedSolver;  // as the nlp option named it, upper case
  int line = 0;                 // of the solve statement
  int solverStatus = 13;
  int modelStatus = 13;
  std::string ipoptStatus;  // the solver's own return status
  double objective = 0;
  int iterations = 0;
  double seconds = 0;
  int rows = 0;     // constraints passed to the solver
  int columns = 0;  // variables passed to the solver
  int nonzeros = 0;
  int projectedLevels = 0;
  bool solutionReturned = false;
  bool objectiveEliminated = false;
};

const char* solverStatusText(int status);
const char* modelStatusText(int status);

}  // namespace tarvelin::engine
