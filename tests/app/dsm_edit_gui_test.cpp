// DSM editing commands on real Motif widgets, driven through the
// registered callbacks and action: find with wrap-around, replace from a
// named field, top and bottom, text blocks, the line-number label (also
// after edits before the cursor), the popup menu, and which commands mark
// the text modified.
#include <gtest/gtest.h>

#include <Xm/CascadeB.h>
#include <Xm/PushB.h>
#include <Xm/SelectioB.h>

#include <cstring>
#include <functional>
#include <string>
#include <tuple>
#include <vector>

#include "app/Keyboard.h"
#include "dsm_kit.h"

namespace {

using dsmkit::Fire;
using dsmkit::MoveTo;
using dsmkit::Sel;
using dsmkit::Text;
using xk::test::TempDir;

// Sets the DSM text as a load does: clean, cursor at 0.
dsmkit::Ui WithText(const std::string& text) {
  dsmkit::Ui ui = dsmkit::Build();
  XmTextSetString(ui.dsmText, const_cast<char*>(text.c_str()));
  theDsm.SetModified(0);
  return ui;
}

void Find(const std::string& what) {
  dsmkit::FileCall call(what);  // a prompt dialog's value sits in the same place
  Fire("xKestDoDsmFindCB", nullptr, call.Get());
}

TEST(DsmFind, WrapsOnceAndIsCaseSensitive) {
  dsmkit::Ui ui = WithText("alpha beta alpha gamma Beta");
  XmTextSetInsertionPosition(ui.dsmText, 12);
  Find("alpha");
  EXPECT_EQ(Sel(ui.dsmText), "0-5") << "past the last match it wraps to the first";
  Find("alpha");
  EXPECT_EQ(Sel(ui.dsmText), "11-16");
  Find("gamma");
  EXPECT_EQ(Sel(ui.dsmText), "17-22");
  Find("gamma");
  EXPECT_EQ(Sel(ui.dsmText), "17-22") << "a single match is found again";
  Find("Beta");
  EXPECT_EQ(Sel(ui.dsmText), "23-27");
  Find("GAMMA");
  EXPECT_EQ(dsmkit::Message(ui), "Can't find 'GAMMA'");
  EXPECT_EQ(Sel(ui.dsmText), "23-27") << "a failed search leaves the selection";
  dsmkit::Dismiss(ui);
  Find("");
  EXPECT_EQ(dsmkit::Message(ui), "");
  EXPECT_EQ(theDsm.GetModified(), 0);
}

TEST(DsmFind, MatchAcrossReadPiecesInALargeText) {
  // Long enough that the search reads the widget in several pieces.
  std::string text(700000, 'x');
  text.replace(262140, 8, "needle!!");
  dsmkit::Ui ui = WithText(text);
  Find("needle!!");
  EXPECT_EQ(Sel(ui.dsmText), "262140-262148");
}

TEST(DsmReplace, OnlyWithASelection) {
  dsmkit::Ui ui = WithText("record Old {}");
  XmTextFieldSetString(ui.replaceField, const_cast<char*>("New"));
  Fire("xKestDoDsmReplaceCB", "*replaceField");
  EXPECT_EQ(Text(ui.dsmText), "record Old {}");
  EXPECT_EQ(theDsm.GetModified(), 0);
  XmTextSetSelection(ui.dsmText, 7, 10, 0);
  Fire("xKestDoDsmReplaceCB", "*noSuchField");
  EXPECT_EQ(Text(ui.dsmText), "record Old {}");
  Fire("xKestDoDsmReplaceCB", "*replaceField");
  EXPECT_EQ(Text(ui.dsmText), "record New {}");
  EXPECT_EQ(theDsm.GetModified(), 1);
}

TEST(DsmReplace, WidgetsOfAnotherKindAreRefusedWithAMessage) {
  dsmkit::Ui ui = WithText("record Old {}");
  XmTextSetSelection(ui.dsmText, 7, 10, 0);
  dsmkit::FileCall open("/nonexistent.dsm");
  testing::internal::CaptureStderr();
  Fire("xKestDoDsmReplaceCB", "*lineLabel");  // read as a text, a label crashed the program
  // The same for widgets that callbacks are handed: stored, or read as the
  // dialog whose call data they would carry.
  Fire("xKestDoDsmSetWidgetCB", nullptr, nullptr, ui.lineLabel);
  Fire("xKestDoMsgSetPopMenuWidgetCB", nullptr, nullptr, ui.msgText);
  Fire("xKestDoDsmLoadCB", nullptr, open.Get(), ui.replaceField);
  std::string err = testing::internal::GetCapturedStderr();
  EXPECT_EQ(Text(ui.dsmText), "record Old {}");
  EXPECT_EQ(theDsm.GetTextWidget(), ui.dsmText);
  EXPECT_EQ(theMsg.GetPopupWidget(), ui.msgPopup);
  EXPECT_EQ(dsmkit::Message(ui), "") << "no load was tried";
  for (const char* line : {"getWidget(): widget '*lineLabel' from 'dsmkit",
                           "xKestDoDsmSetWidgetCB(): widget 'dsmkit", ".lineLabel' is not a text widget\n",
                           "xKestDoMsgSetPopMenuWidgetCB(): widget 'dsmkit", ".msgText' is not a popup menu\n",
                           "xKestDoDsmLoadCB(): widget 'dsmkit", ".replaceField' is not a selection dialog\n"})
    EXPECT_NE(err.find(line), std::string::npos) << line << " in\n" << err;
}

TEST(DsmNavigation, TopBottomAndTheLineLabel) {
  dsmkit::Ui ui = WithText("a\nb\nc\nd");
  XmTextSetSelection(ui.dsmText, 2, 5, 0);
  Fire("xKestDoDsmNavTopCB");
  EXPECT_EQ(Sel(ui.dsmText), "none@0");
  EXPECT_EQ(dsmkit::Label(ui.lineLabel), "1");
  Fire("xKestDoDsmNavBottomCB");
  EXPECT_EQ(XmTextGetInsertionPosition(ui.dsmText), 7);
  EXPECT_EQ(dsmkit::Label(ui.lineLabel), "4");
  const std::pair<XmTextPosition, const char*> moves[] = {
      {0, "1"}, {1, "1"}, {2, "2"}, {4, "3"}, {7, "4"}, {3, "2"}, {0, "1"}};
  for (const auto& [pos, line] : moves) {
    SCOPED_TRACE(pos);
    MoveTo(ui.dsmText, pos);
    EXPECT_EQ(dsmkit::Label(ui.lineLabel), line);
  }
  EXPECT_EQ(theDsm.GetModified(), 0);
}

// Keys typed after Go to Bottom or Top act there: Backspace rubbed out a
// selection left elsewhere, out of sight, instead of the typed character.
TEST(DsmNavigation, TypingAfterGoingToTheEndsLeavesTheOldSelection) {
  dsmkit::Ui ui = WithText("one two\n");
  XEvent key{};
  key.type = KeyPress;
  key.xkey.display = XtDisplay(ui.dsmText);
  key.xkey.window = XtWindow(ui.dsmText);
  char x[] = "x";
  char* insert[] = {x};
  for (const char* command : {"xKestDoDsmNavBottomCB", "xKestDoDsmNavTopCB"}) {
    SCOPED_TRACE(command);
    XmTextSetSelection(ui.dsmText, 4, 7, CurrentTime);
    Fire(command);
    XtCallActionProc(ui.dsmText, const_cast<char*>("insert-string"), &key, insert, 1);
    XtCallActionProc(ui.dsmText, const_cast<char*>("delete-previous-character"), &key, nullptr, 0);
    XtCallActionProc(ui.dsmText, const_cast<char*>("insert-string"), &key, insert, 1);
  }
  EXPECT_EQ(Text(ui.dsmText), "xone two\nx");
}

TEST(DsmNavigation, LineLabelFollowsEditsBeforeTheCursor) {
  dsmkit::Ui ui = WithText(std::string(300000, 'x') + "\nend");
  MoveTo(ui.dsmText, 300002);
  EXPECT_EQ(dsmkit::Label(ui.lineLabel), "2");
  // Every kind of change before the cursor must be seen by the next motion.
  const std::pair<std::function<void()>, const char*> edits[] = {
      {[&] { XmTextInsert(ui.dsmText, 5, const_cast<char*>("\n\n")); }, "4"},
      {[&] { XmTextReplace(ui.dsmText, 5, 6, const_cast<char*>("")); }, "3"},
      {[&] { XmTextSetSelection(ui.dsmText, 0, 6, 0); Fire("xKestDoDsmDeleteCB"); }, "2"},
      {[&] { XmTextSetString(ui.dsmText, const_cast<char*>("\n\n\n\n\n\n")); }, "6"},
  };
  for (const auto& [edit, line] : edits) {
    SCOPED_TRACE(line);
    edit();
    MoveTo(ui.dsmText, XmTextGetLastPosition(ui.dsmText) - 1);
    MoveTo(ui.dsmText, XmTextGetLastPosition(ui.dsmText) - 1);
    EXPECT_EQ(dsmkit::Label(ui.lineLabel), line);
  }
}

TEST(DsmAppend, InsertsTheBlockBetweenBlankLines) {
  dsmkit::Ui ui = WithText("ab");
  XmTextSetInsertionPosition(ui.dsmText, 1);
  Fire("xKestDoDsmAppendCB", nullptr);
  EXPECT_EQ(Text(ui.dsmText), "a\n\n\nb");
  EXPECT_EQ(theDsm.GetModified(), 1);
  XmTextSetString(ui.dsmText, const_cast<char*>("x"));
  XmTextSetInsertionPosition(ui.dsmText, 1);
  Fire("xKestDoDsmAppendCB", "record R {}");
  EXPECT_EQ(Text(ui.dsmText), "x\n\nrecord R {}\n");
}

TEST(DsmCommands, OnlyTextChangesMarkTheDsmModified) {
  struct Case {
    const char* name;
    int marks;
  };
  const Case cases[] = {
      {"xKestDoDsmCopyCB", 0},   {"xKestDoDsmNavTopCB", 0}, {"xKestDoDsmNavBottomCB", 0},
      {"xKestDoDsmCutCB", 1},    {"xKestDoDsmDeleteCB", 1}, {"xKestDoDsmPasteCB", 1},
      {"xKestDoDsmAppendCB", 1},
  };
  dsmkit::Ui ui = WithText("one two three");
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    XmTextSetString(ui.dsmText, const_cast<char*>("one two three"));
    XmTextSetSelection(ui.dsmText, 4, 7, CurrentTime);
    if (std::string(c.name) == "xKestDoDsmPasteCB") {
      XmTextCopy(ui.dsmText, CurrentTime);
      XmTextSetInsertionPosition(ui.dsmText, 0);
    }
    theDsm.SetModified(0);
    Fire(c.name);
    EXPECT_EQ(theDsm.GetModified(), c.marks) << Text(ui.dsmText);
  }
  theDsm.SetModified(0);
  Find("two");
  MoveTo(ui.dsmText, 2);
  EXPECT_EQ(theDsm.GetModified(), 0);
}

TEST(DsmPopup, ButtonPressPostsTheMenu) {
  dsmkit::Ui ui = WithText("x");
  XEvent ev{};
  ev.xbutton.type = ButtonPress;
  ev.xbutton.display = XtDisplay(ui.dsmText);
  ev.xbutton.window = XtWindow(ui.dsmText);
  ev.xbutton.button = Button3;
  ev.xbutton.x_root = 40;
  ev.xbutton.y_root = 50;
  XtCallActionProc(ui.dsmText, const_cast<char*>("xKestDoDsmPostPopupMenuACT"), &ev, nullptr, 0);
  xk::test::Drain();
  EXPECT_TRUE(XtIsManaged(ui.dsmPopup));
  XtUnmanageChild(ui.dsmPopup);
  ev.type = KeyPress;
  XtCallActionProc(ui.dsmText, const_cast<char*>("xKestDoDsmPostPopupMenuACT"), &ev, nullptr, 0);
  EXPECT_FALSE(XtIsManaged(ui.dsmPopup)) << "only a button event carries a place for the menu";
}

}  // namespace

namespace {

TEST(DsmUndo, AppendIsOneStepAndLoadingClearsTheHistory) {
  TempDir dir;
  std::string a = dir.Write("a.dsm", "model a;\n");
  dsmkit::Ui ui = dsmkit::Build();
  dsmkit::Load(a);
  XmTextSetInsertionPosition(ui.dsmText, 9);
  Fire("xKestDoDsmAppendCB", "record R {}");  // three insertions under one event
  ASSERT_EQ(Text(ui.dsmText), "model a;\n\n\nrecord R {}\n");
  Fire("xKestDoDsmUndoCB");
  EXPECT_EQ(Text(ui.dsmText), "model a;\n");
  EXPECT_EQ(theDsm.GetModified(), 0) << "back at the loaded text";
  Fire("xKestDoDsmRedoCB");
  EXPECT_EQ(Text(ui.dsmText), "model a;\n\n\nrecord R {}\n");
  EXPECT_EQ(theDsm.GetModified(), 1);

  Fire("xKestDoDsmCloseWithNoSaveCB");
  dsmkit::Load(a);
  Fire("xKestDoDsmUndoCB");
  EXPECT_EQ(Text(ui.dsmText), "model a;\n") << "nothing before the load to undo";
  EXPECT_EQ(theDsm.GetModified(), 0);
}

}  // namespace

namespace {

// Which text an edit command acts on, by the route it comes by and where
// the keyboard focus is, shown by Go to Bottom (one text at a time can
// hold a selection). A menu item or accelerator of the main window acts on
// the text with the focus within the main window; a push button or a
// dialog's callback list acts on the DSM text, even with the focus in that
// dialog's own field (a chain of commands there appended in it). The
// accelerators, which run their menu items, are driven with real keys in
// XkestEditKeys (tests/gui/xkest_e2e_test.cpp).
struct Routes {
  dsmkit::Ui ui = dsmkit::Build();
  Widget menuItem = nullptr, button = nullptr, dialog = nullptr, field = nullptr;

  static XtCallbackProc Registered(const char* name) {
    WcCallbackPair pair = WcFindCallback(xk::test::App(), WcNameToQuarkLower(name));
    return pair ? pair->callback : nullptr;
  }

  Routes() {
    Widget box = XtParent(ui.dsmText);
    Widget bar = XmCreateMenuBar(box, const_cast<char*>("menuBar"), nullptr, 0);
    Widget pane = XmCreatePulldownMenu(bar, const_cast<char*>("editMenu"), nullptr, 0);
    Widget cascade = XmCreateCascadeButton(bar, const_cast<char*>("edit"), nullptr, 0);
    XtVaSetValues(cascade, XmNsubMenuId, pane, nullptr);
    menuItem = XmCreatePushButton(pane, const_cast<char*>("bottom"), nullptr, 0);
    button = XmCreatePushButton(box, const_cast<char*>("bottomButton"), nullptr, 0);
    XtAddCallback(menuItem, XmNactivateCallback, Registered("xKestDoDsmNavBottomCB"), nullptr);
    XtAddCallback(button, XmNactivateCallback, Registered("xKestDoDsmNavBottomCB"), nullptr);
    XtManageChild(menuItem);
    XtManageChildren(std::vector<Widget>{cascade, bar, button}.data(), 3);
    dialog = XmCreatePromptDialog(ui.shell, const_cast<char*>("findDlg"), nullptr, 0);
    XtAddCallback(dialog, XmNokCallback, Registered("xKestDoDsmNavBottomCB"), nullptr);
    field = XmSelectionBoxGetChild(dialog, XmDIALOG_TEXT);
    XtManageChild(dialog);
    xkest::PrepareKeyboard(ui.shell);
    xk::test::Drain();
  }

  std::vector<std::pair<Widget, const char*>> Texts() const {
    return {{ui.dsmText, "dsm"}, {ui.replaceField, "replace"}, {field, "field"}};
  }

  // Fresh texts, each with its cursor at the start; the Motif focus in
  // the main window on inMain, the input focus in the window of focused
  // (its Motif focus there too).
  void Focus(Widget inMain, Widget focused) {
    for (const auto& [w, name] : Texts()) {
      XmTextSetString(w, const_cast<char*>(name));
      XmTextSetInsertionPosition(w, 0);
    }
    XmProcessTraversal(inMain, XmTRAVERSE_CURRENT);
    XmProcessTraversal(focused, XmTRAVERSE_CURRENT);
    Widget shell = focused;
    while (!XtIsShell(shell)) shell = XtParent(shell);
    XSetInputFocus(XtDisplay(shell), XtWindow(shell), RevertToParent, CurrentTime);
    xk::test::Drain();
  }

  // The names of the texts whose cursor went to their end.
  std::string Changed() {
    std::string out;
    for (const auto& [w, name] : Texts())
      if (XmTextGetInsertionPosition(w) == XmTextPosition(std::strlen(name))) out += std::string(name) + " ";
    return out;
  }

  // For each focus set-up (in the DSM text, in the Replace field, in the
  // dialog's field with the Replace field focused within the main window),
  // the text that run() changed.
  void Check(const std::function<void()>& run, const char* dsm, const char* replace, const char* other) {
    const std::tuple<Widget, Widget, const char*> setups[] = {
        {ui.dsmText, ui.dsmText, dsm}, {ui.replaceField, ui.replaceField, replace}, {ui.replaceField, field, other}};
    for (const auto& [inMain, focused, want] : setups) {
      SCOPED_TRACE(XtName(focused));
      Focus(inMain, focused);
      run();
      xk::test::Drain();
      EXPECT_EQ(Changed(), want);
    }
  }
};

TEST(DsmEditTarget, MenuItemActsWithinTheMainWindow) {
  Routes r;
  r.Check([&] { XtCallCallbacks(r.menuItem, XmNactivateCallback, nullptr); }, "dsm ", "replace ", "replace ");
}

TEST(DsmEditTarget, PushButtonActsOnTheDsm) {
  Routes r;
  r.Check([&] { XtCallCallbacks(r.button, XmNactivateCallback, nullptr); }, "dsm ", "dsm ", "dsm ");
}

TEST(DsmEditTarget, DialogCallbackListActsOnTheDsm) {
  Routes r;
  auto ok = [&] {
    dsmkit::FileCall call("x");
    XtCallCallbacks(r.dialog, XmNokCallback, call.Get());
  };
  r.Check(ok, "dsm ", "dsm ", "dsm ");
}

}  // namespace
