# win32 tree: a test program built like NuvraSetup.exe, with the package as
# its own resource FILE 143, reads that resource under Wine and compares it
# with the payload folder it was packed from.
nuvra_add_test(package_resource_test
  SOURCES package_resource_test.cpp package_resource_test.rc
  LIBS nuvra_package)
add_dependencies(package_resource_test nuvra_package_file)
# windres finds "SetupPackage.bin" through the include path, as res/ does.
target_include_directories(package_resource_test PRIVATE ${CMAKE_BINARY_DIR}/package)
set_source_files_properties(package_resource_test.rc PROPERTIES
  OBJECT_DEPENDS ${NUVRA_PACKAGE_FILE})
set_source_files_properties(package_resource_test.cpp PROPERTIES
  COMPILE_DEFINITIONS "NUVRA_TEST_PAYLOAD_DIR=\"${NUVRA_PAYLOAD_DIR}\"")

# The package that the build embeds passes the tool's own check.
nuvra_add_command_test(package_embedded_verify
  COMMAND ${NUVRA_PACK_TOOL} verify ${NUVRA_PACKAGE_FILE})
