# Third-party code that the build compiles from Debian's packages, never
# copied into this repository:
#   lzma_sdk  - the LZMA SDK's C decoder and encoder (package lzma-dev)
#   GTest     - GoogleTest's sources (package googletest)

set(NUVRA_LZMA_SDK_DIR /usr/include/lzma CACHE PATH "LZMA SDK C sources (Debian lzma-dev)")
if(NOT EXISTS ${NUVRA_LZMA_SDK_DIR}/LzmaDec.c)
  message(FATAL_ERROR "LZMA SDK sources not found in ${NUVRA_LZMA_SDK_DIR}: run scripts/bootstrap.sh")
endif()

add_library(lzma_sdk STATIC
  ${NUVRA_LZMA_SDK_DIR}/LzmaDec.c
  ${NUVRA_LZMA_SDK_DIR}/LzmaEnc.c
  ${NUVRA_LZMA_SDK_DIR}/LzFind.c)
# _7ZIP_ST: single-threaded match finder, so LzFindMt (not shipped) is not needed.
target_compile_definitions(lzma_sdk PUBLIC _7ZIP_ST)
# The SDK headers live beside the sources; reach them as <lzma/LzmaDec.h>
# without putting /usr/include on a cross compiler's search path.
set(NUVRA_LZMA_INCLUDE ${CMAKE_BINARY_DIR}/lzma_sdk_include)
file(MAKE_DIRECTORY ${NUVRA_LZMA_INCLUDE})
file(CREATE_LINK ${NUVRA_LZMA_SDK_DIR} ${NUVRA_LZMA_INCLUDE}/lzma SYMBOLIC)
target_include_directories(lzma_sdk SYSTEM PUBLIC ${NUVRA_LZMA_INCLUDE} ${NUVRA_LZMA_SDK_DIR})
set_target_properties(lzma_sdk PROPERTIES POSITION_INDEPENDENT_CODE ON)

set(NUVRA_GTEST_DIR /usr/src/googletest CACHE PATH "GoogleTest sources (Debian googletest)")
if(NOT EXISTS ${NUVRA_GTEST_DIR}/CMakeLists.txt)
  message(FATAL_ERROR "GoogleTest sources not found in ${NUVRA_GTEST_DIR}: run scripts/bootstrap.sh")
endif()
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
add_subdirectory(${NUVRA_GTEST_DIR} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
