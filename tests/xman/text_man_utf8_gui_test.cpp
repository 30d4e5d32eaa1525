// The text manager in a UTF-8 locale: positions are characters, and every
// operation lands right before and after non-ASCII ones.
#include <gtest/gtest.h>

#include <Xm/Xm.h>
#include <Xm/Text.h>

#include <clocale>
#include <string>

#include "common/MotifText.h"
#include "xman/XmTextMan.h"

namespace {

// Before the first widget: Motif fixes its text handling per process.
const bool kUtf8 = std::setlocale(LC_ALL, "C.UTF-8") != nullptr;

TEST(TextManUtf8, SearchLinesAndWordsCountCharacters) {
  ASSERT_TRUE(kUtf8);
  // "// Grüße — ok\nnaïve café\nend": lines start at 0, 14 and 25.
  Widget w = xk::test::NewText("// Gr\xc3\xbc\xc3\x9f" "e \xe2\x80\x94 ok\nna\xc3\xafve caf\xc3\xa9\nend");
  XmTextMan man(w);
  ASSERT_EQ(man.Search("caf\xc3\xa9", 1), 1);
  EXPECT_EQ(xk::test::Sel(w), "20-24");
  XmTextSetInsertionPosition(w, 16);
  EXPECT_EQ(man.LineNumberOfCursor(), 2);
  EXPECT_STREQ(man.WordAtCursor().c_str(), "na\xc3\xafve");
  EXPECT_STREQ(man.TextBeforeCursor().c_str(), "// Gr\xc3\xbc\xc3\x9f" "e \xe2\x80\x94 ok\nna");
  man.SelectLineNumber(3);
  EXPECT_EQ(xk::test::Sel(w), "25-28");
  man.SelectLineNumber(1);
  EXPECT_EQ(xk::test::Sel(w), "0-13");
  man.MoveToLine(2, 0);
  EXPECT_EQ(XmTextGetInsertionPosition(w), 24);
  XtDestroyWidget(XtParent(w));
}

}  // namespace
