// WcCallbackParse.cpp: callback-string parsing, parameter splitting and
// joining. No X calls here.
#include "wcl/WcCallbackParse.h"

namespace wcl {
namespace {

// Conversion messages, shown after "Cannot convert string ... to type ".
constexpr const char* kFoundOpen = "Callback, looking for start of callback name, found '('";
constexpr const char* kFoundClose = "Callback, looking for start of callback name, found ')'";
constexpr const char* kFoundComma = "Callback, looking for start of callback name, found ','";
constexpr const char* kMissingBefore = "Callback, missing class or library name before `::'";
constexpr const char* kMultipleLibs = "Callback, multiple dynamic library names found";
constexpr const char* kMultipleClasses = "Callback, multiple class names found";
constexpr const char* kMissingName = "Callback, missing method name after `::'";
constexpr const char* kUnbalanced = "Callback, Unbalanced parens in callback argument";
constexpr const char* kTooMany = "Callback, Too many callbacks";

// Control bytes, space and every byte of 128 and above separate elements.
bool IsBlank(char c) { return static_cast<signed char>(c) <= 32; }

const char* SkipBlanks(const char* p) {
  while (*p && IsBlank(*p)) ++p;
  return p;
}

// Scans one element's name part starting at p (which is not blank, '(',
// ')' or ','); fills the library, class and name ranges. Returns the end of
// the name part, or null with *error set.
const char* ScanName(const char* p, WcCallbackSpec& spec, const char** error) {
  const char* libStart = p;
  const char* classStart = p;
  const char* libEnd = nullptr;
  const char* classEnd = nullptr;
  const char* nameStart = p;
  while (*p && !IsBlank(*p) && *p != '(' && *p != ',') {
    if (p[0] != ':' || p[1] != ':') {
      ++p;
      continue;
    }
    if (p == classStart || p == libStart) {
      *error = kMissingBefore;
      return nullptr;
    }
    if (p - libStart > 2 && libStart[0] == '-' && libStart[1] == 'l') {
      if (libEnd) {
        *error = kMultipleLibs;
        return nullptr;
      }
      libEnd = p;
      if (!classEnd) classStart = p + 2;
    } else {
      if (classEnd) {
        *error = kMultipleClasses;
        return nullptr;
      }
      classEnd = p;
      if (!libEnd) libStart = p + 2;
    }
    p += 2;
    nameStart = p;
  }
  if (p == nameStart) {
    *error = kMissingName;
    return nullptr;
  }
  spec.libStart = libEnd ? libStart : nullptr;
  spec.libEnd = libEnd;
  spec.classStart = classEnd ? classStart : nullptr;
  spec.classEnd = classEnd;
  spec.nameStart = nameStart;
  spec.nameEnd = p;
  return p;
}

// Trimming an argument stops at bytes of 128 and above: they separate
// elements, but they are also the tail of a UTF-8 or Latin-1 word such as a
// file name, which must reach the callback whole.
bool IsArgumentBlank(char c) { return static_cast<unsigned char>(c) <= 32; }

// p is at '('. Sets the trimmed argument range (absent when blank) and
// returns the position after the matching ')', or null when unbalanced.
const char* ScanArgument(const char* p, WcCallbackSpec& spec) {
  int depth = 0;
  const char* open = p;
  for (; *p; ++p) {
    if (*p == '(') {
      ++depth;
    } else if (*p == ')' && --depth == 0) {
      break;
    }
  }
  if (!*p) return nullptr;
  const char* start = open + 1;
  while (start < p && IsArgumentBlank(*start)) ++start;
  const char* end = p;
  while (end > start && IsArgumentBlank(end[-1])) --end;
  if (end > start) {
    spec.argStart = start;
    spec.argEnd = end;
  }
  return p + 1;
}

bool IsParamBreak(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == ',' || c == '(' || c == ')';
}

bool IsParamBlank(char c) { return c == ' ' || c == '\t' || c == '\n'; }

}  // namespace

CallbackParse ParseCallbackString(const char* text) {
  CallbackParse out;
  if (!text) return out;
  const char* p = SkipBlanks(text);
  while (*p) {
    if (*p == '(' || *p == ')' || *p == ',') {
      out.error = *p == '(' ? kFoundOpen : *p == ')' ? kFoundClose : kFoundComma;
      break;
    }
    WcCallbackSpec spec{};
    p = ScanName(p, spec, &out.error);
    if (!p) break;
    p = SkipBlanks(p);
    if (*p == '(') {
      p = ScanArgument(p, spec);
      if (!p) {
        out.error = kUnbalanced;
        break;
      }
    }
    out.specs.push_back(spec);
    while (*p && (IsBlank(*p) || *p == ',')) ++p;
    if (*p && out.specs.size() == kMaxCallbacks) {
      out.error = kTooMany;
      break;
    }
  }
  if (out.error) out.specs.clear();
  return out;
}

std::string CallbackText(std::string_view lib, std::string_view cls, std::string_view name,
                         std::string_view args) {
  std::string text;
  if (!lib.empty()) text.append(lib).append("::");
  if (!cls.empty()) text.append(cls).append("::");
  text.append(name).append("(").append(args).append(")");
  return text;
}

SplitResult SplitParams(std::string_view text) {
  SplitResult out;
  size_t i = 0;
  const size_t n = text.size();
  auto skipBlanks = [&] {
    while (i < n && IsParamBlank(text[i])) ++i;
  };
  skipBlanks();
  while (i < n && out.params.size() < kMaxParams) {
    const char c = text[i];
    if (c == '"' || c == '\'') {
      size_t close = text.find(c, i + 1);
      if (close == std::string_view::npos) {
        out.unbalancedQuote = true;
        out.params.emplace_back(std::string(text.substr(i + 1)));
        i = n;
      } else {
        if (close == i + 1) {
          out.params.emplace_back(std::nullopt);
        } else {
          out.params.emplace_back(std::string(text.substr(i + 1, close - i - 1)));
        }
        i = close + 1;
      }
    } else if (c == ',') {
      // Leave the comma for the separator skip below: ",," is one null.
      out.params.emplace_back(std::nullopt);
    } else {
      size_t end = i + 1;
      while (end < n && !IsParamBreak(text[end])) ++end;
      out.params.emplace_back(std::string(text.substr(i, end - i)));
      i = end;
    }
    skipBlanks();
    if (i < n && text[i] == ',') ++i;
    skipBlanks();
  }
  return out;
}

std::string JoinParams(const std::vector<const char*>& params) {
  std::string out;
  for (size_t k = 0; k < params.size(); ++k) {
    if (k) out += ' ';
    std::string_view p = params[k] ? params[k] : "";
    bool quote = p.empty() || p.front() == '"' || p.front() == '\'';
    for (char c : p) quote = quote || IsParamBreak(c);
    if (!quote) {
      out += p;
      continue;
    }
    // A parameter holding a double quote is wrapped in single quotes so
    // that it splits back whole.
    char q = p.find('"') != std::string_view::npos ? '\'' : '"';
    out += q;
    out += p;
    out += q;
  }
  return out;
}

}  // namespace wcl
