// Solver and model status: Ipopt's outcome in the modelling language's numbering and words.
#include <IpReturnCodes.hpp>

#include "engine/Nlp.h"
#include "engine/SolveSummary.h"

namespace tarvelin::engine {

void mapIpoptStatus(int ipoptStatus, bool feasible, int& solverStatus, int& modelStatus) {
  int partial = feasible ? 7 : 6;  // Feasible Solution / Intermediate Infeasible
  switch (static_cast<Ipopt::ApplicationReturnStatus>(ipoptStatus)) {
    case Ipopt::Solve_Succeeded:
      solverStatus = 1;
      modelStatus = 2;
      return;
    case Ipopt::Solved_To_Acceptable_Level:
    case Ipopt::Feasible_Point_Found:
      solverStatus = 1;
      modelStatus = 7;
      return;
    case Ipopt::Infeasible_Problem_Detected:
      solverStatus = 1;
      modelStatus = 5;
      return;
    case Ipopt::Diverging_Iterates:
      solverStatus = 4;
      modelStatus = 3;
      return;
    case Ipopt::Maximum_Iterations_Exceeded:
      solverStatus = 2;
      modelStatus = partial;
      return;
    case Ipopt::Maximum_CpuTime_Exceeded:
      solverStatus = 3;
      modelStatus = partial;
      return;
    case Ipopt::User_Requested_Stop:
      solverStatus = 8;
      modelStatus = partial;
      return;
    case Ipopt::Search_Direction_Becomes_Too_Small:
    case Ipopt::Restoration_Failed:
    case Ipopt::Error_In_Step_Computation:
      solverStatus = 4;
      modelStatus = partial;
      return;
    case Ipopt::Invalid_Number_Detected:
      solverStatus = 5;
      modelStatus = 13;
      return;
    case Ipopt::Not_Enough_Degrees_Of_Freedom:
    case Ipopt::Invalid_Problem_Definition:
    case Ipopt::Invalid_Option:
      solverStatus = 9;
      modelStatus = 13;
      return;
    case Ipopt::Insufficient_Memory:
      solverStatus = 10;
      modelStatus = 13;
      return;
    default:
      solverStatus = 11;
      modelStatus = 13;
      return;
  }
}

const char* ipoptStatusName(int ipoptStatus) {
  switch (static_cast<Ipopt::ApplicationReturnStatus>(ipoptStatus)) {
    case Ipopt::Solve_Succeeded:
      return "Solve_Succeeded";
    case Ipopt::Solved_To_Acceptable_Level:
      return "Solved_To_Acceptable_Level";
    case Ipopt::Infeasible_Problem_Detected:
      return "Infeasible_Problem_Detected";
    case Ipopt::Search_Direction_Becomes_Too_Small:
      return "Search_Direction_Becomes_Too_Small";
    case Ipopt::Diverging_Iterates:
      return "Diverging_Iterates";
    case Ipopt::User_Requested_Stop:
      return "User_Requested_Stop";
    case Ipopt::Feasible_Point_Found:
      return "Feasible_Point_Found";
    case Ipopt::Maximum_Iterations_Exceeded:
      return "Maximum_Iterations_Exceeded";
    case Ipopt::Restoration_Failed:
      return "Restoration_Failed";
    case Ipopt::Error_In_Step_Computation:
      return "Error_In_Step_Computation";
    case Ipopt::Maximum_CpuTime_Exceeded:
      return "Maximum_CpuTime_Exceeded";
    case Ipopt::Not_Enough_Degrees_Of_Freedom:
      return "Not_Enough_Degrees_Of_Freedom";
    case Ipopt::Invalid_Problem_Definition:
      return "Invalid_Problem_Definition";
    case Ipopt::Invalid_Option:
      return "Invalid_Option";
    case Ipopt::Invalid_Number_Detected:
      return "Invalid_Number_Detected";
    case Ipopt::Unrecoverable_Exception:
      return "Unrecoverable_Exception";
    case Ipopt::NonIpopt_Exception_Thrown:
      return "NonIpopt_Exception_Thrown";
    case Ipopt::Insufficient_Memory:
      return "Insufficient_Memory";
    case Ipopt::Internal_Error:
      return "Internal_Error";
  }
  return "unknown";
}

const char* solverStatusText(int status) {
  static const char* texts[] = {"",
                                "Normal Completion",
                                "Iteration Interrupt",
                                "Resource Interrupt",
                                "Terminated By Solver",
                                "Evaluation Interrupt",
                                "Capability Problems",
                                "Licensing Problems",
                                "User Interrupt",
                                "Error Setup Failure",
                                "Error Solver Failure",
                                "Error Internal Solver Error",
                                "Solve Processing Skipped",
                                "Error System Failure"};
  return status >= 1 && status <= 13 ? texts[status] : "Unknown";
}

const char* modelStatusText(int status) {
  static const char* texts[] = {"",
                                "Optimal",
                                "Locally Optimal",
                                "Unbounded",
                                "Infeasible",
                                "Locally Infeasible",
                                "Intermediate Infeasible",
                                "Feasible Solution",
                                "Integer Solution",
                                "Intermediate Non-Integer",
                                "Integer Infeasible",
                                "Licensing Problem",
                                "Error Unknown",
                                "Error No Solution",
                                "No Solution Returned",
                                "Solved Unique",
                                "Solved",
                                "Solved Singular",
                                "Unbounded - No Solution",
                                "Infeasible - No Solution"};
  return status >= 1 && status <= 19 ? texts[status] : "Unknown";
}

}  // namespace tarvelin::engine
