// TableParse.h: the table widget's resource strings as plain data: option
// letters, layout strings and lists of name lists. The converters in
// Table.cpp turn the results into the toolkit's representations.
//
//   auto entries = xmp::table::ParseLayout("label 0 0; text 1 0 2 1 lw; ok 0 1");
//   // 3 entries; entries->at(1): name "text", col 1, row 0, spans 2 x 1,
//   // options 'l' | 'w'
//   auto groups = xmp::table::ParseNameListLists("(ok cancel) (a b)");
//   // {{"ok", "cancel"}, {"a", "b"}}
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace xmp::table {

// Bits of the letters l r t b W H w h; 0 when the text starts with 'n' or
// 'N'. Other characters are ignored.
int ParseOptions(std::string_view text);

// One placement of a layout string.
struct LayoutEntry {
  std::string name;
  int col = 0, row = 0;
  int hSpan = 1, vSpan = 1;  // a span written as 0 reads as 1
  int options = 0;
};

// Layout string: entries "name col row [h_span [v_span]] [letters]"
// separated by semicolons; a missing number reads as 0. Numbers above
// kMaxCell are held at kMaxCell so that a typing slip cannot ask for a
// grid of millions of cells. nullopt when two entries are not separated by
// a semicolon; an empty text gives no entries.
inline constexpr int kMaxCell = 32767;
std::optional<std::vector<LayoutEntry>> ParseLayout(std::string_view text);

// "a b c" is one list; "(a b) (c d)" is one list per group, text between
// groups ignored, an empty group ending the lists. Names are runs of
// letters, digits and '_'; separators after the last name of a list add
// one empty name.
std::vector<std::vector<std::string>> ParseNameListLists(std::string_view text);

}  // namespace xmp::table
