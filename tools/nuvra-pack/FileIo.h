// Whole-file reads and writes for nuvra-pack, with errors as text.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace nuvra::pack {

// A POSIX file descriptor closed when it goes out of scope.
class UniqueFd {
 public:
  explicit UniqueFd(int fd = -1) : fd_(fd) {}
  ~UniqueFd();
  UniqueFd(const UniqueFd&) = delete;
  UniqueFd& operator=(const UniqueFd&) = delete;
  UniqueFd(UniqueFd&& other) noexcept : fd_(other.fd_) { other.fd_ = -1; }
  UniqueFd& operator=(UniqueFd&& other) noexcept;
  int get() const { return fd_; }
  bool valid() const { return fd_ >= 0; }

 private:
  int fd_;
};

// Appends the whole file to `out`; false with `error` set on failure.
bool ReadWholeFile(const std::string& path, std::vector<uint8_t>* out, std::string* error);

// Writes all `size` bytes to an open descriptor.
bool WriteAll(int fd, const uint8_t* data, size_t size);

// Writes a sibling temporary file and renames it over `path`, so a failed
// or interrupted write never leaves a half-written file under that name.
bool WriteFileReplacing(const std::string& path, const std::vector<uint8_t>& data,
                        std::string* error);

}  // namespace nuvra::pack
