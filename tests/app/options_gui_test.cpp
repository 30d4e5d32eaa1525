// The options object on real Motif widgets: resources and their defaults,
// "$KESTHOME" expansion, the dialog's handlers and filters, the template
// path check, and the template catalogue with its quick-item buttons.
#include <gtest/gtest.h>

#include <Xm/Xm.h>
#include <Xm/FileSB.h>
#include <Xm/Label.h>
#include <Xm/List.h>
#include <Xm/MessageB.h>
#include <Xm/PushB.h>
#include <Xm/RowColumn.h>
#include <Xm/TextF.h>
#include <Xm/ToggleB.h>

#include <cstdlib>
#include <string>
#include <vector>

#include <sys/stat.h>
#include <unistd.h>

#include "app/Application.h"
#include "app/DsmCl.h"
#include "app/MsgCl.h"
#include "app/OptsCl.h"
#include "app/TemplateCatalogue.h"
#include "common/MotifText.h"
#include "common/TempDir.h"
#include "common/XFixture.h"

namespace {

using testing::internal::CaptureStdout;
using testing::internal::GetCapturedStdout;
using xk::test::Label;
using xk::test::ListItems;

// A kest home in a scratch folder with a few files.
class KestHome {
 public:
  KestHome() { setenv("KESTHOME", dir_.Path().c_str(), 1); }
  std::string Add(const std::string& name) { return dir_.Write(name, "x\n"); }
  const std::string& Dir() const { return dir_.Path(); }

 private:
  xk::test::TempDir dir_{"xkhome"};
};

// Every test reads its application resources from a shell of its own, so
// the entries one test puts into the display's database reach no other.
Widget Shell(const char* name, std::initializer_list<const char*> lines) {
  Widget top = xk::test::TopLevel();
  XrmDatabase db = XtDatabase(XtDisplay(top));
  for (const char* line : lines) XrmPutLineResource(&db, (std::string(name) + "." + line).c_str());
  theAppShell = XtAppCreateShell(name, "xkest", applicationShellWidgetClass, XtDisplay(top), nullptr, 0);
  theOpts = OptsCl();
  theDsm = DsmCl();
  return theAppShell;
}

TEST(OptsResources, DefaultsWithoutAnyResource) {
  KestHome home;
  Shell("optsDefaults", {});
  theOpts.LoadResources();
  EXPECT_STREQ(theOpts.GetTemplatePath().c_str(), (home.Dir() + "/cpp_std.tem").c_str());
  EXPECT_STREQ(theOpts.GetOutputDir().c_str(), "/tmp");
  EXPECT_STREQ(theOpts.GetHomeDir().c_str(), home.Dir().c_str());
  EXPECT_EQ(theOpts.GetNoCxxKeywords(), 1);
  EXPECT_EQ(theOpts.GetNoAdaKeywords(), 0);
  EXPECT_EQ(theOpts.GetShowFiles(), 1);
  EXPECT_EQ(theOpts.GetShowSummary(), 1);
  EXPECT_EQ(theOpts.GetTemTrace(), 0);
  EXPECT_EQ(theOpts.GetMakeBackups(), 1);
  EXPECT_STREQ(theOpts.GetBackupExts().c_str(), "C bkC h bkh cxx bkc hxx bkh");
  EXPECT_STREQ(theOpts.GetToolHTMLBrowser().c_str(), "netscape");
  EXPECT_STREQ(theOpts.GetToolFileEditor().c_str(), "emacs");
}

TEST(OptsResources, ResourceValuesAndKestHomeExpansion) {
  KestHome home;
  Shell("optsValues", {"templatePath: $KESTHOME/t/$KESTHOME.tem", "outputDir: $KESTHOME/gen",
                       "noCxxKeywords: False", "temTrace: on", "makeBackups: no",
                       "backupExts: .x .y", "toolFileEditor: xterm -e vi",
                       "showSummary: maybe"});
  theOpts.LoadResources();
  const std::string& h = home.Dir();
  EXPECT_STREQ(theOpts.GetTemplatePath().c_str(), (h + "/t/" + h + ".tem").c_str());
  EXPECT_STREQ(theOpts.GetOutputDir().c_str(), (h + "/gen").c_str());
  EXPECT_EQ(theOpts.GetNoCxxKeywords(), 0);
  EXPECT_EQ(theOpts.GetTemTrace(), 1);
  EXPECT_EQ(theOpts.GetMakeBackups(), 0);
  EXPECT_EQ(theOpts.GetShowSummary(), 1);  // not a Boolean: the default stays
  EXPECT_STREQ(theOpts.GetBackupExts().c_str(), ".x .y");
  EXPECT_STREQ(theOpts.GetToolFileEditor().c_str(), "xterm -e vi");
}

TEST(OptsResources, UnsetKestHomeEndsTheProgram) {
  Shell("optsNoHome", {});
  EXPECT_EXIT(
      {
        unsetenv("KESTHOME");
        theOpts.LoadResources();
      },
      testing::ExitedWithCode(1),
      "");
}

// The dialog's widgets, created and stored as the resource description does.
struct Dialog {
  Widget form, dsmTitle, temLabel, outLabel, bak, editor, browser;
  Widget toggles[6];
  int changes = 0;
};

void CountChange(Widget, XtPointer client, XtPointer) { ++static_cast<Dialog*>(client)->changes; }

void MakeDialog(Dialog& d) {
  d.form = XmCreateRowColumn(theAppShell, const_cast<char*>("opts"), nullptr, 0);
  auto make = [&](WidgetClass cls, const char* name) {
    return XtCreateManagedWidget(name, cls, d.form, nullptr, 0);
  };
  d.dsmTitle = make(xmLabelWidgetClass, "dsmTitle");
  d.temLabel = make(xmLabelWidgetClass, "temLabel");
  d.outLabel = make(xmLabelWidgetClass, "outLabel");
  d.bak = make(xmTextFieldWidgetClass, "bak");
  d.editor = make(xmTextFieldWidgetClass, "editor");
  d.browser = make(xmTextFieldWidgetClass, "browser");
  for (Widget& t : d.toggles) {
    t = make(xmToggleButtonWidgetClass, "toggle");
    XtAddCallback(t, XmNvalueChangedCallback, CountChange, &d);
  }
  theOpts.SetDsmTitleWidget(d.dsmTitle, nullptr, nullptr);
  theOpts.SetTemplateWidget(d.temLabel, nullptr, nullptr);
  theOpts.SetOutputDirWidget(d.outLabel, nullptr, nullptr);
  theOpts.SetBackupExtsWidget(d.bak, nullptr, nullptr);
  theOpts.SetFileToolText(d.editor, nullptr, nullptr);
  theOpts.SetHTMLToolText(d.browser, nullptr, nullptr);
  theOpts.SetMakeBackupsWidget(d.toggles[0], nullptr, nullptr);
  theOpts.SetAdaKeywordsWidget(d.toggles[1], nullptr, nullptr);
  theOpts.SetCxxKeywordsWidget(d.toggles[2], nullptr, nullptr);
  theOpts.SetShowFilesWidget(d.toggles[3], nullptr, nullptr);
  theOpts.SetShowSummaryWidget(d.toggles[4], nullptr, nullptr);
  theOpts.SetTemTraceWidget(d.toggles[5], nullptr, nullptr);
}

TEST(OptsDialog, UpdateWidgetsShowsEverySettingWithoutNotifying) {
  KestHome home;
  Shell("optsUpdate", {"outputDir: /o", "noAdaKeywords: True", "temTrace: True"});
  Dialog d;
  MakeDialog(d);
  theOpts.LoadResources();
  theOpts.UpdateWidgets();
  EXPECT_EQ(Label(d.dsmTitle), "DSM File: None");
  EXPECT_EQ(Label(d.temLabel), home.Dir() + "/cpp_std.tem");
  EXPECT_EQ(Label(d.outLabel), "/o");
  char* bak = XmTextFieldGetString(d.bak);
  EXPECT_STREQ(bak, "C bkC h bkh cxx bkc hxx bkh");
  XtFree(bak);
  // makeBackups, noAda, noCxx, showFiles, showSummary, temTrace
  const bool expected[6] = {true, true, true, true, true, true};
  for (int i = 0; i < 6; ++i) EXPECT_EQ(XmToggleButtonGetState(d.toggles[i]), expected[i]) << i;
  // Toggle i shows the bits of i + 1 over three rounds: a setting shown in
  // another's toggle differs in some round.
  for (int round = 0; round < 3; ++round) {
    auto bit = [round](int i) { return ((i + 1) >> round) & 1; };
    theOpts.SetMakeBackups(bit(0));
    theOpts.SetNoAdaKeywords(bit(1));
    theOpts.SetNoCxxKeywords(bit(2));
    theOpts.SetShowFiles(bit(3));
    theOpts.SetShowSummary(bit(4));
    theOpts.SetTemTrace(bit(5));
    theOpts.UpdateWidgets();
    for (int i = 0; i < 6; ++i)
      EXPECT_EQ(XmToggleButtonGetState(d.toggles[i]), bit(i)) << "round " << round << ", toggle " << i;
  }
  EXPECT_EQ(d.changes, 0);
}

TEST(OptsDialog, HandlersCopyTheCallingWidgetsState) {
  KestHome home;
  Shell("optsHandlers", {});
  Dialog d;
  MakeDialog(d);
  theOpts.LoadResources();
  theOpts.UpdateWidgets();
  XtAddCallback(d.toggles[1], XmNvalueChangedCallback,
                [](Widget w, XtPointer, XtPointer) { theOpts.HandleAdaKeywordsChange(w, nullptr, nullptr); },
                nullptr);
  XtAddCallback(d.editor, XmNvalueChangedCallback,
                [](Widget w, XtPointer, XtPointer) { theOpts.HandleFileToolChange(w, nullptr, nullptr); },
                nullptr);
  OptsCl before = theOpts;

  XmToggleButtonSetState(d.toggles[1], True, True);
  EXPECT_EQ(theOpts.GetNoAdaKeywords(), 1);
  XmToggleButtonSetState(d.toggles[1], False, True);
  EXPECT_EQ(theOpts.GetNoAdaKeywords(), 0);
  EXPECT_EQ(theOpts.GetShowFiles(), before.GetShowFiles());
  EXPECT_EQ(theOpts.GetNoCxxKeywords(), before.GetNoCxxKeywords());

  XmTextFieldSetString(d.editor, const_cast<char*>(""));
  EXPECT_STREQ(theOpts.GetToolFileEditor().c_str(), "");
  XmTextFieldSetString(d.editor, const_cast<char*>("  gvim -f "));
  EXPECT_STREQ(theOpts.GetToolFileEditor().c_str(), "  gvim -f ");
  EXPECT_STREQ(theOpts.GetBackupExts().c_str(), before.GetBackupExts().c_str());
}

TEST(OptsDialog, MissingWidgetsAreSkipped) {
  KestHome home;
  Shell("optsNoWidgets", {});
  theOpts.LoadResources();
  theOpts.UpdateWidgets();
  theOpts.SetTemFileFilter(nullptr, nullptr, nullptr);
  theOpts.SetOutDirFilter(nullptr, nullptr, nullptr);
  theOpts.SetTemplateFromFSDialog(nullptr, nullptr, nullptr);
  theOpts.SetOutputDir(nullptr, nullptr, nullptr);
  // A handler without a toggle or text to read leaves its setting alone,
  // also when it is named on the wrong kind of widget.
  Widget label = XtCreateWidget("notAToggle", xmLabelWidgetClass, theAppShell, nullptr, 0);
  for (Widget w : {static_cast<Widget>(nullptr), label}) {
    SCOPED_TRACE(w ? "label" : "null");
    theOpts.HandleShowFilesChange(w, nullptr, nullptr);
    theOpts.HandleMakeBackupsChange(w, nullptr, nullptr);
    theOpts.HandleHTMLToolChange(w, nullptr, nullptr);
    theOpts.HandleBackupExtsChange(w, nullptr, nullptr);
    EXPECT_EQ(theOpts.GetShowFiles(), 1);
    EXPECT_EQ(theOpts.GetMakeBackups(), 1);
    EXPECT_STREQ(theOpts.GetToolHTMLBrowser().c_str(), "netscape");
    EXPECT_STREQ(theOpts.GetBackupExts().c_str(), "C bkC h bkh cxx bkc hxx bkh");
  }
  XtDestroyWidget(label);
}

TEST(OptsDialog, TemplateFilterListsOnlyTemplatesOfKestHome) {
  KestHome home;
  home.Add("a.tem");
  home.Add("b.tem");
  home.Add("notes.txt");
  Shell("optsFilter", {});
  theOpts.LoadResources();
  Widget fsb = XmCreateFileSelectionDialog(theAppShell, const_cast<char*>("temDlg"), nullptr, 0);
  theOpts.SetTemFileSelectDlgWidget(fsb, nullptr, nullptr);
  theOpts.SetTemFileFilter(nullptr, nullptr, nullptr);

  EXPECT_EQ(ListItems(XmFileSelectionBoxGetChild(fsb, XmDIALOG_LIST)), (std::vector<std::string>{home.Dir() + "/a.tem", home.Dir() + "/b.tem"}));
}

// The call data of a file selection dialog's OK: the typed or picked
// text and the folder shown.
struct FileOk {
  FileOk(const std::string& value, const std::string& dir) {
    cbs.value = XmStringCreateSimple(const_cast<char*>(value.c_str()));
    cbs.dir = XmStringCreateSimple(const_cast<char*>(dir.c_str()));
  }
  ~FileOk() {
    XmStringFree(cbs.value);
    XmStringFree(cbs.dir);
  }
  XmFileSelectionBoxCallbackStruct cbs{};
};

// The message dialog of the program's short messages, stored as the
// resource description does; Shown() is its text while it is up.
struct MsgDialog {
  MsgDialog() : dlg(XmCreateInformationDialog(theAppShell, const_cast<char*>("msgDlg"), nullptr, 0)) {
    theMsg.SetMsgDialogWidget(dlg, nullptr, nullptr);
  }
  std::string Shown() {
    if (!XtIsManaged(dlg)) return "";
    std::string out = Label(dlg, XmNmessageString);
    XtUnmanageChild(dlg);
    return out;
  }
  Widget dlg;
};

TEST(OptsDialog, FileDialogChoicesAndEmptyChoices) {
  KestHome home;
  std::string tem = home.Add("y.tem");
  Shell("optsChoice", {});
  Dialog d;
  MakeDialog(d);
  theOpts.LoadResources();
  {
    FileOk ok(tem, "/gen/out/");
    theOpts.SetTemplateFromFSDialog(nullptr, nullptr, &ok.cbs);
  }
  {
    FileOk ok("", home.Dir() + "/");
    theOpts.SetOutputDir(nullptr, nullptr, &ok.cbs);
  }
  EXPECT_EQ(theOpts.GetTemplatePath().c_str(), tem);
  EXPECT_EQ(theOpts.GetOutputDir().c_str(), home.Dir()) << "the folder shown, when none is named";
  EXPECT_EQ(Label(d.temLabel), tem);

  // An empty choice keeps the setting but still refreshes the widgets.
  theOpts.SetNoAdaKeywords(1);
  FileOk none("", "/gen/out/");
  theOpts.SetTemplateFromFSDialog(nullptr, nullptr, &none.cbs);
  EXPECT_EQ(theOpts.GetTemplatePath().c_str(), tem);
  EXPECT_TRUE(XmToggleButtonGetState(d.toggles[1]));
}

TEST(OptsDialog, TypedOutputFolderIsTheDialogsSubfolderAndMustExist) {
  KestHome home;
  std::string sub = home.Dir() + "/sub";
  ASSERT_EQ(mkdir(sub.c_str(), 0700), 0);
  Shell("optsOutDir", {"outputDir: /tmp"});
  MsgDialog msg;
  theOpts.LoadResources();
  {
    FileOk ok("sub", home.Dir() + "/");
    theOpts.SetOutputDir(nullptr, nullptr, &ok.cbs);
  }
  EXPECT_EQ(theOpts.GetOutputDir().c_str(), sub);
  EXPECT_EQ(msg.Shown(), "");
  {
    FileOk ok("gone", home.Dir() + "/");
    theOpts.SetOutputDir(nullptr, nullptr, &ok.cbs);
  }
  EXPECT_EQ(theOpts.GetOutputDir().c_str(), sub);
  EXPECT_EQ(msg.Shown(), "The output folder '" + home.Dir() + "/gone' does not exist.  Output folder unchanged.");
  rmdir(sub.c_str());
}

TEST(OptsDialog, TemplateChoiceThatIsNoFileIsRefused) {
  KestHome home;
  std::string tem = home.Add("a.tem");
  Shell("optsTemChoice", {});
  MsgDialog msg;
  theOpts.LoadResources();
  theOpts.SetTemplatePath(tem.c_str());
  {
    FileOk ok(home.Dir() + "/", home.Dir() + "/");  // OK with no file picked
    theOpts.SetTemplateFromFSDialog(nullptr, nullptr, &ok.cbs);
  }
  EXPECT_EQ(theOpts.GetTemplatePath().c_str(), tem);
  EXPECT_EQ(msg.Shown(), "The template file '" + home.Dir() +
                             "' does not exist or is not a file.  Template path unchanged.");
  std::string other = home.Add("b.tem");
  {
    FileOk ok("b.tem", home.Dir() + "/");  // typed: relative to the folder shown
    theOpts.SetTemplateFromFSDialog(nullptr, nullptr, &ok.cbs);
  }
  EXPECT_EQ(theOpts.GetTemplatePath().c_str(), other);
  EXPECT_EQ(msg.Shown(), "");
}

TEST(OptsTemplatePath, ExistingFileIsTakenMissingFileIsRefused) {
  KestHome home;
  std::string cpp = home.Add("cpp_std.tem");
  Shell("optsTemPath", {"templatePath: /old.tem"});
  Dialog d;
  MakeDialog(d);
  theOpts.LoadResources();
  theOpts.UpdateWidgets();

  CaptureStdout();
  theOpts.SetTemplatePath(nullptr, const_cast<char*>("$KESTHOME/missing.tem"), nullptr);
  EXPECT_EQ(GetCapturedStdout(), "**Error: The template file path (" + home.Dir() +
                                     "/missing.tem) does not exist.  Template path unchanged.\n");
  EXPECT_STREQ(theOpts.GetTemplatePath().c_str(), "/old.tem");

  CaptureStdout();
  theOpts.SetTemplatePath(nullptr, const_cast<char*>(""), nullptr);
  theOpts.SetTemplatePath(nullptr, nullptr, nullptr);
  theOpts.SetTemplatePath(nullptr, const_cast<char*>("$KESTHOME"), nullptr);  // a directory
  std::string out = GetCapturedStdout();
  EXPECT_EQ(out.find("missing"), std::string::npos);
  EXPECT_NE(out.find("(" + home.Dir() + ") does not exist"), std::string::npos);
  EXPECT_STREQ(theOpts.GetTemplatePath().c_str(), "/old.tem");
  EXPECT_EQ(Label(d.temLabel), "/old.tem");

  theOpts.SetTemplatePath(nullptr, const_cast<char*>("$KESTHOME/cpp_std.tem"), nullptr);
  EXPECT_STREQ(theOpts.GetTemplatePath().c_str(), cpp.c_str());
  EXPECT_EQ(Label(d.temLabel), cpp);
}

TEST(TemplateCatalogue, ReportsOnlyTheFirstMissingResource) {
  Shell("catInfo", {"full-file: $KESTHOME/f.tem", "full-title: Full", "full-desc: All three",
                    "notitle-file: f", "nofile-title: T", "nofile-desc: D",
                    "nodesc-file: f", "nodesc-title: T"});
  struct Case {
    const char* id;
    int result;
    const char* printed;
  } cases[] = {
      {"full", 1, ""},
      {"notitle", 0, "**Unsuccessful getting 'title' resource for template ID notitle\n"},
      {"nofile", 0, "**Unsuccessful getting 'file' resource for template ID nofile\n"},
      {"nodesc", 0, "**Unsuccessful getting 'desc' resource for template ID nodesc\n"},
      {"unknown", 0, "**Unsuccessful getting 'file' resource for template ID unknown\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.id);
    Str file("old"), title("old"), desc("old");
    CaptureStdout();
    EXPECT_EQ(GetTemplateInfo(c.id, file, title, desc, 1), c.result);
    EXPECT_EQ(GetCapturedStdout(), c.printed);
    if (c.result) {
      EXPECT_STREQ(file.c_str(), "$KESTHOME/f.tem");
      EXPECT_STREQ(title.c_str(), "Full");
      EXPECT_STREQ(desc.c_str(), "All three");
    } else {
      EXPECT_STREQ(file.c_str(), "old");
      EXPECT_STREQ(title.c_str(), "old");
      CaptureStdout();
      EXPECT_EQ(GetTemplateInfo(c.id, file, title, desc, 0), 0);
      EXPECT_EQ(GetCapturedStdout(), "");
    }
  }
}

std::vector<Widget> Children(Widget parent) {
  WidgetList kids = nullptr;
  Cardinal n = 0;
  XtVaGetValues(parent, XmNchildren, &kids, XmNnumChildren, &n, nullptr);
  return std::vector<Widget>(kids, kids + n);
}

TEST(TemplateCatalogue, QuickItemsInOrderAndTheirPress) {
  KestHome home;
  std::string cpp = home.Add("cpp_std.tem");
  Shell("catItems", {"cpp-file: $KESTHOME/cpp_std.tem", "cpp-title: C++ classes", "cpp-desc: d",
                     "ada-file: $KESTHOME/ada.tem", "ada-title: Ada", "ada-desc: d",
                     "broken-file: x"});
  Dialog d;
  MakeDialog(d);
  Widget row = XmCreateRowColumn(theAppShell, const_cast<char*>("quick"), nullptr, 0);
  theOpts.SetQuickItems(row, const_cast<char*>("  cpp\tbroken ada \n cpp"), nullptr);
  CaptureStdout();
  theOpts.LoadResources();
  EXPECT_EQ(GetCapturedStdout(), "**Unsuccessful getting 'title' resource for template ID broken\n");

  std::vector<Widget> buttons = Children(row);
  ASSERT_EQ(buttons.size(), 3u);
  const char* names[] = {"cppbutton", "adabutton", "cppbutton"};
  const char* labels[] = {"C++ classes", "Ada", "C++ classes"};
  for (size_t i = 0; i < buttons.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_STREQ(XtName(buttons[i]), names[i]);
    EXPECT_EQ(Label(buttons[i]), labels[i]);
    EXPECT_TRUE(XtIsManaged(buttons[i]));
  }

  XtCallCallbacks(buttons[0], XmNactivateCallback, nullptr);
  EXPECT_STREQ(theOpts.GetTemplatePath().c_str(), cpp.c_str());
  EXPECT_EQ(Label(d.temLabel), cpp);

  CaptureStdout();
  XtCallCallbacks(buttons[1], XmNactivateCallback, nullptr);
  EXPECT_NE(GetCapturedStdout().find("ada.tem) does not exist"), std::string::npos);
  EXPECT_STREQ(theOpts.GetTemplatePath().c_str(), cpp.c_str());
}

TEST(TemplateCatalogue, NoParentOrNoIdsMakeNoButtons) {
  KestHome home;
  Shell("catNone", {"cpp-file: f", "cpp-title: t", "cpp-desc: d"});
  theOpts.SetQuickItems(nullptr, const_cast<char*>("cpp"), nullptr);
  theOpts.LoadResources();  // must not touch the missing parent
  // A parent that cannot hold children: nothing, rather than a toolkit error.
  Widget label = XtCreateWidget("label", xmLabelWidgetClass, theAppShell, nullptr, 0);
  BuildQuickItems(label, Str("cpp"));
  XtDestroyWidget(label);
  Widget row = XmCreateRowColumn(theAppShell, const_cast<char*>("quick"), nullptr, 0);
  CaptureStdout();
  BuildQuickItems(row, Str(""));
  BuildQuickItems(row, Str(" \t\n"));
  EXPECT_EQ(GetCapturedStdout(), "");
  EXPECT_TRUE(Children(row).empty());
}

}  // namespace
