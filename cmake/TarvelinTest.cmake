# One way to register a test: tarvelin_add_gtest for the core, tarvelin_add_qtest for the window.
#   tarvelin_add_gtest(NAME SOURCES a.cpp b.cpp LIBS lib... [ENV VAR=value...] [TIMEOUT seconds])
set(TARVELIN_LSAN_SUPPRESSIONS ${CMAKE_SOURCE_DIR}/cmake/lsan.supp)

function(_tarvelin_register name)
  cmake_parse_arguments(T "" "TIMEOUT" "ENV" ${ARGN})
  add_test(NAME ${name} COMMAND ${name})
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 600)
  endif()
  set_tests_properties(${name} PROPERTIES
    TIMEOUT ${T_TIMEOUT}
    ENVIRONMENT "LSAN_OPTIONS=suppressions=${TARVELIN_LSAN_SUPPRESSIONS};UBSAN_OPTIONS=print_stacktrace=1;TARVELIN_BIN_DIR=${CMAKE_BINARY_DIR}/bin;TARVELIN_STANDINS_DIR=${TARVELIN_STANDINS_DIR};TARVELIN_RESOURCES_DIR=${TARVELIN_RESOURCES_DIR};${T_ENV}")
endfunction()

function(tarvelin_add_gtest name)
  cmake_parse_arguments(T "" "TIMEOUT" "SOURCES;LIBS;ENV" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest GTest::gtest_main)
  _tarvelin_register(${name} TIMEOUT "${T_TIMEOUT}" ENV ${T_ENV})
endfunction()

function(tarvelin_add_qtest name)
  cmake_parse_arguments(T "" "TIMEOUT" "SOURCES;LIBS;ENV" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  set_target_properties(${name} PROPERTIES AUTOMOC ON)
  target_link_libraries(${name} PRIVATE ${T_LIBS} Qt6::Test Qt6::Widgets)
  _tarvelin_register(${name} TIMEOUT "${T_TIMEOUT}" ENV QT_QPA_PLATFORM=offscreen ${T_ENV})
endfunction()
