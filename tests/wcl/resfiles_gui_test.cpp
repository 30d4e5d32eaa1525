// Loading resource files: the name checks, "~" expansion, the path
// searches, and the start-up chain through wclResFiles.
#include <gtest/gtest.h>

#include <X11/IntrinsicP.h>
#include <Xm/BulletinB.h>
#include <Xm/Label.h>
#include <Xm/LabelG.h>
#include <Xm/RowColumnP.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "common/ScopedEnv.h"
#include "common/TempDir.h"
#include "creation_support.h"
#include "wcl/WcCreate.h"
#include "xmp/Xmp.h"

namespace {

using xk::test::CaptureWarnings;
using xk::test::ScopedEnv;

std::vector<std::string> g_reads;  // every path handed to the reader

XrmDatabase RecordRead(const char* path) {
  g_reads.push_back(path);
  return XrmGetFileDatabase(path);
}

// One scratch folder for the whole program, removed when it ends.
const xk::test::TempDir& Scratch() {
  static const xk::test::TempDir dir("wclres");
  return dir;
}

// Xt reads XFILESEARCHPATH once, when the first display opens: set it
// before any test runs.
const bool kAppDefaultsPathSet = [] {
  return setenv("XFILESEARCHPATH", (Scratch().Path() + "/app/%N").c_str(), 1) == 0;
}();

std::string Lookup(XrmDatabase db, const char* name) {
  char* type = nullptr;
  XrmValue value{};
  if (!XrmGetResource(db, name, name, &type, &value)) return "";
  return value.addr;
}

class ResFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    g_reads.clear();
    saved_ = WcSetReadFileProc(RecordRead);
  }
  void TearDown() override { WcSetReadFileProc(saved_); }
  WcReadFileProc saved_ = nullptr;
};

TEST_F(ResFiles, NameChecksRefuseBeforeReading) {
  Widget w = xk::test::TopLevel();
  struct Case {
    std::string name;
    const char* warning;  // null: the name is tried as given
  };
  const Case cases[] = {
      {"", "Wcl Warning: WcLoadResourceFile() - No file name provided."},
      {"/tmp/dir/", "Wcl Warning: WcLoadResourceFile( /tmp/dir/ ) - File must not end with "
                    "slash ('/')"},
      {"/" + std::string(1022, 'x'), nullptr},
      {"/" + std::string(1023, 'x'), "File name too long."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name.size());
    g_reads.clear();
    CaptureWarnings capture;
    XrmDatabase db = nullptr;
    EXPECT_EQ(WcLoadResourceFile(w, c.name.c_str(), &db), 0);
    ASSERT_EQ(capture.Messages().size(), 1u);
    if (c.warning) {
      EXPECT_NE(capture.Messages()[0].find(c.warning), std::string::npos) << capture.Text();
      EXPECT_TRUE(g_reads.empty());
    } else {
      EXPECT_EQ(g_reads, std::vector<std::string>{c.name});
      EXPECT_NE(capture.Messages()[0].find("not found, not readable"), std::string::npos);
    }
  }
}

// A FIFO named as a resource file or message database is refused, not
// waited on: the program would never start. The alarm ends a hang.
TEST_F(ResFiles, AFifoIsRefusedNotWaitedOn) {
  Widget w = xk::test::TopLevel();
  const std::string fifo = Scratch().Path() + "/fifo.ad";
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  WcSetReadFileProc(nullptr);
  alarm(20);
  CaptureWarnings capture;
  XrmDatabase db = nullptr;
  EXPECT_EQ(WcLoadResourceFile(w, fifo.c_str(), &db), 0);
  EXPECT_NE(capture.Text().find("not found, not readable, or wrong type"), std::string::npos)
      << capture.Text();
  const XrmDatabase saved = WcErrorDatabase;
  WcLoadErrorDatabase(XtWidgetToApplicationContext(w), fifo.c_str());
  EXPECT_EQ(WcErrorDatabase, nullptr);
  alarm(0);
  WcErrorDatabase = saved;
  unlink(fifo.c_str());
}

TEST_F(ResFiles, TildeUsesHomeThenTheUsersPasswordEntry) {
  Widget w = xk::test::TopLevel();
  Scratch().Write("home/tilde.ad", "*fromHome: yes\n");
  const struct passwd* me = getpwuid(getuid());
  ASSERT_NE(me, nullptr);
  std::string myHome = me->pw_dir;
  {
    ScopedEnv home("HOME", Scratch().Path() + "/home");
    XrmDatabase db = nullptr;
    EXPECT_EQ(WcLoadResourceFile(w, "~/tilde.ad", &db), 1);
    EXPECT_EQ(Lookup(db, "x.fromHome"), "yes");
  }
  {
    ScopedEnv home("HOME", std::nullopt);
    ScopedEnv user("USER", std::string(me->pw_name));
    CaptureWarnings capture;
    XrmDatabase db = nullptr;
    WcLoadResourceFile(w, "~/surely-missing.ad", &db);
    EXPECT_EQ(g_reads.back(), myHome + "/surely-missing.ad");
    ASSERT_EQ(capture.Messages().size(), 1u);
    EXPECT_EQ(capture.Messages()[0],
              "Wcl Warning: WcLoadResourceFile( ~/surely-missing.ad )\n\t- File <" + myHome +
                  "/surely-missing.ad> not found, not readable, or wrong type.");
  }
  {
    CaptureWarnings capture;
    XrmDatabase db = nullptr;
    std::string longRest = "~/" + std::string(1020, 'y');
    EXPECT_EQ(WcLoadResourceFile(w, longRest.c_str(), &db), 0);
    ASSERT_EQ(capture.Messages().size(), 1u);
    EXPECT_NE(capture.Messages()[0].find("- Expanded name too long: "), std::string::npos);
  }
}

TEST_F(ResFiles, RelativeNamesSearchTheCurrentDirectoryThenBothPaths) {
  Widget w = xk::test::TopLevel();
  Scratch().Write("cwd/local.ad", "*where: cwd\n");
  Scratch().Write("app/both.ad", "*where: app\n*onlyApp: yes\n");
  Scratch().Write("user/both.ad", "*where: user\n");
  ScopedEnv userPath("XUSERFILESEARCHPATH", Scratch().Path() + "/user/%N");
  ASSERT_TRUE(kAppDefaultsPathSet);
  char saved[4096];
  ASSERT_NE(getcwd(saved, sizeof saved), nullptr);
  ASSERT_EQ(chdir((Scratch().Path() + "/cwd").c_str()), 0);

  XrmDatabase local = nullptr;
  EXPECT_EQ(WcLoadResourceFile(w, "local.ad", &local), 1);
  EXPECT_EQ(g_reads, std::vector<std::string>{"local.ad"}) << "nothing else is searched";

  g_reads.clear();
  XrmDatabase both = nullptr;
  EXPECT_EQ(WcLoadResourceFile(w, "both.ad", &both), 1);
  EXPECT_EQ(Lookup(both, "x.where"), "user") << "the user's file wins";
  EXPECT_EQ(Lookup(both, "x.onlyApp"), "yes") << "the application defaults are read too";

  ASSERT_EQ(chdir(saved), 0);
}

// Without XUSERFILESEARCHPATH the user's path is built from XAPPLRESDIR
// and HOME; with it, that path alone is searched.
TEST_F(ResFiles, UserPathComesFromTheEnvironment) {
  Widget w = xk::test::TopLevel();
  const std::string dir = Scratch().Path() + "/applres", home = Scratch().Path() + "/userhome";
  Scratch().Write("applres/inDir.ad", "*inDir: yes\n");
  Scratch().Write("userhome/inHome.ad", "*inHome: yes\n");
  Scratch().Write("other/inOther.ad", "*inOther: yes\n");
  struct Case {
    std::optional<std::string> userFileSearchPath, applResDir;
    const char* name;
    int loaded;
  };
  const Case cases[] = {
      {std::nullopt, dir, "inDir.ad", 1},
      {std::nullopt, dir, "inHome.ad", 1},
      {std::nullopt, std::nullopt, "inHome.ad", 1},
      {std::nullopt, std::nullopt, "inDir.ad", 0},
      {Scratch().Path() + "/other/%N", dir, "inOther.ad", 1},
      {Scratch().Path() + "/other/%N", dir, "inHome.ad", 0},
      {"", std::nullopt, "inHome.ad", 1},  // set but empty counts as unset
  };
  ScopedEnv homeEnv("HOME", home);
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.name) + " " + c.userFileSearchPath.value_or("-") + " " +
                 c.applResDir.value_or("-"));
    ScopedEnv userPath("XUSERFILESEARCHPATH", c.userFileSearchPath);
    ScopedEnv applResDir("XAPPLRESDIR", c.applResDir);
    CaptureWarnings capture;
    XrmDatabase db = nullptr;
    EXPECT_EQ(WcLoadResourceFile(w, c.name, &db), c.loaded);
    EXPECT_EQ(capture.Messages().size(), c.loaded ? 0u : 1u) << capture.Text();
  }
}

TEST_F(ResFiles, StartupLoadsChainedFilesOnce) {
  std::string b = Scratch().Write("chain/b.ad",
                                  "*fromB: yes\n*wclResFiles: " + Scratch().At("chain/a.ad") + "\n");
  std::string a = Scratch().Write("chain/a.ad", "*fromA: yes\n*wclResFiles: " + b + " " + b + "\n");
  std::string init = Scratch().Write("chain/init.ad", "*fromInit: yes\n");
  Widget root = xk::test::NewContextRoot(
      "chained", {"*wclInitResFile: " + init + " ignored.ad", "*wclResFiles: " + a + ", " + a,
                  "*wclTraceResFiles: True"});
  ASSERT_NE(root, nullptr);
  CaptureWarnings capture;
  WcInitialize(root);
  EXPECT_EQ(g_reads, (std::vector<std::string>{init, a, b}));
  EXPECT_EQ(capture.Text(),
            "Wcl loaded: " + init + "\nWcl loaded: " + a + "\nWcl loaded: " + b + "\n");
  XrmDatabase db = XtScreenDatabase(XtScreen(root));
  EXPECT_EQ(Lookup(db, "chained.fromB"), "yes");

  g_reads.clear();
  WcInitialize(root);
  EXPECT_TRUE(g_reads.empty()) << "the start-up runs once per application context";
  EXPECT_EQ(WcLoadResourceFileOnce(root, a.c_str()), 0);
  EXPECT_TRUE(g_reads.empty());
}

void Noop(Widget, XtPointer, XtPointer) {}
Widget MakeNothing(Widget, String, ArgList, Cardinal) { return nullptr; }

// Every message of the creation layer and the Motif support set, raised the
// way a resource description or a caller raises it, with an entry of its
// own in a message database loaded at start-up through
// wclErrorDatabaseFile. Each entry holds as many %s as its message has
// arguments, so each message prints its database text, never a directive
// mismatch. Allocation and fork failures cannot be raised here; the two
// messages that end the process are raised in death tests.
TEST_F(ResFiles, EveryMessageTakesItsDatabaseText) {
  using Raise = std::function<void()>;
  struct Row {
    std::string key;
    int args;
    Raise raise;
  };
  Widget box = nullptr, lab = nullptr;
  XtAppContext app = nullptr;
  auto act = [&box](const char* action, std::vector<const char*> params) {
    std::vector<String> list;
    for (const char* p : params) list.push_back(const_cast<String>(p));
    XtCallActionProc(box, action, nullptr, list.data(), static_cast<Cardinal>(list.size()));
  };
  auto cb = [&box](XtCallbackProc proc, const char* text) {
    proc(box, const_cast<char*>(text), nullptr);
  };
  auto load = [&box](const std::string& name) {
    XrmDatabase db = nullptr;
    WcLoadResourceFile(box, name.c_str(), &db);
    XrmDestroyDatabase(db);
  };
  auto convert = [](Widget w, const char* text, const char* type) {
    XrmValue from{static_cast<unsigned>(std::strlen(text) + 1),
                  const_cast<XPointer>(text)};
    XrmValue to{0, nullptr};
    XtConvertAndStore(w, XtRString, &from, type, &to);
  };
  const std::vector<Row> rows = {
      {"WcCreate.missingCreate", 2, [&] { WcCreateNamedChildren(box, "noCreate"); }},
      {"WcCreate.constructorFailed", 3, [&] { WcCreateNamedChildren(box, "failing"); }},
      {"WcCreate.notRegistered", 1, [&] { WcCreateNamedChildren(box, "unknown"); }},
      {"WcCreate.tooDeep", 2, [&] { WcCreateNamedChildren(box, "deep"); }},
      {"WcCreate.templateNotFound", 3, [&] { WcCreateNamedChildren(box, "tpl"); }},
      {"WcCreate.cantHavePopups", 1, [&] { WcCreateNamedPopups(XtNameToWidget(box, "gad"), "p"); }},
      {"WcCreate.cantHaveChildren", 1, [&] { WcCreateNamedChildren(lab, "c"); }},
      {"WcCreate.notShellClass", 3, [&] { WcCreateNamedPopups(box, "lpop"); }},
      {"WcCreate.notWidgetClass", 3,
       [&] { WcCreateNamedChildren(XtNameToWidget(box, "pop"), "sg"); }},
      {"WcWidgetCreation.noChildren", 2,
       [&] {
         WcWidgetCreation(XtAppCreateShell("emptyRoot", "XkTest", applicationShellWidgetClass,
                                           XtDisplay(box), nullptr, 0));
       }},
      {"WcManage.notFound", 2, [&] { act("WcManage", {"nobody"}); }},
      {"WcManage.mustBeChild", 2, [&] { act("WcManage", {"^"}); }},
      {"WcUnmanage.notFound", 2, [&] { act("WcUnmanage", {"nobody"}); }},
      {"WcUnmanage.mustBeChild", 2, [&] { act("WcUnmanage", {"^"}); }},
      {"WcManageChildren.usage", 1, [&] { act("WcManageChildren", {"this"}); }},
      {"WcManageChildren.parentNotFound", 2, [&] { act("WcManageChildren", {"nobody", "x"}); }},
      {"WcManageChildren.childNotFound", 2, [&] { act("WcManageChildren", {"this", "x"}); }},
      {"WcManageChildren.mustBeChild", 2, [&] { act("WcManageChildren", {"this", "pop"}); }},
      {"WcUnmanageChildren.usage", 1, [&] { act("WcUnmanageChildren", {"this"}); }},
      {"WcUnmanageChildren.parentNotFound", 2,
       [&] { act("WcUnmanageChildren", {"nobody", "x"}); }},
      {"WcUnmanageChildren.childNotFound", 2, [&] { act("WcUnmanageChildren", {"this", "x"}); }},
      {"WcUnmanageChildren.mustBeChild", 2, [&] { act("WcUnmanageChildren", {"this", "pop"}); }},
      {"WcDestroy.notFound", 2, [&] { act("WcDestroy", {"nobody"}); }},
      {"WcSetSensitive.notFound", 2, [&] { act("WcSetSensitive", {"nobody"}); }},
      {"WcSetSensitive.mustBeWidget", 2, [&] { act("WcSetSensitive", {"*gad"}); }},
      {"WcSetInsensitive.notFound", 2, [&] { act("WcSetInsensitive", {"nobody"}); }},
      {"WcSetInsensitive.mustBeWidget", 2, [&] { act("WcSetInsensitive", {"*gad"}); }},
      {"WcPopup.notFound", 2, [&] { act("WcPopup", {"nobody"}); }},
      {"WcPopup.mustBeShell", 2, [&] { act("WcPopup", {"*lab"}); }},
      {"WcPopupGrab.notFound", 2, [&] { act("WcPopupGrab", {"nobody"}); }},
      {"WcPopupGrab.mustBeShell", 2, [&] { act("WcPopupGrab", {"*lab"}); }},
      {"WcPopdown.notFound", 2, [&] { act("WcPopdown", {"nobody"}); }},
      {"WcPopdown.mustBeShell", 2, [&] { act("WcPopdown", {"*lab"}); }},
      {"WcMap.notFound", 2, [&] { act("WcMap", {"nobody"}); }},
      {"WcMap.mustBeWidget", 2, [&] { act("WcMap", {"*gad"}); }},
      {"WcMap.mustBeRealized", 2, [&] { act("WcMap", {"*lab"}); }},
      {"WcUnmap.notFound", 2, [&] { act("WcUnmap", {"nobody"}); }},
      {"WcUnmap.mustBeWidget", 2, [&] { act("WcUnmap", {"*gad"}); }},
      {"WcUnmap.mustBeRealized", 2, [&] { act("WcUnmap", {"*lab"}); }},
      {"WcInstallAccelerators.usage", 0, [&] { act("WcInstallAccelerators", {"*lab"}); }},
      {"WcInstallAccelerators.destNotFound", 1,
       [&] { act("WcInstallAccelerators", {"nobody", "*lab"}); }},
      {"WcInstallAccelerators.srcNotFound", 1,
       [&] { act("WcInstallAccelerators", {"*lab", "nobody"}); }},
      {"WcInstallAccelerators.mustBeWidget", 2,
       [&] { act("WcInstallAccelerators", {"*gad", "*lab"}); }},
      {"WcInstallAllAccelerators.usage", 0, [&] { act("WcInstallAllAccelerators", {"*lab"}); }},
      {"WcInstallAllAccelerators.destNotFound", 1,
       [&] { act("WcInstallAllAccelerators", {"nobody", "*lab"}); }},
      {"WcInstallAllAccelerators.srcNotFound", 1,
       [&] { act("WcInstallAllAccelerators", {"*lab", "nobody"}); }},
      {"WcInstallAllAccelerators.mustBeWidget", 2,
       [&] { act("WcInstallAllAccelerators", {"*gad", "*lab"}); }},
      {"WcCreateRoot.usage", 0, [&] { act("WcCreateRoot", {}); }},
      {"WcCreateRoot.openDisplayFailed", 1, [&] { act("WcCreateRoot", {"s", "on:", ":999"}); }},
      {"WcPrintTree.notFound", 2, [&] { act("WcPrintTree", {"nobody"}); }},
      {"WcDumpResources.notFound", 1, [&] { act("WcDumpResources", {"nobody"}); }},
      {"WcSameSize.needTwoOrMore", 1, [&] { act("WcSameSize", {"*lab"}); }},
      {"WcSameSize.notFound", 2, [&] { act("WcSameSize", {"*lab", "nobody"}); }},
      {"WcCreateChildren.noNames", 1, [&] { cb(WcCreateChildrenCB, nullptr); }},
      {"WcCreateChildren.parentNotFound", 2, [&] { cb(WcCreateChildrenCB, "nobody x"); }},
      {"WcCreateChildren.noChildNames", 2, [&] { cb(WcCreateChildrenCB, "this"); }},
      {"WcCreatePopups.noNames", 1, [&] { cb(WcCreatePopupsCB, nullptr); }},
      {"WcCreatePopups.parentNotFound", 2, [&] { cb(WcCreatePopupsCB, "nobody x"); }},
      {"WcCreatePopups.noChildNames", 2, [&] { cb(WcCreatePopupsCB, "this"); }},
      {"WcSetValue.foundNul", 2, [&] { cb(WcSetValueCB, ""); }},
      {"WcSetValue.missingName", 2, [&] { cb(WcSetValueCB, "label: x"); }},
      {"WcSetValue.noResEnd", 2, [&] { cb(WcSetValueCB, "*a.label x"); }},
      {"WcSetValue.noWsInType", 2, [&] { cb(WcSetValueCB, "*a.w(Dim ension): 4"); }},
      {"WcSetValue.emptyType", 2, [&] { cb(WcSetValueCB, "*a.w(): 4"); }},
      {"WcSetValue.missingColon", 2, [&] { cb(WcSetValueCB, "*a.w(Dimension) 4"); }},
      {"WcSetValue.unbalParens", 2, [&] { cb(WcSetValueCB, "(*a.w: 4"); }},
      {"WcSetValue.needsParens", 2, [&] { cb(WcSetValueCB, "(*a.w: 4) *b.h: 5"); }},
      {"WcSetValue.targetNotFound", 2, [&] { cb(WcSetValueCB, "*nobody.width: 4"); }},
      {"WcSetValue.noSuchResource", 2, [&] { cb(WcSetValueCB, "*lab.noSuchThing: 4"); }},
      {"WcAddCallbacks.destNotFound", 2,
       [&] { cb(WcAddCallbacksCB, "nobody activateCallback Noop"); }},
      {"WcRemoveCallbacks.destNotFound", 2,
       [&] { cb(WcRemoveCallbacksCB, "nobody activateCallback Noop"); }},
      {"WcOnceOnly.noSuchCallbackList", 2, [&] { cb(WcOnceOnlyCB, "activateCallback"); }},
      {"WcOnceOnly.usage", 0, [&] { cb(WcOnceOnlyCB, "activateCallback"); }},
      {"WcTranslations.notFound", 1, [&] { cb(WcTranslationsCB, "nobody <Key>a: WcTrace()"); }},
      {"WcTranslations.mustBeWidget", 2,
       [&] { cb(WcTranslationsCB, "*gad <Key>a: WcTrace()"); }},
      {"WcDynamicAction.notSupported", 0, [&] { cb(WcDynamicActionCB, ""); }},
      {"WcDynamicCallback.notSupported", 0, [&] { cb(WcDynamicCallbackCB, ""); }},
      {"WcStringToCallbackList.undefinedCallback", 1,
       [&] { XtFree(reinterpret_cast<char*>(WcStringToCallbackList(box, "NoSuchProc()"))); }},
      {"WcUndefinedCallback.invoked", 1, [&] { cb(WcUndefinedCallback, "NoSuchProc()"); }},
      {"WcLateBinder.cantFindObject", 3,
       [&] {
         XtCallbackList list = WcStringToCallbackList(box, "Editor::open()");
         list->callback(box, list->closure, nullptr);
         XtFree(reinterpret_cast<char*>(list));
       }},
      {"WcLateBinder.notSupported", 1,
       [&] {
         XtCallbackList list = WcStringToCallbackList(box, "-lfoo::bar()");
         list->callback(box, list->closure, nullptr);
         XtFree(reinterpret_cast<char*>(list));
       }},
      {"WcInvokeAction.unbalQuote", 1, [&] { WcInvokeAction(WcPrintTreeACT, box, "'open"); }},
      {"WcRegisterMethod.invalidClassName", 2,
       [&] { WcRegisterMethod(app, "-lx", "m", Noop, nullptr); }},
      {"WcAttachThisToWidget.invalidClassName", 2,
       [&] { WcAttachThisToWidget(box, "-lx", box); }},
      {"WcCvtStringToWidget.notFound", 2, [&] { convert(lab, "nobody", XtRWidget); }},
      {"WcCvtStringToWidget.notInit", 2,
       [&] {
         Widget object = XtCreateWidget("object", objectClass, lab, nullptr, 0);
         convert(object, "nobody", XtRWidget);
         XtDestroyWidget(object);
       }},
      {"WcCvtStringToWidgetList.notFound", 2, [&] { convert(lab, "nobody", XtRWidgetList); }},
      {"WcLoadResourceFile.noFileName", 0, [&] { load(""); }},
      {"WcLoadResourceFile.tooLong", 1, [&] { load("/" + std::string(1023, 'x')); }},
      {"WcLoadResourceFile.slashTerminated", 1, [&] { load("/tmp/dir/"); }},
      {"WcLoadResourceFile.notReadable", 2, [&] { load("/nonexistent/file.ad"); }},
      {"WcLoadResourceFile.tooLongExpanded", 3,
       [&] {
         ScopedEnv home("HOME", "/" + std::string(600, 'h'));
         load("~/" + std::string(600, 'r'));
       }},
      {"XmpPopup.noParams", 0, [&] { act("XmpPopup", {}); }},
      {"XmpPopup.tooManyParams", 2, [&] { act("XmpPopup", {"a", "b"}); }},
      {"XmpPopup.notFound", 3, [&] { act("XmpPopup", {"nobody"}); }},
      {"XmpPopup.notXmRowColumn", 2, [&] { act("XmpPopup", {"*lab"}); }},
      {"XmpPopup.notPopupMenuRowColumn", 2, [&] { act("XmpPopup", {"*rc"}); }},
      {"XmpPopup.notChildOfXmMenu", 2, [&] { act("XmpPopup", {"*fake"}); }},
      {"XmpPopup.notButtonPressEvent", 2, [&] { act("XmpPopup", {"*pm"}); }},
      {"XmpAddMwmCloseCallback.targetNotFound", 1,
       [&] { cb(XmpAddMwmCloseCallbackCB, "nobody Noop"); }},
      {"XmpAddTabGroup.notFound", 1, [&] { act("XmpAddTabGroup", {"nobody"}); }},
      {"XmpAddTabGroup.usage", 0, [&] { act("XmpAddTabGroup", {"a", "b"}); }},
      {"XmpFixTranslations.usage", 0, [&] { act("XmpFixTranslations", {}); }},
      {"XmpFixTranslations.notFound", 1, [&] { act("XmpFixTranslations", {"nobody"}); }},
      {"XmpFixTranslations.notText", 1, [&] { act("XmpFixTranslations", {"*lab"}); }},
      {"XmpMessageWidget.notXmText", 1, [&] { act("XmpMessageWidget", {"*lab"}); }},
      {"XmpMessageWidget.usage", 0, [&] { act("XmpMessageWidget", {"a", "b"}); }},
      {"XmpMessageWidget.notFound", 2, [&] { act("XmpMessageWidget", {"nobody"}); }},
  };
  std::vector<Row> all = rows;
  for (const char* op : {"XmpTableChildConfig", "XmpTableChildPosition",
                         "XmpTableChildResize", "XmpTableChildOptions"}) {
    const bool options = std::strcmp(op, "XmpTableChildOptions") == 0;
    auto with = [&act, op, options](const char* name) {
      if (options) act(op, {name, "l"});
      else act(op, {name, "1", "1"});
    };
    all.push_back({std::string(op) + ".wrongNumArgs", 0, [&act, op] { act(op, {"x"}); }});
    all.push_back({std::string(op) + ".widgetNotFound", 1, [with] { with("nobody"); }});
    all.push_back({std::string(op) + ".notXmpTable", 1, [with] { with("*lab"); }});
  }

  // The database: "DB" and the key, then the message's own number of %s.
  std::string entries;
  for (const Row& r : all) {
    entries += r.key + ": DB " + r.key;
    for (int i = 0; i < r.args; ++i) entries += " [%s]";
    entries += "\n";
  }
  for (const char* key : {"WcStrCpy.nullTarget", "WcStrCat.nullTarget"})
    entries += std::string(key) + ": DB " + key + "\n";
  const std::string dbFile = Scratch().Write("messages/ErrorDB", entries);

  Widget root = xk::test::NewContextRoot(
      "msgdb", {"msgdb.wclErrorDatabaseFile: " + dbFile, "msgdb.wclVerboseWarnings: True",
                "*noCreate.foreground: red", "*failing.wcCreate: MakeNothing",
                "*unknown.wcCreate: NoSuchClass", "*deep.wcClass: Composite",
                "*deep.wcChildren: deep", "*tpl.wcTemplate: NoSuchTemplate",
                "*tpl.wcClass: Composite", "*lpop.wcCreate: XmLabel",
                "*sg.wcCreate: XmLabelGadget"});
  ASSERT_NE(root, nullptr);
  const XrmDatabase saved = WcErrorDatabase;
  app = XtWidgetToApplicationContext(root);
  WcInitialize(root);
  ASSERT_NE(WcErrorDatabase, saved);
  XmpRegisterAll(app);
  WcRegisterConstructor(app, "MakeNothing", MakeNothing);
  WcRegisterCallback(app, "Noop", Noop, nullptr);
  WcRegisterMethod(app, "Editor", "open", Noop, nullptr);
  box = XtCreateManagedWidget("box", xmBulletinBoardWidgetClass, root, nullptr, 0);
  lab = XtCreateManagedWidget("lab", xmLabelWidgetClass, box, nullptr, 0);
  XtCreateManagedWidget("gad", xmLabelGadgetClass, box, nullptr, 0);
  XtCreateManagedWidget("rc", xmRowColumnWidgetClass, box, nullptr, 0);
  Widget fake = XtCreateManagedWidget("fake", xmRowColumnWidgetClass, box, nullptr, 0);
  RC_Type(fake) = XmMENU_POPUP;  // a pop-up menu pane outside a menu shell
  XmCreatePopupMenu(box, const_cast<char*>("pm"), nullptr, 0);
  XtCreatePopupShell("pop", transientShellWidgetClass, box, nullptr, 0);

  {
    CaptureWarnings capture;
    for (const Row& r : all) {
      SCOPED_TRACE(r.key);
      capture.Clear();
      r.raise();
      const std::string out = capture.Text();
      const std::string text = "DB " + r.key;
      EXPECT_TRUE(std::any_of(capture.Messages().begin(), capture.Messages().end(),
                              [&text](const std::string& m) { return m.rfind(text, 0) == 0; }))
          << out;
      EXPECT_EQ(out.find("Wcl Error DB Problem"), std::string::npos) << out;
    }
    for (auto copy : {WcStrCpy, WcStrCat}) {
      EXPECT_DEATH(
          {
            WcWarningPrinter = WcPrintToStderr;
            copy(nullptr, "x");
          },
          copy == WcStrCpy ? "DB WcStrCpy.nullTarget" : "DB WcStrCat.nullTarget");
    }
  }
  RC_Type(fake) = XmWORK_AREA;
  WcErrorDatabase = saved;
}

}  // namespace
