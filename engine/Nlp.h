#pragma once
// Solves a generated model instance with Ipopt, with exact first and second derivatives from
// the tapes, and writes levels, marginals and the model attributes back to the symbols.
#include <ostream>

#include "engine/ModelInstance.h"
#include "engine/SolveSummary.h"

namespace tarvelin::engine {

struct SolverLimits {
  double iterationLimit = 3000;
  double timeLimit = 1000;
  bool printLog = true;  // Ipopt's iteration log on standard output
};

SolveSummary solveWithIpopt(ModelInstance& instance, const SolverLimits& limits);

// Maps Ipopt's return status (the ApplicationReturnStatus value) to solver and model status.
void mapIpoptStatus(int ipoptStatus, bool feasible, int& solverStatus, int& modelStatus);

// Ipopt's name for its return status ("Solve_Succeeded").
const char* ipoptStatusName(int ipoptStatus);

}  // namespace tarvelin::engine
