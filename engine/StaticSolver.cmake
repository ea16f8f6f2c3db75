# Sets TARVELIN_ENGINE_STATIC_SOLVER and TARVELIN_STATIC_SOLVER_LIBS: Ipopt and the numerical
# libraries under it as static archives (the orderings MUMPS calls stay shared), when every
# archive is found and a program calling Ipopt links with them.
set(TARVELIN_ENGINE_STATIC_SOLVER OFF)
set(TARVELIN_STATIC_SOLVER_LIBS)
if(WIN32 OR TARVELIN_SANITIZE OR TARVELIN_FUZZ)
  return()
endif()

set(_archives)
foreach(_name ipopt dmumps_seq mumps_common_seq pord_seq mpiseq_seq lapack blas)
  find_library(TARVELIN_ARCHIVE_${_name} NAMES lib${_name}.a HINTS ${IPOPT_LIBRARY_DIRS})
  if(NOT TARVELIN_ARCHIVE_${_name})
    return()
  endif()
  list(APPEND _archives ${TARVELIN_ARCHIVE_${_name}})
endforeach()
foreach(_name gfortran quadmath)
  execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=lib${_name}.a
                  OUTPUT_VARIABLE _path OUTPUT_STRIP_TRAILING_WHITESPACE)
  if(NOT IS_ABSOLUTE "${_path}" OR NOT EXISTS "${_path}")
    return()
  endif()
  list(APPEND _archives ${_path})
endforeach()
foreach(_name esmumps scotch scotcherr)
  find_library(TARVELIN_SHARED_${_name} NAMES ${_name} ${_name}-7.0)
  if(NOT TARVELIN_SHARED_${_name})
    return()
  endif()
  list(APPEND _archives ${TARVELIN_SHARED_${_name}})
endforeach()
list(APPEND _archives m dl)

include(CheckCXXSourceCompiles)
include(CMakePushCheckState)
cmake_push_check_state(RESET)
set(CMAKE_REQUIRED_INCLUDES ${IPOPT_INCLUDE_DIRS})
set(CMAKE_REQUIRED_DEFINITIONS ${IPOPT_CFLAGS_OTHER})
set(CMAKE_REQUIRED_LIBRARIES ${_archives})
set(CMAKE_REQUIRED_QUIET ON)
check_cxx_source_compiles("
#include <IpIpoptApplication.hpp>
int main() {
  Ipopt::SmartPtr<Ipopt::IpoptApplication> app = IpoptApplicationFactory();
  return app->Initialize() == Ipopt::Solve_Succeeded ? 0 : 1;
}" TARVELIN_STATIC_SOLVER_LINKS)
cmake_pop_check_state()
if(TARVELIN_STATIC_SOLVER_LINKS)
  set(TARVELIN_ENGINE_STATIC_SOLVER ON)
  set(TARVELIN_STATIC_SOLVER_LIBS ${_archives})
  message(STATUS "Engine: Ipopt and its numerical libraries linked statically")
endif()
