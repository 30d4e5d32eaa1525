// Memory.cpp: checked allocation and the shared integer text buffer.
#include "support/Memory.h"

#include <charconv>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "support/Console.h"

namespace {
constexpr char kOutOfMemoryText[] = "Out of memory (could not get %s bytes).  Exiting...";
}

void OutOfMemory(size_t bytes) {
  // Built on the stack: the heap has just failed us, and a throwing string
  // would end the process without the report or the exit status.
  char count[24];
  *std::to_chars(count, count + sizeof count - 1, bytes).ptr = '\0';
  char text[sizeof kOutOfMemoryText + sizeof count];
  const char* at = std::strstr(kOutOfMemoryText, "%s");
  size_t head = size_t(at - kOutOfMemoryText);
  std::memcpy(text, kOutOfMemoryText, head);
  std::strcpy(text + head, count);
  std::strcat(text, at + 2);
  Messenger.Print(ConsoleError, text);
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
