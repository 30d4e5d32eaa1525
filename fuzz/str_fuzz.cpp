// str_fuzz.cpp: ReplaceAll, Replace, Keep and the other edits of Str,
// driven by a byte program and checked step by step against std::string.
// Texts may point into the string being edited, as callers' do.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "fuzz/FuzzSupport.h"
#include "support/Str.h"

namespace {

std::string Text(FuzzedDataProvider& in) {
  std::string t = in.ConsumeRandomLengthString(24);
  t.resize(std::strlen(t.c_str()));
  return t;
}

void RefReplaceAll(std::string& s, const std::string& what, const std::string& with) {
  if (what.empty()) return;
  std::string out;
  size_t from = 0;
  for (size_t hit; (hit = s.find(what, from)) != std::string::npos; from = hit + what.size())
    out.append(s, from, hit - from).append(with);
  s = out + s.substr(from);
}

void RefReplace(std::string& s, StrRange r, const std::string& text) {
  if (r.length == 0 || text.empty() || r.start > s.size()) return;
  s.replace(r.start, std::min(r.length, s.size() - r.start), text);
}

void RefKeep(std::string& s, StrRange r) {
  const size_t size = s.size() + 1;  // with the terminator
  if (r.start > size || r.length > size - r.start) return;
  s = r.start < s.size() ? s.substr(r.start, std::min(r.length, s.size() - r.start)) : "";
}

void RefErase(std::string& s, StrRange r) {
  if (r.length == 0 || r.start >= s.size()) return;
  s.erase(r.start, std::min(r.length, s.size() - r.start));
}

StrRange Range(FuzzedDataProvider& in, const std::string& s) {
  StrRange r;
  r.start = in.ConsumeIntegralInRange<size_t>(0, s.size() + 2);
  // Mostly sensible lengths, sometimes huge ones to probe the clipping.
  r.length = in.ConsumeBool() ? in.ConsumeIntegralInRange<size_t>(0, s.size() + 2)
                              : in.ConsumeIntegral<size_t>();
  return r;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider in(data, size);
  std::string ref = Text(in);
  Str s(ref.c_str());
  while (in.remaining_bytes() > 0 && ref.size() < 4096) {
    switch (in.ConsumeIntegralInRange(0, 8)) {
      case 0: {
        std::string what = Text(in), with = Text(in);
        s.ReplaceAll(what.c_str(), with.c_str());
        RefReplaceAll(ref, what, with);
        break;
      }
      case 1: {  // needle and replacement taken from the string itself
        size_t a = in.ConsumeIntegralInRange<size_t>(0, ref.size());
        size_t b = in.ConsumeIntegralInRange<size_t>(0, ref.size());
        std::string what = ref.substr(a), with = ref.substr(b);
        s.ReplaceAll(s.CharsAt(a), s.CharsAt(b));
        RefReplaceAll(ref, what, with);
        break;
      }
      case 2: {
        StrRange r = Range(in, ref);
        std::string text = Text(in);
        s.Replace(r, text.c_str());
        RefReplace(ref, r, text);
        break;
      }
      case 3: {  // replacement text inside the string
        StrRange r = Range(in, ref);
        size_t a = in.ConsumeIntegralInRange<size_t>(0, ref.size());
        std::string text = ref.substr(a);
        s.Replace(r, s.CharsAt(a));
        RefReplace(ref, r, text);
        break;
      }
      case 4: {
        StrRange r = Range(in, ref);
        s.Keep(r);
        RefKeep(ref, r);
        break;
      }
      case 5: {
        StrRange r = Range(in, ref);
        s.Erase(r);
        RefErase(ref, r);
        break;
      }
      case 6: {
        std::string text = Text(in);
        s += text.c_str();
        ref += text;
        break;
      }
      case 7: {  // a search result fed straight back, as callers do
        std::string what = Text(in), with = Text(in);
        StrRange r = s.Find(what.c_str());
        size_t at = what.empty() ? std::string::npos : ref.find(what);
        FUZZ_CHECK(r.length == (at == std::string::npos ? 0 : what.size()));
        if (r.length) FUZZ_CHECK(r.start == at);
        s.Replace(r, with.c_str());
        RefReplace(ref, r, with);
        break;
      }
      case 8: {
        Str copy(s);
        s = copy;
        s = s.c_str();  // assignment from its own text
        break;
      }
    }
    FUZZ_CHECK(s.Length() == ref.size());
    FUZZ_CHECK(std::strlen(s.c_str()) == ref.size());
    FUZZ_CHECK(ref == s.c_str());
    FUZZ_CHECK(s.Capacity() >= s.Size());
  }
  return 0;
}
