// What Motif widgets show, as plain strings a test compares: a text's
// content and selection, a compound string resource, a list's items; and a
// realized text of its own for tests that select in it.
//
//   Widget w = xk::test::NewText("start mid end");
//   XmTextSetSelection(w, 6, 9, CurrentTime);
//   EXPECT_EQ(xk::test::Sel(w), "6-9");
#pragma once

#include <Xm/Xm.h>
#include <Xm/Text.h>

#include <string>
#include <vector>

#include "common/XFixture.h"

namespace xk::test {

inline std::string Text(Widget w) {
  char* s = XmTextGetString(w);
  std::string out = s ? s : "";
  XtFree(s);
  return out;
}

// Selection positions of a text as "left-right", or "none@" and the
// insertion position when nothing is selected.
inline std::string Sel(Widget w) {
  XmTextPosition l = 0, r = 0;
  if (!XmTextGetSelectionPosition(w, &l, &r)) return "none@" + std::to_string(XmTextGetInsertionPosition(w));
  return std::to_string(l) + "-" + std::to_string(r);
}

// The text of a compound string, its lines joined by newlines.
inline std::string StringText(XmString s) {
  std::string out;
  XmStringContext context;
  if (s && XmStringInitContext(&context, s)) {
    char* text = nullptr;
    XmStringCharSet tag = nullptr;
    XmStringDirection direction;
    Boolean separator = False;
    while (XmStringGetNextSegment(context, &text, &tag, &direction, &separator)) {
      out += text ? text : "";
      if (separator) out += '\n';
      XtFree(text);
      XtFree(tag);
    }
    XmStringFreeContext(context);
  }
  return out;
}

// The text of a compound string resource of w.
inline std::string Label(Widget w, const char* resource = XmNlabelString) {
  XmString s = nullptr;
  XtVaGetValues(w, resource, &s, nullptr);
  std::string out = StringText(s);
  XmStringFree(s);
  return out;
}

// The items of a list widget, in order.
inline std::vector<std::string> ListItems(Widget list) {
  XmStringTable items = nullptr;
  int count = 0;
  XtVaGetValues(list, XmNitems, &items, XmNitemCount, &count, nullptr);
  std::vector<std::string> out;
  for (int i = 0; i < count; ++i) out.push_back(StringText(items[i]));
  return out;
}

// A realized multi-line text holding value, in an application shell of its
// own (selections need a window).
inline Widget NewText(const char* value, const char* shellName = "textShell") {
  Widget shell = XtAppCreateShell(shellName, "XkTest", applicationShellWidgetClass,
                                  XtDisplay(TopLevel()), nullptr, 0);
  Arg arg;
  XtSetArg(arg, XmNeditMode, XmMULTI_LINE_EDIT);
  Widget w = XmCreateText(shell, const_cast<char*>("text"), &arg, 1);
  XtManageChild(w);
  XtRealizeWidget(shell);
  XmTextSetString(w, const_cast<char*>(value));
  return w;
}

}  // namespace xk::test
