// The message window on real widgets, through the registered callbacks:
// go to the DSM line whose number is selected in the report, find the
// selection in the DSM, open the selected file in the editor, the popup,
// and the plain operations (also with widgets that were never created).
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include <unistd.h>

#include "common/ScopedEnv.h"
#include "common/Wait.h"
#include "dsm_kit.h"

namespace {

using dsmkit::Fire;
using dsmkit::Sel;
using xk::test::Slurp;
using xk::test::TempDir;

void SelectInReport(const dsmkit::Ui& ui, const std::string& report, const std::string& sel) {
  XmTextSetString(ui.msgText, const_cast<char*>(report.c_str()));
  size_t at = report.find(sel);
  ASSERT_NE(at, std::string::npos);
  XmTextSetSelection(ui.msgText, XmTextPosition(at), XmTextPosition(at + sel.size()), CurrentTime);
}

std::string Numbered(int lines) {
  std::string text;
  for (int i = 1; i <= lines; ++i) text += "line" + std::to_string(i) + "\n";
  return text;
}

TEST(MsgGoTo, SelectsTheLineWhoseDigitsAreSelected) {
  struct Case {
    const char* dsm;
    const char* selection;  // "" for no selection
    const char* expected;
  };
  const std::string hundred = Numbered(100);  // 692 bytes; line 42 starts at 278
  const Case cases[] = {
      {hundred.c_str(), "42", "278-284"},
      {hundred.c_str(), "line 7, column 3", "495-501"},
      {hundred.c_str(), "7\xb7" "3", "495-501"},  // a Latin-1 dot between the digits
      {hundred.c_str(), "1", "0-5"},
      {hundred.c_str(), "0", "none@692"},
      {hundred.c_str(), "101", "none@692"},
      {hundred.c_str(), "102", "none@692"},
      {hundred.c_str(), "123456789012345678901234567890", "none@692"},
      {hundred.c_str(), "no digits", "none@3"},
      {hundred.c_str(), "", "none@3"},
      {"\nsecond", "1", "none@0"},
      {"\nsecond", "2", "1-7"},
      {"single", "1", "0-6"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.dsm).substr(0, 10) + " / " + c.selection);
    dsmkit::Ui ui = dsmkit::Build();
    XmTextSetString(ui.dsmText, const_cast<char*>(c.dsm));
    XmTextSetInsertionPosition(ui.dsmText, 3);
    if (*c.selection) SelectInReport(ui, std::string("error at ") + c.selection + "\n", c.selection);
    Fire("xKestDoMsgGoToSyntaxErrInDsmCB");
    EXPECT_EQ(Sel(ui.dsmText), c.expected);
  }
}

TEST(MsgGoTo, FileLineShapeTakesTheLineField) {
  const std::string hundred = Numbered(100);  // line 12 starts at 68, line 125 is past the end
  struct Case {
    const char* selection;
    const char* expected;
    long cursor;  // -1: not checked
  } cases[] = {
      {"dir2/m.dsm:12:", "68-74", -1},
      {"dir2/m.dsm:12", "68-74", -1},
      {"m.dsm:12:5", "68-74", 72},
      {"m.dsm:12:5: error: unknown type 'flaot'", "68-74", 72},
      {"m.dsm:12:7: error: at the line's end", "68-74", 74},
      {"m.dsm:12:8: error: one past it", "68-74", 74},
      {"12:5", "none@692", -1},  // no file name: every digit, 125
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.selection);
    dsmkit::Ui ui = dsmkit::Build();
    XmTextSetString(ui.dsmText, const_cast<char*>(hundred.c_str()));
    SelectInReport(ui, std::string(c.selection) + "\n", c.selection);
    Fire("xKestDoMsgGoToSyntaxErrInDsmCB");
    EXPECT_EQ(Sel(ui.dsmText), c.expected);
    if (c.cursor >= 0) {
      EXPECT_EQ(XmTextGetInsertionPosition(ui.dsmText), c.cursor);
    }
  }
}

TEST(MsgGoTo, LabelShowsTheLineReached) {
  dsmkit::Ui ui = dsmkit::Build();
  XmTextSetString(ui.dsmText, const_cast<char*>(Numbered(100).c_str()));
  SelectInReport(ui, "m.dsm:73: error: x", "73");
  Fire("xKestDoMsgGoToSyntaxErrInDsmCB");
  EXPECT_EQ(dsmkit::Label(ui.lineLabel), "73");
}

TEST(MsgFind, FindsTheSelectionInTheDsmWrappingOnce) {
  dsmkit::Ui ui = dsmkit::Build();
  XmTextSetString(ui.dsmText, const_cast<char*>("Order id; Order name;"));
  XmTextSetInsertionPosition(ui.dsmText, 15);
  SelectInReport(ui, "unknown type Order here", "Order");
  Fire("xKestDoMsgFindSelectionInDsmCB");
  EXPECT_EQ(Sel(ui.dsmText), "0-5");
  SelectInReport(ui, "unknown Shop", "Shop");
  Fire("xKestDoMsgFindSelectionInDsmCB");
  EXPECT_EQ(dsmkit::Message(ui), "Can't find 'Shop'");
  dsmkit::Dismiss(ui);
  XmTextSetString(ui.msgText, const_cast<char*>("nothing selected"));
  Fire("xKestDoMsgFindSelectionInDsmCB");
  EXPECT_EQ(dsmkit::Message(ui), "");
  EXPECT_EQ(theDsm.GetModified(), 1) << "only the setup changed the text";
}

TEST(MsgFind, QuotesAroundTheWholeSelectionAreDropped) {
  dsmkit::Ui ui = dsmkit::Build();
  XmTextSetString(ui.dsmText, const_cast<char*>("  x : flaot;\n  y : \"s\";\n"));
  SelectInReport(ui, "a.dsm:1: error: unknown type 'flaot'\n", "'flaot'");
  Fire("xKestDoMsgFindSelectionInDsmCB");
  EXPECT_EQ(Sel(ui.dsmText), "6-11");
  SelectInReport(ui, "see \"y\" here\n", "\"y\"");
  Fire("xKestDoMsgFindSelectionInDsmCB");
  EXPECT_EQ(Sel(ui.dsmText), "15-16");
  SelectInReport(ui, "x \"s\"; y\n", "\"s\";");
  Fire("xKestDoMsgFindSelectionInDsmCB");
  EXPECT_EQ(Sel(ui.dsmText), "19-23") << "a quote at one end only stays";
}

TEST(MsgOpenFile, EditorGetsTheSelectionAsOneWord) {
  TempDir dir;
  dir.Write("emacs", "#!/bin/sh\nprintf '[%s]' \"$@\" > \"$0.tmp\"; mv \"$0.tmp\" \"$0.args\"\n", true);
  std::string args = dir.At("emacs.args");
  xk::test::ScopedEnv path("PATH", xk::test::PathFirst(dir.Path()));
  const std::pair<const char*, const char*> cases[] = {
      {"out/gen.cpp", "[out/gen.cpp]"},
      {"out/gen.cpp; touch pwned", "[out/gen.cpp; touch pwned]"},
      {"", "[]"},
  };
  for (const auto& [selection, expected] : cases) {
    SCOPED_TRACE(selection);
    unlink(args.c_str());
    dsmkit::Ui ui = dsmkit::Build();
    theOpts.SetToolFileEditor("emacs");
    if (*selection) SelectInReport(ui, std::string("wrote ") + selection + "\n", selection);
    Fire("xKestDoMsgOpenSelectedFileCB");
    ASSERT_TRUE(xk::test::WaitUntil([&] { return access(args.c_str(), F_OK) == 0; }, 5));
    EXPECT_EQ(Slurp(args), expected);
  }
  EXPECT_NE(access("pwned", F_OK), 0);
}

TEST(MsgText, AppendBuildsInOrderWhereverTheCursorIs) {
  dsmkit::Ui ui = dsmkit::Build();
  theMsg.AppendText("stale");
  theMsg.ClearText();
  theMsg.AppendText("one ");
  XmTextSetInsertionPosition(ui.msgText, 0);
  theMsg.AppendText("two");
  theMsg.AppendText("");
  EXPECT_EQ(dsmkit::Text(ui.msgText), "one two");
  theMsg.ShowMessage("hello");
  EXPECT_EQ(dsmkit::Message(ui), "hello");
}

TEST(MsgText, ReportWrapsOnlyWhileALineNeedsIt) {
  // Motif measures every character of a wrapping text (seconds for a
  // large report); a report whose lines all fit looks the same unwrapped.
  dsmkit::Build();
  // A window of its own, so the report text can be narrowed.
  Widget shell = XtVaAppCreateShell("wrapTest", "xkest", applicationShellWidgetClass,
                                    XtDisplay(xk::test::TopLevel()), XmNallowShellResize, True, nullptr);
  Widget text = XtVaCreateManagedWidget("msgText", xmTextWidgetClass, shell, XmNeditMode, XmMULTI_LINE_EDIT,
                                        XmNwordWrap, True, XmNwidth, 400, nullptr);
  XtRealizeWidget(shell);
  Fire("xKestDoMsgSetWidgetCB", nullptr, nullptr, text);  // as the description makes it
  struct {
    Widget msgText;
  } ui{text};
  auto wraps = [&] {
    Boolean on = False;
    XtVaGetValues(ui.msgText, XmNwordWrap, &on, nullptr);
    return bool(on);
  };
  theMsg.ClearText();
  theMsg.AppendText("a.dsm:1: bad\n");
  EXPECT_FALSE(wraps());
  std::string longLine = "a.dsm:2: error:" + std::string(200, ' ') + "tail";
  theMsg.AppendText(longLine.c_str());
  xk::test::Drain();
  EXPECT_TRUE(wraps());
  Position x1 = 0, y1 = 0, x2 = 0, y2 = 0;
  XmTextPosToXY(ui.msgText, 13, &x1, &y1);  // the long line's first character
  XmTextPosToXY(ui.msgText, XmTextGetLastPosition(ui.msgText) - 1, &x2, &y2);
  EXPECT_GT(y2, y1) << "its tail is shown on a line of its own";
  theMsg.ClearText();
  EXPECT_FALSE(wraps());
  // A line that fits until the window narrows.
  theMsg.AppendText("a.dsm:3: fits");
  EXPECT_FALSE(wraps());
  XtVaSetValues(ui.msgText, XmNwidth, 40, nullptr);
  xk::test::Drain();
  EXPECT_TRUE(wraps());
  XtDestroyWidget(shell);
}

TEST(MsgText, MissingWidgetsAreNeverUsed) {
  theMsg = MsgCl();
  theDsm = DsmCl();
  theMsg.ShowMessage("x");
  theMsg.ClearText();
  theMsg.AppendText("x");
  for (const char* name : {"xKestDoMsgGoToSyntaxErrInDsmCB", "xKestDoMsgFindSelectionInDsmCB",
                           "xKestDoDsmFindCB", "xKestDoDsmNavTopCB", "xKestDoDsmSaveCB",
                           "xKestDoDsmCloseCB", "xKestDoDsmAppendCB"})
    Fire(name);
  XEvent ev{};
  ev.type = ButtonPress;
  theMsg.PostPopupMenu(nullptr, &ev, nullptr, nullptr);
  theDsm.PostPopupMenu(nullptr, &ev, nullptr, nullptr);
  SUCCEED();
}

TEST(MsgPopup, ButtonPressPostsTheMenu) {
  dsmkit::Ui ui = dsmkit::Build();
  XEvent ev{};
  ev.xbutton.type = ButtonPress;
  ev.xbutton.display = XtDisplay(ui.msgText);
  ev.xbutton.window = XtWindow(ui.msgText);
  ev.xbutton.button = Button3;
  XtCallActionProc(ui.msgText, const_cast<char*>("xKestDoMsgPostPopupMenuACT"), &ev, nullptr, 0);
  xk::test::Drain();
  EXPECT_TRUE(XtIsManaged(ui.msgPopup));
}

// Failures that used to reach only a terminal show in the dialog; a
// message that comes while another is up is added below it, until the user
// dismisses the dialog.
TEST(MsgDialog, FailuresShowAndStackUntilDismissed) {
  dsmkit::Ui ui = dsmkit::Build();
  TempDir dir;
  theOpts.SetHomeDir(Str(dir.Path().c_str()));
  Fire("xKestDoOptsSetTemplatePathCB", "$KESTHOME/gone.tem");
  Fire("xKestDoSysftnsLaunchHTMLDocCB", "$KESTHOME/doc/gone.html");
  dsmkit::Load(dir.Write("m.dsm", "model m;\n"));
  {
    xk::test::ScopedEnv path("PATH", dir.Path());  // no lpr there
    Fire("xKestDoDsmPrintCB");
  }
  EXPECT_EQ(dsmkit::Message(ui),
            "**Error: The template file path (" + dir.Path() +
                "/gone.tem) does not exist.  Template path unchanged.\n"
                "Cannot find the help page '" + dir.Path() + "/doc/gone.html'\n"
                "Cannot print: the command lpr was not found");
  dsmkit::Dismiss(ui);
  theMsg.ShowMessage("Please save the DSM file before generating code");
  EXPECT_EQ(dsmkit::Message(ui), "Please save the DSM file before generating code");
}

// A message too wide for the screen is broken into lines at blanks and
// after slashes, and the dialog stays on the screen.
TEST(MsgDialog, LongMessagesBreakOnlyToFitTheScreen) {
  dsmkit::Ui ui = dsmkit::Build();
  std::string path;
  for (int i = 0; i < 30; ++i) path += "/folder" + std::to_string(i);
  std::string text = "Cannot save to filepath " + path + "/model.dsm: No space left on device";
  theMsg.ShowMessage(Str(text.c_str()));
  xk::test::Drain();
  std::string shown = dsmkit::Message(ui);
  ASSERT_NE(shown.find('\n'), std::string::npos) << shown;
  std::string joined;
  for (size_t from = 0;;) {
    size_t nl = shown.find('\n', from);
    std::string line = shown.substr(from, nl - from);
    if (!joined.empty() && joined.back() != '/') joined += ' ';
    joined += line;
    if (nl == std::string::npos) break;
    from = nl + 1;
  }
  EXPECT_EQ(joined, text);
  Dimension width = 0;
  XtVaGetValues(XtParent(ui.msgDlg), XmNwidth, &width, nullptr);
  EXPECT_LE(width, WidthOfScreen(XtScreen(ui.msgDlg)));
}

}  // namespace

namespace {

TEST(MsgErrorWalk, NamesTheDsmByPathOrSameFileMarksTheReportLineAndStopsAtTheEnd) {
  TempDir dir;
  std::string dsm = dir.Write("m.dsm", "a\nb\nc\n");
  std::string link = dir.At("link.dsm");
  ASSERT_EQ(symlink(dsm.c_str(), link.c_str()), 0);
  dir.Write("other.dsm", "a\nb\nc\n");
  const std::string report = link + ":2: error: x\n" + dir.At("other.dsm") + ":1: error: y\n" + dsm + ":3: error: z\n";
  dsmkit::Ui ui = dsmkit::Build();
  XmTextSetString(ui.dsmText, const_cast<char*>("a\nb\nc\n"));
  XmTextSetString(ui.msgText, const_cast<char*>(report.c_str()));
  theMsg.TakeReport(report, Str(dsm.c_str()));

  Fire("xKestDoMsgNextErrorCB");
  EXPECT_EQ(Sel(ui.dsmText), "2-3");
  EXPECT_EQ(XmTextGetInsertionPosition(ui.msgText), 0);
  Fire("xKestDoMsgNextErrorCB");
  EXPECT_EQ(Sel(ui.dsmText), "4-5") << "the other file's line is skipped";
  EXPECT_EQ(size_t(XmTextGetInsertionPosition(ui.msgText)), report.find(dsm + ":3:"));
  Fire("xKestDoMsgNextErrorCB");
  EXPECT_EQ(dsmkit::Message(ui), "No more errors");
  dsmkit::Dismiss(ui);
  Fire("xKestDoMsgPreviousErrorCB");
  EXPECT_EQ(Sel(ui.dsmText), "2-3");
  Fire("xKestDoMsgPreviousErrorCB");
  EXPECT_EQ(dsmkit::Message(ui), "No more errors");
}

TEST(MsgErrorWalk, ADoubleClickRightOfAShortErrorLineWalksToIt) {
  TempDir dir;
  std::string dsm = dir.Write("m.dsm", "a\nb\nc\n");
  const std::string report = dsm + ":2: e\nand a later line far longer than the one above it\n";
  dsmkit::Ui ui = dsmkit::Build();
  theOpts.SetToolFileEditor("true");
  XmTextSetString(ui.dsmText, const_cast<char*>("a\nb\nc\n"));
  XmTextSetString(ui.msgText, const_cast<char*>(report.c_str()));
  theMsg.TakeReport(report, Str(dsm.c_str()));
  Position x = 0, y = 0;
  ASSERT_TRUE(XmTextPosToXY(ui.msgText, XmTextPosition(report.find('\n')), &x, &y));
  XEvent ev{};
  ev.type = ButtonRelease;
  ev.xbutton.display = XtDisplay(ui.msgText);
  ev.xbutton.x = x + 40;
  ev.xbutton.y = y;
  for (Time t : {Time(900000), Time(900100)}) {
    ev.xbutton.time = t;
    theMsg.FollowLink(ui.msgText, &ev, nullptr, nullptr);
  }
  EXPECT_EQ(Sel(ui.dsmText), "2-3");
}

// F4 held past the last error said "No more errors" once per key, the
// dialog growing a line each time.
TEST(MsgErrorWalk, PastTheEndTheMessageIsNotRepeatedBelowItself) {
  dsmkit::Ui ui = dsmkit::Build();
  theMsg.TakeReport("", Str("m.dsm"));
  for (int i = 0; i < 3; ++i) Fire("xKestDoMsgNextErrorCB");
  EXPECT_EQ(dsmkit::Message(ui), "No more errors");
  theMsg.ShowMessage("another");
  Fire("xKestDoMsgPreviousErrorCB");
  EXPECT_EQ(dsmkit::Message(ui), "No more errors\nanother\nNo more errors");
}

// The report of one file walked another after File > Open: F4 and a
// double-click selected the old file's error lines in the new text.
TEST(MsgErrorWalk, AfterOpeningAnotherFileTheOldReportNamesNoLineOfIt) {
  TempDir dir;
  std::string a = dir.Write("a.dsm", "a\nb\n"), b = dir.Write("b.dsm", "x\ny\n");
  dsmkit::Ui ui = dsmkit::Build();
  dsmkit::Load(a);
  const std::string report = a + ":2: error: x\n";
  XmTextSetString(ui.msgText, const_cast<char*>(report.c_str()));
  theMsg.TakeReport(report, Str(a.c_str()));
  dsmkit::Load(b);
  Fire("xKestDoMsgNextErrorCB");
  EXPECT_EQ(dsmkit::Message(ui), "No more errors");
  EXPECT_EQ(Sel(ui.dsmText).substr(0, 5), "none@");
  dsmkit::Dismiss(ui);
  dsmkit::Load(a);
  Fire("xKestDoMsgNextErrorCB");
  EXPECT_EQ(Sel(ui.dsmText), "2-3");
}

TEST(DsmErrorMarks, NamedLinesAreMarkedFollowInsertedLinesGoWhenEditedAndAtTheNextRun) {
  TempDir dir;
  std::string dsm = dir.Write("m.dsm", "l1\nl2\nl3\nl4\n");
  dsmkit::Ui ui = dsmkit::Build();
  dsmkit::Load(dsm);
  theMsg.TakeReport(dsm + ":4:2: error: b\n" + dsm + ":2: error: a\n" + dsm + ":9: error: past the end\n",
                    Str(dsm.c_str()));
  theDsm.MarkErrorLines(theMsg.Errors());
  EXPECT_EQ(dsmkit::Marks(ui.dsmText), "3-5 9-11 ");

  XmTextInsert(ui.dsmText, 0, const_cast<char*>("x\n"));
  EXPECT_EQ(dsmkit::Marks(ui.dsmText), "5-7 11-13 ");
  Fire("xKestDoMsgNextErrorCB");
  EXPECT_EQ(Sel(ui.dsmText), "11-13") << "the first error names line 4, now line 5";
  EXPECT_EQ(XmTextGetInsertionPosition(ui.dsmText), 12) << "at its column 2";
  XmTextSetSelection(ui.dsmText, 0, 1, CurrentTime);  // the selection moves off the marked line
  xk::test::Drain();
  EXPECT_EQ(dsmkit::Marks(ui.dsmText), "5-7 11-13 ");

  XmTextInsert(ui.dsmText, 12, const_cast<char*>("Z"));  // edits line 5
  EXPECT_EQ(dsmkit::Marks(ui.dsmText), "5-7 ");
  theDsm.MarkErrorLines({});
  EXPECT_EQ(dsmkit::Marks(ui.dsmText), "");
}

}  // namespace
