// textlines_fuzz.cpp: the line and search arithmetic of support/TextLines
// against plain scans of a std::string. The input is a text, repeated so
// that it may pass the line index's stride, then a list of questions and
// edits; the index is told of every edit, as the text windows tell it.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz/FuzzSupport.h"
#include "support/TextLines.h"

namespace {

using textlines::kNoPos;

// Reads into a buffer of its own that the next Read overwrites, so a view
// kept past its Read gives wrong answers instead of right ones by luck.
class CopyingSource : public textlines::TextSource {
 public:
  explicit CopyingSource(const std::string& text) : text_(text) {}
  size_t Length() override { return text_.size(); }
  std::string_view Read(size_t start, size_t len) override {
    buf_.assign(start < text_.size() ? text_.substr(start, len) : std::string());
    return buf_;
  }

 private:
  const std::string& text_;
  std::string buf_;
};

size_t Newlines(const std::string& t, size_t from, size_t to) {
  to = std::min(to, t.size());
  return from < to ? size_t(std::count(t.begin() + from, t.begin() + to, '\n')) : 0;
}

size_t RefLineStart(const std::string& t, size_t line) {
  if (line == 0) return kNoPos;
  size_t at = 0;
  for (size_t l = 1; l < line; ++l) {
    at = t.find('\n', at);
    if (at == std::string::npos) return kNoPos;
    ++at;
  }
  return at;
}

bool White(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

// The span around pos by its documented rule.
StrRange RefSpan(const std::string& t, size_t pos, bool words) {
  auto boundary = [words](char c) { return words ? White(c) : c == '\n'; };
  pos = std::min(pos, t.size());
  size_t left = pos;
  while (left > 0 && !boundary(t[left - 1])) --left;
  size_t right = pos;
  if (pos == t.size() || !boundary(t[pos])) {
    while (right < t.size() && !boundary(t[right])) ++right;
  }
  return StrRange{left, right - left};
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider in(data, size);
  std::string piece = in.ConsumeRandomLengthString(512);
  const size_t repeats = in.ConsumeIntegralInRange<size_t>(1, 3000);
  std::string text;
  for (size_t i = 0; i < repeats && text.size() < (1u << 20); ++i) text += piece;
  CopyingSource src(text);
  textlines::LineIndex index;
  if (in.ConsumeBool()) {
    text.resize(index.BuildToNul(text.data(), text.size()));
  }
  auto pos = [&] { return in.ConsumeIntegralInRange<size_t>(0, text.size() + 2); };
  while (in.remaining_bytes() > 0) {
    switch (in.ConsumeIntegralInRange(0, 6)) {
      case 0: {
        size_t p = pos();
        FUZZ_CHECK(index.LineOf(src, p) == 1 + Newlines(text, 0, p));
        break;
      }
      case 1: {
        size_t line = in.ConsumeIntegralInRange<size_t>(0, Newlines(text, 0, text.size()) + 2);
        FUZZ_CHECK(index.LineStart(src, line) == RefLineStart(text, line));
        break;
      }
      case 2: {  // an edit, reported as the text widgets report theirs
        size_t p = std::min(pos(), text.size());
        size_t gone = std::min(in.ConsumeIntegralInRange<size_t>(0, 300000), text.size() - p);
        text.replace(p, gone, in.ConsumeRandomLengthString(64));
        index.Changed(p);
        break;
      }
      case 3: {
        std::string needle = in.ConsumeRandomLengthString(8);
        size_t from = pos();
        size_t fwd = needle.empty() || from > text.size() ? kNoPos : text.find(needle, from);
        if (fwd == std::string::npos) fwd = kNoPos;
        FUZZ_CHECK(textlines::FindForward(src, needle, from) == fwd);
        size_t wrapped = fwd;
        if (wrapped == kNoPos && !needle.empty()) {
          size_t first = text.find(needle);
          if (first != std::string::npos && first < from) wrapped = first;
        }
        FUZZ_CHECK(textlines::FindWrapped(src, needle, from) == wrapped);
        break;
      }
      case 4: {
        size_t a = pos(), b = pos();
        FUZZ_CHECK(textlines::CountNewlines(src, a, b) == Newlines(text, a, b));
        size_t count = in.ConsumeIntegralInRange<size_t>(0, 5);
        size_t skip = a > text.size() ? kNoPos : a;
        for (size_t i = 0; i < count && skip != kNoPos; ++i) {
          size_t nl = text.find('\n', skip);
          skip = nl == std::string::npos ? kNoPos : nl + 1;
        }
        FUZZ_CHECK(textlines::SkipNewlines(src, a, count) == skip);
        size_t end = a < text.size() ? text.find('\n', a) : text.size();
        FUZZ_CHECK(textlines::LineEnd(src, a) == (end == std::string::npos ? text.size() : end));
        break;
      }
      default: {
        size_t p = pos();
        bool words = in.ConsumeBool();
        StrRange got = words ? textlines::WordSpan(text, p) : textlines::LineSpan(text, p);
        StrRange want = RefSpan(text, p, words);
        FUZZ_CHECK(got.start == want.start && got.length == want.length);
        break;
      }
    }
  }
  return 0;
}
