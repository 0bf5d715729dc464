// Decoding the package copy and writing its archived files below the
// install directory.
#include "engine/Extraction.h"
#include "engine/PathRules.h"
#include "engine/package/Package.h"

namespace {

struct RecordSink {
  const std::wstring* dir;
  DWORD error;  // why the walk was stopped
};

// The on-disk path of a record: the install directory followed by the name
// converted from the system's ANSI code page.  False (with `error`) when
// the name does not convert or the path would not fit the path buffer.
bool RecordPath(const nuvra::ArchiveRecord& record, const std::wstring& dir,
                std::wstring* path, DWORD* error) {
  wchar_t name[kPathBufferChars] = {};
  const int chars = record.nameLength == 0 ? 0
      : MultiByteToWideChar(CP_ACP, MB_PRECOMPOSED, record.name, record.nameLength, name,
                            static_cast<int>(kPathBufferChars - 1));
  if (chars <= 0) {
    *error = ERROR_INVALID_DATA;
    return false;
  }
  *path = dir + std::wstring(name, chars);
  if (!FitsPathBuffer(*path)) {
    *error = ERROR_FILENAME_EXCED_RANGE;
    return false;
  }
  return true;
}

bool CheckRecord(const nuvra::ArchiveRecord& record, void* context) {
  RecordSink* writer = static_cast<RecordSink*>(context);
  std::wstring path;
  return RecordPath(record, *writer->dir, &path, &writer->error);
}

// Writes one file: its folders first, then its content in one write.  An
// existing file is overwritten and cut to the new length.
bool WriteRecord(const nuvra::ArchiveRecord& record, void* context) {
  RecordSink* writer = static_cast<RecordSink*>(context);
  std::wstring path;
  if (!RecordPath(record, *writer->dir, &path, &writer->error)) return false;
  if (!CreateDirectoryPath(path)) {
    writer->error = GetLastError();
    return false;
  }
  ScopedFile file(CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE,
                              FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr));
  DWORD written = 0;
  if (!file || !WriteFile(file.Get(), record.data, record.dataLength, &written, nullptr) ||
      !SetEndOfFile(file.Get())) {
    writer->error = GetLastError();
    return false;
  }
  if (written != record.dataLength) {
    writer->error = ERROR_DISK_FULL;
    return false;
  }
  return true;
}

}  // namespace

bool WriteArchiveFiles(const uint8_t* archive, size_t length, const std::wstring& dir) {
  if (!archive || length == 0) {
    SetLastError(ERROR_INVALID_DATA);
    return false;
  }
  RecordSink writer = {&dir, ERROR_SUCCESS};
  // A damaged archive is refused as a whole before anything is written.
  const nuvra::WalkEnd checked = nuvra::WalkArchive(archive, length, CheckRecord, &writer);
  if (!nuvra::WalkSucceeded(checked)) {
    SetLastError(checked == nuvra::WalkEnd::Stopped ? writer.error : ERROR_INVALID_DATA);
    return false;
  }
  if (!CreateDirectoryPath(dir)) return false;
  if (nuvra::WalkArchive(archive, length, WriteRecord, &writer) == nuvra::WalkEnd::Stopped) {
    SetLastError(writer.error);
    return false;
  }
  return true;
}

bool UnpackPackage(const wchar_t* packagePath, const std::wstring& dir) {
  if (!packagePath) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return false;
  }
  nuvra::DecodedArchive archive;
  {
    PackageMapping package;
    if (!MapPackageFile(packagePath, &package)) return false;
    const nuvra::DecodeResult decoded =
        nuvra::DecodeContainer(package.bytes(), package.size, &archive);
    if (decoded.status != nuvra::DecodeStatus::Ok) {
      SetLastError(decoded.status == nuvra::DecodeStatus::OutOfMemory ? ERROR_NOT_ENOUGH_MEMORY
                                                                     : ERROR_INVALID_DATA);
      return false;
    }
  }  // The package view is released before the files are written.
  return WriteArchiveFiles(archive.data(), archive.length(), dir);
}
