// The LZMA SDK's allocator callbacks mapped onto the general heap.
#pragma once

#include <lzma/Types.h>

namespace nuvra {

// malloc/free behind the SDK's ISzAlloc; a failed allocation returns null,
// which the SDK reports as SZ_ERROR_MEM.
ISzAlloc* HeapSzAlloc();

}  // namespace nuvra
