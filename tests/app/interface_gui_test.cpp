// The whole interface of app/xkest.ad, built in this process as main
// builds it, so its layout and keyboard can be measured widget by widget:
// the Line/Replace bar at any window width, the line number label, the
// options dialog's size and keys, the mnemonics of every dialog, and the
// Find dialog's place beside what it finds.
#include <gtest/gtest.h>

#include <Xm/Xm.h>
#include <Xm/BulletinB.h>
#include <Xm/DialogS.h>
#include <Xm/PushB.h>
#include <Xm/PushBG.h>
#include <Xm/SelectioB.h>
#include <Xm/Text.h>
#include <Xm/TextF.h>
#include <Xm/ToggleB.h>
#include <Xm/ToggleBG.h>

#include <X11/IntrinsicP.h>

#include <cstdlib>
#include <functional>
#include <set>
#include <utility>
#include <string>
#include <vector>

#include "app/Application.h"
#include "app/CallbackTable.h"
#include "app/DsmCl.h"
#include "app/Keyboard.h"
#include "app/OptsCl.h"
#include "common/XFixture.h"
#include "wcl/WcCreate.h"
#include "xmp/Xmp.h"

namespace {

// The interface, built once per test program.
Widget Interface() {
  static Widget shell = nullptr;
  if (shell) return shell;
  setenv("KESTHOME", XK_SOURCE_DIR "/demo-home", 1);
  XtAppContext app = xk::test::App();
  RegisterXkestNames(app);
  XmpRegisterAll(app);
  Display* dpy = XtDisplay(xk::test::TopLevel());
  XrmDatabase db = XtDatabase(dpy);
  // Fonts sized as on a usual desktop (the server's default is 75 dpi).
  XrmPutLineResource(&db, "Xft.dpi: 96");
  XrmCombineFileDatabase(XK_SOURCE_DIR "/app/xkest.ad", &db, False);
  shell = XtAppCreateShell("xkest", "xkest", applicationShellWidgetClass, dpy, nullptr, 0);
  theAppShell = shell;
  EXPECT_EQ(WcWidgetCreation(shell), 0);
  theOpts.LoadResources();
  xkest::PrepareKeyboard(shell);
  XtRealizeWidget(shell);
  theOpts.UpdateWidgets();
  xk::test::Drain();
  return shell;
}

Widget W(const char* name) {
  Widget w = WcResolveWidgetName(Interface(), name);
  EXPECT_NE(w, nullptr) << name;
  return w;
}

struct Box {
  int x, y, width, height;
  int Right() const { return x + width; }
  int Bottom() const { return y + height; }
};

// Where a widget is on the screen.
Box BoxOf(Widget w) {
  Position x = 0, y = 0;
  XtTranslateCoords(w, 0, 0, &x, &y);
  Dimension width = 0, height = 0;
  XtVaGetValues(w, XmNwidth, &width, XmNheight, &height, nullptr);
  return {x, y, width, height};
}

// Resizes the window from outside, as a user with a window manager does.
void Resize(Widget shell, int width, int height) {
  XResizeWindow(XtDisplay(shell), XtWindow(shell), unsigned(width), unsigned(height));
  for (int i = 0; i < 3; ++i) xk::test::Drain();
}

// The window manager's minimum size of a shell (0 when none is set).
std::pair<int, int> MinSize(Widget shell) {
  int width = 0, height = 0;
  XtVaGetValues(shell, XmNminWidth, &width, XmNminHeight, &height, nullptr);
  return {width, height};
}

// Shrinking the window to a few pixels and back leaves the bar one row
// high with every part in the window; the Replace button stays in view
// down to the window's minimum width; a seven-digit line number fits its
// label.
TEST(Interface, LineAndReplaceBarAtAnyWidth) {
  Widget shell = Interface();
  auto [minWidth, minHeight] = MinSize(shell);
  EXPECT_GE(minWidth, 300);
  EXPECT_GE(minHeight, 200);
  Widget bar = W("*dsmBar"), button = W("*replaceButton"), field = W("*replaceField");
  Widget label = W("*lineLabel");
  int rowHeight = BoxOf(bar).height;
  for (int width : {8, 800, minWidth, 560}) {
    SCOPED_TRACE(width);
    Resize(shell, width, width < 100 ? 8 : 600);
    if (width < 100) continue;
    Box window = BoxOf(shell), row = BoxOf(bar), b = BoxOf(button), f = BoxOf(field), l = BoxOf(label);
    EXPECT_EQ(row.height, rowHeight);
    EXPECT_TRUE(l.y == f.y && f.y == b.y) << "the bar wrapped: " << l.y << " " << f.y << " " << b.y;
    EXPECT_LE(b.Bottom(), row.Bottom());
    EXPECT_LE(b.Right(), window.Right());
    EXPECT_GT(f.width, 20);
  }

  // Line 1234567 of a long text.
  Widget dsm = W("*dsmText");
  XmTextSetString(dsm, const_cast<char*>(std::string(1234567, '\n').c_str()));
  theDsm.SelectLineNumber(1234567);
  xk::test::Drain();
  // The digits fit inside the label's margins, shadow and highlight.
  XmRenderTable table = nullptr;
  Dimension width = 0, margin = 0, left = 0, right = 0, shadow = 0, highlight = 0;
  XtVaGetValues(label, XmNrenderTable, &table, XmNwidth, &width, XmNmarginWidth, &margin,
                XmNmarginLeft, &left, XmNmarginRight, &right, XmNshadowThickness, &shadow,
                XmNhighlightThickness, &highlight, nullptr);
  XmString digits = XmStringCreateLocalized(const_cast<char*>("1234567"));
  EXPECT_GE(int(width), int(XmStringWidth(table, digits)) + 2 * (margin + shadow + highlight) + left + right);
  XmStringFree(digits);
  XmTextSetString(dsm, const_cast<char*>(""));
  theDsm.SetModified(0);
}

// Every widget of a dialog, without the dialogs it holds.
void EachIn(Widget w, const std::function<void(Widget)>& f) {
  f(w);
  if (!XtIsComposite(w)) return;
  WidgetList kids = nullptr;
  Cardinal count = 0;
  XtVaGetValues(w, XtNchildren, &kids, XtNnumChildren, &count, nullptr);
  for (Cardinal i = 0; i < count; ++i) EachIn(kids[i], f);
}

bool IsButton(Widget w) {
  return XmIsPushButton(w) || XmIsPushButtonGadget(w) || XmIsToggleButton(w) || XmIsToggleButtonGadget(w);
}

// The options dialog keeps its width whatever the paths it shows, Tab
// reaches each of its controls, and Return closes it.
TEST(Interface, OptionsDialogSizeAndKeys) {
  Interface();
  Widget dlg = W("*optionsDlg");
  XtManageChild(dlg);
  xk::test::Drain();
  Widget shell = XtParent(dlg);
  auto [minWidth, minHeight] = MinSize(shell);
  EXPECT_GE(minWidth, 300);
  EXPECT_GE(minHeight, 200);
  int width = BoxOf(shell).width;
  Str saved = theOpts.GetTemplatePath();
  theOpts.SetTemplatePath(Str("/a/rather/long/folder/name/that/goes/on/and/on/for/a/while/yet/more/templates/x.tem"));
  theOpts.UpdateWidgets();
  xk::test::Drain();
  EXPECT_EQ(BoxOf(shell).width, width);
  theOpts.SetTemplatePath(saved);
  theOpts.UpdateWidgets();

  // Every control, by Tab alone.
  std::set<Widget> controls, reached;
  EachIn(dlg, [&](Widget w) {
    if (XtIsManaged(w) && (IsButton(w) || XmIsTextField(w))) controls.insert(w);
  });
  ASSERT_TRUE(XmProcessTraversal(W("*bakField"), XmTRAVERSE_CURRENT));
  for (size_t i = 0; i < 2 * controls.size(); ++i) {
    reached.insert(XmGetFocusWidget(dlg));
    XmProcessTraversal(XmGetFocusWidget(dlg), XmTRAVERSE_NEXT_TAB_GROUP);
  }
  for (Widget w : controls) EXPECT_TRUE(reached.count(w)) << XtName(w) << " is never reached by Tab";

  // Return in a field closes the dialog.
  XEvent ev{};
  ev.xkey.type = KeyPress;
  ev.xkey.display = XtDisplay(dlg);
  ev.xkey.window = XtWindow(W("*bakField"));
  XtCallActionProc(W("*bakField"), const_cast<char*>("activate"), &ev, nullptr, 0);
  xk::test::Drain();
  EXPECT_FALSE(XtIsManaged(dlg));
}

// Every shown button of every dialog has a mnemonic of its own there.
TEST(Interface, EveryDialogButtonHasAMnemonic) {
  std::string missing;
  std::function<void(Widget)> visit = [&](Widget w) {
    if (XtIsWidget(w))
      for (Cardinal i = 0; i < w->core.num_popups; ++i) visit(w->core.popup_list[i]);
    if (XmIsBulletinBoard(w) && XmIsDialogShell(XtParent(w))) {
      std::set<KeySym> seen;
      EachIn(w, [&](Widget b) {
        if (!IsButton(b) || !XtIsManaged(b) || XtParent(b) == WcResolveWidgetName(w, "*quickItems")) return;
        KeySym m = NoSymbol;
        XtVaGetValues(b, XmNmnemonic, &m, nullptr);
        if (m == NoSymbol || !seen.insert(m).second) missing += std::string(XtName(w)) + "." + XtName(b) + " ";
      });
    }
    if (XtIsComposite(w)) {
      WidgetList kids = nullptr;
      Cardinal count = 0;
      XtVaGetValues(w, XtNchildren, &kids, XtNnumChildren, &count, nullptr);
      for (Cardinal i = 0; i < count; ++i) visit(kids[i]);
    }
  };
  visit(Interface());
  EXPECT_EQ(missing, "");
}

// Whether the dialog covers any of the text from `from` to `to` (one line).
bool Covers(Widget dialog, Widget text, XmTextPosition from, XmTextPosition to) {
  Position x = 0, y = 0, endX = 0, endY = 0;
  if (!XmTextPosToXY(text, from, &x, &y) || !XmTextPosToXY(text, to, &endX, &endY)) return false;
  Position left = 0, base = 0, right = 0, ignored = 0;
  XtTranslateCoords(text, x, y, &left, &base);
  XtTranslateCoords(text, endX, y, &right, &ignored);
  Box d = BoxOf(XtParent(dialog));
  return left < d.Right() && right > d.x && base > d.y && base - 12 < d.Bottom();
}

// The Find dialog moves off the match it selects when it covers it.
TEST(Interface, FindDialogDoesNotCoverWhatItFinds) {
  Interface();
  Widget dsm = W("*dsmText"), find = W("*findDlg");
  std::string text;
  for (int i = 0; i < 40; ++i) text += std::string(40, ' ') + "R" + std::to_string(i) + " here\n";
  XmTextSetString(dsm, text.data());
  XmTextSetInsertionPosition(dsm, 0);
  XtManageChild(find);
  xk::test::Drain();
  // The word under the middle of the dialog, where it opened.
  Box dialog = BoxOf(XtParent(find)), area = BoxOf(dsm);
  XmTextPosition pos = XmTextXYToPos(dsm, Position(dialog.x + dialog.width / 2 - area.x),
                                     Position(dialog.y + dialog.height / 2 - area.y));
  size_t start = text.rfind('\n', size_t(pos)) + 1 + 40;
  std::string word = text.substr(start, text.find(' ', start) - start);
  ASSERT_TRUE(Covers(find, dsm, XmTextPosition(start), XmTextPosition(start + word.size()))) << word;

  XmString value = XmStringCreateLocalized(word.data());
  XmSelectionBoxCallbackStruct cbs{};
  cbs.reason = XmCR_OK;
  cbs.value = value;
  XtCallCallbacks(find, XmNokCallback, &cbs);
  XmStringFree(value);
  xk::test::Drain();
  XmTextPosition left = 0, right = 0;
  ASSERT_TRUE(XmTextGetSelectionPosition(dsm, &left, &right));
  EXPECT_EQ(size_t(left), start);
  EXPECT_FALSE(Covers(find, dsm, left, right)) << "the Find dialog covers the match " << word;
  XtUnmanageChild(find);
  XmTextSetString(dsm, const_cast<char*>(""));
  theDsm.SetModified(0);
}

}  // namespace
