// The table's arithmetic and resource strings, without an X server.
#include <gtest/gtest.h>

#include <numeric>
#include <string>
#include <vector>

#include "xmp/TableLayout.h"
#include "xmp/TableParse.h"

namespace {

using namespace xmp::table;

// "size/pref" per slot, '*' marking no-stretch slots.
std::string Dump(const Vector& v) {
  std::string out;
  for (const Slot& s : v) {
    if (!out.empty()) out += " ";
    out += std::to_string(s.size) + "/" + std::to_string(s.pref) + (s.noStretch ? "*" : "");
  }
  return out;
}

Vector Columns(std::vector<Px> prefs, std::vector<bool> noStretch = {}) {
  std::vector<Span> spans;
  for (size_t i = 0; i < prefs.size(); ++i)
    spans.push_back(
        {static_cast<int>(i), 1, i < noStretch.size() && noStretch[i], prefs[i], prefs[i]});
  return BuildVector(spans, 0);
}

Px Sum(const Vector& v) {
  return std::accumulate(v.begin(), v.end(), Px{0}, [](Px a, const Slot& s) { return a + s.size; });
}

TEST(TableLayout, GrowingSpreadsInProportionToPreferredSizes) {
  Vector v = Columns({50, 150});
  Fit(v, 300, 0, 0, true);
  EXPECT_EQ(Dump(v), "75/50 225/150");
}

TEST(TableLayout, FittingGivesExactlyTheLengthAskedFor) {
  struct Case {
    std::vector<Px> prefs;
    Px spacing, frame, length;
  } cases[] = {
      {{50, 150}, 0, 0, 301},         {{1, 1, 1}, 0, 0, 100},      {{7, 13, 29, 3}, 5, 8, 997},
      {{0, 0, 0}, 0, 2, 10},          {{100, 100, 100}, 2, 4, 37}, {{33, 1, 66}, 0, 0, 17},
      {{65535, 65535}, 0, 0, 200000},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(c.prefs) + " to " + std::to_string(c.length));
    Vector v = Columns(c.prefs);
    Fit(v, c.length, c.spacing, c.frame, true);
    EXPECT_EQ(Total(v, c.spacing, c.frame), c.length);
    for (const Slot& s : v) EXPECT_GE(s.size, 1);
  }
}

TEST(TableLayout, ShrinkingStopsAtOnePixelPerColumn) {
  Vector v = Columns({10, 20, 30});
  Fit(v, 2, 0, 0, true);
  EXPECT_EQ(Dump(v), "1/10 1/20 1/30");
  Fit(v, 60, 0, 0, true);  // back up: below-preferred columns catch up first
  EXPECT_EQ(Dump(v), "10/10 20/20 30/30");
}

// Shrinking first takes back what columns have above their preferred
// sizes; a column at its preferred size gives nothing until then.
TEST(TableLayout, ShrinkingGivesBackWhatIsAbovePreferredFirst) {
  Vector v = Columns({50, 50, 100});
  v[0].size = 80;
  v[2].size = 110;
  Adjust(v, -40);
  EXPECT_EQ(Dump(v), "50/50 50/50 100/100");
}

TEST(TableLayout, WithoutForceShrinkColumnsKeepTheirPreferredSizes) {
  Vector v = Columns({50, 150});
  Fit(v, 400, 0, 0, false);
  Fit(v, 100, 0, 0, false);
  EXPECT_EQ(Dump(v), "50/50 150/150");
  Fit(v, 100, 0, 0, true);
  EXPECT_EQ(Dump(v), "25/50 75/150");
}

TEST(TableLayout, NoStretchColumnsKeepTheirWidthUnlessAllAreNoStretch) {
  Vector some = Columns({50, 50, 100}, {true, false, false});
  Fit(some, 260, 0, 0, true);
  EXPECT_EQ(Dump(some), "50/50* 70/50 140/100");

  Vector all = Columns({50, 150}, {true, true});
  Fit(all, 300, 0, 0, true);
  EXPECT_EQ(Dump(all), "75/50* 225/150*");

  Fit(some, 100, 0, 0, true);  // shrinking takes from no-stretch columns too
  EXPECT_EQ(Sum(some), 100);
  EXPECT_LT(some[0].size, 50);
}

TEST(TableLayout, SpansShareWhatTheirColumnsLack) {
  struct Case {
    const char* name;
    std::vector<Span> spans;
    Px spacing;
    const char* expected;
  } cases[] = {
      // Spanned by nothing else: the width less the spacing, odd pixel first.
      {"alone", {{0, 2, false, 101, 0}}, 4, "49/49 48/48"},
      // Single spans settle first; the span tops up only what is missing.
      {"topUp", {{0, 3, false, 100, 0}, {1, 1, false, 40, 40}}, 0, "20/20 60/60 20/20"},
      {"enough",
       {{0, 2, false, 30, 0}, {0, 1, false, 20, 20}, {1, 1, false, 20, 20}},
       0,
       "20/20 20/20"},
      // Only stretchable columns receive; with none, the span's own size
      // goes to all of them.
      {"flexibleOnly", {{0, 2, false, 60, 0}, {0, 1, true, 10, 10}}, 0, "10/10* 50/50"},
      {"rigid", {{0, 2, true, 999, 31}}, 0, "16/16* 15/15*"},
      {"gapBefore", {{2, 1, false, 5, 5}}, 0, "0/0 0/0 5/5"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(Dump(BuildVector(c.spans, c.spacing)), c.expected);
  }
  EXPECT_TRUE(BuildVector({}, 0).empty());
}

TEST(TableLayout, TotalsCountFrameAndSpacingAndAreNeverZero) {
  Vector v = Columns({10, 20, 30});
  EXPECT_EQ(Total(v, 3, 8), 74);
  EXPECT_EQ(PreferredTotal(v, 3, 8), 74);
  EXPECT_EQ(Total(Vector{}, 3, 8), 8);
  EXPECT_EQ(Total(Vector{}, 3, 0), 1);
  Place(v, 5, 3);
  EXPECT_EQ(v[2].pos, 5 + 10 + 3 + 20 + 3);
  EXPECT_EQ(CellSize(v, 1, 2, 3), 53);
}

TEST(TableLayout, ChildGeometryFollowsTheOptionLetters) {
  // One 100 x 50 cell at (10, 20); the child prefers 40 x 20 outside, border 2.
  Vector cols = Columns({10, 100}), rows = Columns({20, 50});
  Place(cols, 0, 0);
  Place(rows, 0, 0);
  struct Case {
    const char* options;
    Px givenWidth, givenHeight;
    const char* expected;
  } cases[] = {
      {"", 0, 0, "10,20 96x46"},      {"W", 0, 0, "40,20 36x46"},   {"Wl", 0, 0, "10,20 36x46"},
      {"Wr", 0, 0, "70,20 36x46"},    {"Wlr", 0, 0, "10,20 36x46"}, {"H", 0, 0, "10,35 96x16"},
      {"Hb", 0, 0, "10,50 96x16"},    {"Htb", 0, 0, "10,20 96x16"}, {"", 30, 10, "43,38 30x10"},
      {"lt", 500, 0, "10,20 500x46"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.options);
    Cell cell{1, 1, 1, 1, ParseOptions(c.options), 40, 20};
    Box b = ChildGeometry(cols, rows, 0, 0, cell, c.givenWidth, c.givenHeight, 2);
    EXPECT_EQ(std::to_string(b.x) + "," + std::to_string(b.y) + " " + std::to_string(b.width) +
                  "x" + std::to_string(b.height),
              c.expected);
  }

  // Cells smaller than the child: 'W' cannot keep more than the cell; the
  // size never drops below 1.
  Vector narrow = Columns({3}), flat = Columns({3});
  Cell keep{0, 0, 1, 1, ParseOptions("WH"), 40, 20};
  Box b = ChildGeometry(narrow, flat, 0, 0, keep, 0, 0, 2);
  EXPECT_EQ(b.width, 1);
  EXPECT_EQ(b.height, 1);
}

TEST(TableLayout, SameSizeGroupsTakeTheLargestMember) {
  std::vector<std::vector<Name>> groups = {{1, 3}, {2, 3}};
  std::vector<Name> names = {1, 2, 3, 4, 1};
  std::vector<Px> values = {10, 50, 30, 99, 15};
  // 1 and 3 first share 30 (the later 1 has 15); then 2 and 3 share 50.
  EXPECT_EQ(SameSize(groups, names, values), (std::vector<Px>{30, 50, 50, 0, 30}));
}

TEST(TableParse, LayoutStrings) {
  auto entries = ParseLayout("label 0 0; text 1 0 2 1 lw; ok 0 1");
  ASSERT_TRUE(entries);
  ASSERT_EQ(entries->size(), 3u);
  const LayoutEntry& text = (*entries)[1];
  EXPECT_EQ(text.name, "text");
  EXPECT_EQ(text.col, 1);
  EXPECT_EQ(text.hSpan, 2);
  EXPECT_EQ(text.vSpan, 1);
  EXPECT_EQ(text.options, kLeft | kNoStretchCols);
  EXPECT_EQ((*entries)[2].row, 1);

  auto zero = ParseLayout("a 3 4 0 0 ;;");
  ASSERT_TRUE(zero);
  EXPECT_EQ((*zero)[0].hSpan, 1);
  EXPECT_EQ((*zero)[0].vSpan, 1);
  EXPECT_EQ((*zero)[0].row, 4);

  EXPECT_FALSE(ParseLayout("a 0 0 b 1 0"));  // two entries, no semicolon
  EXPECT_EQ(ParseLayout("")->size(), 0u);
  auto huge = ParseLayout("a 99999999999999999999 1");
  ASSERT_TRUE(huge);
  EXPECT_EQ((*huge)[0].col, kMaxCell);
  std::string longName(500, 'n');
  EXPECT_EQ(ParseLayout(longName + " 1 1")->at(0).name, longName);
}

TEST(TableParse, OptionStrings) {
  EXPECT_EQ(ParseOptions("lrtbWHwh"), 255);
  EXPECT_EQ(ParseOptions("nl"), 0);
  EXPECT_EQ(ParseOptions("Nl"), 0);
  EXPECT_EQ(ParseOptions("x-l"), kLeft);
  EXPECT_EQ(ParseOptions(""), 0);
}

TEST(TableParse, NameListLists) {
  using Lists = std::vector<std::vector<std::string>>;
  EXPECT_EQ(ParseNameListLists("  a b,c"), (Lists{{"a", "b", "c"}}));
  EXPECT_EQ(ParseNameListLists("(ok cancel) junk (a_1 b)"),
            (Lists{{"ok", "cancel"}, {"a_1", "b"}}));
  EXPECT_EQ(ParseNameListLists("(a b )"), (Lists{{"a", "b", ""}}));
  EXPECT_EQ(ParseNameListLists("(a) () (b)"), (Lists{{"a"}}));
  EXPECT_EQ(ParseNameListLists("   "), Lists{});
  std::string many;
  for (int i = 0; i < 300; ++i) many += "(n" + std::to_string(i) + ")";
  EXPECT_EQ(ParseNameListLists(many).size(), 300u);
}

}  // namespace
