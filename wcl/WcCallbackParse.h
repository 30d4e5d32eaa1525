// WcCallbackParse.h: the X-free text logic behind callback strings and the
// callback/action bridges, as plain functions on plain data so they can be
// tested and fuzzed without a display.
//
//   auto parsed = wcl::ParseCallbackString("Editor::open(a.tem), quit");
//   if (parsed.error) ...               // "Callback, Too many callbacks", ...
//   for (const WcCallbackSpec& s : parsed.specs) ...
//
//   auto split = wcl::SplitParams("'a b', c,,d");   // "a b", "c", null, "d"
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// One parsed element of a callback string: text ranges [start, end) into
// the string, both null when the part is absent.
struct WcCallbackSpec {
  const char* libStart;
  const char* libEnd;
  const char* classStart;
  const char* classEnd;
  const char* nameStart;
  const char* nameEnd;
  const char* argStart;
  const char* argEnd;
};

namespace wcl {

// Most elements one callback string may hold.
inline constexpr size_t kMaxCallbacks = 63;
// Most parameters WcSplitParams produces.
inline constexpr size_t kMaxParams = 128;

struct CallbackParse {
  std::vector<WcCallbackSpec> specs;  // ranges point into the parsed text
  const char* error = nullptr;        // conversion message, or null
};

// Parses a callback string. A null, empty or blank text gives no specs and
// no error.
CallbackParse ParseCallbackString(const char* text);

// The text of one part of a spec ("" when absent).
inline std::string_view Part(const char* start, const char* end) {
  return start && end ? std::string_view(start, static_cast<size_t>(end - start))
                      : std::string_view();
}

// The callback as messages print it: [lib::][Class::]name(args).
std::string CallbackText(std::string_view lib, std::string_view cls, std::string_view name,
                         std::string_view args);

struct SplitResult {
  std::vector<std::optional<std::string>> params;  // nullopt: a null parameter
  bool unbalancedQuote = false;
};

SplitResult SplitParams(std::string_view text);

// Joins parameters with single blanks; a parameter that would not split
// back into itself is quoted. A null parameter is written as "".
std::string JoinParams(const std::vector<const char*>& params);

}  // namespace wcl
