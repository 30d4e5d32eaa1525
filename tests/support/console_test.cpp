// Console messages: the severity column and continuation layout.
#include <gtest/gtest.h>

#include <string>

#include "support/Console.h"

namespace {

template <typename F>
std::string Out(F f) {
  testing::internal::CaptureStdout();
  f();
  return testing::internal::GetCapturedStdout();
}

TEST(Console, Layout) {
  const std::string indent(12, ' ');
  struct Row { const char* name; std::string got, want; } rows[] = {
      {"two lines", Out([] { Messenger.Print(ConsoleError, "first\nsecond"); }),
       "***ERROR    first\n" + indent + "second\n"},
      {"trailing newline", Out([] { Messenger.Print(ConsoleWarning, "w\n"); }),
       " **WARNING  w\n" + indent + "\n"},
      {"CR-LF like LF", Out([] { Messenger.Print(ConsoleInfo, "a\r\nb\r\n"); }),
       "  *INFO     a\n" + indent + "b\n" + indent + "\n"},
      {"empty text", Out([] { Messenger.Print(ConsoleError, ""); }), "***ERROR    \n"},
      {"null text", Out([] { Messenger.Print(ConsoleError, nullptr); }), ""},
      {"plain", Out([] { Messenger.Print(ConsolePlain, "p"); }), "p\n"},
      {"continuation", Out([] { Messenger.Print(ConsoleContinue, "c"); }), indent + "c\n"},
      {"unknown", Out([] { Messenger.Print(9, "u"); }), "UNKNOWNu\n"},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.name);
    EXPECT_EQ(r.got, r.want);
  }
}

TEST(Console, FormatFormsSubstituteStringsOnly) {
  EXPECT_EQ(Out([] { Messenger.Error("Out of memory (could not get %s bytes).  Exiting...", "100"); }),
            "***ERROR    Out of memory (could not get 100 bytes).  Exiting...\n");
  EXPECT_EQ(Out([] { Messenger.Warning("%s and %s", "a", "b"); }), " **WARNING  a and b\n");
  EXPECT_EQ(Out([] { Messenger.Info("%s/%s/%s", "x", "y", "z"); }), "  *INFO     x/y/z\n");
  // A stray directive never reads a missing argument.
  EXPECT_EQ(Out([] { Messenger.Error("%d%% %s %s", "one"); }), "***ERROR    %d% one %s\n");
  EXPECT_EQ(Out([] { Messenger.Warning("null %s", nullptr); }), " **WARNING  null (null)\n");
}

TEST(Console, CreatingNoticeAndErrorWithHeader) {
  EXPECT_EQ(Out([] { Messenger.Creating("-NEW-"); }), "");
  EXPECT_EQ(Out([] { Messenger.Creating("out.cpp"); }), "  *INFO     Creating: out.cpp\n");
  EXPECT_EQ(Out([] { Messenger.ErrorWithHeader("Header", "l1\nl2"); }),
            "***ERROR    Header\n" + std::string(12, ' ') + "l1\n" + std::string(12, ' ') +
                "l2\n");
  EXPECT_EQ(Out([] { Messenger.ErrorWithHeader(nullptr, "t"); }), "");
  EXPECT_EQ(Out([] { Messenger.ErrorWithHeader("h", nullptr); }), "");
}

}  // namespace
