// callback_fuzz.cpp: callback strings and parameter splitting.
// Every spec range must lie inside the text, a failed parse must give no
// specs, and joining split parameters must split back into the same ones.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "fuzz/FuzzSupport.h"
#include "wcl/WcCallbackParse.h"
#include "wcl/WcCallbacks.h"

namespace {

void CheckRange(const char* text, size_t length, const char* start, const char* end) {
  FUZZ_CHECK((start == nullptr) == (end == nullptr));
  if (!start) return;
  FUZZ_CHECK(start >= text && start <= end && end <= text + length);
}

void CheckCallbackString(const std::string& text) {
  wcl::CallbackParse parsed = wcl::ParseCallbackString(text.c_str());
  FUZZ_CHECK(!parsed.error || parsed.specs.empty());
  FUZZ_CHECK(parsed.specs.size() <= wcl::kMaxCallbacks);
  for (const WcCallbackSpec& s : parsed.specs) {
    CheckRange(text.c_str(), text.size(), s.libStart, s.libEnd);
    CheckRange(text.c_str(), text.size(), s.classStart, s.classEnd);
    CheckRange(text.c_str(), text.size(), s.nameStart, s.nameEnd);
    CheckRange(text.c_str(), text.size(), s.argStart, s.argEnd);
    FUZZ_CHECK(s.nameStart && s.nameEnd > s.nameStart);
    std::string shown =
        wcl::CallbackText(wcl::Part(s.libStart, s.libEnd), wcl::Part(s.classStart, s.classEnd),
                          wcl::Part(s.nameStart, s.nameEnd), wcl::Part(s.argStart, s.argEnd));
    FUZZ_CHECK(!shown.empty());
  }
}

// Splits through the toolkit-facing entry points, so their allocation and
// release are exercised too, and checks the join round trip.
void CheckParams(const std::string& text) {
  String* params = nullptr;
  Cardinal count = 0;
  WcSplitParams(nullptr, text.c_str(), &params, &count);
  FUZZ_CHECK(count <= wcl::kMaxParams);
  FUZZ_CHECK((count == 0) == (params == nullptr));

  // A parameter holding both quote characters cannot be written back as
  // one word, and a full list may have lost a tail: no round trip then.
  bool joinable = count < wcl::kMaxParams;
  for (Cardinal i = 0; i < count && joinable; ++i)
    if (params[i] && std::strchr(params[i], '"') && std::strchr(params[i], '\''))
      joinable = false;
  if (joinable) {
    String joined = WcJoinParams(params, count);
    String* again = nullptr;
    Cardinal againCount = 0;
    WcSplitParams(nullptr, joined, &again, &againCount);
    FUZZ_CHECK(againCount == count);
    for (Cardinal i = 0; i < count; ++i) {
      // Null and empty parameters are both written as "" and read as null.
      const char* a = params[i] ? params[i] : "";
      const char* b = again[i] ? again[i] : "";
      FUZZ_CHECK(std::strcmp(a, b) == 0);
    }
    WcFreeParams(again, againCount);
    XtFree(joined);
  }
  WcFreeParams(params, count);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  xk::fuzz::Quiet();
  // The parsers read C strings: stop at an embedded NUL as a caller would.
  std::string text(reinterpret_cast<const char*>(data), size);
  text.resize(std::strlen(text.c_str()));
  CheckCallbackString(text);
  CheckParams(text);
  return 0;
}
