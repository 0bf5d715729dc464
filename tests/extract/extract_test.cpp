// Install step 0 against the real file system under Wine: preparing the
// install directory, unpacking packages sound and damaged, path limits.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "engine/CSetupLogic.h"
#include "engine/Extraction.h"
#include "engine/Handles.h"
#include "engine/package/Package.h"
#include "engine/package/PackageWriter.h"
#include "tests/extract/TestFiles.h"

namespace {

struct Record {
  std::string name;
  std::string data;
};

std::vector<uint8_t> MakeArchive(const std::vector<Record>& records) {
  nuvra::ArchiveWriter writer;
  for (const Record& r : records)
    EXPECT_TRUE(writer.AddRecord(r.name.data(), r.name.size(),
                                 reinterpret_cast<const uint8_t*>(r.data.data()), r.data.size()));
  return writer.Take();
}

std::vector<uint8_t> MakeContainer(const std::vector<uint8_t>& archive) {
  std::vector<uint8_t> container;
  EXPECT_EQ(nuvra::EncodeContainer(archive.data(), archive.size(), nuvra::EncodeOptions(),
                                   &container).status,
            nuvra::EncodeStatus::Ok);
  return container;
}

const std::vector<Record> kPackageFiles = {
    {"NuvraBrowser.exe", "browser v2"},
    {"NuvraUninstall.exe", "uninstaller"},
    {"plugins\\flash.dll", "plugin"},
    {"res\\skin\\bg.png", "png"},
};

// A copy of the blank fixture program that carries `container` as its
// "FILE" 143, loaded as a data file: what the installer's own module is to
// the real step.
class PackageModule {
 public:
  explicit PackageModule(const std::vector<uint8_t>& container) {
    const std::wstring path = dir_ / L"host.exe";
    EXPECT_TRUE(CopyFileW(FixturePath(L"fixture_no_version").c_str(), path.c_str(), FALSE));
    HANDLE update = BeginUpdateResourceW(path.c_str(), FALSE);
    EXPECT_NE(update, nullptr);
    EXPECT_TRUE(UpdateResourceW(update, L"FILE", MAKEINTRESOURCEW(kPackageResourceId),
                                MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL),
                                const_cast<uint8_t*>(container.data()),
                                static_cast<DWORD>(container.size())));
    EXPECT_TRUE(EndUpdateResourceW(update, FALSE));
    module_ = LoadLibraryExW(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    EXPECT_NE(module_, nullptr);
  }
  ~PackageModule() { FreeLibrary(module_); }
  HMODULE get() const { return module_; }

 private:
  TempDir dir_;
  HMODULE module_ = nullptr;
};

const PackageModule& SoundPackage() {
  static const PackageModule module(MakeContainer(MakeArchive(kPackageFiles)));
  return module;
}

void ExpectPackageFilesIn(const std::wstring& dir) {
  for (const Record& r : kPackageFiles) {
    const std::wstring name(r.name.begin(), r.name.end());
    EXPECT_EQ(FileText(dir + name), r.data) << r.name;
  }
  EXPECT_FALSE(FileExists(dir + L"SetupPacket.7z"));
}

// Names of the entries of `dir` in the order the file system lists them.
std::vector<std::wstring> Listing(const std::wstring& dir) {
  std::vector<std::wstring> names;
  WIN32_FIND_DATAW entry;
  HANDLE find = FindFirstFileW((dir + L"*").c_str(), &entry);
  if (find == INVALID_HANDLE_VALUE) return names;
  do {
    const std::wstring name = entry.cFileName;
    if (name != L"." && name != L"..") names.push_back(name);
  } while (FindNextFileW(find, &entry));
  FindClose(find);
  return names;
}

std::wstring PendingRenames() {
  HKEY key;
  std::wstring text;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"System\\CurrentControlSet\\Control\\Session Manager", 0,
                    KEY_READ, &key) != ERROR_SUCCESS)
    return text;
  DWORD type = 0, size = 0;
  if (RegQueryValueExW(key, L"PendingFileRenameOperations", nullptr, &type, nullptr, &size) ==
      ERROR_SUCCESS) {
    text.resize(size / sizeof(wchar_t));
    RegQueryValueExW(key, L"PendingFileRenameOperations", nullptr, &type,
                     reinterpret_cast<BYTE*>(&text[0]), &size);
    for (wchar_t& c : text)
      if (c == L'\0') c = L'|';
  }
  RegCloseKey(key);
  return text;
}

// Holds a file open without delete sharing: it can be neither deleted nor
// renamed while open.
class OpenFile {
 public:
  explicit OpenFile(const std::wstring& path)
      : handle_(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_EXISTING, 0, nullptr)) {
    EXPECT_NE(handle_, INVALID_HANDLE_VALUE);
  }
  ~OpenFile() { CloseHandle(handle_); }

 private:
  HANDLE handle_;
};

// Also when typed with forward slashes, which the directory keeps.
TEST(ExtractPackage, CreatesAnAbsentDirectoryWithItsParents) {
  for (const wchar_t* sub : {L"a\\b\\c\\", L"a/b/c/"}) {
    SCOPED_TRACE(testing::PrintToString(std::wstring(sub)));
    TempDir tmp;
    const std::wstring dir = tmp / sub;
    ASSERT_EQ(ExtractPackage(dir, SoundPackage().get()), 1) << GetLastError();
    ExpectPackageFilesIn(dir);
  }
}

TEST(StepExtractPackage, UnpacksThePackageOfItsOwnModule) {
  TempDir tmp;
  CSetupLogic logic;
  logic.SetInstallDir((tmp / L"own").c_str());
  ASSERT_EQ(logic.StepExtractPackage(), 1) << GetLastError();
  EXPECT_EQ(FileText(tmp / L"own\\NuvraBrowser.exe"), "browser");
  EXPECT_EQ(FileText(tmp / L"own\\res\\skin\\readme.txt"), "own module");
  EXPECT_FALSE(FileExists(tmp / L"own\\SetupPacket.7z"));
}

// Only the top-level folder named exactly "Data" is spared.
TEST(ExtractPackage, CleansAPreviousInstallationSparingItsDataFolder) {
  for (const wchar_t* dataName : {L"Data", L"DATA"}) {
    SCOPED_TRACE(testing::Message() << dataName);
    const bool spared = wcscmp(dataName, L"Data") == 0;
    TempDir dir;
    const std::wstring data = dir / dataName;
    for (const wchar_t* folder : {L"plugins", L"plugins\\deep", L"plugins\\Data", L"empty"})
      ASSERT_TRUE(CreateDirectoryW((dir / folder).c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryW(data.c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryW((data + L"\\saves").c_str(), nullptr));
    for (const wchar_t* file : {L"NuvraBrowser.exe", L"old.txt", L"plugins\\old.dll",
                                L"plugins\\deep\\old2.dll", L"plugins\\Data\\nested.txt"})
      ASSERT_TRUE(PutFile(dir / file, "old"));
    ASSERT_TRUE(PutFile(data + L"\\profile.ini", "user data"));
    ASSERT_TRUE(PutFile(data + L"\\saves\\game.sav", "saved game"));

    ASSERT_EQ(ExtractPackage(dir.path(), SoundPackage().get()), 1) << GetLastError();

    ExpectPackageFilesIn(dir.path());
    for (const wchar_t* file : {L"old.txt", L"plugins\\old.dll", L"plugins\\deep\\old2.dll",
                                L"plugins\\Data\\nested.txt"})
      EXPECT_FALSE(FileExists(dir / file)) << file;
    for (const wchar_t* folder : {L"plugins\\deep", L"plugins\\Data", L"empty"})
      EXPECT_TRUE(FolderExists(dir / folder)) << folder;
    EXPECT_TRUE(FolderExists(data + L"\\saves"));
    EXPECT_EQ(FileText(data + L"\\profile.ini"), spared ? "user data" : "<missing>");
    EXPECT_EQ(FileText(data + L"\\saves\\game.sav"), spared ? "saved game" : "<missing>");
  }
}

// A folder without a previous installation (a documents folder typed on the
// custom page) keeps every file; the package is written over it, and a
// same-named longer file ends as long as the archived content.
TEST(ExtractPackage, KeepsTheFilesOfAFolderWithoutAPreviousInstallation) {
  TempDir dir;
  ASSERT_TRUE(CreateDirectoryW((dir / L"photos").c_str(), nullptr));
  ASSERT_TRUE(CreateDirectoryW((dir / L"res").c_str(), nullptr));
  ASSERT_TRUE(CreateDirectoryW((dir / L"res\\skin").c_str(), nullptr));
  ASSERT_TRUE(PutFile(dir / L"letter.doc", "dear user"));
  ASSERT_TRUE(PutFile(dir / L"photos\\cat.jpg", std::string("\xFF\xD8\x00\x01", 4)));
  ASSERT_TRUE(PutFile(dir / L"res\\skin\\bg.png", "a much longer older skin image"));

  ASSERT_EQ(ExtractPackage(dir.path(), SoundPackage().get()), 1) << GetLastError();

  ExpectPackageFilesIn(dir.path());  // bg.png is now exactly "png"
  EXPECT_EQ(FileText(dir / L"letter.doc"), "dear user");
  EXPECT_EQ(FileText(dir / L"photos\\cat.jpg"), std::string("\xFF\xD8\x00\x01", 4));
}

TEST(ExtractPackage, FailsWhenTheInstallPathNamesAFile) {
  TempDir tmp;
  ASSERT_TRUE(PutFile(tmp / L"file", "not a folder"));
  EXPECT_EQ(ExtractPackage(tmp / L"file\\", SoundPackage().get()), 0);
  EXPECT_EQ(FileText(tmp / L"file"), "not a folder");
}

// The old browser still running: its file moves aside and the new one is
// written under its name.
TEST(ExtractPackage, RenamesAFileInUseAndDefersItsDeletion) {
  TempDir dir;
  const std::wstring browser = dir / L"NuvraBrowser.exe";
  ASSERT_TRUE(CopyFileW(FixturePath(L"fixture_no_version").c_str(), browser.c_str(), FALSE));
  {
    // A loaded program image cannot be deleted but can be renamed.
    ScopedModule loaded(LoadLibraryW(browser.c_str()));
    ASSERT_TRUE(loaded);
    ASSERT_FALSE(DeleteFileW(browser.c_str()));
    EXPECT_EQ(ExtractPackage(dir.path(), SoundPackage().get()), 1) << GetLastError();
  }
  ExpectPackageFilesIn(dir.path());
  EXPECT_TRUE(FileExists(browser + L".tmp"));
  EXPECT_NE(PendingRenames().find(dir / L"NuvraBrowser.exe.tmp"), std::wstring::npos)
      << PendingRenames();
}

// A file that can be neither deleted nor renamed stops the cleaning of its
// top-level folder there; the other top-level entries are still cleaned.
TEST(CleanInstallDir, StopsAtAStuckFileOnlyWithinItsTopLevelFolder) {
  TempDir dir;
  ASSERT_TRUE(CreateDirectoryW((dir / L"plugins").c_str(), nullptr));
  ASSERT_TRUE(CreateDirectoryW((dir / L"other").c_str(), nullptr));
  for (const wchar_t* file : {L"plugins\\a.dll", L"plugins\\b.dll", L"plugins\\c.dll",
                              L"plugins\\d.dll", L"other\\e.dll", L"top.txt"})
    ASSERT_TRUE(PutFile(dir / file, "old"));
  const std::vector<std::wstring> order = Listing(dir / L"plugins\\");
  const std::wstring stuck = order[1];  // entries are listed after it
  ASSERT_TRUE(PutFile(dir / (L"plugins\\" + stuck + L".tmp"), "taken"));
  const std::vector<std::wstring> listed = Listing(dir / L"plugins\\");
  {
    OpenFile running(dir / (L"plugins\\" + stuck));
    EXPECT_EQ(CleanInstallDir(dir.path()), 1);
  }
  bool after = false;
  for (const std::wstring& name : listed) {
    if (name == stuck) {
      after = true;
      EXPECT_TRUE(FileExists(dir / (L"plugins\\" + name)));
      continue;
    }
    // Entries listed after the stuck file are untouched.
    EXPECT_EQ(FileExists(dir / (L"plugins\\" + name)), after)
        << name;
  }
  EXPECT_FALSE(FileExists(dir / L"other\\e.dll"));
  EXPECT_FALSE(FileExists(dir / L"top.txt"));
}

// A damaged package fails the step and writes no file at all, least of all
// outside the install directory; the package copy is removed.
TEST(ExtractPackage, RefusesDamagedPackages) {
  std::vector<uint8_t> overrun = MakeArchive(kPackageFiles);
  overrun[4] = 0xFF;  // first record's dataLength now runs past the end
  overrun[5] = 0xFF;
  std::vector<uint8_t> truncated = MakeContainer(MakeArchive(kPackageFiles));
  truncated.resize(truncated.size() / 2);
  struct Case {
    const char* what;
    std::vector<uint8_t> container;
  } cases[] = {
      {"truncated stream", truncated},
      {"overrunning record", MakeContainer(overrun)},
      {"parent name", MakeContainer(MakeArchive({{"NuvraBrowser.exe", "b"}, {"..\\evil.txt", "x"}}))},
      {"nested parent name",
       MakeContainer(MakeArchive({{"NuvraBrowser.exe", "b"}, {"res\\..\\..\\evil.txt", "x"}}))},
      {"absolute name", MakeContainer(MakeArchive({{"NuvraBrowser.exe", "b"}, {"C:\\evil.txt", "x"}}))},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    PackageModule module(c.container);
    TempDir tmp;
    const std::wstring dir = tmp / L"inst\\";
    EXPECT_EQ(ExtractPackage(dir, module.get()), 0);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_DATA));
    EXPECT_TRUE(Listing(dir).empty());
    EXPECT_EQ(Listing(tmp.path()), std::vector<std::wstring>{L"inst"});
  }
}

// An installer built without a package (no resource, or the empty
// placeholder of a build without payload) fails and leaves no copy behind.
TEST(ExtractPackage, FailsWithoutAPackage) {
  for (const wchar_t* fixture : {L"fixture_no_version", L"fixture_empty_package"}) {
    SCOPED_TRACE(testing::Message() << fixture);
    ScopedModule module(LoadLibraryExW(FixturePath(fixture).c_str(), nullptr,
                                       LOAD_LIBRARY_AS_DATAFILE));
    ASSERT_TRUE(module);
    TempDir dir;
    EXPECT_EQ(ExtractPackage(dir.path(), module.Get()), 0);
    EXPECT_TRUE(Listing(dir.path()).empty());
  }
}

TEST(ExtractPackage, FailsWhenAnArchivedFileCannotBeCreated) {
  TempDir dir;
  // A folder where the package has a file.
  ASSERT_TRUE(CreateDirectoryW((dir / L"NuvraUninstall.exe").c_str(), nullptr));
  EXPECT_EQ(ExtractPackage(dir.path(), SoundPackage().get()), 0);
  EXPECT_NE(GetLastError(), static_cast<DWORD>(ERROR_SUCCESS));
  EXPECT_FALSE(FileExists(dir / L"SetupPacket.7z"));
}

TEST(ExtractPackage, GivesUpWaitingForAMissingBrowser) {
  PackageModule module(MakeContainer(MakeArchive({{"NuvraWeb.exe", "web"}})));
  TempDir dir;
  const DWORD start = GetTickCount();
  EXPECT_EQ(ExtractPackage(dir.path(), module.get(), 300), 0);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
  EXPECT_LT(GetTickCount() - start, 5000u);
  EXPECT_EQ(FileText(dir / L"NuvraWeb.exe"), "web");
  EXPECT_FALSE(FileExists(dir / L"SetupPacket.7z"));
}

// Paths of 260 characters or more are refused, never cut.
TEST(ExtractPackage, RefusesPathsThatDoNotFitThePathBuffer) {
  TempDir tmp;
  // A folder whose path is 200 characters long, ending with a separator.
  std::wstring dir = tmp.path();
  while (dir.size() < 200) dir += std::wstring(std::min<size_t>(40, 200 - dir.size()), L'd') + L"\\";
  const std::string longName = std::string(70, 'n') + ".dll";  // 200 + 74 >= 260
  PackageModule longRecord(
      MakeContainer(MakeArchive({{"NuvraBrowser.exe", "b"}, {longName, "x"}})));
  EXPECT_EQ(ExtractPackage(dir, longRecord.get()), 0);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILENAME_EXCED_RANGE));
  EXPECT_FALSE(FileExists(dir + L"NuvraBrowser.exe"));

  // The install directory itself leaves no room for the package copy.
  const std::wstring deep = dir + std::wstring(50, L'e') + L"\\";
  EXPECT_EQ(ExtractPackage(deep, SoundPackage().get()), 0);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILENAME_EXCED_RANGE));
  EXPECT_FALSE(FolderExists(deep));

  // A previous installation holding a file whose path is too long.
  ASSERT_TRUE(PutFile(dir + L"NuvraBrowser.exe", "old"));
  const std::wstring tooLong = L"\\\\?\\" + dir + std::wstring(70, L'f');
  ASSERT_TRUE(PutFile(tooLong, "old"));
  EXPECT_EQ(ExtractPackage(dir, SoundPackage().get()), 0);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILENAME_EXCED_RANGE));
  DeleteFileW(tooLong.c_str());
}

}  // namespace
