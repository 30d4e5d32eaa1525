// shellword_fuzz.cpp: words quoted for /bin/sh command lines. Read back the
// way the shell reads one word, the result must be the word itself, and an
// unquoted result must hold no character the shell treats specially.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "app/ShellQuote.h"
#include "fuzz/FuzzSupport.h"

namespace {

// One shell word: single-quoted runs, backslash escapes outside quotes and
// plain characters. Fails (returns false) on anything that would end the
// word or start an expansion: blanks, quotes left open, $ ` ; | & < > ( ) *
// ? [ ] # ~ " and newlines outside single quotes.
bool ReadWord(std::string_view text, std::string& word) {
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '\'') {
      const size_t close = text.find('\'', i + 1);
      if (close == std::string_view::npos) return false;
      word.append(text.substr(i + 1, close - i - 1));
      i = close;
    } else if (c == '\\') {
      if (++i == text.size()) return false;
      word += text[i];
    } else if (std::strchr(" \t\n$`;|&<>()*?[]#~\"{}!", c)) {
      return false;
    } else {
      word += c;
    }
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // Command lines are C strings: a word cannot hold a NUL.
  std::string word(reinterpret_cast<const char*>(data), size);
  word.resize(std::strlen(word.c_str()));
  const std::string quoted = xkest::ShellWord(word);
  std::string back;
  FUZZ_CHECK(ReadWord(quoted, back));
  FUZZ_CHECK(back == word);
  return 0;
}
