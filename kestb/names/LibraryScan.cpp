// LibraryScan: a token scan that tracks which braces open a namespace, an
// extern "C" block, an enumeration or anything else.
#include "kestb/names/LibraryScan.h"

#include <algorithm>
#include <cctype>
#include <vector>

namespace kestb {
namespace {

bool IdentStart(char c) { return std::isalpha(static_cast<unsigned char>(c)) || c == '_'; }
bool IdentChar(char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; }

struct Token {
  enum Kind { Ident, String, Punct } kind;
  std::string_view text;
};

// Identifiers, string and character literals, "::" and single characters;
// numbers and preprocessor lines (#pragma) are dropped.
std::vector<Token> Tokens(std::string_view s) {
  std::vector<Token> out;
  size_t i = 0;
  while (i < s.size()) {
    const char c = s[i];
    if (std::isspace(static_cast<unsigned char>(c))) {
      ++i;
    } else if (c == '#') {
      size_t end = s.find('\n', i);
      i = end == std::string_view::npos ? s.size() : end;
    } else if (IdentStart(c)) {
      size_t b = i;
      while (i < s.size() && IdentChar(s[i])) ++i;
      // A prefixed literal (u8"...", L'x') is one literal.
      if (i < s.size() && (s[i] == '"' || s[i] == '\'')) continue;
      out.push_back({Token::Ident, s.substr(b, i - b)});
    } else if (std::isdigit(static_cast<unsigned char>(c)) ||
               (c == '.' && i + 1 < s.size() && std::isdigit(static_cast<unsigned char>(s[i + 1])))) {
      while (i < s.size() && (IdentChar(s[i]) || s[i] == '.' || s[i] == '\'')) ++i;
    } else if (c == '"' || c == '\'') {
      size_t b = i++;
      while (i < s.size() && s[i] != c && s[i] != '\n') i += s[i] == '\\' ? 2 : 1;
      i = std::min(i + 1, s.size());
      out.push_back({Token::String, s.substr(b, i - b)});
    } else if (c == ':' && i + 1 < s.size() && s[i + 1] == ':') {
      out.push_back({Token::Punct, s.substr(i, 2)});
      i += 2;
    } else {
      out.push_back({Token::Punct, s.substr(i, 1)});
      ++i;
    }
  }
  return out;
}

enum class Scope { Linkage, Namespace, Enum, Other };

}  // namespace

void ScanGlobalNames(std::string_view preprocessed, std::set<std::string>& names) {
  const std::vector<Token> tokens = Tokens(preprocessed);
  std::vector<Scope> scopes;
  size_t parens = 0;               // ( and [ open at the current brace level
  std::vector<size_t> outerParens;  // the count of the enclosing level
  size_t statement = 0;             // index of the current statement's first token
  auto global = [&] {
    for (Scope s : scopes) {
      if (s != Scope::Linkage) return false;
    }
    return true;
  };
  for (size_t i = 0; i < tokens.size(); ++i) {
    const Token& t = tokens[i];
    const std::string_view x = t.text;
    if (t.kind == Token::Punct) {
      if (x == "(" || x == "[") {
        ++parens;
      } else if ((x == ")" || x == "]") && parens > 0) {
        --parens;
      } else if (x == ";" && parens == 0) {
        statement = i + 1;
      } else if (x == "{") {
        Scope kind = Scope::Other;
        bool enumeration = false, scoped = false;
        for (size_t k = statement; k < i; ++k) {
          if (tokens[k].text == "namespace") kind = Scope::Namespace;
          if (tokens[k].text == "enum") {
            enumeration = true;
            scoped = k + 1 < i && (tokens[k + 1].text == "class" || tokens[k + 1].text == "struct");
          }
        }
        if (i >= 2 && tokens[i - 1].kind == Token::String && tokens[i - 2].text == "extern") {
          kind = Scope::Linkage;
        } else if (enumeration && !scoped && kind == Scope::Other) {
          kind = Scope::Enum;
        }
        scopes.push_back(kind);
        outerParens.push_back(parens);
        parens = 0;
        statement = i + 1;
      } else if (x == "}" && !scopes.empty()) {
        const Scope closed = scopes.back();
        scopes.pop_back();
        parens = outerParens.back();
        outerParens.pop_back();
        // After a class or enumeration body the declaration goes on
        // ("} name;"); after any other body a new one starts.
        if (closed != Scope::Other && closed != Scope::Enum) statement = i + 1;
      }
      continue;
    }
    if (t.kind != Token::Ident || parens != 0) continue;
    if (x.front() == '_' || x.find("__") != std::string_view::npos) continue;
    if (i + 1 < tokens.size() && tokens[i + 1].text == "::") continue;  // a qualifier
    bool keep = false;
    if (global()) {
      keep = true;
    } else if (scopes.back() == Scope::Enum) {
      // An enumerator of an enumeration at global scope: first in its
      // entry.
      scopes.pop_back();
      keep = global() && i > 0 && (tokens[i - 1].text == "{" || tokens[i - 1].text == ",");
      scopes.push_back(Scope::Enum);
    }
    if (keep) names.emplace(x);
  }
}

}  // namespace kestb
