// The message widget on real Motif texts: warnings land in the text one per
// line, the line limit cuts with the note, removal and destruction give the
// warnings back, and a text in a dialog maps the dialog.
#include <gtest/gtest.h>

#include <X11/Xresource.h>
#include <Xm/Form.h>
#include <Xm/Label.h>
#include <Xm/Text.h>

#include <unistd.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "common/MotifText.h"
#include "common/TempDir.h"
#include "common/Warnings.h"
#include "common/XFixture.h"
#include "wcl/WcCreate.h"
#include "xmp/Xmp.h"

namespace {

using xk::test::CaptureWarnings;
using xk::test::Text;

void PutResource(const char* line) {
  XrmDatabase db = XtDatabase(XtDisplay(xk::test::TopLevel()));
  XrmPutLineResource(&db, line);
}

class MessageWidget : public ::testing::Test {
 protected:
  void SetUp() override {
    shell_ = XtCreatePopupShell("msgShell", topLevelShellWidgetClass, xk::test::TopLevel(),
                                nullptr, 0);
    Widget form = XmCreateForm(shell_, const_cast<char*>("form"), nullptr, 0);
    XtManageChild(form);
  }
  void TearDown() override {
    XmpMessageWidget(nullptr);
    XtDestroyWidget(shell_);
    xk::test::Drain();
  }
  // A multi-line text named `name` in the test shell's form.
  Widget NewText(const char* name) {
    Arg args[1];
    XtSetArg(args[0], XmNeditMode, XmMULTI_LINE_EDIT);
    Widget text = XmCreateText(XtNameToWidget(shell_, "form"), const_cast<char*>(name), args, 1);
    XtManageChild(text);
    return text;
  }

  // Stands for standard error, so a test sees where warnings go.
  CaptureWarnings recorded_;
  Widget shell_ = nullptr;
};

TEST_F(MessageWidget, MessagesBecomeLinesAndEmptyOnesAreIgnored) {
  PutResource("*msgShell*quiet.messagePopup: False");
  Widget text = NewText("quiet");
  XmpMessageWidget(text);
  EXPECT_EQ(WcWarningPrinter, XmpMessagePrinter);

  WcWarning1(text, "Test", "first", "Xmp Warning: first %s", "one");
  EXPECT_EQ(Text(text), "Xmp Warning: first one");  // no leading newline
  WcWarningPrinter("", static_cast<char*>(nullptr));
  WcWarningPrinter(static_cast<char*>(nullptr));
  EXPECT_EQ(Text(text), "Xmp Warning: first one");
  WcWarningPrinter("two ", "pieces", static_cast<char*>(nullptr));
  EXPECT_EQ(Text(text), "Xmp Warning: first one\ntwo pieces");
  EXPECT_TRUE(recorded_.Messages().empty());
  EXPECT_FALSE(XtIsRealized(shell_));  // messagePopup False leaves it alone
}

TEST_F(MessageWidget, LineLimitCutsOldLinesAndLeavesTheNote) {
  PutResource("*msgShell*limited.messageMaxLines: 6");
  PutResource("*msgShell*limited.messagePopup: False");
  Widget text = NewText("limited");
  XmpMessageWidget(text);
  for (int i = 1; i <= 5; ++i) WcWarningPrinter(("m" + std::to_string(i)).c_str(), nullptr);
  EXPECT_EQ(Text(text), "m1\nm2\nm3\nm4\nm5");
  // 5 + 1 reaches 6: the note takes the place of the three oldest lines.
  WcWarningPrinter("m6", static_cast<char*>(nullptr));
  EXPECT_EQ(Text(text), "... some lines lost...\n\nm4\nm5\nm6");
  // A two-line message counts with both lines.
  WcWarningPrinter("m7a\nm7b", static_cast<char*>(nullptr));
  EXPECT_EQ(Text(text), "... some lines lost...\n\nm6\nm7a\nm7b");
}

TEST_F(MessageWidget, WithoutALimitGivenNinetyNineLinesStayAndTheHundredthCuts) {
  PutResource("*msgShell*plain.messagePopup: False");
  Widget text = NewText("plain");
  XmpMessageWidget(text);
  for (int i = 1; i <= 99; ++i) WcWarningPrinter(("m" + std::to_string(i)).c_str(), nullptr);
  EXPECT_EQ(Text(text).substr(0, 6), "m1\nm2\n");
  WcWarningPrinter("m100", static_cast<char*>(nullptr));
  EXPECT_EQ(Text(text).substr(0, 22), "... some lines lost...");
}

// The note is the widget's own copy: merging a resource file frees the
// database value it was read from, and entries put later take its place.
TEST_F(MessageWidget, NoteOutlivesTheDatabaseValueItWasReadFrom) {
  PutResource("*msgShell*kept.messageMaxLines: 3");
  PutResource("*msgShell*kept.messagePopup: False");
  PutResource("*msgShell*kept.messageLinesLostMsg: (lost)");
  Widget text = NewText("kept");
  XmpMessageWidget(text);
  xk::test::TempDir dir("xmpnote");
  std::string path = dir.Write("note.ad", "*msgShell*kept.messageLinesLostMsg: (other)\n");
  XrmDatabase db = XtDatabase(XtDisplay(text));
  EXPECT_EQ(WcLoadResourceFile(text, path.c_str(), &db), 1);
  for (int i = 0; i < 64; ++i)
    PutResource(("*msgShell*filler" + std::to_string(i) + ": ######").c_str());
  for (const char* m : {"m1", "m2", "m3"}) WcWarningPrinter(m, static_cast<char*>(nullptr));
  EXPECT_EQ(Text(text), "(lost)\nm3");
}

TEST_F(MessageWidget, LabelIsRefusedAndWarningsStayWhereTheyWere) {
  Widget label = XmCreateLabel(XtNameToWidget(shell_, "form"), const_cast<char*>("lbl"), nullptr, 0);
  XmpMessageWidget(label);
  ASSERT_EQ(recorded_.Messages().size(), 1u);
  EXPECT_EQ(recorded_.Messages()[0], "Xmp Warning: XmpMessageWidget(xktest.msgShell.form.lbl) - not an XmTextWidget");
  EXPECT_EQ(WcWarningPrinter, CaptureWarnings::Print);
}

TEST_F(MessageWidget, RemovalGivesWarningsBackToStandardError) {
  WcWarningPrinter = WcPrintToStderr;
  PutResource("*msgShell*t1.messagePopup: False");
  Widget text = NewText("t1");
  XmpMessageWidget(text);
  XmpMessageWidget(nullptr);
  testing::internal::CaptureStderr();
  WcWarning0(nullptr, "Test", "back", "Xmp Warning: back on stderr");
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "Xmp Warning: back on stderr\n");
  EXPECT_EQ(Text(text), "");
  // Destroying the former text later leaves the printer alone.
  WcWarningPrinter = CaptureWarnings::Print;
  XtDestroyWidget(text);
  xk::test::Drain();
  EXPECT_EQ(WcWarningPrinter, CaptureWarnings::Print);
}

TEST_F(MessageWidget, DestroyingTheInstalledTextRestoresTheFirstSavedPrinter) {
  PutResource("*msgShell*a.messagePopup: False");
  PutResource("*msgShell*b.messagePopup: False");
  Widget a = NewText("a");
  Widget b = NewText("b");
  XmpMessageWidget(a);
  XmpMessageWidget(b);  // the printer saved first stays saved
  // A replaced text going away must not take the messages from b.
  XtDestroyWidget(a);
  xk::test::Drain();
  WcWarningPrinter("to b", static_cast<char*>(nullptr));
  EXPECT_EQ(Text(b), "to b");
  XtDestroyWidget(b);
  xk::test::Drain();
  EXPECT_EQ(WcWarningPrinter, CaptureWarnings::Print);
  WcWarningPrinter("after", static_cast<char*>(nullptr));
  EXPECT_EQ(recorded_.Messages(), std::vector<std::string>{"after"});
}

TEST_F(MessageWidget, ActionAndCallbackForms) {
  PutResource("*msgShell*byName.messagePopup: False");
  Widget text = NewText("byName");
  Widget form = XtParent(text);
  String two[] = {const_cast<char*>("a"), const_cast<char*>("b")};
  Cardinal n = 2;
  XmpMessageWidgetACT(form, nullptr, two, &n);
  String missing[] = {const_cast<char*>("nosuch")};
  n = 1;
  XmpMessageWidgetACT(form, nullptr, missing, &n);
  EXPECT_EQ(recorded_.Messages(), (std::vector<std::string>{
                            "Xmp Usage: XmpMessageWidget( [messageWidgetName] )",
                            "Xmp Warning: XmpMessageWidget could not find nosuch from "
                            "xktest.msgShell.form\n"}));
  XmpMessageWidgetCB(form, const_cast<char*>("byName"), nullptr);
  WcWarningPrinter("via name", static_cast<char*>(nullptr));
  EXPECT_EQ(Text(text), "via name");
  // An empty name means the widget the callback runs on.
  XmpMessageWidgetCB(text, const_cast<char*>(""), nullptr);
  EXPECT_EQ(WcWarningPrinter, XmpMessagePrinter);
}

void WarnOnChange(Widget w, XtPointer, XtPointer) {
  WcWarning0(w, "Test", "nested", "Xmp Warning: nested");
}

TEST_F(MessageWidget, WarningFromTheTextsOwnCallbackDoesNotRecurse) {
  PutResource("*msgShell*noisy.messagePopup: False");
  Widget text = NewText("noisy");
  XtAddCallback(text, XmNvalueChangedCallback, WarnOnChange, nullptr);
  XmpMessageWidget(text);
  WcWarningPrinter("outer", static_cast<char*>(nullptr));
  EXPECT_EQ(Text(text), "outer");
  // Each change of the text warned once; those went to the saved printer.
  ASSERT_FALSE(recorded_.Messages().empty());
  for (const std::string& m : recorded_.Messages()) EXPECT_EQ(m, "Xmp Warning: nested");
}

bool Viewable(Widget w) {
  xk::test::Drain();
  XWindowAttributes attrs;
  return XtIsRealized(w) && XGetWindowAttributes(XtDisplay(w), XtWindow(w), &attrs) &&
         attrs.map_state == IsViewable;
}

TEST_F(MessageWidget, PopupAndRaiseShowTheShellHoldingTheText) {
  Widget form = XtNameToWidget(shell_, "form");
  XtUnmanageChild(form);
  // Raise alone realizes and raises but does not map a shell that is down.
  PutResource("*msgShell*raised.messagePopup: False");
  PutResource("*msgShell*raised.messageRaise: True");
  Widget raised = NewText("raised");
  XmpMessageWidget(raised);
  WcWarningPrinter("raise", static_cast<char*>(nullptr));
  EXPECT_TRUE(XtIsManaged(form));
  EXPECT_TRUE(XtIsRealized(shell_));
  EXPECT_FALSE(Viewable(shell_));

  // Pop-up (the default) maps a shell that is not a dialog shell and
  // manages the shell's child on the way.
  XtUnmanageChild(form);
  Widget shown = NewText("shown");
  XmpMessageWidget(shown);
  WcWarningPrinter("popup", static_cast<char*>(nullptr));
  EXPECT_TRUE(XtIsManaged(form));
  EXPECT_TRUE(Viewable(shell_));
  XtPopdown(shell_);
}

TEST_F(MessageWidget, TextInADialogMapsTheDialog) {
  Widget dialog = XmCreateFormDialog(xk::test::TopLevel(), const_cast<char*>("msgDialog"), nullptr, 0);
  Widget text = XmCreateText(dialog, const_cast<char*>("dlgText"), nullptr, 0);
  XtManageChild(text);
  XmpMessageWidget(text);
  EXPECT_FALSE(XtIsManaged(dialog));
  WcWarningPrinter("show me", static_cast<char*>(nullptr));
  EXPECT_TRUE(XtIsManaged(dialog));
  xk::test::Drain();
  XWindowAttributes attrs;
  XGetWindowAttributes(XtDisplay(dialog), XtWindow(XtParent(dialog)), &attrs);
  EXPECT_EQ(attrs.map_state, IsViewable);
  // Closed again, the dialog comes back with the next message.
  XtUnmanageChild(dialog);
  WcWarningPrinter("again", static_cast<char*>(nullptr));
  EXPECT_TRUE(XtIsManaged(dialog));
  XmpMessageWidget(nullptr);
  XtDestroyWidget(XtParent(dialog));
}

}  // namespace
