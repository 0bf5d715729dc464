# Checks the staged sample payload against its sources: exactly the five
# programs at the top level plus every file of payload/files/ at the same
# relative path, each byte for byte, and nothing else (no stamp, no stale
# file).
#   cmake -DSTAGE=<payload-stage> -DFILES=<payload/files> -DBIN=<bin> -P check_stage.cmake
cmake_minimum_required(VERSION 3.25)
set(programs NuvraBrowser.exe NuvraUpdate.exe NuvraWeb.exe NuvraCtrl.exe NuvraUninstall.exe)

file(GLOB_RECURSE sample RELATIVE ${FILES} ${FILES}/*)
set(expected ${programs} ${sample})
list(SORT expected)
file(GLOB_RECURSE staged RELATIVE ${STAGE} ${STAGE}/*)
list(SORT staged)
if(NOT staged STREQUAL expected)
  message(FATAL_ERROR "staged payload differs from its sources\n  staged:   ${staged}\n  expected: ${expected}")
endif()

set(two_levels FALSE)
foreach(name IN LISTS expected)
  if(name IN_LIST programs)
    set(source ${BIN}/${name})
  else()
    set(source ${FILES}/${name})
    if(name MATCHES "^[^/]+/[^/]+/")
      set(two_levels TRUE)
    endif()
  endif()
  execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${source} ${STAGE}/${name}
                  RESULT_VARIABLE different)
  if(different)
    message(FATAL_ERROR "${STAGE}/${name} is not a copy of ${source}")
  endif()
endforeach()
if(NOT two_levels)
  message(FATAL_ERROR "the sample files reach no second sub-folder level")
endif()
message(STATUS "staged payload: ${staged}")
