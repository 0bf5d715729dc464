#include "tools/nuvra-pack/FileIo.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

#include "tools/nuvra-pack/ToolResult.h"

namespace nuvra::pack {

UniqueFd::~UniqueFd() {
  if (fd_ >= 0) close(fd_);
}

UniqueFd& UniqueFd::operator=(UniqueFd&& other) noexcept {
  if (this != &other) {
    if (fd_ >= 0) close(fd_);
    fd_ = other.fd_;
    other.fd_ = -1;
  }
  return *this;
}

bool ReadWholeFile(const std::string& path, std::vector<uint8_t>* out, std::string* error) {
  UniqueFd fd(open(path.c_str(), O_RDONLY | O_CLOEXEC));
  struct stat info;
  if (!fd.valid() || fstat(fd.get(), &info) != 0) {
    *error = "cannot read: " + ErrnoText();
    return false;
  }
  size_t start = out->size();
  out->resize(start + static_cast<size_t>(info.st_size));
  size_t done = 0;
  while (done < static_cast<size_t>(info.st_size)) {
    ssize_t n = read(fd.get(), out->data() + start + done, info.st_size - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      *error = n < 0 ? "cannot read: " + ErrnoText() : "file shrank while being read";
      out->resize(start);
      return false;
    }
    done += static_cast<size_t>(n);
  }
  return true;
}

bool WriteAll(int fd, const uint8_t* data, size_t size) {
  while (size > 0) {
    ssize_t n = write(fd, data, size);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    data += n;
    size -= static_cast<size_t>(n);
  }
  return true;
}

bool WriteFileReplacing(const std::string& path, const std::vector<uint8_t>& data,
                        std::string* error) {
  std::string temp = path + ".partial";
  {
    UniqueFd fd(open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644));
    if (!fd.valid()) {
      *error = "cannot create " + temp + ": " + ErrnoText();
      return false;
    }
    if (!WriteAll(fd.get(), data.data(), data.size()) || fsync(fd.get()) != 0) {
      *error = "cannot write " + temp + ": " + ErrnoText();
      unlink(temp.c_str());
      return false;
    }
  }
  if (rename(temp.c_str(), path.c_str()) != 0) {
    *error = "cannot rename " + temp + " to it: " + ErrnoText();
    unlink(temp.c_str());
    return false;
  }
  return true;
}

}  // namespace nuvra::pack
