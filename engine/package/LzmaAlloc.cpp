#include "engine/package/LzmaAlloc.h"

#include <cstdlib>

namespace nuvra {
namespace {

void* HeapAlloc(void*, size_t size) { return size ? std::malloc(size) : nullptr; }
void HeapFree(void*, void* address) { std::free(address); }

ISzAlloc g_heapAlloc = {HeapAlloc, HeapFree};

}  // namespace

ISzAlloc* HeapSzAlloc() { return &g_heapAlloc; }

}  // namespace nuvra
