// Install step 1 against the real registry under Wine: the uninstall entry
// of the current user, and the file-version reader behind "DisplayVersion".
// The test owns the real key while it runs (ctest lock "hkcu_uninstall")
// and puts back whatever the key held before.
#include <gtest/gtest.h>
#include <windows.h>

#include <map>
#include <string>
#include <vector>

#include "engine/CSetupLogic.h"
#include "engine/UninstallEntry.h"
#include "engine/UninstallText.h"
#include "tests/extract/TestFiles.h"

namespace {

struct Value {
  DWORD type;
  std::vector<BYTE> bytes;
};
using Values = std::map<std::wstring, Value>;

Values ReadKey(const wchar_t* path) {
  Values values;
  HKEY key;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, path, 0, KEY_READ, &key) != ERROR_SUCCESS) return values;
  for (DWORD i = 0;; ++i) {
    wchar_t name[256];
    DWORD nameChars = 256, type = 0, size = 0;
    if (RegEnumValueW(key, i, name, &nameChars, nullptr, &type, nullptr, &size) != ERROR_SUCCESS)
      break;
    Value value{type, std::vector<BYTE>(size)};
    nameChars = 256;
    RegEnumValueW(key, i, name, &nameChars, nullptr, &type, value.bytes.data(), &size);
    values[name] = value;
  }
  RegCloseKey(key);
  return values;
}

void WriteKey(const wchar_t* path, const Values& values) {
  HKEY key;
  ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, path, 0, nullptr, 0, KEY_WRITE, nullptr, &key,
                            nullptr),
            ERROR_SUCCESS);
  for (const auto& v : values)
    RegSetValueExW(key, v.first.c_str(), 0, v.second.type, v.second.bytes.data(),
                   static_cast<DWORD>(v.second.bytes.size()));
  RegCloseKey(key);
}

bool KeyExists(const wchar_t* path) {
  HKEY key;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, path, 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
  RegCloseKey(key);
  return true;
}

Value Sz(const std::wstring& text) {
  const BYTE* bytes = reinterpret_cast<const BYTE*>(text.c_str());
  return Value{REG_SZ, std::vector<BYTE>(bytes, bytes + (text.size() + 1) * sizeof(wchar_t))};
}

Value Dword(DWORD number) {
  const BYTE* bytes = reinterpret_cast<const BYTE*>(&number);
  return Value{REG_DWORD, std::vector<BYTE>(bytes, bytes + sizeof(number))};
}

bool operator==(const Value& a, const Value& b) { return a.type == b.type && a.bytes == b.bytes; }

std::wstring Text(const Values& values, const wchar_t* name) {
  auto it = values.find(name);
  if (it == values.end()) return L"<missing>";
  return std::wstring(reinterpret_cast<const wchar_t*>(it->second.bytes.data()),
                      it->second.bytes.size() / sizeof(wchar_t));
}

SYSTEMTIME Date(WORD year, WORD month, WORD day) {
  SYSTEMTIME date = {};
  date.wYear = year;
  date.wMonth = month;
  date.wDay = day;
  return date;
}

// Starts every test without the key and restores the key as it was found.
class UninstallEntryTest : public testing::Test {
 protected:
  void SetUp() override {
    existed_ = KeyExists(kUninstallKeyPath);
    saved_ = ReadKey(kUninstallKeyPath);
    RegDeleteTreeW(HKEY_CURRENT_USER, kUninstallKeyPath);
    RegDeleteKeyW(HKEY_CURRENT_USER, kUninstallKeyPath);
  }
  void TearDown() override {
    RegDeleteTreeW(HKEY_CURRENT_USER, kUninstallKeyPath);
    RegDeleteKeyW(HKEY_CURRENT_USER, kUninstallKeyPath);
    if (existed_) WriteKey(kUninstallKeyPath, saved_);
  }

  // An install directory holding `browserFixture` as its browser.
  std::wstring InstallDirWith(const wchar_t* browserFixture, const wchar_t* sub = L"inst\\") {
    const std::wstring dir = tmp_ / sub;
    CreateDirectoryPathForTest(dir);
    EXPECT_TRUE(CopyFileW(FixturePath(browserFixture).c_str(), (dir + L"NuvraBrowser.exe").c_str(),
                          FALSE));
    return dir;
  }

  static void CreateDirectoryPathForTest(const std::wstring& dir) {
    for (size_t i = 3; i < dir.size(); ++i)
      if (IsPathSeparator(dir[i])) CreateDirectoryW(dir.substr(0, i).c_str(), nullptr);
  }

  TempDir tmp_;

 private:
  bool existed_ = false;
  Values saved_;
};

TEST_F(UninstallEntryTest, WritesTheTenValuesWithExactBytes) {
  ASSERT_EQ(tmp_.path().find(L' '), std::wstring::npos) << "needs a temp path without spaces";
  const std::wstring dir = InstallDirWith(L"fixture_version_3_2_100_5");
  ASSERT_EQ(WriteUninstallEntry(dir, Date(2013, 5, 7)), 1);

  const Values expected = {
      {L"DisplayName", Sz(L"Nuvra游戏浏览器")},
      {L"UninstallString", Sz(dir + L"NuvraUninstall.exe")},
      {L"DisplayIcon", Sz(dir + L"NuvraBrowser.exe")},
      {L"DisplayVersion", Sz(L"3.2")},
      {L"InstallDate", Sz(L"2013- 5- 7")},
      {L"URLInfoAbout", Sz(L"www.nuvra.example")},
      {L"Publisher", Sz(L"Nuvra Software")},
      {L"InstallLocation", Sz(dir)},
      {L"NoModify", Dword(0)},
      {L"NoRepair", Dword(0)},
  };
  const Values written = ReadKey(kUninstallKeyPath);
  EXPECT_EQ(written.size(), expected.size());
  for (const auto& v : expected) {
    auto it = written.find(v.first);
    ASSERT_NE(it, written.end()) << v.first;
    EXPECT_TRUE(it->second == v.second) << v.first << " = " << Text(written, v.first.c_str());
  }
}

TEST_F(UninstallEntryTest, TakesMajorAndMinorOfTheBrowsersFileVersion) {
  struct Case {
    const wchar_t* fixture;
    const wchar_t* version;  // null: no "DisplayVersion"
  } cases[] = {
      {L"fixture_version_3_2_100_5", L"3.2"},
      {L"fixture_version_10_0_0_1", L"10.0"},
      {L"fixture_no_version", nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.fixture);
    RegDeleteKeyW(HKEY_CURRENT_USER, kUninstallKeyPath);
    ASSERT_EQ(WriteUninstallEntry(InstallDirWith(c.fixture), Date(2013, 12, 25)), 1);
    const Values written = ReadKey(kUninstallKeyPath);
    EXPECT_EQ(written.size(), c.version ? 10u : 9u);
    EXPECT_EQ(written.count(L"DisplayVersion"), c.version ? 1u : 0u);
    if (c.version) EXPECT_TRUE(written.at(L"DisplayVersion") == Sz(c.version));
  }
}

// An earlier installation's key is opened and rewritten; values this step
// does not write stay, and so does an old "DisplayVersion" when the new
// browser has none.
TEST_F(UninstallEntryTest, RewritesAnExistingKeyAndKeepsForeignValues) {
  WriteKey(kUninstallKeyPath, {{L"DisplayName", Sz(L"old name")},
                               {L"DisplayVersion", Sz(L"0.9")},
                               {L"Comments", Sz(L"written by someone else")},
                               {L"NoModify", Dword(1)}});
  const std::wstring dir = InstallDirWith(L"fixture_no_version");
  ASSERT_EQ(WriteUninstallEntry(dir, Date(2014, 1, 1)), 1);
  const Values written = ReadKey(kUninstallKeyPath);
  EXPECT_TRUE(written.at(L"DisplayName") == Sz(L"Nuvra游戏浏览器"));
  EXPECT_TRUE(written.at(L"DisplayVersion") == Sz(L"0.9"));
  EXPECT_TRUE(written.at(L"Comments") == Sz(L"written by someone else"));
  EXPECT_TRUE(written.at(L"NoModify") == Dword(0));
  EXPECT_TRUE(written.at(L"InstallDate") == Sz(L"2014- 1- 1"));
  EXPECT_TRUE(written.at(L"InstallLocation") == Sz(dir));
}

TEST_F(UninstallEntryTest, KeepsAForwardSlashBeforeTheFileNames) {
  const std::wstring dir = InstallDirWith(L"fixture_no_version", L"fwd/");
  ASSERT_EQ(dir.back(), L'/');
  ASSERT_EQ(WriteUninstallEntry(dir, Date(2013, 12, 25)), 1);
  const Values written = ReadKey(kUninstallKeyPath);
  EXPECT_TRUE(written.at(L"InstallLocation") == Sz(dir));
  EXPECT_TRUE(written.at(L"UninstallString") == Sz(dir + L"NuvraUninstall.exe"));
  EXPECT_TRUE(written.at(L"DisplayIcon") == Sz(dir + L"NuvraBrowser.exe"));
}

// Windows runs "UninstallString" as a command line: with a space in the
// path it must be quoted, or "C:\My" could be started instead.
TEST_F(UninstallEntryTest, QuotesAnUninstallStringThatHoldsASpace) {
  const std::wstring dir = InstallDirWith(L"fixture_no_version", L"My Games\\Nuvra\\");
  ASSERT_EQ(WriteUninstallEntry(dir, Date(2013, 12, 25)), 1);
  const Values written = ReadKey(kUninstallKeyPath);
  EXPECT_TRUE(written.at(L"UninstallString") == Sz(L"\"" + dir + L"NuvraUninstall.exe\""));
  EXPECT_TRUE(written.at(L"DisplayIcon") == Sz(dir + L"NuvraBrowser.exe"));
  EXPECT_TRUE(written.at(L"InstallLocation") == Sz(dir));
}

TEST_F(UninstallEntryTest, StepRegistersTheInstallDirectoryWithTodaysDate) {
  CSetupLogic logic;
  logic.SetInstallDir(InstallDirWith(L"fixture_version_10_0_0_1").c_str());
  SYSTEMTIME before, after;
  GetLocalTime(&before);
  ASSERT_EQ(logic.StepWriteUninstallEntry(), 1);
  GetLocalTime(&after);
  const Values written = ReadKey(kUninstallKeyPath);
  const Value& date = written.at(L"InstallDate");
  EXPECT_TRUE(date == Sz(FormatInstallDate(before.wYear, before.wMonth, before.wDay)) ||
              date == Sz(FormatInstallDate(after.wYear, after.wMonth, after.wDay)));
  EXPECT_TRUE(written.at(L"InstallLocation") == Sz(logic.m_installDir));
  EXPECT_TRUE(written.at(L"DisplayVersion") == Sz(L"10.0"));
}

TEST(GetFileVersion, FailsWithoutTouchingTheResults) {
  TempDir tmp;
  struct Case {
    const wchar_t* path;
    DWORD error;  // 0: not looked at
  } cases[] = {
      {nullptr, ERROR_INVALID_PARAMETER},
      {L"", ERROR_INVALID_PARAMETER},
      {L"C:\\no such folder\\NuvraBrowser.exe", ERROR_FILE_NOT_FOUND},
  };
  for (const Case& c : cases) {
    UINT major = 7, minor = 7;
    EXPECT_EQ(GetFileVersion(c.path, &major, &minor), 0);
    EXPECT_EQ(GetLastError(), c.error);
    EXPECT_EQ(major, 7u);
    EXPECT_EQ(minor, 7u);
  }
  UINT major = 7, minor = 7;
  const std::wstring noVersion = FixturePath(L"fixture_no_version");
  EXPECT_EQ(GetFileVersion(noVersion.c_str(), &major, &minor), 0);
  EXPECT_EQ(major, 7u);
}

}  // namespace
