# win32 tree: packs the payload folder into package/SetupPackage.bin, which
# res/ embeds as resource FILE 143 of NuvraSetup.exe.
#
#   NUVRA_PAYLOAD_DIR   folder to pack (default: the staged sample payload)
#   NUVRA_PACKAGE_FILE  the package file (set for res/ and tests)
include(ExternalProject)

set(NUVRA_PAYLOAD_DIR ${CMAKE_BINARY_DIR}/payload-stage CACHE PATH
    "Folder whose files NuvraSetup.exe installs")
set(NUVRA_HOST_TOOLS_DIR ${CMAKE_BINARY_DIR}/host-tools)
set(NUVRA_PACK_TOOL ${NUVRA_HOST_TOOLS_DIR}/nuvra-pack CACHE INTERNAL "")
set(NUVRA_PACKAGE_FILE ${CMAKE_BINARY_DIR}/package/SetupPackage.bin CACHE INTERNAL "")
set(payload_listing ${CMAKE_BINARY_DIR}/package/payload-files.txt)

# The tool is built natively with the host's cc/c++: no toolchain file is
# passed on, so nothing of the MinGW cross setup reaches it.  BUILD_ALWAYS
# lets the inner build notice source changes; the binary only changes when
# they do.
ExternalProject_Add(nuvra_host_tools
  SOURCE_DIR ${CMAKE_CURRENT_SOURCE_DIR}/host-build
  BINARY_DIR ${CMAKE_BINARY_DIR}/host-tools-build
  CMAKE_ARGS
    -DCMAKE_C_COMPILER=cc
    -DCMAKE_CXX_COMPILER=c++
    -DCMAKE_BUILD_TYPE=Release
    -DCMAKE_RUNTIME_OUTPUT_DIRECTORY=${NUVRA_HOST_TOOLS_DIR}
  BUILD_COMMAND ${CMAKE_COMMAND} --build <BINARY_DIR> --target nuvra-pack -j 2
  INSTALL_COMMAND ""
  BUILD_ALWAYS ON
  BUILD_BYPRODUCTS ${NUVRA_PACK_TOOL})

# The payload may be staged by the build, so its files are unknown at
# configure time.  A listing of names and content hashes is refreshed on
# every build and rewritten only when it changes; the package depends on it.
add_custom_target(nuvra_payload_listing
  COMMAND ${CMAKE_COMMAND} -DPAYLOAD_DIR=${NUVRA_PAYLOAD_DIR} -DLISTING=${payload_listing}
          -P ${CMAKE_CURRENT_SOURCE_DIR}/PayloadListing.cmake
  BYPRODUCTS ${payload_listing}
  VERBATIM)
if(TARGET nuvra_payload_stage)
  add_dependencies(nuvra_payload_listing nuvra_payload_stage)
endif()

add_custom_command(OUTPUT ${NUVRA_PACKAGE_FILE}
  COMMAND ${NUVRA_PACK_TOOL} pack ${NUVRA_PAYLOAD_DIR} -o ${NUVRA_PACKAGE_FILE}
  DEPENDS ${payload_listing} ${NUVRA_PACK_TOOL} nuvra_host_tools nuvra_payload_listing
  COMMENT "Packing ${NUVRA_PAYLOAD_DIR} into package/SetupPackage.bin"
  VERBATIM)
add_custom_target(nuvra_package_file ALL DEPENDS ${NUVRA_PACKAGE_FILE})
