// Memory.cpp: checked allocation and the shared integer text buffer.
#include "support/Memory.h"

#include <charconv>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "support/Console.h"

void OutOfMemory(size_t bytes) {
  std::string count = std::to_string(bytes);
  Messenger.Error("Out of memory (could not get %s bytes).  Exiting...",
                  count.c_str());
  std::exit(2);
}

void* XkMalloc(size_t bytes) {
  void* p = std::malloc(bytes ? bytes : 1);
  if (!p) OutOfMemory(bytes);
  return p;
}

void* XkCalloc(size_t count, size_t size) {
  if (size && count > SIZE_MAX / size) OutOfMemory(SIZE_MAX);
  void* p = std::calloc(count ? count : 1, size ? size : 1);
  if (!p) OutOfMemory(count * size);
  return p;
}

void* XkRealloc(void* block, size_t bytes) {
  void* p = std::realloc(block, bytes ? bytes : 1);
  if (!p) OutOfMemory(bytes);
  return p;
}

size_t XkAddSizes(size_t a, size_t b) {
  if (a > SIZE_MAX - b) OutOfMemory(SIZE_MAX);
  return a + b;
}

char* IntToStr(int n) {
  static char text[16];
  auto end = std::to_chars(text, text + sizeof text - 1, n).ptr;
  *end = '\0';
  return text;
}
