// StrArray and CharSet: growth, splitting at separators, the pattern
// language, and the character-set scans the splitting relies on.
#include <gtest/gtest.h>

#include <string>

#include "support/Pattern.h"
#include "support/Support.h"

namespace {

std::string Join(const StrArray& a) {
  std::string out;
  for (size_t i = 0; i < a.Count(); ++i) out += std::string(i ? "|" : "") + a.At(i).c_str();
  return out;
}

TEST(StrArray, GrowsInStepsOf32AndAtExtends) {
  StrArray a;
  EXPECT_EQ(a.Capacity(), 32u);
  a.At(5) = "six";
  EXPECT_EQ(a.Count(), 6u);
  EXPECT_EQ(Join(a), "|||||six");
  for (int i = 0; i < 25; ++i) a.Add(IntToStr(i));
  EXPECT_EQ(a.Count(), 31u);
  EXPECT_EQ(a.Capacity(), 32u);
  a.Add(a.At(5));  // an element of itself, added while the slots move
  EXPECT_EQ(a.Capacity(), 64u);
  EXPECT_STREQ(a.At(31).c_str(), "six");
  a.Clear();
  EXPECT_EQ(a.Count(), 0u);
  EXPECT_EQ(a.Capacity(), 64u);
}

TEST(StrArray, IndexOfRemoveAtAndCopy) {
  StrArray a;
  a.Split(Str("a b c b"), WhiteChars);
  EXPECT_EQ(a.IndexOf("b"), 1);
  EXPECT_EQ(a.IndexOf(Str("c")), 2);
  EXPECT_EQ(a.IndexOf("z"), -1);
  StrArray copy(a);
  a.RemoveAt(1);
  a.RemoveAt(7);
  EXPECT_EQ(Join(a), "a|c|b");
  EXPECT_EQ(Join(copy), "a|b|c|b");
  copy = a;
  EXPECT_EQ(Join(copy), "a|c|b");
}

TEST(StrArray, Split) {
  struct Row { const char* text; const char* seps; const char* want; } rows[] = {
      {"  cpp\tada \n", " \n\t\v\b\r\f", "cpp|ada"},
      {"", " ", ""},
      {"   ", " ", ""},
      {"one", " ", "one"},
      {",a,,b,", ",", "a|b"},
      {"a b", "", "a b"},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.text);
    StrArray a;
    a.Add("stale");
    a.Split(Str(r.text), CharSet(r.seps));
    EXPECT_EQ(Join(a), r.want);
  }
}

TEST(StrArray, SplittingOneOfItsOwnElements) {
  StrArray a;
  a.Add("cpp ada  c");
  a.Add("tail");
  a.Split(a.At(0), WhiteChars);
  EXPECT_EQ(Join(a), "cpp|ada|c");
  a.SplitByPattern(a.At(1), "@+");
  EXPECT_EQ(Join(a), "ada");
}

TEST(StrArray, SplitByPattern) {
  struct Row { const char* pattern; const char* text; const char* want; } rows[] = {
      {"#+", "line 12, col 5", "12|5"},
      {"@+", "ab1cd", "ab|cd"},
      {"$+", " x  yz\t", "x|yz"},
      {"a?c", "abcaXcac", "abc|aXc"},
      {"[a-c]+", "xabcd cab", "abc|cab"},
      {"[^a-c ]+", "xabcd cab", "x|d"},
      {"[\\]\\-]", "a]b-c", "]|-"},
      {"(ab)+", "abababx ab", "ababab|ab"},
      {"cat|dog", "hotdog catalog", "dog|cat"},
      {"#+(\\.#+)%", "pi 3.14 and 2. ok", "3.14|2"},
      {"a*", "baaac", "aaa"},  // empty matches add nothing
      {"\\?\\#", "what?# now", "?#"},
      {"x(y|)z", "xz xyz", "xz|xyz"},
      {"((a|b)*c)+", "abcacx", "abcac"},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.pattern);
    StrArray a;
    EXPECT_TRUE(a.SplitByPattern(Str(r.text), r.pattern));
    EXPECT_EQ(Join(a), r.want);
  }
}

TEST(StrArray, MalformedPatternsMatchNothing) {
  for (const char* bad : {"(ab", "ab)", "[ab", "a\\", "*a", "a|+", "[a-\\"}) {
    SCOPED_TRACE(bad);
    StrArray a;
    a.Add("stale");
    EXPECT_FALSE(a.SplitByPattern(Str("ab*a"), bad));
    EXPECT_EQ(a.Count(), 0u);
  }
}

TEST(Pattern, NestedRepetitionStaysLinear) {
  // A backtracking matcher takes exponential time on this pair.
  Pattern p;
  ASSERT_TRUE(p.Compile("(a*)*b"));
  std::string text(5000, 'a');
  EXPECT_EQ(p.LongestMatch(text.c_str()), -1);
  ASSERT_TRUE(p.Compile("(a|aa)*"));
  EXPECT_EQ(p.LongestMatch(text.c_str()), 5000);
}

TEST(CharSet, MembershipAndScans) {
  CharSet s("abc");
  s.Add('x').Remove("b").Union(DigitChars);
  EXPECT_TRUE(s.Contains('a'));
  EXPECT_FALSE(s.Contains('b'));
  EXPECT_TRUE(s.Contains('7'));
  EXPECT_FALSE(s.Contains('\0'));
  EXPECT_FALSE(AllChars.Contains('\0'));
  EXPECT_FALSE(AllChars.Contains(char(0xe9)));
  EXPECT_TRUE(CharSet(NoChars).Complement().Contains('~'));
  EXPECT_FALSE(CharSet(true).Subtract(LowerChars).Contains('q'));
  s = 'q';
  EXPECT_TRUE(s.Contains('q'));
  EXPECT_FALSE(s.Contains('a'));
  s = "mn";
  EXPECT_TRUE(s.Contains('n') && !s.Contains('q'));
  EXPECT_TRUE(NameChars.Contains('_') && NameChars.Contains('.') && !NameChars.Contains('-'));
  EXPECT_TRUE(WhiteChars.Contains('\b') && WhiteChars.Contains('\v'));

  const char* t = "  ab12  ";
  EXPECT_EQ(DigitChars.FirstIn(t), t + 4);
  EXPECT_EQ(WhiteChars.SkipIn(t), t + 2);
  EXPECT_EQ(LowerChars.LastIn(t), t + 3);
  EXPECT_EQ(WhiteChars.LastNotIn(t), t + 5);
  EXPECT_EQ(UpperChars.FirstIn(t), t + 8);  // the terminator
  EXPECT_EQ(UpperChars.LastIn(t), nullptr);
  EXPECT_EQ(WhiteChars.LastNotIn("   "), nullptr);
  EXPECT_EQ(AllChars.SkipIn(t), t + 8);
  EXPECT_EQ(ToUpperTable['q'], 'Q');
  EXPECT_EQ(ToUpperTable['Q'], 'Q');
  EXPECT_EQ(ToLowerTable['Z'], 'z');
  EXPECT_EQ(ToLowerTable['['], '[');
}

}  // namespace
