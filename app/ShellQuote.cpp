// ShellQuote: quoting of single words for /bin/sh.
#include "app/ShellQuote.h"

namespace xkest {
namespace {

bool IsPlain(char c) {
  if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')) return true;
  switch (c) {
    case '_': case '@': case '%': case '+': case '=':
    case ':': case ',': case '.': case '/': case '-':
      return true;
    default:
      return false;
  }
}

}  // namespace

std::string ShellWord(std::string_view word) {
  bool plain = word.empty() || word.front() != '~';
  for (char c : word) plain = plain && IsPlain(c);
  if (plain) return std::string(word);
  std::string out = "'";
  for (char c : word) {
    if (c == '\'') out += "'\\''";
    else out += c;
  }
  out += '\'';
  return out;
}

std::string PathWord(std::string_view path) {
  if (!path.empty() && path.front() == '-') return ShellWord("./" + std::string(path));
  return ShellWord(path);
}

}  // namespace xkest
