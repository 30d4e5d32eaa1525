// Building widget trees from resources with real Xt and Motif classes.
#include <gtest/gtest.h>

#include <X11/IntrinsicP.h>
#include <X11/CompositeP.h>
#include <Xm/BulletinB.h>
#include <Xm/Label.h>
#include <Xm/LabelG.h>
#include <Xm/PushB.h>

#include <malloc.h>
#include <unistd.h>

#include <algorithm>
#include <cstddef>
#include <string>
#include <vector>

#include "common/TempDir.h"
#include "creation_support.h"
#include "wcl/WcCreate.h"
#include "wcl/WcFetch.h"

namespace {

using xk::test::CaptureWarnings;
using xk::test::NewRoot;

std::string g_log;  // what the test callbacks saw

Widget MakeButton(Widget parent, String name, ArgList args, Cardinal n) {
  return XtCreateWidget(name, xmPushButtonWidgetClass, parent, args, n);
}
Widget MakeNothing(Widget, String, ArgList, Cardinal) { return nullptr; }
// Like Motif's scrolled constructors: the widget returned sits under a new
// intermediate parent.
Widget MakeWrapped(Widget parent, String name, ArgList, Cardinal) {
  std::string wrapperName = std::string(name) + "Wrap";
  Widget wrap = XtCreateManagedWidget(wrapperName.c_str(), xmBulletinBoardWidgetClass, parent,
                                      nullptr, 0);
  return XtCreateWidget(name, xmLabelWidgetClass, wrap, nullptr, 0);
}

// Appends "name=managed" for each child of the widget.
void RecordChildren(Widget w, XtPointer tag, XtPointer) {
  g_log += static_cast<const char*>(tag);
  g_log += ":";
  auto* cw = reinterpret_cast<CompositeWidget>(w);
  for (Cardinal i = 0; i < cw->composite.num_children; ++i) {
    Widget c = cw->composite.children[i];
    g_log += std::string(" ") + XtName(c) + "=" + (XtIsManaged(c) ? "1" : "0");
  }
  g_log += ";";
}

// Destroys the widget its argument names, as a resource file may ask.
void DestroyNamed(Widget w, XtPointer name, XtPointer) {
  if (Widget target = WcResolveWidgetName(w, static_cast<const char*>(name)))
    XtDestroyWidget(target);
}

// Notes its argument without touching the widget.
void Note(Widget, XtPointer text, XtPointer) {
  g_log += static_cast<const char*>(text);
  g_log += ";";
}

// Loads the file its argument names into the screen database.
void LoadFile(Widget w, XtPointer name, XtPointer) {
  XrmDatabase db = XtScreenDatabase(XtScreenOfObject(w));
  WcLoadResourceFile(w, static_cast<const char*>(name), &db);
}

std::vector<Widget> g_kept;  // widgets a Keep callback saw
void Keep(Widget w, XtPointer, XtPointer) { g_kept.push_back(w); }

void RecordPopups(Widget w, XtPointer, XtPointer) {
  g_log += "popups:" + std::to_string(w->core.num_popups) + ";";
}

class Creation : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    XtAppContext app = xk::test::App();
    WcInitialize(xk::test::TopLevel());
    WcRegisterClass(app, "XmLabel", xmLabelWidgetClass);
    WcRegisterClass(app, "XmLabelGadget", xmLabelGadgetClass);
    WcRegisterClass(app, "XmPushButton", xmPushButtonWidgetClass);
    WcRegisterClass(app, "XmBulletinBoard", xmBulletinBoardWidgetClass);
    WcRegisterConstructor(app, "MakeButton", MakeButton);
    WcRegisterConstructor(app, "MakeNothing", MakeNothing);
    WcRegisterConstructor(app, "MakeWrapped", MakeWrapped);
    WcRegisterCallback(app, "RecordChildren", RecordChildren, nullptr);
    WcRegisterCallback(app, "RecordPopups", RecordPopups, nullptr);
    WcRegisterCallback(app, "DestroyNamed", DestroyNamed, nullptr);
    WcRegisterCallback(app, "Note", Note, nullptr);
    WcRegisterCallback(app, "LoadFile", LoadFile, nullptr);
    WcRegisterCallback(app, "Keep", Keep, nullptr);
  }
  void SetUp() override {
    g_log.clear();
    g_kept.clear();
  }
};

const char* ClassOf(Widget root, const char* path) {
  Widget w = XtNameToWidget(root, path);
  return w ? XtClass(w)->core_class.class_name : "(none)";
}

TEST_F(Creation, ClassOrConstructorIsChosenInOrder) {
  struct Case {
    const char* child;
    std::vector<std::string> resources;
    const char* expectedClass;
    const char* expectedWarning;
  };
  const Case cases[] = {
      {"onlyClassName", {"*onlyClassName.wcClassName: XmLabel"}, "XmLabel", nullptr},
      {"classThenCtor",
       {"*classThenCtor.wcCreate: XmLabel", "*classThenCtor.wcConstructor: MakeButton"},
       "XmPushButton", nullptr},
      {"createWins", {"*createWins.wcCreate: XmLabel", "*createWins.wcClass: XmPushButton"},
       "XmLabel", nullptr},
      {"ctorBeforeClass",
       {"*ctorBeforeClass.wcCreate: makebutton", "*ctorBeforeClass.wcClass: XmLabel"},
       "XmPushButton", nullptr},
      {"skipUnknown",
       {"*skipUnknown.wcClass: NoSuchClass", "*skipUnknown.wcClassName: XmLabel"}, "XmLabel",
       nullptr},
      {"missing", {"*missing.foreground: red"}, "(none)",
       "Wcl Warning: ccase.missing.wcCreate resource missing - need class or constructor"},
      {"unknown", {"*unknown.wcConstructor: NoSuchThing", "*unknown.wcClass: Nope"}, "(none)",
       "Wcl Warning: Could not convert NoSuchThing to Class or Constructor."},
      {"failing", {"*failing.wcCreate: MakeNothing"}, "(none)",
       "Wcl Warning: MakeNothing( ccase, failing, NULL, 0) - Failed!"},
      {"failingCtor", {"*failingCtor.wcCreate: XmLabel", "*failingCtor.wcConstructor: MakeNothing"},
       "(none)", "Wcl Warning: MakeNothing( ccase, failingCtor, NULL, 0) - Failed!"},
  };
  std::string children;
  std::vector<std::string> lines;
  for (const Case& c : cases) {
    children += std::string(c.child) + " ";
    lines.insert(lines.end(), c.resources.begin(), c.resources.end());
  }
  lines.push_back("ccase.wcChildren: " + children);
  lines.push_back("*failing.wcChildren: neverMade");
  Widget root = NewRoot("ccase", lines);
  CaptureWarnings capture;
  ASSERT_EQ(WcWidgetCreation(root), 0);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.child);
    EXPECT_STREQ(ClassOf(root, c.child), c.expectedClass);
    if (c.expectedWarning) {
      EXPECT_NE(capture.Text().find(c.expectedWarning), std::string::npos) << capture.Text();
    }
  }
  EXPECT_EQ(capture.Messages().size(), 4u) << capture.Text();
}

TEST_F(Creation, ChildrenAreManagedInOneBatchAfterTheAfterChildrenCallbacks) {
  Widget root = NewRoot("batch", {
      "batch.wcChildren: box",
      "batch.wcPopups: dialog",
      "batch.wcAfterPopups: RecordPopups",
      "*batch*wcTrace: True",
      "*dialog.wcCreate: TransientShell",
      "*box.wcCreate: XmBulletinBoard",
      "*box.wcChildren: first, second third",
      "*box.wcAfterChildren: RecordChildren(after)",
      "*box.wcAfterManageChildren: RecordChildren(managed)",
      "*box.first.wcCreate: XmLabel",
      "*box.second.wcCreate: XmLabel",
      "*box.second.wcManaged: False",
      "*box.third.wcCreate: MakeWrapped",
  });
  CaptureWarnings capture;
  ASSERT_EQ(WcWidgetCreation(root), 0);
  EXPECT_EQ(g_log,
            "popups:1;"
            "after: first=0 second=0 thirdWrap=1;"
            "managed: first=1 second=0 thirdWrap=1;");
  Widget third = XtNameToWidget(root, "box.thirdWrap.third");
  ASSERT_NE(third, nullptr);
  EXPECT_TRUE(XtIsManaged(third)) << "a constructor's child under another parent is managed too";
  EXPECT_EQ(capture.Text(),
            "Wcl  New Root:batch of class ApplicationShell\n"
            "Wcl    pop-up:batch.dialog of class TransientShell\n"
            "Wcl   managed:batch.box of class XmBulletinBoard\n"
            "Wcl   managed:batch.box.first of class XmLabel\n"
            "Wcl unmanaged:batch.box.second of class XmLabel\n"
            "Wcl   managed:batch.box.thirdWrap.third of class XmLabel\n");
}

// A constructor may make a shell: a root with no parent, or a pop-up that
// is none of its parent's children. A shell is popped up, never managed
// (managing a root crashed the toolkit); the build goes on past it, also
// by the WcCreateChildren route.
TEST_F(Creation, ShellsMadeByConstructorsAreNotManaged) {
  Widget root = NewRoot("shells", {
      "shells.wcChildren: form",
      "*form.wcCreate: XmBulletinBoard",
      "*form.wcChildren: other pop after",
      "*other.wcCreate: XtCreateApplicationShell",
      "*pop.wcCreate: XtCreateTransientShell",
      "*later.wcCreate: XtCreateApplicationShell",
      "*after.wcCreate: XmLabel",
      "*after2.wcCreate: XmLabel",
      "*other.wcCallback: Keep",
      "*pop.wcCallback: Keep",
      "*later.wcCallback: Keep",
  });
  ASSERT_EQ(WcWidgetCreation(root), 0);
  Widget form = XtNameToWidget(root, "form");
  ASSERT_NE(form, nullptr);
  WcCreateNamedChildren(form, "later after2");
  ASSERT_EQ(g_kept.size(), 3u);
  for (Widget shell : g_kept) EXPECT_FALSE(XtIsManaged(shell)) << XtName(shell);
  for (const char* name : {"after", "after2"}) {
    Widget label = XtNameToWidget(form, name);
    ASSERT_NE(label, nullptr) << name;
    EXPECT_TRUE(XtIsManaged(label)) << name;
  }
  for (Widget shell : g_kept)
    if (!XtParent(shell)) XtDestroyWidget(shell);
}

TEST_F(Creation, ReportsFailuresWithoutStopping) {
  Widget empty = NewRoot("emptyRoot", {"emptyRoot.foreground: red"});
  // A gadget has no room for pop-ups: the toolkit would write them into
  // memory that is not its own.
  Widget leaf = NewRoot("leafRoot", {"leafRoot.wcChildren: gbox", "*gbox.wcCreate: XmBulletinBoard",
                                     "*gbox.wcChildren: label gadget",
                                     "*label.wcCreate: XmLabel", "*label.wcChildren: inner",
                                     "*label.wcAfterChildren: Note(afterChildren)",
                                     "*label.wcAfterManageChildren: Note(afterManage)",
                                     "*inner.wcCreate: XmLabel", "*gadget.wcCreate: XmLabelGadget",
                                     "*gadget.wcPopups: shell", "*shell.wcCreate: TransientShell",
                                     "*gadget.wcAfterPopups: Note(afterPopups)"});
  CaptureWarnings capture;
  EXPECT_EQ(WcWidgetCreation(empty), 1);
  EXPECT_EQ(WcWidgetCreation(leaf), 0);
  ASSERT_EQ(capture.Messages().size(), 3u) << capture.Text();
  EXPECT_EQ(capture.Messages()[0],
            "Wcl Error: WcWidgetCreation(emptyRoot) - Failed \n"
            "    Problem: No children could be created from Xrm database.\n"
            "    Possible: Resource file not found \n"
            "\t\tperhaps XENVIRONMENT is not set, \n"
            "\t\tor XAPPLRESDIR not terminated with '/' \n"
            "    Possible: top level widget in resource file not named 'emptyRoot'");
  EXPECT_EQ(capture.Messages()[1],
            "Wcl Warning: WcCreate(leafRoot.gbox.label) - Not a Composite, can't have children.");
  EXPECT_EQ(XtNameToWidget(leaf, "*inner"), nullptr);
  EXPECT_EQ(capture.Messages()[2],
            "Wcl Warning: WcCreate(leafRoot.gbox.gadget) - Not a Widget, can't have pop-ups.");
  EXPECT_EQ(g_log, "afterChildren;afterManage;afterPopups;")
      << "the after-callbacks run even when nothing could be made";
  Widget gadget = XtNameToWidget(leaf, "gbox.gadget");
  ASSERT_NE(gadget, nullptr);
  EXPECT_TRUE(XtIsManaged(gadget));
  CaptureWarnings again;
  WcCreateNamedPopups(gadget, "shell");
  EXPECT_EQ(again.Text(),
            "Wcl Warning: WcCreate(leafRoot.gbox.gadget) - Not a Widget, can't have pop-ups.\n");

  // A pop-up of a class that is no shell, and a gadget under a shell or a
  // parent that takes only widgets, crashed or ended the program; each is
  // refused by name and the build goes on.
  Widget odd = NewRoot("oddRoot", {"oddRoot.wcPopups: gpop, wpop, top",
                                   "oddRoot.wcChildren: box", "*box.wcCreate: XmBulletinBoard",
                                   "*box.wcChildren: plain", "*plain.wcClass: Composite",
                                   "*plain.wcChildren: pg", "*pg.wcCreate: XmLabelGadget",
                                   "*gpop.wcCreate: XmLabelGadget", "*wpop.wcCreate: XmLabel",
                                   "*top.wcCreate: TopLevelShell", "*top.wcChildren: tg, tl",
                                   "*tg.wcCreate: XmLabelGadget", "*tl.wcCreate: XmLabel"});
  CaptureWarnings refused;
  EXPECT_EQ(WcWidgetCreation(odd), 0);
  EXPECT_EQ(refused.Text(),
            "Wcl Warning: WcCreate(oddRoot.gpop) - XmLabelGadget is not a Shell class, can't be a "
            "pop-up.\n"
            "Wcl Warning: WcCreate(oddRoot.wpop) - XmLabel is not a Shell class, can't be a "
            "pop-up.\n"
            "Wcl Warning: WcCreate(oddRoot.top.tg) - XmLabelGadget is not a Widget class, and the "
            "parent takes only widgets.\n"
            "Wcl Warning: WcCreate(oddRoot.box.plain.pg) - XmLabelGadget is not a Widget class, "
            "and the parent takes only widgets.\n");
  EXPECT_NE(XtNameToWidget(odd, "top.tl"), nullptr);
  EXPECT_NE(XtNameToWidget(odd, "box.plain"), nullptr);
}

// The creation resources are matched as the toolkit matches any resource:
// the root by its application class, a new widget by its real class after
// creation, but only by its name before.
TEST_F(Creation, ResourcesMatchNamesAndClassesAsTheToolkitDoes) {
  Widget root = xk::test::NewContextRoot(
      "classApp", {"XkTest.wcChildren: viaClass other", "*viaClass.wcClass: XmLabel",
                   "*XmLabel.wcManaged: False", "*XmLabel.wcClass: XmPushButton",
                   "*other.wcClass: XmPushButton", "*other.wcManaged: maybe"});
  ASSERT_NE(root, nullptr);
  XtAppContext app = XtWidgetToApplicationContext(root);
  WcInitialize(root);
  WcRegisterClass(app, "XmLabel", xmLabelWidgetClass);
  WcRegisterClass(app, "XmPushButton", xmPushButtonWidgetClass);
  ASSERT_EQ(WcWidgetCreation(root), 0);
  Widget viaClass = XtNameToWidget(root, "viaClass");
  ASSERT_NE(viaClass, nullptr);
  EXPECT_STREQ(XtClass(viaClass)->core_class.class_name, "XmLabel");
  EXPECT_FALSE(XtIsManaged(viaClass));
  Widget other = XtNameToWidget(root, "other");
  ASSERT_NE(other, nullptr);
  EXPECT_TRUE(XtIsManaged(other)) << "a value that does not convert leaves the default";
}

// The creation layer reads its resources with its own lean fetch; whatever
// the database says, it must find what the toolkit's own fetch finds.
struct FetchRec {
  Boolean flagOn;   // default True
  Boolean flagOff;  // default False
  String text;
  WcQuarkRec rec;
  XrmQuark quark;
  XtCallbackList list;
};

std::string Describe(const FetchRec& r) {
  int entries = 0;
  for (XtCallbackList l = r.list; l && l->callback; ++l) ++entries;
  return std::to_string(r.flagOn) + std::to_string(r.flagOff) + "|" +
         (r.text ? r.text : "(null)") + "|" + (r.rec.string ? r.rec.string : "(null)") + "/" +
         std::to_string(r.rec.quark) + "|" + (r.quark ? XrmQuarkToString(r.quark) : "0") + "|" +
         std::to_string(entries);
}

TEST_F(Creation, LeanFetchFindsWhatTheToolkitFinds) {
  static const WcQuarkRec kNoRec = {const_cast<String>(""), NULLQUARK};
  const FetchRec defaults = {True, False, nullptr, kNoRec, NULLQUARK, nullptr};
  static wcl::FetchResource lean[] = {
      {"flagOn", "FlagOn", XtRBoolean, sizeof(Boolean), offsetof(FetchRec, flagOn)},
      {"flagOff", "Flag", XtRBoolean, sizeof(Boolean), offsetof(FetchRec, flagOff)},
      {"text", "Text", XtRString, sizeof(String), offsetof(FetchRec, text)},
      {"rec", "Rec", WcRQuarkRec, sizeof(WcQuarkRec), offsetof(FetchRec, rec)},
      {"quark", "Quark", WcRQuark, sizeof(XrmQuark), offsetof(FetchRec, quark)},
      {"list", "List", XtRCallback, sizeof(XtCallbackList), offsetof(FetchRec, list)},
  };
  auto res = [](const char* name, const char* cls, const char* type, Cardinal size,
                Cardinal offset, const char* defType, XtPointer def) {
    return XtResource{const_cast<String>(name), const_cast<String>(cls), const_cast<String>(type),
                      size, offset, const_cast<String>(defType), def};
  };
  XtResource toolkit[] = {
      res("flagOn", "FlagOn", XtRBoolean, sizeof(Boolean), offsetof(FetchRec, flagOn),
          XtRImmediate, reinterpret_cast<XtPointer>(True)),
      res("flagOff", "Flag", XtRBoolean, sizeof(Boolean), offsetof(FetchRec, flagOff),
          XtRImmediate, nullptr),
      res("text", "Text", XtRString, sizeof(String), offsetof(FetchRec, text), XtRImmediate,
          nullptr),
      res("rec", "Rec", WcRQuarkRec, sizeof(WcQuarkRec), offsetof(FetchRec, rec), WcRQuarkRec,
          const_cast<WcQuarkRec*>(&kNoRec)),
      res("quark", "Quark", WcRQuark, sizeof(XrmQuark), offsetof(FetchRec, quark), XtRImmediate,
          nullptr),
      res("list", "List", XtRCallback, sizeof(XtCallbackList), offsetof(FetchRec, list),
          XtRImmediate, nullptr),
  };

  // Each row has a database of its own (a display of its own), where R
  // stands for its root, of application class XkTest. The sub-part "sub" is
  // read through R.box, the widget R.box.kid directly.
  struct Row {
    std::vector<std::string> lines;
    bool applies = true;  // false: neither read may find anything
  };
  const Row rows[] = {
      {{"R.box.sub.flagOn: False", "R.box.kid.flagOn: off"}},
      {{"*sub.text: loose", "*kid.text: loose", "R*sub.flagOff: True", "R*kid.flagOff: yes"}},
      {{"XkTest.box.sub.rec: XmLabel", "XkTest.box.kid.rec: XmPushButton"}},
      {{"ApplicationShell*sub.text: never", "ApplicationShell*kid.text: never"}, false},
      {{"*XmBulletinBoard.sub.quark: MixedCase", "*XmBulletinBoard.XmLabel.quark: ByClass"}},
      {{"*Sub.text: classOnly", "*kid.Text: byResourceClass", "*sub.Flag: True"}},
      {{"R.?.sub.list: Note(a) Note(b)", "R.box.?.list: Note(c)", "*box*rec: Loose"}},
      {{"*sub.flagOn: maybe", "*kid.flagOn: maybe", "*sub.rec:", "*kid.quark:"}},
      {{"R*text: a", "R.box*text: b", "R.box.sub*text: c", "R*XmLabel.text: d"}},
  };
  int row = 0;
  for (const Row& r : rows) {
    std::string root = "fetch" + std::to_string(row++);
    std::vector<std::string> lines;
    for (std::string line : r.lines) {
      if (line.rfind("R", 0) == 0) line.replace(0, 1, root);
      lines.push_back(line);
    }
    SCOPED_TRACE(lines.front());
    Widget top = xk::test::NewContextRoot(root.c_str(), lines);
    ASSERT_NE(top, nullptr);
    WcInitialize(top);  // the layer's converters for this context
    Widget box = XtCreateWidget("box", xmBulletinBoardWidgetClass, top, nullptr, 0);
    Widget kid = XtCreateWidget("kid", xmLabelWidgetClass, box, nullptr, 0);

    FetchRec expected = defaults, actual = defaults;
    XtGetSubresources(box, &expected, const_cast<String>("sub"), const_cast<String>("sub"),
                      toolkit, XtNumber(toolkit), nullptr, 0);
    wcl::FetchSubpart(box, "sub", lean, XtNumber(lean), &actual);
    EXPECT_EQ(Describe(actual), Describe(expected)) << "sub-part";
    std::string subPart = Describe(actual);

    expected = actual = defaults;
    XtGetApplicationResources(kid, &expected, toolkit, XtNumber(toolkit), nullptr, 0);
    wcl::FetchFromWidget(kid, lean, XtNumber(lean), &actual);
    EXPECT_EQ(Describe(actual), Describe(expected)) << "widget";
    EXPECT_EQ(subPart != Describe(defaults) && Describe(actual) != Describe(defaults), r.applies)
        << subPart << " " << Describe(actual);
  }
}

// Outside event dispatch the toolkit frees a destroyed widget at once; the
// creation must neither touch nor manage it afterwards. Freed memory is
// scribbled over so that a use after free shows.
TEST_F(Creation, CallbacksMayDestroyWidgetsBeingCreated) {
  mallopt(M_PERTURB, 0xA5);
  Widget root = NewRoot("doomed", {
      "doomed.wcChildren: box keep",
      "doomed.box.wcCreate: XmBulletinBoard",
      "doomed.box.wcChildren: a b c inner d",
      "doomed.box.wcAfterChildren: DestroyNamed(this.d)",
      "doomed.box.?.wcCreate: XmLabel",
      "doomed.box.b.wcCallback: Note(b) DestroyNamed(this) Note(after b)",
      "doomed.box.c.wcCallback: DestroyNamed(^a)",
      "doomed.box.inner.wcCreate: XmBulletinBoard",
      "doomed.box.inner.wcChildren: x y",
      "doomed.box.inner.?.wcCreate: XmLabel",
      "doomed.box.inner.x.wcCallback: DestroyNamed(^)",
      "doomed.keep.wcCreate: XmLabel",
  });
  EXPECT_EQ(WcWidgetCreation(root), 0);
  mallopt(M_PERTURB, 0);
  Widget box = XtNameToWidget(root, "box");
  ASSERT_NE(box, nullptr);
  auto* cw = reinterpret_cast<CompositeWidget>(box);
  ASSERT_EQ(cw->composite.num_children, 1u);
  EXPECT_STREQ(XtName(cw->composite.children[0]), "c");
  EXPECT_TRUE(XtIsManaged(cw->composite.children[0]));
  EXPECT_NE(XtNameToWidget(root, "keep"), nullptr);
  EXPECT_EQ(g_log.rfind("b;", 0), 0u) << g_log;
  EXPECT_EQ(g_log.find("after b"), std::string::npos)
      << "entries after the one that destroyed their widget are skipped";
}

// Destruction is watched per display: a display opened after another was
// closed, often at the same address, is watched as well.
TEST_F(Creation, DestructionIsSeenOnADisplayOpenedAfterOneWasClosed) {
  auto open = [](const std::string& name, const std::vector<std::string>& lines) {
    int argc = 0;
    Display* dpy = XtOpenDisplay(xk::test::App(), nullptr, name.c_str(), "XkTest", nullptr, 0,
                                 &argc, nullptr);
    XrmDatabase db = XtScreenDatabase(DefaultScreenOfDisplay(dpy));
    for (const std::string& line : lines) XrmPutLineResource(&db, line.c_str());
    return XtAppCreateShell(name.c_str(), "XkTest", applicationShellWidgetClass, dpy, nullptr,
                            0);
  };
  // Build on displays and close them until one opens where a closed one was.
  std::vector<Display*> closed;
  Widget root = nullptr;
  for (int i = 0; i < 20 && !root; ++i) {
    std::string name = "dpy" + std::to_string(i);
    Widget shell = open(name, {name + ".wcChildren: box", name + ".box.wcCreate: XmBulletinBoard",
                               name + ".box.wcChildren: a b", name + ".box.?.wcCreate: XmLabel",
                               name + ".box.b.wcCallback: DestroyNamed(this)"});
    if (std::find(closed.begin(), closed.end(), XtDisplay(shell)) != closed.end()) {
      root = shell;
      break;
    }
    ASSERT_EQ(WcWidgetCreation(shell), 0);
    closed.push_back(XtDisplay(shell));
    XtDestroyWidget(shell);
    XtCloseDisplay(closed.back());
  }
  if (!root) GTEST_SKIP() << "no display address came back";
  mallopt(M_PERTURB, 0xA5);
  EXPECT_EQ(WcWidgetCreation(root), 0);
  mallopt(M_PERTURB, 0);
  auto* box = reinterpret_cast<CompositeWidget>(XtNameToWidget(root, "box"));
  ASSERT_NE(box, nullptr);
  ASSERT_EQ(box->composite.num_children, 1u);
  EXPECT_TRUE(XtIsManaged(box->composite.children[0]));
}

// A creation callback may load a resource file that gives its own widget
// new wcChildren and wcPopups; the database then frees the texts that were
// read, yet the lists read before the callback are the ones built.
TEST_F(Creation, ACallbackMayReplaceTheListsBeingBuilt) {
  xk::test::TempDir dir("wclredef");
  const std::string path = dir.Write(
      "redef.ad",
      "redef.box.wcChildren: late\nredef.box.wcPopups: latePopup\nredef.box.?.wcCreate: XmLabel\n");
  mallopt(M_PERTURB, 0xA5);
  Widget root = NewRoot("redef", {
      "redef.wcChildren: box",
      "redef.box.wcCreate: XmBulletinBoard",
      "redef.box.wcCallback: LoadFile(" + path + ")",
      "redef.box.wcChildren: first, second",
      "redef.box.wcPopups: popupShell",
      "redef.box.popupShell.wcCreate: TransientShell",
      "redef.box.?.wcCreate: XmLabel",
  });
  EXPECT_EQ(WcWidgetCreation(root), 0);
  mallopt(M_PERTURB, 0);
  EXPECT_NE(XtNameToWidget(root, "box.first"), nullptr);
  EXPECT_NE(XtNameToWidget(root, "box.second"), nullptr);
  EXPECT_EQ(XtNameToWidget(root, "box.late"), nullptr);
  Widget box = XtNameToWidget(root, "box");
  ASSERT_NE(box, nullptr);
  ASSERT_EQ(box->core.num_popups, 1u);
  EXPECT_STREQ(XtName(box->core.popup_list[0]), "popupShell");
}

TEST_F(Creation, AChildNamingItselfStopsAtTheNestingLimit) {
  Widget root = NewRoot("selfRoot", {"selfRoot.wcChildren: a", "*a.wcClass: Composite",
                                     "*a.wcChildren: a"});
  CaptureWarnings capture;
  EXPECT_EQ(WcWidgetCreation(root), 0);
  int depth = 0;
  for (Widget w = XtNameToWidget(root, "a"); w; ++depth) {
    auto* cw = reinterpret_cast<CompositeWidget>(w);
    w = cw->composite.num_children ? cw->composite.children[0] : nullptr;
  }
  EXPECT_EQ(depth, 256);
  ASSERT_EQ(capture.Messages().size(), 1u);
  EXPECT_NE(capture.Messages()[0].find(".a.a) - Widget tree deeper than 256 levels, not created."),
            std::string::npos);
}

// Two children of the same loosely bound name ask for 2^256 widgets: the
// call stops at its widget budget, and the depth warning, met at nearly
// every leaf, is printed once and then counted.
TEST_F(Creation, ABranchingSelfReferenceStopsAtTheWidgetBudget) {
  Widget root = NewRoot("twiceRoot", {"twiceRoot.wcChildren: a", "*a.wcClass: Composite",
                                      "*a.wcChildren: a a"});
  CaptureWarnings capture;
  EXPECT_EQ(WcWidgetCreation(root), 0);
  int made = 0;
  std::vector<Widget> open{XtNameToWidget(root, "a")};
  while (!open.empty()) {
    auto* cw = reinterpret_cast<CompositeWidget>(open.back());
    open.pop_back();
    ++made;
    open.insert(open.end(), cw->composite.children,
                cw->composite.children + cw->composite.num_children);
  }
  EXPECT_EQ(made, 10000);
  ASSERT_EQ(capture.Messages().size(), 3u) << capture.Text().substr(0, 2000);
  EXPECT_NE(capture.Messages()[0].find(") - Widget tree deeper than 256 levels, not created."),
            std::string::npos);
  EXPECT_NE(capture.Messages()[1].find(".a) - 10000 widgets made in one creation call, the rest "
                                       "not created."),
            std::string::npos);
  EXPECT_EQ(capture.Messages()[2].rfind("Wcl Warning: WcCreate - ", 0), 0u);
  EXPECT_NE(capture.Messages()[2].find(" more widgets deeper than 256 levels, not created."),
            std::string::npos);
}

// The budget counts every widget of one call: the 10000th is made, the
// next is refused by name.
TEST_F(Creation, OneCallMakesAtMostTenThousandWidgets) {
  std::string names;
  for (int i = 0; i < 10001; ++i) names += "c" + std::to_string(i) + " ";
  Widget root = NewRoot("capRoot", {"capRoot.wcChildren: big", "*big.wcClass: Composite",
                                    "*big.wcChildren: " + names, "*big*wcClass: Core"});
  CaptureWarnings capture;
  ASSERT_EQ(WcWidgetCreation(root), 0);
  Widget big = XtNameToWidget(root, "big");
  ASSERT_NE(big, nullptr);
  EXPECT_EQ(reinterpret_cast<CompositeWidget>(big)->composite.num_children, 9999u);
  EXPECT_EQ(capture.Text(),
            "Wcl Warning: WcCreate(capRoot.big.c9999) - 10000 widgets made in one creation call, "
            "the rest not created.\n");
  // A later call has a budget of its own.
  capture.Clear();
  WcCreateNamedChildren(big, "c10000");
  EXPECT_NE(XtNameToWidget(big, "c10000"), nullptr);
  EXPECT_EQ(capture.Text(), "");
}

// The abstract Constraint class has no constraint part: a child under it
// crashed the toolkit. It is refused by name, like any parent class that
// cannot hold children.
TEST_F(Creation, ChildrenUnderTheConstraintClassAreRefused) {
  Widget root = NewRoot("conRoot", {"conRoot.wcChildren: box", "*box.wcCreate: XmBulletinBoard",
                                    "conRoot*box.wcChildren: c", "conRoot*c.wcCreate: Constraint",
                                    "conRoot*c.wcChildren: b",
                                    "conRoot*b.wcCreate: XmPushButton"});
  CaptureWarnings capture;
  ASSERT_EQ(WcWidgetCreation(root), 0);
  Widget c = XtNameToWidget(root, "box.c");
  ASSERT_NE(c, nullptr);
  EXPECT_EQ(XtNameToWidget(c, "b"), nullptr);
  WcCreateNamedChildren(c, "b");
  const std::string refused =
      "Wcl Warning: WcCreate(conRoot.box.c) - Class Constraint cannot hold children.\n";
  EXPECT_EQ(capture.Text(), refused + refused);
}

// The toolkit ends the program when it realizes a window of width or
// height 0: an empty shell made as an ordinary child, a widget of an
// intrinsic class under a parent that keeps its size, a root with pop-ups
// only. Each gets 1 for a side that is 0; sized ones keep their size.
TEST_F(Creation, NothingIsRealizedAtSizeZero) {
  Widget root = NewRoot("zeroRoot", {"zeroRoot.wcChildren: box", "zeroRoot.wcPopups: pop",
                                     "zeroRoot*box.wcCreate: XmBulletinBoard",
                                     "zeroRoot*box.wcChildren: sh comp tall",
                                     "zeroRoot*sh.wcCreate: Shell", "zeroRoot*comp.wcCreate: Composite",
                                     "zeroRoot*tall.wcCreate: Core", "zeroRoot*tall.height: 30",
                                     "zeroRoot*pop.wcCreate: OverrideShell"});
  Widget popOnly = NewRoot("popOnly", {"popOnly.wcPopups: pop", "popOnly*pop.wcCreate: Shell"});
  ASSERT_EQ(WcWidgetCreation(root), 0);
  ASSERT_EQ(WcWidgetCreation(popOnly), 0);
  XtRealizeWidget(root);
  XtRealizeWidget(popOnly);
  for (const char* path : {"box.sh", "box.comp"}) {
    Widget w = XtNameToWidget(root, path);
    ASSERT_NE(w, nullptr) << path;
    EXPECT_EQ(w->core.width, 1) << path;
    EXPECT_EQ(w->core.height, 1) << path;
  }
  Widget tall = XtNameToWidget(root, "box.tall");
  EXPECT_EQ(tall->core.width, 1);
  EXPECT_EQ(tall->core.height, 30);
  EXPECT_EQ(popOnly->core.width, 1);
  Widget box = XtNameToWidget(root, "box");
  EXPECT_GT(box->core.width, 1) << "a shell with a child is sized by it";
  EXPECT_EQ(root->core.width, box->core.width);
  XtDestroyWidget(root);
  XtDestroyWidget(popOnly);
}

TEST_F(Creation, ManagesMoreThanAThousandChildren) {
  std::string names;
  for (int i = 0; i < 1500; ++i) names += "c" + std::to_string(i) + (i % 2 ? "," : " ");
  Widget root = NewRoot("many", {"many.wcChildren: big", "*big.wcCreate: XmBulletinBoard",
                                 "*big.wcChildren: " + names, "*big*wcClass: Core"});
  ASSERT_EQ(WcWidgetCreation(root), 0);
  auto* big = reinterpret_cast<CompositeWidget>(XtNameToWidget(root, "big"));
  ASSERT_NE(big, nullptr);
  ASSERT_EQ(big->composite.num_children, 1500u);
  Cardinal managed = 0;
  for (Cardinal i = 0; i < big->composite.num_children; ++i)
    managed += XtIsManaged(big->composite.children[i]) ? 1 : 0;
  EXPECT_EQ(managed, 1500u);
  EXPECT_STREQ(XtName(big->composite.children[1499]), "c1499");
}

TEST_F(Creation, NamedChildrenAndPopupsOfAnExistingWidget) {
  Widget root = NewRoot("later", {"later.wcChildren: box", "*box.wcCreate: XmBulletinBoard",
                                  "*box.extra.wcCreate: XmPushButton",
                                  "*box.menu.wcCreate: OverrideShell"});
  ASSERT_EQ(WcWidgetCreation(root), 0);
  Widget box = XtNameToWidget(root, "box");
  WcCreateNamedChildren(box, "extra");
  WcCreateNamedPopups(box, "menu");
  Widget extra = XtNameToWidget(box, "extra");
  ASSERT_NE(extra, nullptr);
  EXPECT_TRUE(XtIsManaged(extra));
  ASSERT_EQ(box->core.num_popups, 1u);
  EXPECT_STREQ(XtName(box->core.popup_list[0]), "menu");
}

}  // namespace
