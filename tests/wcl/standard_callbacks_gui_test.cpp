// The standard operations on callbacks, translations and new widgets, on
// real Motif widgets: once-only callbacks, adding and removing callbacks by
// text, translation merging, traces, positioning a transient shell, and
// creating children and roots from the resource database.
#include "tests/wcl/StdTestSupport.h"
#include "tests/wcl/creation_support.h"

#include <Xm/BulletinB.h>
#include <Xm/PushB.h>
#include <X11/IntrinsicP.h>
#include <X11/ShellP.h>
#include <X11/StringDefs.h>

#include <string>
#include <vector>

namespace {

using xk::test::Act;
using xk::test::CaptureWarnings;
using xk::test::Fire;

// What the recording callback and actions saw, in order.
std::string& Log() {
  static std::string log;
  return log;
}

void RecordCB(Widget, XtPointer text, XtPointer) {
  Log() += std::string("[") + static_cast<const char*>(text) + "]";
}

void RecordACT(Widget, XEvent*, String* params, Cardinal* n) {
  Log() += std::string("<") + (*n ? params[0] : "") + ">";
}

class StandardCallbacks : public ::testing::Test {
 protected:
  void SetUp() override {
    WcInitialize(xk::test::TopLevel());  // converters, classes, the standard set
    WcRegisterCallback(xk::test::App(), "recordCB", RecordCB, nullptr);
    static XtActionsRec actions[] = {{const_cast<String>("record"), RecordACT}};
    XtAppAddActions(xk::test::App(), actions, 1);
    Log().clear();
    box_ =
        XtCreateManagedWidget("box", xmBulletinBoardWidgetClass, xk::test::TopLevel(), nullptr, 0);
    button_ = XtCreateManagedWidget("button", xmPushButtonWidgetClass, box_, nullptr, 0);
  }
  void TearDown() override { XtDestroyWidget(box_); }

  void Activate() { XtCallCallbacks(button_, XmNactivateCallback, nullptr); }

  Widget box_ = nullptr;
  Widget button_ = nullptr;
};

TEST_F(StandardCallbacks, OnceOnlyFiresAtTheFirstActivationOnly) {
  XtCallbackList list = WcStringToCallbackList(
      button_, "WcOnceOnly(activateCallback, recordCB(1) recordCB(2)) recordCB(always)");
  XtAddCallbacks(button_, XmNactivateCallback, list);
  XtFree(reinterpret_cast<char*>(list));
  Activate();
  Activate();
  EXPECT_EQ(Log(), "[1][2][always][always]");

  // Added as a procedure rather than from text, it removes itself too.
  Log().clear();
  static char text[] = "activateCallback recordCB(direct)";
  XtAddCallback(button_, XmNactivateCallback, WcOnceOnlyCB, text);
  Activate();
  Activate();
  EXPECT_EQ(Log(), "[always][direct][always]");

  // Run from elsewhere it marks nothing: the next callback stays.
  Log().clear();
  Act(button_, "WcOnceOnlyACT", "activateCallback", "recordCB");
  Activate();
  Activate();
  EXPECT_EQ(Log(), "[][always][always]");

  CaptureWarnings warnings;
  Fire(button_, "WcOnceOnly(activateCallback)");
  EXPECT_EQ(warnings.Text(),
            "Wcl Warning: Widget xktest.box.button does not have callback list named "
            "activateCallback.\n"
            "Wcl Usage: WcOnceOnly( name, callback(clientData) [callback(clientData) ...] )\n"
            "\tname - callback name (i.e., activateCallback, destroyCallback, etc)\n"
            "\t\tCallbacks are each invoked with the client data,\n"
            "\t\tthen this callback is removed.\n");
}

// Outside event dispatch (creation, a timer) a destroyed widget is freed at
// once: a once-only list that destroys its own widget, its parent or its
// shell ends there, and nothing touches the widget afterwards.
TEST_F(StandardCallbacks, OnceOnlyEndsWhenItsListDestroysTheWidget) {
  static int destroyed;
  for (const char* target : {"this", "^", "~"}) {
    SCOPED_TRACE(target);
    Log().clear();
    destroyed = 0;
    Widget shell = XtAppCreateShell("onceShell", "XkTest", topLevelShellWidgetClass,
                                    XtDisplay(box_), nullptr, 0);
    Widget box = XtCreateManagedWidget("box", xmBulletinBoardWidgetClass, shell, nullptr, 0);
    Widget button = XtCreateManagedWidget("button", xmPushButtonWidgetClass, box, nullptr, 0);
    for (Widget w : {shell, box, button})
      XtAddCallback(w, XtNdestroyCallback, [](Widget, XtPointer, XtPointer) { ++destroyed; },
                    nullptr);
    const std::string text =
        std::string("WcOnceOnly(activateCallback, WcDestroyCB(") + target + ") recordCB(after))";
    Fire(button, text.c_str());
    EXPECT_EQ(Log(), "");
    EXPECT_EQ(destroyed, target[0] == 't' ? 1 : target[0] == '^' ? 2 : 3);
    if (target[0] != '~') XtDestroyWidget(shell);
  }
}

TEST_F(StandardCallbacks, RemoveCallbacksTakesOutWhatEqualTextAdded) {
  Fire(box_, "WcAddCallbacks(this.button activateCallback recordCB(1), recordCB(2) recordCB(1))");
  // The same text written by a callback resource.
  XtCallbackList fromResource = WcStringToCallbackList(button_, "RECORDCB( 3 )");
  XtAddCallbacks(button_, XmNactivateCallback, fromResource);
  XtFree(reinterpret_cast<char*>(fromResource));
  Activate();
  EXPECT_EQ(Log(), "[1][2][1][3]");

  Log().clear();
  Fire(box_,
       "WcRemoveCallbacks(this.button, activateCallback, recordCB(1) recordcb(3) recordCB(9))");
  Activate();
  EXPECT_EQ(Log(), "[2][1]") << "one removal per element, argument text must match";

  Log().clear();
  Fire(box_, "WcRemoveCallbacksCB(this.button activateCallback recordCB(2) recordCB(1))");
  Activate();
  EXPECT_EQ(Log(), "");
  EXPECT_EQ(XtHasCallbacks(button_, XmNactivateCallback), XtCallbackHasNone);

  CaptureWarnings warnings;
  Fire(box_, "WcAddCallbacks(this.nobody activateCallback recordCB)");
  EXPECT_EQ(warnings.Text(), "Wcl Warning: WcAddCallbacks(this.nobody) - Widget not found.\n");
}

// Sends a key press for `keysym` to w through the translation manager.
void PressKey(Widget w, KeySym keysym) {
  XEvent e{};
  e.xkey.type = KeyPress;
  e.xkey.display = XtDisplay(w);
  e.xkey.window = XtWindow(w);
  e.xkey.root = RootWindowOfScreen(XtScreen(w));
  e.xkey.keycode = XKeysymToKeycode(XtDisplay(w), keysym);
  e.xkey.same_screen = True;
  XtDispatchEvent(&e);
}

TEST_F(StandardCallbacks, TranslationsReplaceAugmentOrOverride) {
  XtRealizeWidget(xk::test::TopLevel());
  auto reset = [&] {
    XtTranslations t = XtParseTranslationTable("<Key>a: record(a)\n<Key>b: record(b)");
    XtVaSetValues(button_, XtNtranslations, t, nullptr);
  };
  auto press = [&] {
    Log().clear();
    PressKey(button_, XK_a);
    PressKey(button_, XK_b);
    PressKey(button_, XK_c);
    return Log();
  };
  struct Case {
    const char* text;
    const char* keys;
  } cases[] = {
      {"WcTranslations(this.button, #override <Key>a: record(A) \\n <Key>c: record(C))",
       "<A><b><C>"},
      {"WcTranslationsCB(this.button #augment <Key>a: record(A) \\n <Key>c: record(C))",
       "<a><b><C>"},
      {"WcTranslations(this.button <Key>c: record(C))", "<C>"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    reset();
    ASSERT_EQ(press(), "<a><b>");
    std::string text = c.text;
    for (auto at = text.find("\\n"); at != std::string::npos; at = text.find("\\n")) {
      text.replace(at, 2, "\n");
    }
    Fire(box_, text.c_str());
    EXPECT_EQ(press(), c.keys);
  }

  CaptureWarnings warnings;
  Fire(box_, "WcTranslations(this.nobody, <Key>a: record(x))");
  EXPECT_EQ(warnings.Text(), "Wcl Warning: WcTranslations(this.nobody ... ) - Widget not found.\n");
}

TEST_F(StandardCallbacks, TraceAndUnsupportedOperations) {
  CaptureWarnings warnings;
  Fire(button_, "WcTrace(hello there)");
  Act(button_, "WcTraceACT", "one", "two words");
  Act(button_, "WcTrace");
  Fire(button_, "WcDynamicAction(x) WcDynamicCallbackCB");
  EXPECT_EQ(warnings.Text(),
            "Wcl Trace for xktest.box.button: hello there\n"
            "Wcl Trace for xktest.box.button: one \"two words\"\n"
            "Wcl Trace for xktest.box.button: \n"
            "Wcl Warning: WcDynamicAction() requires dynamic linking via dlopen() and dlsym()\n"
            "Wcl Warning: WcDynamicCallback() requires dynamic linking via dlopen() and dlsym()\n");
}

TEST_F(StandardCallbacks, PositionTransientCentresOverTheOwner) {
  Widget top = xk::test::TopLevel();
  XtRealizeWidget(top);
  Widget shell = XtVaCreatePopupShell("centred", transientShellWidgetClass, box_, XtNtransientFor,
                                      top, nullptr);
  XtVaCreateManagedWidget("content", coreWidgetClass, shell, XtNwidth, 101, XtNheight, 51, nullptr);
  Dimension ownerWidth = 0, ownerHeight = 0;
  XtVaGetValues(top, XtNwidth, &ownerWidth, XtNheight, &ownerHeight, nullptr);
  Position rootX = 0, rootY = 0;
  XtTranslateCoords(top, 0, 0, &rootX, &rootY);

  Fire(shell, "WcPositionTransientCB");
  Position x = 0, y = 0;
  XtVaGetValues(shell, XtNx, &x, XtNy, &y, nullptr);
  EXPECT_EQ(x, rootX + (ownerWidth - 101) / 2);
  EXPECT_EQ(y, rootY + (ownerHeight - 51) / 2);
}

TEST_F(StandardCallbacks, CreateChildrenAndPopupsFromResources) {
  WcRegisterClass(xk::test::App(), "XmPushButton", xmPushButtonWidgetClass);
  XrmDatabase db = XtScreenDatabase(XtScreen(box_));
  XrmPutLineResource(&db, "*box.made.wcClass: XmPushButton");
  XrmPutLineResource(&db, "*box.also.wcClass: XmPushButton");
  XrmPutLineResource(&db, "*box.pop.wcClass: TransientShell");

  Fire(button_, "WcCreateChildrenCB(^ made, also)");
  Widget made = XtNameToWidget(box_, "made");
  ASSERT_NE(made, nullptr);
  EXPECT_TRUE(XtIsManaged(made));
  EXPECT_NE(XtNameToWidget(box_, "also"), nullptr);

  Fire(button_, "WcCreatePopups(^, pop)");
  ASSERT_EQ(box_->core.num_popups, 1u);
  EXPECT_STREQ(XtName(box_->core.popup_list[0]), "pop");

  CaptureWarnings warnings;
  Act(button_, "WcCreateChildrenACT");
  Fire(button_, "WcCreateChildren(*nobody made)");
  Fire(button_, "WcCreatePopupsCB(^)");
  EXPECT_EQ(warnings.Text(),
            "Wcl Warning: WcCreateChildren( ) - No widget names provided.\n"
            "Wcl Warning: WcCreateChildren( *nobody ...) - Parent widget not found.\n"
            "Wcl Warning: WcCreatePopups(^) - No child names provided.\n");
}

TEST_F(StandardCallbacks, CreateRootBuildsRealizedShells) {
  WcRegisterClass(xk::test::App(), "XmPushButton", xmPushButtonWidgetClass);
  XrmDatabase db = XtScreenDatabase(XtScreen(box_));
  XrmPutLineResource(&db, "extraRoot.wcChildren: inside");
  XrmPutLineResource(&db, "extraRoot.inside.wcClass: XmPushButton");

  const Cardinal roots = WcRootCount();
  Act(button_, "WcCreateRootACT", "extraRoot");
  ASSERT_EQ(WcRootCount(), roots + 1);
  Widget root = WcRootAt(roots);
  EXPECT_STREQ(XtName(root), "extraRoot");
  EXPECT_EQ(XtClass(root), applicationShellWidgetClass);
  EXPECT_TRUE(XtIsRealized(root));
  Widget inside = XtNameToWidget(root, "inside");
  ASSERT_NE(inside, nullptr);
  EXPECT_TRUE(XtIsManaged(inside));
  EXPECT_EQ(WcResolveWidgetName(button_, "extraRoot.inside"), inside);

  // A root with nothing in it is realized at 1x1, not at 0x0 (which ends
  // the program).
  Act(button_, "WcCreateRootACT", "bareRoot");
  Widget bare = WcRootAt(WcRootCount() - 1);
  ASSERT_STREQ(XtName(bare), "bareRoot");
  EXPECT_TRUE(XtIsRealized(bare));
  EXPECT_EQ(bare->core.width, 1);
  XtDestroyWidget(bare);

  // "on:" opens a display connection of its own for the new root.
  Act(button_, "WcCreateRootACT", "otherRoot", "on:", DisplayString(XtDisplay(button_)));
  ASSERT_EQ(WcRootCount(), roots + 2);
  Widget other = WcRootAt(roots + 1);
  EXPECT_STREQ(XtName(other), "otherRoot");
  EXPECT_NE(XtDisplay(other), XtDisplay(button_));
  EXPECT_TRUE(XtIsRealized(other));
  XtDestroyWidget(other);
  xk::test::Drain();
  ASSERT_EQ(WcRootCount(), roots + 1);

  // A root whose creation callback destroys it is not realized afterwards.
  XrmPutLineResource(&db, "shortRoot.wcCallback: WcDestroyCB(this)");
  Act(button_, "WcCreateRootACT", "shortRoot");
  xk::test::Drain();
  ASSERT_EQ(WcRootCount(), roots + 1);

  CaptureWarnings warnings;
  Act(button_, "WcCreateRootACT", "farRoot", "on:", ":987");
  Act(button_, "WcCreateRootACT");
  Act(button_, "WcCreateRootACT", "on:", "x");
  EXPECT_EQ(WcRootCount(), roots + 1) << "no shell for an unreachable display";
  const std::string usage =
      "Wcl Usage: WcCreateRoot( shell [on: display] [shell [on: display]] ... )\n";
  EXPECT_EQ(warnings.Text(),
            "Wcl Warning: WcCreateRoot() could not open display :987\n" + usage + usage);
  XtDestroyWidget(root);
}

// wclAppClassName is the class of the roots WcCreateRoot makes, so their
// resources may be given by that class; without it the class comes from
// the name.
TEST_F(StandardCallbacks, CreateRootTakesItsClassFromWclAppClassName) {
  auto titleOfNewRoot = [](const char* context, std::vector<std::string> lines) {
    lines.insert(lines.end(), {"Kest.title: by class", "Named.title: by name"});
    Widget root = xk::test::NewContextRoot(context, lines);
    WcInitialize(root);  // reads the library resources of this context
    const Cardinal roots = WcRootCount();
    Act(root, "WcCreateRootACT", "named");
    EXPECT_EQ(WcRootCount(), roots + 1);
    String title = nullptr;
    XtVaGetValues(WcRootAt(roots), XtNtitle, &title, nullptr);
    std::string result = title ? title : "";
    XtDestroyWidget(WcRootAt(roots));
    return result;
  };
  EXPECT_EQ(titleOfNewRoot("classCtx", {"*wclAppClassName: Kest"}), "by class");
  EXPECT_EQ(titleOfNewRoot("nameCtx", {}), "by name");
}

}  // namespace
