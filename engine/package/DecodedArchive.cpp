#include "engine/package/Package.h"

#include <cstdlib>

namespace nuvra {

DecodedArchive::~DecodedArchive() { std::free(data_); }

DecodedArchive::DecodedArchive(DecodedArchive&& other) noexcept
    : data_(other.data_), length_(other.length_) {
  other.data_ = nullptr;
  other.length_ = 0;
}

DecodedArchive& DecodedArchive::operator=(DecodedArchive&& other) noexcept {
  if (this != &other) {
    std::free(data_);
    data_ = other.data_;
    length_ = other.length_;
    other.data_ = nullptr;
    other.length_ = 0;
  }
  return *this;
}

// The unpacked size comes from outside: a size the heap cannot give is a
// failure to report, never a crash.  malloc(0) may return null, so an empty
// archive still gets one byte.
bool DecodedArchive::Allocate(size_t capacity) {
  std::free(data_);
  length_ = 0;
  data_ = static_cast<uint8_t*>(std::malloc(capacity ? capacity : 1));
  return data_ != nullptr;
}

}  // namespace nuvra
