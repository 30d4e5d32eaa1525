// Str: buffer growth rules, editing operations and their boundaries.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include <sys/resource.h>
#include <unistd.h>

#include "support/Support.h"

namespace {

std::string Shape(const Str& s) {
  return std::string(s.c_str()) + "|" + std::to_string(s.Size()) + "/" +
         std::to_string(s.Capacity());
}

TEST(Str, ConstructionCapacities) {
  Str fromRange(Str("abcdef"), StrRange{2, 3});
  Str pastEnd(Str("abc"), StrRange{3, 2});
  Str clipped(Str("abc"), StrRange{1, 99});
  static const char t[16] = "hello";  // room past the text for the last row
  struct Row { const char* name; std::string got, want; } rows[] = {
      {"default", Shape(Str()), "|1/32"},
      {"text", Shape(Str("abc")), "abc|4/4"},
      {"null", Shape(Str(nullptr)), "|1/1"},
      {"range", Shape(fromRange), "cde|4/4"},
      {"range past end", Shape(pastEnd), "|1/64"},
      {"range clipped to text", Shape(clipped), "bc|3/3"},
      {"pointers", Shape(Str(t + 1, t + 3)), "ell|4/4"},
      {"pointers reversed", Shape(Str(t + 3, t + 1)), "|1/1"},
      {"pointers from terminator", Shape(Str(t + 5, t + 5)), "|1/1"},
      {"pointers stop at terminator", Shape(Str(t + 3, t + 9)), "lo|3/3"},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.name);
    EXPECT_EQ(r.got, r.want);
  }
  Str big("x");
  big.Resize(100);
  EXPECT_EQ(Shape(Str(big)), "x|2/101");  // a copy keeps the capacity
}

TEST(Str, AppendGrowsByNeedPlus64) {
  Str s("a");
  s += "b";
  EXPECT_EQ(Shape(s), "ab|3/67");
  s += 'c';
  s += Str("d");
  EXPECT_EQ(Shape(s), "abcd|5/67");
  s += nullptr;
  EXPECT_EQ(Shape(s), "abcd|5/67");
  s += s;  // self append survives the reallocation
  s += s;
  EXPECT_EQ(std::string(s.c_str()), "abcdabcdabcdabcd");
  EXPECT_EQ(Shape(Str("x") + Str("y") + "z"), "xyz|4/67");
}

TEST(Str, AssignmentReallocatesOnlyToGrow) {
  Str s("a fairly long text");
  s = "short";
  EXPECT_EQ(Shape(s), "short|6/19");
  s = Str("longer than nineteen bytes");
  EXPECT_EQ(Shape(s), "longer than nineteen bytes|27/27");
  s = nullptr;
  EXPECT_EQ(Shape(s), "|1/27");
  Str& alias = s;
  s = alias;
  EXPECT_EQ(Shape(s), "|1/27");
  Str self("abcdef");
  self = self.CharsAt(2);  // assigning a piece of itself
  EXPECT_EQ(Shape(self), "cdef|5/7");
  self.Assign(self.CharsAt(1), self.CharsAt(2));
  EXPECT_EQ(Shape(self), "de|3/7");
  char* heap = static_cast<char*>(std::malloc(4));
  std::strcpy(heap, "own");
  self.Adopt(heap);
  EXPECT_EQ(Shape(self), "own|4/4");
}

TEST(Str, FindAndEquality) {
  Str s("line 12, col 5");
  EXPECT_EQ(s.Find("12").start, 5u);
  EXPECT_EQ(s.Find("12").length, 2u);
  EXPECT_EQ(s.Find(Str("line")).start, 0u);
  EXPECT_EQ(s.Find("line").length, 4u);
  EXPECT_EQ(s.Find("absent").start, 0u);  // same offset as a match at 0
  EXPECT_EQ(s.Find("absent").length, 0u);
  EXPECT_EQ(s.Find(',').start, 7u);
  EXPECT_EQ(s.Find('\0').length, 0u);
  EXPECT_TRUE(Str("ab") == "ab");
  EXPECT_TRUE(Str("ab") != Str("abc"));
  EXPECT_TRUE(Str() == Str(nullptr));
  EXPECT_TRUE(Str() == nullptr);
}

TEST(Str, Editing) {
  struct Row {
    const char* name;
    const char* text;
    void (*op)(Str&);
    const char* want;
  } rows[] = {
      {"erase", "abcdef", [](Str& s) { s.Erase({1, 2}); }, "adef"},
      {"erase clipped", "abcdef", [](Str& s) { s.Erase({4, 10}); }, "abcd"},
      {"erase nothing", "abc", [](Str& s) { s.Erase({1, 0}); }, "abc"},
      {"replace", "abcdef", [](Str& s) { s.Replace({1, 2}, "XYZ"); }, "aXYZdef"},
      {"replace at start", "abc", [](Str& s) { s.Replace({0, 1}, Str("Q")); }, "Qbc"},
      {"replace empty text", "abc", [](Str& s) { s.Replace({0, 1}, ""); }, "abc"},
      {"replace with itself", "abc", [](Str& s) { s.Replace({2, 1}, s.c_str()); }, "ababc"},
      {"replace all", "$KESTHOME/t/$KESTHOME", [](Str& s) { s.ReplaceAll("$KESTHOME", "/opt/k"); },
       "/opt/k/t//opt/k"},
      {"replace all no overlap", "aaaa", [](Str& s) { s.ReplaceAll("aa", "b"); }, "bb"},
      {"replace all growing", "aXa", [](Str& s) { s.ReplaceAll(Str("a"), Str("aa")); }, "aaXaa"},
      {"replace all absent", "abc", [](Str& s) { s.ReplaceAll("z", "y"); }, "abc"},
      {"replace all empty needle", "abc", [](Str& s) { s.ReplaceAll("", "y"); }, "abc"},
      {"keep", "abcdef", [](Str& s) { s.Keep({2, 3}); }, "cde"},
      {"keep past end", "abcdef", [](Str& s) { s.Keep({4, 4}); }, "abcdef"},
      {"keep up to terminator", "abcdef", [](Str& s) { s.Keep({4, 3}); }, "ef"},
      {"resize truncates", "abcdef", [](Str& s) { s.Resize(2); }, "ab"},
      {"remove digits", "line 12, col 5",
       [](Str& s) { s.RemoveChars(CharSet(AllChars).Subtract(DigitChars)); }, "125"},
      {"squeeze", "a   b\t\tc  ", [](Str& s) { s.Squeeze(WhiteChars); }, "a b\tc "},
      {"trim", "  x y \n", [](Str& s) { s.TrimLeft(WhiteChars); s.TrimRight(WhiteChars); }, "x y"},
      {"trim all", "   ", [](Str& s) { s.TrimRight(WhiteChars); }, ""},
      {"upper", "Mixed 1\xe9", [](Str& s) { s.Translate(ToUpperTable); }, "MIXED 1\xe9"},
      {"lower", "MiXeD", [](Str& s) { s.Translate(ToLowerTable); }, "mixed"},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.name);
    Str s(r.text);
    r.op(s);
    EXPECT_STREQ(s.c_str(), r.want);
    EXPECT_EQ(s.Size(), std::strlen(r.want) + 1);
  }
}

TEST(Str, AtExtendsWithBlanksAndCharsAtStops) {
  Str s("ab");
  s.At(4) = 'x';
  EXPECT_STREQ(s.c_str(), "ab  x");
  s.At(0) = 'A';
  EXPECT_STREQ(s.c_str(), "Ab  x");
  EXPECT_STREQ(s.CharsAt(3), " x");
  EXPECT_STREQ(s.CharsAt(99), "");
}

TEST(Memory, OutOfMemoryReportsAndExits2) {
  // The report goes to standard output; send it where the death test looks.
  EXPECT_EXIT(
      {
        dup2(2, 1);
        OutOfMemory(100);
      },
      testing::ExitedWithCode(2),
      "^\\*\\*\\*ERROR    Out of memory \\(could not get 100 bytes\\)\\.  "
      "Exiting\\.\\.\\.\n$");
  EXPECT_EXIT(XkMalloc(SIZE_MAX - 8), testing::ExitedWithCode(2), "");
  EXPECT_EXIT(XkCalloc(SIZE_MAX / 2, 4), testing::ExitedWithCode(2), "");
}

#if defined(__SANITIZE_ADDRESS__)
#define XK_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define XK_ASAN 1
#endif
#endif

// Takes every block of memory the process can still get.
[[maybe_unused]] void ExhaustHeap() {
  rlimit limit;
  getrlimit(RLIMIT_AS, &limit);
  if (limit.rlim_cur > (rlim_t(512) << 20)) limit.rlim_cur = rlim_t(512) << 20;
  setrlimit(RLIMIT_AS, &limit);
  // Chained from a global so the compiler cannot drop the allocations.
  static void* chain = nullptr;
  for (size_t n = size_t(1) << 24; n >= sizeof(void*);) {
    void* block = std::malloc(n);
    if (!block) {
      n /= 2;
      continue;
    }
    *static_cast<void**>(block) = chain;
    chain = block;
  }
}

// With the heap truly exhausted the report itself must not need memory,
// or the process dies of an uncaught exception instead of exiting 2.
TEST(Memory, ExhaustedHeapStillReportsAndExits2) {
#ifdef XK_ASAN
  GTEST_SKIP() << "the sanitizer's allocator ignores the address-space limit";
#else
  EXPECT_EXIT(
      {
        dup2(2, 1);
        ExhaustHeap();
        XkMalloc(64);
      },
      testing::ExitedWithCode(2),
      "^\\*\\*\\*ERROR    Out of memory \\(could not get 64 bytes\\)\\.  "
      "Exiting\\.\\.\\.\n$");
#endif
}

TEST(Memory, IntToStrSharesOneBuffer) {
  char* first = IntToStr(-2147483647 - 1);
  EXPECT_STREQ(first, "-2147483648");
  EXPECT_EQ(IntToStr(42), first);
  EXPECT_STREQ(first, "42");
}

}  // namespace
