// This program exports MsgPacket and CSocketMain the way NuvraSetup.exe does
// and loads a DLL that imports them from it by name; the DLL's calls must
// land in this executable's code.
#include <windows.h>

#include <gtest/gtest.h>

#include "net/CSocketMain.h"

namespace {

TEST(ExportHost, DllInTheProcessUsesTheExecutablesClasses) {
  HMODULE probe = LoadLibraryW(L"export_probe.dll");
  ASSERT_NE(probe, nullptr) << GetLastError();
  typedef int (*ProbeFn)(const void**);
  ProbeFn run = reinterpret_cast<ProbeFn>(GetProcAddress(probe, "ProbeExports"));
  ASSERT_NE(run, nullptr);

  const void* where = nullptr;
  EXPECT_EQ(run(&where), 1);
  MEMORY_BASIC_INFORMATION region = {};
  ASSERT_NE(VirtualQuery(where, &region, sizeof(region)), 0u);
  EXPECT_EQ(region.AllocationBase, GetModuleHandleW(nullptr));
  FreeLibrary(probe);
}

}  // namespace
