// Texts of the uninstall entry and the install engine's path rules: pure
// logic, tested on the host and under Wine.
#include <gtest/gtest.h>

#include <string>

#include "engine/PathRules.h"
#include "engine/UninstallText.h"

namespace {

TEST(FormatInstallDate, PadsWithSpacesNotZeros) {
  struct { int y, m, d; const wchar_t* text; } cases[] = {
      {2013, 12, 25, L"2013-12-25"},
      {2014, 1, 1, L"2014- 1- 1"},
      {2013, 5, 7, L"2013- 5- 7"},
      {999, 10, 9, L" 999-10- 9"},
  };
  for (const auto& c : cases) EXPECT_EQ(FormatInstallDate(c.y, c.m, c.d), c.text);
}

TEST(FormatDisplayVersion, WritesMajorDotMinor) {
  EXPECT_EQ(FormatDisplayVersion(3, 2), L"3.2");
  EXPECT_EQ(FormatDisplayVersion(10, 0), L"10.0");
  EXPECT_EQ(FormatDisplayVersion(65535, 65535), L"65535.65535");
}

TEST(UninstallCommand, QuotesOnlyAPathWithASpace) {
  EXPECT_EQ(UninstallCommand(L"C:\\Nuvra\\NuvraUninstall.exe"), L"C:\\Nuvra\\NuvraUninstall.exe");
  EXPECT_EQ(UninstallCommand(L"C:\\Program Files\\Nuvra\\NuvraUninstall.exe"),
            L"\"C:\\Program Files\\Nuvra\\NuvraUninstall.exe\"");
  EXPECT_EQ(UninstallCommand(L"C:/x y/NuvraUninstall.exe"), L"\"C:/x y/NuvraUninstall.exe\"");
}

TEST(IsDriveRoot, RecognisesRootsOfDrivesAndShares) {
  struct { const wchar_t* dir; bool root; } cases[] = {
      {L"C:\\", true},          {L"C:", true},
      {L"c:/", true},           {L"D:\\\\", true},
      {L"\\", true},            {L"\\\\server\\share\\", true},
      {L"\\\\server\\share", true},
      {L"C:\\Nuvra\\", false},  {L"C:\\Users\\me\\Documents\\", false},
      {L"\\\\server\\share\\apps\\", false},
      {L"C:Nuvra\\", false},    {L"Nuvra\\", false},
      // Dots that lead back to the root, and dots that do not.
      {L"C:\\.\\", true},        {L"C:\\Nuvra\\..\\", true},
      {L"C:/a/b/../../", true},  {L"C:\\..\\..\\", true},
      {L"C:\\Nuvra\\...\\", true}, {L"\\\\server\\share\\apps\\..\\", true},
      {L"C:\\Nuvra\\.\\", false}, {L"C:\\a\\b\\..\\", false},
      {L"C:\\..\\Nuvra\\", false}, {L"C:\\.Nuvra\\", false},
  };
  for (const auto& c : cases)
    EXPECT_EQ(IsDriveRoot(c.dir), c.root) << testing::PrintToString(std::wstring(c.dir));
}

TEST(PathRules, JoinsWithOneSeparatorAndChecksTheBuffer) {
  EXPECT_EQ(JoinPath(L"C:\\a\\", L"b"), L"C:\\a\\b");
  EXPECT_EQ(JoinPath(L"C:\\a/", L"b"), L"C:\\a/b");
  EXPECT_EQ(JoinPath(L"C:\\a", L"b"), L"C:\\a\\b");
  EXPECT_TRUE(FitsPathBuffer(std::wstring(259, L'x')));
  EXPECT_FALSE(FitsPathBuffer(std::wstring(260, L'x')));
}

}  // namespace
