# Each slot of a Qt Test program as a test of its own, as gtest_discover_tests does for
# GoogleTest: after every build the program lists its slots (`TEST -functions`) and a file of
# add_test lines is written, which ctest includes. Each test runs `TEST slot` offscreen, so a
# failure or a crash in one slot is that slot's test failing. The user's settings stay out of
# reach: the GUI tests keep theirs in the build folder.
#
# Included from CMakeLists.txt it defines pelmora_qt_test_slots(TARGET [LABELS ...]); run with
# `cmake -P` after a build it writes the test file.

if(CMAKE_SCRIPT_MODE_FILE)
  execute_process(
    COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen ${TEST_EXECUTABLE} -functions
    OUTPUT_VARIABLE listing ERROR_VARIABLE errors RESULT_VARIABLE status TIMEOUT 60)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "${TEST_EXECUTABLE} -functions failed (${status}):\n${listing}${errors}")
  endif()
  string(REPLACE "\n" ";" lines "${listing}")
  set(script "")
  set(count 0)
  foreach(line IN LISTS lines)
    if(line MATCHES "^([A-Za-z_][A-Za-z0-9_]*)\\(\\)$")
      set(slot ${CMAKE_MATCH_1})
      set(name ${TEST_TARGET}.${slot})
      string(APPEND script
        "add_test([=[${name}]=] [=[${TEST_EXECUTABLE}]=] [=[${slot}]=])\n"
        "set_tests_properties([=[${name}]=] PROPERTIES ENVIRONMENT"
        " [=[QT_QPA_PLATFORM=offscreen;XDG_CONFIG_HOME=${TEST_SETTINGS}]=]"
        " LABELS [=[${TEST_LABELS}]=])\n")
      math(EXPR count "${count} + 1")
    endif()
  endforeach()
  if(count EQUAL 0)
    message(FATAL_ERROR "${TEST_EXECUTABLE} -functions listed no slot:\n${listing}")
  endif()
  file(WRITE ${CTEST_FILE} "${script}")
  return()
endif()

set(PELMORA_QT_TEST_SLOTS_SCRIPT ${CMAKE_CURRENT_LIST_FILE})

function(pelmora_qt_test_slots target)
  cmake_parse_arguments(SLOTS "" "" "LABELS" ${ARGN})
  set(ctest_file ${CMAKE_CURRENT_BINARY_DIR}/${target}_slots.cmake)
  set(include_file ${CMAKE_CURRENT_BINARY_DIR}/${target}_slots_include.cmake)
  add_custom_command(TARGET ${target} POST_BUILD
    BYPRODUCTS ${ctest_file}
    COMMAND ${CMAKE_COMMAND} -D TEST_TARGET=${target} -D TEST_EXECUTABLE=$<TARGET_FILE:${target}>
      -D "TEST_LABELS=${SLOTS_LABELS}" -D CTEST_FILE=${ctest_file}
      -D TEST_SETTINGS=${CMAKE_CURRENT_BINARY_DIR}/gui-test-settings
      -P ${PELMORA_QT_TEST_SLOTS_SCRIPT}
    VERBATIM)
  # Before the first build there is no list yet: one test says so rather than none passing.
  file(WRITE ${include_file}
    "if(EXISTS [=[${ctest_file}]=])\n"
    "  include([=[${ctest_file}]=])\n"
    "else()\n"
    "  add_test([=[${target}_NOT_BUILT]=] [=[${target}_NOT_BUILT]=])\n"
    "endif()\n")
  set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES ${include_file})
endfunction()
