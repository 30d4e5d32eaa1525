// Dsm: lexer, recursive-descent parser and semantic checks of the model
// language.
#include "kestb/Dsm.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <map>
#include <optional>

#include "kestb/Keywords.h"

namespace kestb {
namespace {

// Deeper than models need. The C++ library's vector grows the compile
// time of each further level of nesting by about half again (more with
// clang); at this depth a generated source still compiles in about 2 s.
constexpr int kMaxListDepth = 12;

constexpr std::string_view kBuiltins[] = {"int",  "long", "float", "double",
                                          "bool", "char", "string"};

enum class Tok { Ident, Colon, Semi, LBrace, RBrace, End, Bad };

struct Token {
  Tok kind = Tok::End;
  std::string text;
  int line = 1;
  int col = 1;
  int endCol = 1;  // the column just past the token
  std::string message;  // for a Bad token, when more than "unexpected character"
};

bool IsIdentStart(char c) {
  return std::isalpha(static_cast<unsigned char>(c)) || c == '_';
}
bool IsIdentChar(char c) {
  return std::isalnum(static_cast<unsigned char>(c)) || c == '_';
}

// A byte as it appears in a message: itself when printable, else \xHH.
std::string Shown(char c) {
  if (std::isprint(static_cast<unsigned char>(c))) return std::string(1, c);
  char buf[8];
  std::snprintf(buf, sizeof buf, "\\x%02X", static_cast<unsigned char>(c));
  return buf;
}

// The length of the well-formed UTF-8 character at the start of s, or 0.
size_t Utf8Length(std::string_view s) {
  if (s.empty()) return 0;
  const unsigned char b = static_cast<unsigned char>(s[0]);
  size_t n = b < 0x80 ? 1 : b < 0xC2 ? 0 : b < 0xE0 ? 2 : b < 0xF0 ? 3 : b < 0xF5 ? 4 : 0;
  if (n == 0 || s.size() < n) return 0;
  for (size_t i = 1; i < n; ++i) {
    if ((static_cast<unsigned char>(s[i]) & 0xC0) != 0x80) return 0;
  }
  // Overlong forms, surrogates and code points past U+10FFFF.
  const unsigned char b1 = static_cast<unsigned char>(s.size() > 1 ? s[1] : 0);
  if ((b == 0xE0 && b1 < 0xA0) || (b == 0xED && b1 >= 0xA0) || (b == 0xF0 && b1 < 0x90) ||
      (b == 0xF4 && b1 >= 0x90)) {
    return 0;
  }
  return n;
}

std::string Trim(std::string_view s) {
  size_t b = 0, e = s.size();
  while (b < e && std::isspace(static_cast<unsigned char>(s[b]))) ++b;
  while (e > b && std::isspace(static_cast<unsigned char>(s[e - 1]))) --e;
  return std::string(s.substr(b, e - b));
}

// Comment text as templates may repeat it after "//" or "--": control
// characters (a lone carriage return ends a C++ line) become blanks, and a
// trailing backslash or "??/" is dropped, since it would continue the
// comment onto the generated line below.
std::string NeutralComment(std::string_view raw) {
  return Trim(WithoutContinuation(CommentSafe(raw, ' ')));
}

class Lexer {
 public:
  explicit Lexer(std::string_view text) : text_(text) {
    // A byte-order mark that some editors write first is no character of
    // the model.
    if (text_.substr(0, 3) == "\xEF\xBB\xBF") pos_ = 3;
  }

  Token Next() {
    SkipSpaceAndComments();
    Token t;
    t.line = line_;
    t.col = t.endCol = Column(pos_);
    if (pos_ >= text_.size()) return t;
    char c = text_[pos_];
    if (c == '/' && text_.substr(pos_, 2) == "/*") {
      // Skipped whole and reported once: its words are no model text.
      size_t end = text_.find("*/", pos_ + 2);
      end = end == std::string_view::npos ? text_.size() : end + 2;
      for (; pos_ < end; ++pos_) {
        if (text_[pos_] == '\n') {
          ++line_;
          lineStart_ = pos_ + 1;
        }
      }
      t.kind = Tok::Bad;
      t.message = "block comments '/* */' are not part of the syntax; use '//'";
      return t;
    }
    if (IsIdentStart(c)) {
      size_t b = pos_;
      while (pos_ < text_.size() && IsIdentChar(text_[pos_])) ++pos_;
      t.kind = Tok::Ident;
      t.text = std::string(text_.substr(b, pos_ - b));
      tokenOnLine_ = line_;
      t.endCol = Column(pos_);
      return t;
    }
    tokenOnLine_ = line_;
    // A whole UTF-8 character (a letter like 'é' in a name) is one stray
    // character, not one per byte.
    if (size_t n = Utf8Length(text_.substr(pos_)); n > 1) {
      t.kind = Tok::Bad;
      t.text = std::string(text_.substr(pos_, n));
      pos_ += n;
      t.endCol = Column(pos_);
      return t;
    }
    ++pos_;
    t.text = Shown(c);
    t.endCol = Column(pos_);
    switch (c) {
      case ':': t.kind = Tok::Colon; break;
      case ';': t.kind = Tok::Semi; break;
      case '{': t.kind = Tok::LBrace; break;
      case '}': t.kind = Tok::RBrace; break;
      default: t.kind = Tok::Bad; break;
    }
    return t;
  }

  // Comment that follows a token on the given line.
  std::string TrailingComment(int line) const {
    auto it = trailing_.find(line);
    return it == trailing_.end() ? std::string() : it->second;
  }

  // Whole-line comments directly above the given line, oldest first. They
  // belong to the first record of that line only: a line of many records
  // under a long comment would otherwise copy it into each of them.
  std::string CommentAbove(int line) {
    int first = line;
    while (whole_.count(first - 1)) --first;
    std::string joined;
    for (int l = first; l < line; ++l) {
      if (l != first) joined += ' ';
      joined += whole_.at(l);
      whole_.erase(l);
    }
    return joined;
  }

 private:
  void SkipSpaceAndComments() {
    while (pos_ < text_.size()) {
      char c = text_[pos_];
      if (c == '\n') {
        ++line_;
        ++pos_;
        lineStart_ = pos_;
      } else if (std::isspace(static_cast<unsigned char>(c))) {
        ++pos_;
      } else if (c == '/' && pos_ + 1 < text_.size() && text_[pos_ + 1] == '/') {
        size_t end = text_.find('\n', pos_);
        if (end == std::string_view::npos) end = text_.size();
        std::string body = NeutralComment(text_.substr(pos_ + 2, end - pos_ - 2));
        if (tokenOnLine_ == line_) {
          trailing_[line_] = body;
        } else {
          whole_[line_] = body;
        }
        pos_ = end;
      } else {
        return;
      }
    }
  }

  // The column of byte offset pos on the current line; offsets only grow,
  // so each byte is counted once however long the line.
  int Column(size_t pos) {
    if (colPos_ < lineStart_ || colPos_ > pos) {
      colPos_ = lineStart_;
      col_ = 1;
    }
    std::string_view part = text_.substr(colPos_, pos - colPos_);
    col_ += ColumnOf(part, part.size()) - 1;
    colPos_ = pos;
    return col_;
  }

  std::string_view text_;
  size_t pos_ = 0;
  size_t lineStart_ = 0;
  size_t colPos_ = 0;
  int col_ = 1;
  int line_ = 1;
  int tokenOnLine_ = 0;
  std::map<int, std::string> trailing_, whole_;
};

std::string Describe(const Token& t) {
  if (t.kind == Tok::End) return "end of file";
  return "'" + t.text + "'";
}

class Parser {
 public:
  Parser(std::string_view text, const std::string& file, Diagnostics& diags)
      : lex_(text), file_(file), diags_(diags) {
    Advance();
  }

  Model Parse() {
    Model m;
    while (cur_.kind != Tok::End) {
      if (cur_.kind == Tok::Ident && cur_.text == "record") {
        ParseRecord(m);
      } else if (cur_.kind == Tok::Ident && cur_.text == "model") {
        ParseModelStatement(m);
      } else {
        Error(cur_, "expected 'record' or 'model', found " + Describe(cur_));
        SkipToStatementEnd();
      }
    }
    return m;
  }

 private:
  void Advance() {
    prevLine_ = cur_.line;
    prevEndCol_ = cur_.endCol;
    if (peeked_) {
      cur_ = std::move(*peeked_);
      peeked_.reset();
    } else {
      cur_ = Lex();
    }
  }

  const Token& Peek() {
    if (!peeked_) peeked_ = Lex();
    return *peeked_;
  }

  // A stray byte is reported once here and then skipped, so the grammar
  // below never sees it.
  Token Lex() {
    Token t = lex_.Next();
    while (t.kind == Tok::Bad) {
      Error(t, t.message.empty() ? "unexpected character '" + t.text + "'" : t.message);
      t = lex_.Next();
    }
    return t;
  }

  // "record NAME" or "model NAME": the next statement, so a record still
  // open there lacks its '}' (a field may be named record, but then a ':'
  // follows).
  bool AtStatementStart() {
    return cur_.kind == Tok::Ident && (cur_.text == "record" || cur_.text == "model") &&
           Peek().kind == Tok::Ident;
  }

  void Error(const Token& at, std::string text) {
    diags_.Error(file_, at.line, at.col, std::move(text));
  }

  // Recovery: drop tokens up to and including the next ';' or '}', or up
  // to a 'record'/'model' keyword that can start the next statement.
  void SkipToStatementEnd() {
    while (cur_.kind != Tok::End) {
      if (cur_.kind == Tok::Ident &&
          (cur_.text == "record" || cur_.text == "model")) {
        return;
      }
      bool end = cur_.kind == Tok::Semi || cur_.kind == Tok::RBrace;
      Advance();
      if (end) return;
    }
  }

  bool Expect(Tok kind, const char* what) {
    if (cur_.kind == kind) {
      Advance();
      return true;
    }
    // A missing ';' belongs to the line it should end, not the next one,
    // just after the token it should follow.
    bool after = kind == Tok::Semi;
    diags_.Error(file_, after ? prevLine_ : cur_.line, after ? prevEndCol_ : cur_.col,
                 std::string("expected ") + what + ", found " + Describe(cur_));
    return false;
  }

  void ParseModelStatement(Model& m) {
    Token kw = cur_;
    Advance();
    if (cur_.kind != Tok::Ident) {
      Error(cur_, "expected model name, found " + Describe(cur_));
      SkipToStatementEnd();
      return;
    }
    if (m.nameLine != 0) {
      Error(kw, "model named twice (first on line " +
                    std::to_string(m.nameLine) + ")");
    } else {
      m.name = cur_.text;
      m.nameLine = cur_.line;
      m.nameCol = cur_.col;
    }
    Advance();
    if (!Expect(Tok::Semi, "';'")) SkipToStatementEnd();
  }

  void ParseRecord(Model& m) {
    Token kw = cur_;
    Advance();
    Record r;
    r.line = kw.line;
    r.col = kw.col;
    r.comment = lex_.CommentAbove(kw.line);
    if (cur_.kind != Tok::Ident) {
      Error(cur_, "expected record name, found " + Describe(cur_));
      SkipToStatementEnd();
      return;
    }
    r.name = cur_.text;
    Advance();
    if (!Expect(Tok::LBrace, "'{'")) {
      SkipToStatementEnd();
      return;
    }
    while (cur_.kind != Tok::RBrace) {
      if (cur_.kind == Tok::End || AtStatementStart()) {
        Error(kw, "record '" + r.name + "' has no closing '}'");
        m.records.push_back(std::move(r));
        return;
      }
      ParseField(r);
    }
    Advance();  // '}'
    if (cur_.kind == Tok::Semi) Advance();  // an optional ';' after '}'
    m.records.push_back(std::move(r));
  }

  void ParseField(Record& r) {
    Field f;
    f.line = cur_.line;
    f.col = cur_.col;
    if (cur_.kind != Tok::Ident) {
      Error(cur_, "expected field name, found " + Describe(cur_));
      SkipFieldRest();
      return;
    }
    f.name = cur_.text;
    Advance();
    if (!Expect(Tok::Colon, "':' after field name")) {
      SkipFieldRest();
      return;
    }
    while (cur_.kind == Tok::Ident && cur_.text == "list") {
      Advance();
      if (!(cur_.kind == Tok::Ident && cur_.text == "of")) {
        Error(cur_, "expected 'of' after 'list', found " + Describe(cur_));
        SkipFieldRest();
        return;
      }
      Advance();
      if (++f.type.listDepth == kMaxListDepth + 1) {
        diags_.Error(file_, f.line, f.col, "field '" + f.name + "' nests lists more than " +
                                        std::to_string(kMaxListDepth) + " deep");
      }
    }
    if (cur_.kind != Tok::Ident) {
      Error(cur_, "expected type name, found " + Describe(cur_));
      SkipFieldRest();
      return;
    }
    f.type.name = cur_.text;
    f.typeLine = cur_.line;
    f.typeCol = cur_.col;
    Advance();
    if (cur_.kind == Tok::Ident && cur_.text == "of") {
      // "lst of int": the word before 'of' is what is wrong, not the 'of'.
      diags_.Error(file_, f.typeLine, f.typeCol,
                   "unknown type '" + f.type.name + "' for field '" + f.name +
                       "' (only 'list' is followed by 'of')");
      SkipFieldRest();
      return;
    }
    int semiLine = cur_.line;
    bool nextLine = cur_.line > prevLine_;
    if (!Expect(Tok::Semi, "';' after field type")) {
      // Most often the ';' was forgotten at the end of the line: keep the
      // field and go on with the next line as it stands.
      if (!nextLine) {
        SkipFieldRest();
        return;
      }
      semiLine = prevLine_;
    }
    f.comment = lex_.TrailingComment(semiLine);
    r.fields.push_back(std::move(f));
  }

  // Inside a record a '}' ends the record, so recovery stops before it.
  void SkipFieldRest() {
    while (cur_.kind != Tok::End && cur_.kind != Tok::RBrace && !AtStatementStart()) {
      bool semi = cur_.kind == Tok::Semi;
      Advance();
      if (semi) return;
    }
  }

  Lexer lex_;
  std::optional<Token> peeked_;
  int prevLine_ = 1;
  int prevEndCol_ = 1;
  const std::string& file_;
  Diagnostics& diags_;
  Token cur_;
};

std::string Lower(std::string s) {
  for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

// "MODEL_..._H" is the shape of the generated headers' include guards.
bool IsGuardShaped(const std::string& name, const std::string& model) {
  return name.size() >= model.size() + 2 && name.compare(0, model.size(), model) == 0 &&
         name[model.size()] == '_' && name.compare(name.size() - 2, 2, "_H") == 0;
}

void CheckName(const std::string& what, const std::string& name, int line, int col,
               const std::string& file, const Model& model,
               KeywordChecks checks, Diagnostics& diags) {
  if (checks.cxx && IsCxxKeyword(name)) {
    diags.Error(file, line, col, what + " '" + name + "' is a C++ keyword");
  } else if (std::string_view clash =
                 checks.cxx ? CxxNameClash(name, what == "field name"    ? NameKind::Field
                                                 : what == "record name" ? NameKind::Record
                                                                         : NameKind::Model)
                            : "";
             !clash.empty()) {
    diags.Error(file, line, col, what + " '" + name + "' is " + std::string(clash));
  } else if (checks.cxx && IsGuardShaped(name, model.name)) {
    diags.Error(file, line, col, what + " '" + name +
                                "' has the shape of a generated include guard");
  } else if (checks.cxx && what != "field name" && !name.empty() &&
             (name.back() == '_' || (what == "record name" && name.front() == '_'))) {
    // The include guards join the model and record names with '_'.
    diags.Error(file, line, col, what + " '" + name +
                                "' would put '__' into a generated include guard");
  }
  if (checks.ada && IsAdaKeyword(name)) {
    diags.Error(file, line, col, what + " '" + name + "' is an Ada reserved word");
  }
}

// Depth-first ordering over by-value record fields; a field that leads back
// to a record still being visited closes a cycle, which no language can lay
// out, and is reported at that field. The walk keeps its own stack: a chain
// of by-value records is as long as the model, far deeper than the call
// stack allows.
class Orderer {
 public:
  Orderer(const Model& m, const std::string& file, Diagnostics& diags)
      : m_(m), file_(file), diags_(diags), state_(m.records.size(), 0) {
    for (size_t i = 0; i < m.records.size(); ++i) {
      // The first record of a duplicated name stands for it.
      index_.emplace(m.records[i].name, i);
    }
  }

  std::vector<Record> Run() {
    for (size_t i = 0; i < m_.records.size(); ++i) Visit(i);
    std::vector<Record> out;
    out.reserve(order_.size());
    for (size_t i : order_) out.push_back(m_.records[i]);
    return out;
  }

 private:
  struct Frame {
    size_t record;
    size_t nextField = 0;
  };

  void Visit(size_t start) {
    if (state_[start] != 0) return;
    state_[start] = 1;
    std::vector<Frame> path{{start}};
    while (!path.empty()) {
      Frame& top = path.back();
      const std::vector<Field>& fields = m_.records[top.record].fields;
      if (top.nextField == fields.size()) {
        state_[top.record] = 2;
        order_.push_back(top.record);
        path.pop_back();
        continue;
      }
      const Field& f = fields[top.nextField++];
      if (f.type.listDepth != 0) continue;
      auto it = index_.find(f.type.name);
      if (it == index_.end()) continue;
      if (state_[it->second] == 1) {
        diags_.Error(file_, f.line, f.col,
                     "field '" + f.name + "' makes record '" + f.type.name +
                         "' contain itself; use 'list of " + f.type.name + "'");
      } else if (state_[it->second] == 0) {
        state_[it->second] = 1;
        path.push_back({it->second});  // top is not used past this point
      }
    }
  }

  const Model& m_;
  const std::string& file_;
  Diagnostics& diags_;
  std::vector<int> state_;  // 0 new, 1 on the current path, 2 done
  std::map<std::string, size_t> index_;
  std::vector<size_t> order_;
};

}  // namespace

std::string CommentSafe(std::string_view text, char blank) {
  std::string s;
  s.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    // The Bidi_Control characters in UTF-8: U+061C (D8 9C), U+200E and
    // U+200F (E2 80 8E/8F), U+202A..U+202E (E2 80 AA..AE) and
    // U+2066..U+2069 (E2 81 A6..A9).
    if (c == 0xD8 && i + 1 < text.size() && static_cast<unsigned char>(text[i + 1]) == 0x9C) {
      s += blank;
      i += 1;
      continue;
    }
    if (c == 0xE2 && i + 2 < text.size()) {
      const unsigned char b1 = static_cast<unsigned char>(text[i + 1]);
      const unsigned char b2 = static_cast<unsigned char>(text[i + 2]);
      if ((b1 == 0x80 && (b2 == 0x8E || b2 == 0x8F || (b2 >= 0xAA && b2 <= 0xAE))) ||
          (b1 == 0x81 && b2 >= 0xA6 && b2 <= 0xA9)) {
        s += blank;
        i += 2;
        continue;
      }
    }
    s += std::iscntrl(c) ? blank : text[i];
  }
  return s;
}

std::string WithoutContinuation(std::string s) {
  size_t end = s.size();
  for (;;) {
    size_t e = end;
    while (e > 0 && s[e - 1] == ' ') --e;
    if (e > 0 && s[e - 1] == '\\') {
      end = e - 1;
    } else if (e >= 3 && s.compare(e - 3, 3, "?\?/") == 0) {
      end = e - 3;
    } else {
      break;
    }
  }
  s.resize(end);
  return s;
}

std::vector<size_t> CycleGroups(const Model& model) {
  // Tarjan's strongly connected components with an explicit stack: a chain
  // of records can be as long as the model.
  const size_t n = model.records.size();
  std::map<std::string, size_t> index;
  for (size_t i = 0; i < n; ++i) index.emplace(model.records[i].name, i);
  std::vector<std::vector<size_t>> edges(n);
  for (size_t i = 0; i < n; ++i) {
    for (const Field& f : model.records[i].fields) {
      if (auto it = index.find(f.type.name); it != index.end()) edges[i].push_back(it->second);
    }
  }
  constexpr size_t kNone = static_cast<size_t>(-1);
  std::vector<size_t> order(n, kNone), low(n, 0), group(n, kNone), held;
  size_t next = 0, groups = 0;
  struct Frame {
    size_t node, edge;
  };
  for (size_t start = 0; start < n; ++start) {
    if (order[start] != kNone) continue;
    std::vector<Frame> path{{start, 0}};
    order[start] = low[start] = next++;
    held.push_back(start);
    while (!path.empty()) {
      Frame& top = path.back();
      const size_t v = top.node;
      if (top.edge < edges[v].size()) {
        const size_t w = edges[v][top.edge++];
        if (order[w] == kNone) {
          order[w] = low[w] = next++;
          held.push_back(w);
          path.push_back({w, 0});  // top is not used past this point
        } else if (group[w] == kNone) {
          low[v] = std::min(low[v], order[w]);
        }
        continue;
      }
      if (low[v] == order[v]) {
        size_t w;
        do {
          w = held.back();
          held.pop_back();
          group[w] = groups;
        } while (w != v);
        ++groups;
      }
      path.pop_back();
      if (!path.empty()) low[path.back().node] = std::min(low[path.back().node], low[v]);
    }
  }
  return group;
}

bool IsBuiltinType(std::string_view name) {
  for (std::string_view b : kBuiltins) {
    if (b == name) return true;
  }
  return false;
}

Model ParseDsm(std::string_view text, const std::string& file,
               Diagnostics& diags) {
  return Parser(text, file, diags).Parse();
}

void CheckDsm(Model& model, const std::string& file, KeywordChecks checks,
              Diagnostics& diags) {
  if (model.nameLine != 0) {
    CheckName("model name", model.name, model.nameLine, model.nameCol, file, model, checks, diags);
  }
  std::map<std::string, int> records;  // name -> line of first definition
  std::map<std::string, const Record*> lowered;  // lower-case name -> first
  for (const Record& r : model.records) {
    auto [it, fresh] = records.emplace(r.name, r.line);
    if (!fresh) {
      diags.Error(file, r.line, r.col, "duplicate record '" + r.name +
                                    "' (first defined on line " +
                                    std::to_string(it->second) + ")");
    } else if (auto [low, freshLow] = lowered.emplace(Lower(r.name), &r); !freshLow) {
      // Generated file names and include guards would clash where letter
      // case does not count, and Ada ignores it everywhere.
      diags.Error(file, r.line, r.col, "record '" + r.name + "' differs from record '" +
                                    low->second->name + "' (line " +
                                    std::to_string(low->second->line) +
                                    ") only in letter case");
    }
    if (IsBuiltinType(r.name) || r.name == "list") {
      diags.Error(file, r.line, r.col,
                  "record name '" + r.name + "' is a built-in type name");
    }
    CheckName("record name", r.name, r.line, r.col, file, model, checks, diags);
  }
  for (const Record& r : model.records) {
    std::map<std::string, int> fields;
    for (const Field& f : r.fields) {
      auto [it, fresh] = fields.emplace(f.name, f.line);
      if (!fresh) {
        diags.Error(file, f.line, f.col, "duplicate field '" + f.name +
                                      "' in record '" + r.name +
                                      "' (first defined on line " +
                                      std::to_string(it->second) + ")");
      }
      CheckName("field name", f.name, f.line, f.col, file, model, checks, diags);
      if (records.count(f.name)) {
        // In C++ the member would hide the type for the rest of the record.
        diags.Error(file, f.line, f.col, "field '" + f.name +
                                      "' has the name of a record");
      }
      if (!IsBuiltinType(f.type.name) && !records.count(f.type.name)) {
        diags.Error(file, f.typeLine, f.typeCol, "unknown type '" + f.type.name +
                                      "' for field '" + f.name + "'");
      }
    }
  }
  model.records = Orderer(model, file, diags).Run();
}

std::string CxxType(const Type& type) {
  std::string s;
  for (int i = 0; i < type.listDepth; ++i) s += "std::vector<";
  s += type.name == "string" ? "std::string" : type.name;
  s.append(static_cast<size_t>(type.listDepth), '>');
  return s;
}

std::string DsmType(const Type& type) {
  std::string s;
  for (int i = 0; i < type.listDepth; ++i) s += "list of ";
  return s + type.name;
}

}  // namespace kestb
