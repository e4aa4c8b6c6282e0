# castellan_library(<name> [DEPS ...])
# One static library per folder; its sources are every .cpp/.h of the folder
# (sub-folders included), so adding a file needs no edit here.
function(castellan_library name)
  cmake_parse_arguments(ARG "" "" "DEPS" ${ARGN})
  file(GLOB_RECURSE _src CONFIGURE_DEPENDS
       ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
  list(FILTER _src EXCLUDE REGEX "/main\\.cpp$")
  add_library(${name} STATIC ${_src})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
  target_link_libraries(${name} PUBLIC ${ARG_DEPS})
endfunction()

# Seconds any one test may take (sanitized build, a loaded machine).
set(CASTELLAN_TEST_TIMEOUT 180)

# castellan_tests(<label> LIBS ...)
# Every <name>_test.cpp of the calling folder becomes the test program
# <label>_<name>, linked against the shared test main, and its cases are
# registered with CTest under the label. Each case gets a timeout, so that a
# hang fails within minutes rather than at CI's limit.
function(castellan_tests label)
  cmake_parse_arguments(ARG "" "" "LIBS" ${ARGN})
  file(GLOB _tests CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*_test.cpp)
  foreach(_file ${_tests})
    get_filename_component(_stem ${_file} NAME_WE)
    string(REGEX REPLACE "_test$" "" _stem ${_stem})
    set(_exe ${label}_${_stem})
    add_executable(${_exe} ${_file})
    target_link_libraries(${_exe} PRIVATE ${ARG_LIBS} castellan_test_main)
    gtest_discover_tests(${_exe}
      PROPERTIES LABELS ${label}
                 ENVIRONMENT "CASTELLAN_TEST_TREE_DIR=${CASTELLAN_TEST_TREE_DIR}"
                 TIMEOUT ${CASTELLAN_TEST_TIMEOUT}
      DISCOVERY_TIMEOUT 60)
  endforeach()
endfunction()
