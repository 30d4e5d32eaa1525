// names_fuzz.cpp: name-list splitting. NextName must always make progress
// and hand back pieces of the list; SplitNames must agree with it.
#include <cctype>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "wcl/WcNames.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  std::string_view rest = text;
  size_t count = 0;
  for (;;) {
    const size_t before = rest.size();
    std::string_view name = wcl::NextName(rest);
    if (name.empty()) break;
    // Both views stay inside the text, and every step consumes something.
    if (name.data() < text.data() || name.data() + name.size() > text.data() + text.size())
      abort();
    if (rest.size() >= before) abort();
    for (char c : name)
      if (std::isspace(static_cast<unsigned char>(c)) || c == ',' || c == '(' || c == ')')
        abort();
    ++count;
  }
  if (wcl::SplitNames(text).size() != count) abort();
  return 0;
}
