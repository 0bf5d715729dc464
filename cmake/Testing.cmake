# Test registration shared by every folder.
#
#   nuvra_add_test(NAME SOURCES a.cpp ... [LIBS lib ...] [LOCKS lock ...]
#                  [LABELS label ...] [TIMEOUT seconds])
#
# Builds one GoogleTest executable and registers it as ONE ctest entry.
# In the win32 tree the entry runs under Wine through scripts/wine-run.sh
# (a Wine process start costs seconds, so test cases are never split into
# separate processes).  Every Wine test requires the "wine" fixture, which
# boots the shared prefix and the virtual display once per test run.
# LOCKS names shared state a test changes (for example "hkcu_uninstall",
# "desktop"); ctest never runs two tests holding the same lock at once.

enable_testing()

function(nuvra_add_test name)
  cmake_parse_arguments(T "" "TIMEOUT" "SOURCES;LIBS;LOCKS;LABELS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest_main)
  add_test(NAME ${name} COMMAND ${name} --gtest_color=no)
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 300)
  endif()
  set_tests_properties(${name} PROPERTIES TIMEOUT ${T_TIMEOUT})
  if(T_LABELS)
    set_tests_properties(${name} PROPERTIES LABELS "${T_LABELS}")
  endif()
  if(T_LOCKS)
    set_tests_properties(${name} PROPERTIES RESOURCE_LOCK "${T_LOCKS}")
  endif()
  if(WIN32)
    set_tests_properties(${name} PROPERTIES FIXTURES_REQUIRED wine)
  endif()
endfunction()

# Registers a command (a script, a tool run) as a ctest entry.  In the win32
# tree it also requires the Wine fixture.
function(nuvra_add_command_test name)
  cmake_parse_arguments(T "" "TIMEOUT" "COMMAND;LOCKS;LABELS" ${ARGN})
  add_test(NAME ${name} COMMAND ${T_COMMAND})
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 300)
  endif()
  set_tests_properties(${name} PROPERTIES TIMEOUT ${T_TIMEOUT})
  if(T_LABELS)
    set_tests_properties(${name} PROPERTIES LABELS "${T_LABELS}")
  endif()
  if(T_LOCKS)
    set_tests_properties(${name} PROPERTIES RESOURCE_LOCK "${T_LOCKS}")
  endif()
  if(WIN32)
    set_tests_properties(${name} PROPERTIES FIXTURES_REQUIRED wine)
  endif()
endfunction()

if(WIN32)
  set(NUVRA_WINE_STATE ${CMAKE_BINARY_DIR}/wine)
  set(NUVRA_WINE_RUN ${PROJECT_SOURCE_DIR}/scripts/wine-run.sh)
  # Every cross-built executable that ctest or a custom command runs goes
  # through the wrapper: one 32-bit prefix under the build folder.
  set(CMAKE_CROSSCOMPILING_EMULATOR ${NUVRA_WINE_RUN} ${NUVRA_WINE_STATE})
  add_test(NAME wine_start COMMAND ${NUVRA_WINE_RUN} ${NUVRA_WINE_STATE} --start)
  add_test(NAME wine_stop COMMAND ${NUVRA_WINE_RUN} ${NUVRA_WINE_STATE} --stop)
  set_tests_properties(wine_start PROPERTIES FIXTURES_SETUP wine TIMEOUT 600)
  set_tests_properties(wine_stop PROPERTIES FIXTURES_CLEANUP wine TIMEOUT 120)
endif()
