// Memory.h: allocation that never returns null. When memory runs out the
// process reports it on the console and ends with exit status 2, so callers
// never carry an out-of-memory path of their own.
//
//   char* copy = static_cast<char*>(XkMalloc(n + 1));
#pragma once

#include <cstddef>

// Reports "Out of memory (could not get N bytes).  Exiting..." and exits 2.
[[noreturn]] void OutOfMemory(size_t bytes);

void* XkMalloc(size_t bytes);
// count * size zeroed bytes; a product that does not fit counts as failure.
void* XkCalloc(size_t count, size_t size);
void* XkRealloc(void* block, size_t bytes);

// Sum of sizes, or OutOfMemory when it would wrap.
size_t XkAddSizes(size_t a, size_t b);

// The decimal text of n in one shared buffer, overwritten by the next call.
char* IntToStr(int n);
