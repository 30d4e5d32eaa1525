// pattern_fuzz.cpp: SplitByPattern with arbitrary patterns and texts
// (input: pattern, NUL, text). Matches must be non-empty, in order, not
// overlapping, and each one a piece of the text; a malformed pattern must
// give false and no words.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "fuzz/FuzzSupport.h"
#include "support/Pattern.h"
#include "support/StrArray.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const char* begin = reinterpret_cast<const char*>(data);
  const char* nul = static_cast<const char*>(std::memchr(begin, 0, size));
  std::string pattern(begin, nul ? nul : begin + size);
  std::string text = nul ? std::string(nul + 1, begin + size) : std::string();
  text.resize(std::strlen(text.c_str()));
  // Long patterns only slow the run without reaching new states.
  if (pattern.size() > 256 || text.size() > 4096) return 0;

  StrArray words;
  words.Add("left over");
  const bool ok = words.SplitByPattern(Str(text.c_str()), pattern.c_str());
  if (!ok) {
    FUZZ_CHECK(words.Count() == 0);
    return 0;
  }
  size_t from = 0;
  for (size_t i = 0; i < words.Count(); ++i) {
    const Str& w = words.At(i);
    FUZZ_CHECK(!w.IsEmpty());
    size_t at = text.find(w.c_str(), from);
    FUZZ_CHECK(at != std::string::npos);
    from = at + w.Length();
  }

  Pattern p;
  FUZZ_CHECK(p.Compile(pattern.c_str()));
  const long n = p.LongestMatch(text.c_str());
  FUZZ_CHECK(n >= -1 && n <= static_cast<long>(text.size()));
  return 0;
}
