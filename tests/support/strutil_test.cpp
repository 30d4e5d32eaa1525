// Plain string routines: in-place edits, new-string builders and matching.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "support/StrUtil.h"

namespace {

// Runs an in-place routine on a copy of text.
std::string InPlace(char* (*f)(char*), const char* text) {
  std::string buf = text;
  return f(buf.data());
}

// Takes ownership of a new string.
std::string Own(char* p) {
  std::string r = p;
  std::free(p);
  return r;
}

TEST(StrUtil, InPlaceEdits) {
  struct Row { const char* name; char* (*f)(char*); const char* in; const char* want; } rows[] = {
      {"delete white", StrDeleteWhite, " a b\tc\n", "abc"},
      {"trim right", StrTrimRight, " a b \t\n", " a b"},
      {"trim right all", StrTrimRight, "  ", ""},
      {"collapse", StrTrimLeftCollapse, "  a  b\t\tc ", "a b c "},
      {"upper", StrUpper, "abC1\xe9", "ABC1\xe9"},
      {"lower", StrLower, "ABc1", "abc1"},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.name);
    EXPECT_EQ(InPlace(r.f, r.in), r.want);
  }
  std::string word = "hELLO";
  EXPECT_STREQ(StrCapitalize(word.data()), "Hello");
  std::string empty;
  EXPECT_STREQ(StrCapitalize(empty.data()), "");
  EXPECT_TRUE(StrIsWhite(" \t\n"));
  EXPECT_TRUE(StrIsWhite(""));
  EXPECT_FALSE(StrIsWhite(" x "));
}

TEST(StrUtil, NewStrings) {
  static const char abcdef[] = "abcdef";
  struct Row { const char* name; char* got; const char* want; } rows[] = {
      {"dup", StrDup("abc"), "abc"},
      {"dup null", StrDup(nullptr), ""},
      {"join2", StrJoin("ab", "cd"), "abcd"},
      {"join3", StrJoin("a", nullptr, "c"), "ac"},
      {"range", StrCopyRange("abcdef", 1, 3), "bcd"},
      {"range clipped", StrCopyRange("abcdef", 4, 99), "ef"},
      {"range outside", StrCopyRange("abc", 5, 9), ""},
      {"between", StrCopyBetween(&abcdef[2], &abcdef[3]), "cd"},
      {"pad right", StrPadRight("ab", 5, '.'), "ab..."},
      {"pad left", StrPadLeft("ab", 5, '0'), "000ab"},
      {"pad cuts", StrPadRight("abcdef", 3, ' '), "abc"},
      {"pad left cuts", StrPadLeft("abcdef", 3, ' '), "abc"},
      {"field 0", StrField("a:b::d", 0, ':'), "a"},
      {"field 2 empty", StrField("a:b::d", 2, ':'), ""},
      {"field 3", StrField("a:b::d", 3, ':'), "d"},
      {"field past end", StrField("a:b", 5, ':'), ""},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.name);
    EXPECT_EQ(Own(r.got), r.want);
  }
}

TEST(StrUtil, WildMatch) {
  struct Row { const char* pattern; const char* text; bool match; } rows[] = {
      {"*.tem", "cpp.tem", true},   {"*.tem", "cpp.temx", false},
      {"a?c", "abc", true},         {"a?c", "ac", false},
      {"*", "", true},              {"", "", true},
      {"", "x", false},             {"a*b*c", "aXbYbZc", true},
      {"a*b*c", "aXbYbZ", false},   {"\\*x", "*x", true},
      {"\\*x", "ax", false},        {"\\?", "?", true},
      {"**a", "bba", true},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(std::string(r.pattern) + " ~ " + r.text);
    EXPECT_EQ(StrWildMatch(r.pattern, r.text), r.match);
  }
  std::string many(3000, 'a');
  EXPECT_FALSE(StrWildMatch("*a*a*a*a*a*b", many.c_str()));  // no blow-up
}

TEST(StrUtil, Hash16IsStableAndSpreads) {
  EXPECT_EQ(StrHash16("template"), StrHash16("template"));
  int same = 0;
  for (int i = 0; i < 100; ++i) {
    std::string a = "key" + std::to_string(i), b = "key" + std::to_string(i + 1);
    if (StrHash16(a.c_str()) == StrHash16(b.c_str())) ++same;
  }
  EXPECT_LT(same, 3);
}

}  // namespace
