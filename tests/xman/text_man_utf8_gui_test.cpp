// The text manager in a UTF-8 locale: positions are characters, and every
// operation lands right before and after non-ASCII ones.
#include <gtest/gtest.h>

#include <Xm/Xm.h>
#include <Xm/Text.h>

#include <clocale>
#include <string>

#include "common/XFixture.h"
#include "xman/XmTextMan.h"

namespace {

// Before the first widget: Motif fixes its text handling per process.
const bool kUtf8 = std::setlocale(LC_ALL, "C.UTF-8") != nullptr;

std::string Sel(Widget w) {
  XmTextPosition l = 0, r = 0;
  if (!XmTextGetSelectionPosition(w, &l, &r)) return "none";
  return std::to_string(l) + "-" + std::to_string(r);
}

TEST(TextManUtf8, SearchLinesAndWordsCountCharacters) {
  ASSERT_TRUE(kUtf8);
  Widget shell = XtAppCreateShell("textManUtf8", "XkTest", applicationShellWidgetClass,
                                  XtDisplay(xk::test::TopLevel()), nullptr, 0);
  Arg arg;
  XtSetArg(arg, XmNeditMode, XmMULTI_LINE_EDIT);
  Widget w = XmCreateText(shell, const_cast<char*>("text"), &arg, 1);
  XtManageChild(w);
  XtRealizeWidget(shell);
  // "// Grüße — ok\nnaïve café\nend": lines start at 0, 14 and 25.
  XmTextSetString(w, const_cast<char*>("// Gr\xc3\xbc\xc3\x9f" "e \xe2\x80\x94 ok\nna\xc3\xafve caf\xc3\xa9\nend"));
  XmTextMan man(w);
  ASSERT_EQ(man.Search("caf\xc3\xa9", 1), 1);
  EXPECT_EQ(Sel(w), "20-24");
  XmTextSetInsertionPosition(w, 16);
  EXPECT_EQ(man.LineNumberOfCursor(), 2);
  EXPECT_STREQ(man.WordAtCursor().c_str(), "na\xc3\xafve");
  EXPECT_STREQ(man.TextBeforeCursor().c_str(), "// Gr\xc3\xbc\xc3\x9f" "e \xe2\x80\x94 ok\nna");
  man.SelectLineNumber(3);
  EXPECT_EQ(Sel(w), "25-28");
  man.SelectLineNumber(1);
  EXPECT_EQ(Sel(w), "0-13");
  man.MoveToLine(2, 0);
  EXPECT_EQ(XmTextGetInsertionPosition(w), 24);
  XtDestroyWidget(shell);
}

}  // namespace
