// The message widget in a UTF-8 locale, where Motif's text positions count
// characters and its text refuses bytes that are no character: the cut
// lands on the right line and a message with a stray byte arrives whole.
#include <gtest/gtest.h>

#include <X11/Xresource.h>
#include <Xm/Text.h>

#include <clocale>
#include <string>

#include "common/MotifText.h"
#include "wcl/WcCreate.h"
#include "xmp/Xmp.h"

namespace {

TEST(MessageUtf8, CutsByCharactersAndKeepsMessagesWithStrayBytes) {
  // Before the first widget: Motif fixes its text handling per process.
  ASSERT_NE(std::setlocale(LC_ALL, "C.UTF-8"), nullptr);
  Widget top = xk::test::TopLevel();
  XrmDatabase db = XtDatabase(XtDisplay(top));
  XrmPutLineResource(&db, "*utf8Text.messageMaxLines: 5");
  XrmPutLineResource(&db, "*utf8Text.messagePopup: False");
  Arg args[1];
  XtSetArg(args[0], XmNeditMode, XmMULTI_LINE_EDIT);
  Widget text = XmCreateText(top, const_cast<char*>("utf8Text"), args, 1);
  XtManageChild(text);

  WcWarningPrinterProc saved = WcWarningPrinter;
  XmpMessageWidget(text);
  for (const char* m : {"\xc3\xa4\xc3\xa4" "1", "\xc3\xb6\xc3\xb6" "2", "\xc3\xbc\xc3\xbc" "3", "4"})
    WcWarningPrinter(m, nullptr);
  // 4 + 1 lines reach 5: the three oldest go, counted in characters.
  WcWarningPrinter("x\xff y", nullptr);
  EXPECT_EQ(xk::test::Text(text), "... some lines lost...\n\n4\nx? y");

  XmpMessageWidget(nullptr);
  EXPECT_EQ(WcWarningPrinter, saved);
  XtDestroyWidget(text);
  std::setlocale(LC_ALL, "C");
}

}  // namespace
