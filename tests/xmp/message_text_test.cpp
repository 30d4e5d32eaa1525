// The message widget's text arithmetic: joining printer pieces, counting
// lines, where the line limit cuts an old text, and byte offsets turned
// into Motif character positions.
#include <gtest/gtest.h>

#include <X11/Intrinsic.h>

#include <clocale>
#include <string>

#include "xmp/XmpText.h"

namespace {

std::string Lines(int from, int to) {
  std::string s;
  for (int i = from; i <= to; ++i) {
    if (!s.empty()) s += '\n';
    s += "line" + std::to_string(i);
  }
  return s;
}

TEST(MessageText, ConcatJoinsUpToTheNullPiece) {
  char* s = XmpConcatStrings("Xmp ", "Warning: ", "x", static_cast<char*>(nullptr));
  EXPECT_STREQ(s, "Xmp Warning: x");
  XtFree(s);
  s = XmpConcatStrings(static_cast<char*>(nullptr));
  EXPECT_STREQ(s, "");
  XtFree(s);
}

TEST(MessageText, CountLines) {
  EXPECT_EQ(XmpCountLines(nullptr), 1);
  EXPECT_EQ(XmpCountLines(""), 1);
  EXPECT_EQ(XmpCountLines("abc"), 1);
  EXPECT_EQ(XmpCountLines("a\n"), 2);
  EXPECT_EQ(XmpCountLines("\n\n\n"), 4);
}

// Applies the cut as the message widget does and returns the text that
// remains before the message is appended.
std::string AfterCut(const std::string& text, long msgLines, long maxLines,
                     const std::string& note) {
  auto cut = xmp::CutEnd(text, msgLines, maxLines, xmp::CountLines(note));
  if (!cut) return text;
  return note + text.substr(*cut);
}

TEST(MessageText, LineLimitCuts) {
  const std::string note = "... some lines lost...\n";
  struct Row {
    const char* what;
    std::string text;
    long msgLines;
    long maxLines;
    std::string expected;
  };
  const Row rows[] = {
      {"below the limit stays", Lines(1, 98), 1, 100, Lines(1, 98)},
      // 99 + 1 reaches 100: three lines go for the note's two lines.
      {"reaching the limit cuts", Lines(1, 99), 1, 100, note + "\n" + Lines(4, 99)},
      {"multi-line message counts whole", Lines(1, 97), 3, 100, note + "\n" + Lines(4, 97)},
      {"small limit keeps only the note", Lines(1, 3), 1, 4, note},
      {"limit below the note drops all", Lines(1, 3), 1, 1, note},
      {"zero limit drops all", "", 1, 0, note},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.what);
    std::string kept = AfterCut(r.text, r.msgLines, r.maxLines, note);
    EXPECT_EQ(kept, r.expected);
    // Once the message is added the text stays below the limit.
    if (r.maxLines > 2) {
      EXPECT_LT(xmp::CountLines(kept) + r.msgLines, r.maxLines);
    }
  }
}

TEST(MessageText, CustomNoteWithoutNewline) {
  // A one-line note replaces the dropped lines on the first kept line.
  EXPECT_EQ(AfterCut(Lines(1, 5), 1, 5, "[cut]"), "[cut]\n" + Lines(4, 5));
}

TEST(MessageText, MultibyteLocalesCountCharactersAndReplaceStrayBytes) {
  const std::string text = "\xc3\xa4\xc3\xb6x\n";  // two 2-byte characters
  EXPECT_EQ(xmp::CharPosition(text, 5), 5);          // C locale: bytes
  ASSERT_NE(std::setlocale(LC_CTYPE, "C.UTF-8"), nullptr);
  EXPECT_EQ(xmp::CharPosition(text, 5), 3);
  EXPECT_EQ(xmp::CharPosition(text, 100), 4);        // clamped to the end
  EXPECT_EQ(xmp::CharPosition("\xff\xfe", 2), 2);    // invalid bytes count one each
  // Bytes that are no character become '?'; characters and a sequence cut
  // short at the end are told apart.
  EXPECT_EQ(xmp::ValidMultibyte(text), text);
  EXPECT_EQ(xmp::ValidMultibyte("a\xff b\xe4x"), "a? b?x");
  EXPECT_EQ(xmp::ValidMultibyte("ok\xc3"), "ok?");
  std::setlocale(LC_CTYPE, "C");
  EXPECT_EQ(xmp::ValidMultibyte("a\xff"), "a\xff");  // single-byte: untouched
}

}  // namespace
