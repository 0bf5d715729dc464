// Under Wine: the package embedded as resource FILE 143 of this program
// decodes to exactly the files of the payload folder it was packed from,
// and the 32-bit build of the reader handles what only a 32-bit process
// shows.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "engine/package/Package.h"
#include "engine/package/PackageWriter.h"

namespace nuvra {
namespace {

// The payload folder as a Windows path: Wine's drive Z: is the host's root.
std::wstring PayloadDir() {
  std::string unixPath = NUVRA_TEST_PAYLOAD_DIR;
  std::wstring path = L"Z:";
  for (char c : unixPath) path += (c == '/') ? L'\\' : static_cast<wchar_t>(c);
  return path;
}

std::wstring Widen(const char* text, int length) {
  int size = MultiByteToWideChar(CP_ACP, MB_PRECOMPOSED, text, length, nullptr, 0);
  std::wstring wide(size, L'\0');
  MultiByteToWideChar(CP_ACP, MB_PRECOMPOSED, text, length, &wide[0], size);
  return wide;
}

std::string Narrow(const std::wstring& wide) {
  std::string text;
  for (wchar_t c : wide) text += static_cast<char>(c);
  return text;
}

bool ReadWholeFile(const std::wstring& path, std::string* content) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  LARGE_INTEGER size;
  GetFileSizeEx(file, &size);
  content->assign(static_cast<size_t>(size.QuadPart), '\0');
  DWORD read = 0;
  BOOL ok = content->empty() ||
            ReadFile(file, &(*content)[0], static_cast<DWORD>(content->size()), &read, nullptr);
  CloseHandle(file);
  return ok && read == content->size();
}

// Every file below `dir`, keyed by its relative name with backslashes.
void ListFiles(const std::wstring& dir, const std::wstring& prefix,
               std::vector<std::wstring>* names) {
  WIN32_FIND_DATAW entry;
  HANDLE find = FindFirstFileW((dir + L"\\*").c_str(), &entry);
  if (find == INVALID_HANDLE_VALUE) return;
  do {
    std::wstring name = entry.cFileName;
    if (name == L"." || name == L"..") continue;
    if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
      ListFiles(dir + L"\\" + name, prefix + name + L"\\", names);
    } else {
      names->push_back(prefix + name);
    }
  } while (FindNextFileW(find, &entry));
  FindClose(find);
}

struct Comparison {
  std::wstring payload;
  std::map<std::wstring, bool> seen;
  std::vector<std::string> mismatches;
};

bool CompareWithPayload(const ArchiveRecord& record, void* context) {
  auto* comparison = static_cast<Comparison*>(context);
  std::wstring name = Widen(record.name, record.nameLength);
  comparison->seen[name] = true;
  std::string onDisk;
  if (!ReadWholeFile(comparison->payload + L"\\" + name, &onDisk) ||
      onDisk.size() != record.dataLength ||
      std::memcmp(onDisk.data(), record.data, record.dataLength) != 0) {
    comparison->mismatches.push_back(Narrow(name));
  }
  return true;
}

TEST(EmbeddedPackage, DecodesToThePayloadFolder) {
  HRSRC resource = FindResourceW(nullptr, MAKEINTRESOURCEW(143), L"FILE");
  ASSERT_NE(resource, nullptr) << GetLastError();
  HGLOBAL loaded = LoadResource(nullptr, resource);
  ASSERT_NE(loaded, nullptr);
  const auto* bytes = static_cast<const uint8_t*>(LockResource(loaded));
  DWORD size = SizeofResource(nullptr, resource);

  DecodedArchive archive;
  DecodeResult result = DecodeContainer(bytes, size, &archive);
  ASSERT_EQ(result.status, DecodeStatus::Ok) << DecodeStatusText(result.status);

  Comparison comparison;
  comparison.payload = PayloadDir();
  EXPECT_EQ(WalkArchive(archive.data(), archive.length(), CompareWithPayload, &comparison),
            WalkEnd::Clean);
  for (const std::string& name : comparison.mismatches) ADD_FAILURE() << "differs: " << name;

  std::vector<std::wstring> files;
  ListFiles(comparison.payload, L"", &files);
  ASSERT_FALSE(files.empty()) << "payload folder " << Narrow(comparison.payload) << " is empty";
  for (const std::wstring& file : files) {
    EXPECT_TRUE(comparison.seen.count(file)) << "not in the package: " << Narrow(file);
  }
  EXPECT_EQ(comparison.seen.size(), files.size());
  EXPECT_TRUE(comparison.seen.count(L"NuvraBrowser.exe"));
}

// In a 32-bit process a declared size near 4 GiB cannot be allocated: the
// reader reports it instead of crashing.
TEST(EmbeddedPackage, UnallocatableUnpackedSizeIsReported) {
  uint8_t container[32] = {0xFF, 0xFF, 0xFF, 0xFF, 0x5D, 0x00, 0x00, 0x00, 0x01};
  DecodedArchive archive;
  DecodeResult result = DecodeContainer(container, sizeof(container), &archive);
  EXPECT_EQ(result.status, DecodeStatus::OutOfMemory);
  EXPECT_EQ(archive.data(), nullptr);
}

TEST(EmbeddedPackage, EncoderAndDecoderAgreeIn32Bits) {
  ArchiveWriter writer;
  std::string content(200000, 'x');
  for (size_t i = 0; i < content.size(); i += 7) content[i] = static_cast<char>('a' + i % 26);
  writer.AddRecord("sub\\file.txt", 12, reinterpret_cast<const uint8_t*>(content.data()),
                   content.size());
  std::vector<uint8_t> container;
  ASSERT_EQ(EncodeContainer(writer.bytes().data(), writer.bytes().size(), EncodeOptions(),
                            &container).status,
            EncodeStatus::Ok);
  DecodedArchive archive;
  ASSERT_EQ(DecodeContainer(container.data(), container.size(), &archive).status,
            DecodeStatus::Ok);
  ASSERT_EQ(archive.length(), writer.bytes().size());
  EXPECT_EQ(0, std::memcmp(archive.data(), writer.bytes().data(), archive.length()));
}

}  // namespace
}  // namespace nuvra
