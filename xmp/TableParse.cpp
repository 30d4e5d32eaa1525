// TableParse.cpp: option, layout and name-list-list strings of the table.
#include "xmp/TableParse.h"

#include <algorithm>

#include "xmp/TableLayout.h"

namespace xmp::table {
namespace {

int OptionBit(char c) {
  switch (c) {
    case 'l':
      return kLeft;
    case 'r':
      return kRight;
    case 't':
      return kTop;
    case 'b':
      return kBottom;
    case 'W':
      return kKeepWidth;
    case 'H':
      return kKeepHeight;
    case 'w':
      return kNoStretchCols;
    case 'h':
      return kNoStretchRows;
    default:
      return 0;
  }
}

// Control characters, space and every byte of 128 and above separate the
// words of a layout string.
bool Blank(char c) {
  auto u = static_cast<unsigned char>(c);
  return u <= 32 || u >= 128;
}

bool NameChar(char c) {
  auto u = static_cast<unsigned char>(c);
  return (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z') || (u >= '0' && u <= '9') || u == '_';
}

bool Space(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v';
}

class Cursor {
 public:
  explicit Cursor(std::string_view text) : text_(text) {}
  bool AtEnd() const { return pos_ >= text_.size(); }
  char Peek() const { return text_[pos_]; }

  template <typename Pred>
  std::string_view TakeWhile(Pred pred) {
    size_t start = pos_;
    while (!AtEnd() && pred(Peek())) ++pos_;
    return text_.substr(start, pos_ - start);
  }

  void SkipBlanks() { TakeWhile(Blank); }

  // An unsigned decimal number after blanks; 0 when there is none.
  int Number() {
    SkipBlanks();
    long value = 0;
    for (char c : TakeWhile([](char ch) { return ch >= '0' && ch <= '9'; }))
      value = std::min<long>(value * 10 + (c - '0'), kMaxCell);
    return static_cast<int>(value);
  }

 private:
  std::string_view text_;
  size_t pos_ = 0;
};

// One name list: names separated by anything that cannot be in a name.
std::vector<std::string> ParseNameList(std::string_view text) {
  std::vector<std::string> names;
  Cursor c(text);
  do {
    c.TakeWhile([](char ch) { return !NameChar(ch); });
    names.emplace_back(c.TakeWhile(NameChar));
  } while (!c.AtEnd());
  return names;
}

bool HasName(std::string_view text) { return std::any_of(text.begin(), text.end(), NameChar); }

}  // namespace

int ParseOptions(std::string_view text) {
  if (text.empty() || text[0] == 'n' || text[0] == 'N') return 0;
  int bits = 0;
  for (char c : text) bits |= OptionBit(c);
  return bits;
}

std::optional<std::vector<LayoutEntry>> ParseLayout(std::string_view text) {
  std::vector<LayoutEntry> entries;
  size_t room = static_cast<size_t>(std::count(text.begin(), text.end(), ';')) + 1;
  Cursor c(text);
  for (;;) {
    c.SkipBlanks();
    if (c.AtEnd()) return entries;
    if (entries.size() == room) return std::nullopt;  // an entry without its ';'
    LayoutEntry e;
    e.name = std::string(c.TakeWhile([](char ch) { return !Blank(ch); }));
    e.col = c.Number();
    e.row = c.Number();
    e.hSpan = std::max(c.Number(), 1);
    e.vSpan = std::max(c.Number(), 1);
    c.SkipBlanks();
    for (char letter : c.TakeWhile([](char ch) { return OptionBit(ch) != 0; }))
      e.options |= OptionBit(letter);
    c.TakeWhile([](char ch) { return Blank(ch) || ch == ';'; });
    entries.push_back(std::move(e));
  }
}

std::vector<std::vector<std::string>> ParseNameListLists(std::string_view text) {
  std::vector<std::vector<std::string>> lists;
  Cursor c(text);
  c.TakeWhile(Space);
  if (c.AtEnd()) return lists;
  if (c.Peek() != '(') {
    std::string_view all = c.TakeWhile([](char) { return true; });
    if (HasName(all)) lists.push_back(ParseNameList(all));
    return lists;
  }
  for (;;) {
    c.TakeWhile([](char ch) { return ch != '('; });
    if (c.AtEnd()) return lists;
    c.TakeWhile([](char ch) { return ch == '('; });
    std::string_view group = c.TakeWhile([](char ch) { return ch != ')'; });
    if (!HasName(group)) return lists;  // an empty group ends the lists
    lists.push_back(ParseNameList(group));
  }
}

}  // namespace xmp::table
