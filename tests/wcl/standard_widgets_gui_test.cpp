// The standard operations on existing widgets, on real Motif widgets:
// managing by name, kind checks, children managed all or none, equal sizes,
// tree prints, and the registration of every name.
#include "tests/wcl/StdTestSupport.h"

#include <Xm/BulletinB.h>
#include <Xm/Label.h>
#include <Xm/PushB.h>
#include <Xm/MenuShell.h>
#include <Xm/PushBG.h>
#include <Xm/RowColumn.h>
#include <X11/IntrinsicP.h>
#include <X11/ShellP.h>
#include <X11/StringDefs.h>

#include <cstring>
#include <string>
#include <utility>
#include <vector>

namespace {

using xk::test::Act;
using xk::test::CaptureWarnings;
using xk::test::Fire;
using xk::test::ToolkitWarnings;

class StandardWidgets : public ::testing::Test {
 protected:
  void SetUp() override {
    xk::test::RegisterStandard();
    box_ =
        XtCreateManagedWidget("box", xmBulletinBoardWidgetClass, xk::test::TopLevel(), nullptr, 0);
  }
  void TearDown() override { XtDestroyWidget(box_); }

  Widget Button(const char* name, Widget parent = nullptr) {
    return XtCreateWidget(name, xmPushButtonWidgetClass, parent ? parent : box_, nullptr, 0);
  }

  Widget box_ = nullptr;
};

// Each of the 68 callback and 68 action names reaches its own operation:
// the first thing the operation says about a bad argument names it.
TEST_F(StandardWidgets, EveryNameReachesItsOwnOperation) {
  struct Case {
    const char* name;
    const char* arg;
    const char* says;  // start of the output
  } cases[] = {
      {"WcManage", "none", "Wcl Warning: WcManage(none) - Widget not found"},
      {"WcUnmanage", "none", "Wcl Warning: WcUnmanage(none) - Widget not found"},
      {"WcManageChildren", "none", "Wcl Usage: WcManageChildren( parent"},
      {"WcUnmanageChildren", "none", "Wcl Usage: WcUnmanageChildren( parent"},
      {"WcDestroy", "none", "Wcl Warning: WcDestroy(none) - Widget not found"},
      {"WcSetSensitive", "none", "Wcl Warning: WcSetSensitive(none) - Widget not found"},
      {"WcSetInsensitive", "none", "Wcl Warning: WcSetInsensitive(none) - Widget not found"},
      {"WcPopup", "none", "Wcl Warning: WcPopup(none) - Widget not found"},
      {"WcPopupGrab", "none", "Wcl Warning: WcPopupGrab(none) - Widget not found"},
      {"WcPopdown", "none", "Wcl Warning: WcPopdown(none) - Widget not found"},
      {"WcMap", "none", "Wcl Warning: WcMap(none) - Widget not found"},
      {"WcUnmap", "none", "Wcl Warning: WcUnmap(none) - Widget not found"},
      {"WcInstallAccelerators", "none", "Wcl Usage: WcInstallAccelerators( dest, src [, src]"},
      {"WcInstallAllAccelerators", "none", "Wcl Usage: WcInstallAllAccelerators( dest, src )"},
      {"WcCreateRoot", "on:", "Wcl Usage: WcCreateRoot( shell [on: display]"},
      {"WcSpawn", "true", ""},
      {"WcLoadResourceFile", "/none/", "Wcl Warning: WcLoadResourceFile( /none/WcLoad"},
      {"WcPrintTree", "none", "Wcl Warning: WcPrintTree(none) - Widget not found"},
      {"WcDumpResources", "none", "Wcl Warning: WcDumpResources(none) - Widget not found"},
      {"WcSameSize", "none", "Wcl Warning: WcSameSize(none) - Need at least two widgets"},
      {"WcCreateChildren", "none", "Wcl Warning: WcCreateChildren( none ...) - Parent widget"},
      {"WcCreatePopups", "none", "Wcl Warning: WcCreatePopups( none ...) - Parent widget"},
      {"WcPositionTransient", "none", ""},
      {"WcSetValues", "none", "Wcl Warning: WcSetValue(none) - Missing target widget name."},
      {"WcSetValue", "none", "Wcl Warning: WcSetValue(none) - Missing target widget name."},
      {"WcTrace", "none", "Wcl Trace for xktest.box: none"},
      {"WcSystem", "true", ""},
      {"WcAddCallbacks", "none", "Wcl Warning: WcAddCallbacks(none) - Widget not found."},
      {"WcRemoveCallbacks", "none", "Wcl Warning: WcRemoveCallbacks(none) - Widget not found."},
      {"WcOnceOnly", "none",
       "Wcl Warning: Widget xktest.box does not have callback list named none."},
      {"WcTranslations", "none", "Wcl Warning: WcTranslations(none ... ) - Widget not found."},
      {"WcDynamicAction", "none", "Wcl Warning: WcDynamicAction() requires dynamic linking"},
      {"WcDynamicCallback", "none", "Wcl Warning: WcDynamicCallback() requires dynamic linking"},
  };
  ASSERT_EQ(std::size(cases), 33u) << "all but WcExit";
  // What the toolkit itself warns about (an unknown action name, say).
  ToolkitWarnings toolkit;
  for (const Case& c : cases) {
    // Callback names, then action names; the plain name is both.
    const std::pair<std::string, bool> forms[] = {{c.name, false},
                                                  {std::string(c.name) + "CB", false},
                                                  {c.name, true},
                                                  {std::string(c.name) + "ACT", true}};
    for (const auto& [name, action] : forms) {
      SCOPED_TRACE(name + (action ? " as an action" : " as a callback"));
      // Files are loaded once per name: give every form a file of its own.
      std::string arg = c.arg;
      if (arg.ends_with("/")) arg += name + (action ? ".act" : ".cb");
      CaptureWarnings warnings;
      toolkit.Clear();
      if (action) {
        Act(box_, name.c_str(), arg.c_str());
      } else {
        Fire(box_, (name + "(" + arg + ")").c_str());
      }
      EXPECT_EQ(toolkit.Lines(), std::vector<std::string>{});
      EXPECT_EQ(warnings.Text().substr(0, std::strlen(c.says)), c.says);
      if (!*c.says) {
        EXPECT_EQ(warnings.Text(), "");
      }
    }
  }
}

TEST_F(StandardWidgets, ManageByNameFromCallbackAndAction) {
  Widget a = Button("a"), b = Button("b"), c = Button("c");
  Fire(box_, "WcManageCB(this.a this.b)");
  EXPECT_TRUE(XtIsManaged(a));
  EXPECT_TRUE(XtIsManaged(b));
  EXPECT_FALSE(XtIsManaged(c));

  Fire(box_, "WcUnmanage(this.a, this.b)");
  EXPECT_FALSE(XtIsManaged(a));
  EXPECT_FALSE(XtIsManaged(b));

  // An empty argument names nothing.
  CaptureWarnings warnings;
  Fire(box_, "WcManageCB()");
  EXPECT_FALSE(XtIsManaged(a));
  EXPECT_EQ(warnings.Text(), "");

  Act(a, "WcManageACT", "^c");
  EXPECT_TRUE(XtIsManaged(c));
}

TEST_F(StandardWidgets, MissingNamesAreReportedAndSkipped) {
  Widget a = Button("a");
  CaptureWarnings warnings;
  Fire(box_, "WcManageCB(this.nothing this.a)");
  EXPECT_TRUE(XtIsManaged(a));
  EXPECT_EQ(warnings.Text(), "Wcl Warning: WcManage(this.nothing) - Widget not found\n");
}

TEST_F(StandardWidgets, KindChecks) {
  Widget rc = XtCreateManagedWidget("rc", xmRowColumnWidgetClass, box_, nullptr, 0);
  Widget gadget = XtCreateManagedWidget("g", xmPushButtonGadgetClass, rc, nullptr, 0);
  Widget button = Button("notAShell");
  XtManageChild(button);
  XtRealizeWidget(xk::test::TopLevel());

  struct Case {
    const char* text;
    const char* warning;
  } cases[] = {
      {"WcPopupCB(this.notAShell)",
       "Wcl Warning: WcPopup(this.notAShell) - Must be a Shell widget\n"},
      {"WcPopupGrab(this.notAShell)",
       "Wcl Warning: WcPopupGrab(this.notAShell) - Must be a Shell widget\n"},
      {"WcPopdownCB(this.notAShell)",
       "Wcl Warning: WcPopdown(this.notAShell) - Must be a Shell widget\n"},
      {"WcSetInsensitiveCB(*rc.g)", "Wcl Warning: WcSetInsensitive(*rc.g) - Must be a Widget\n"},
      {"WcUnmapCB(*rc.g)", "Wcl Warning: WcUnmap(*rc.g) - Must be a Widget\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    CaptureWarnings warnings;
    Fire(box_, c.text);
    EXPECT_EQ(warnings.Text(), c.warning);
  }
  xk::test::Drain();
  XWindowAttributes attrs;
  XGetWindowAttributes(XtDisplay(button), XtWindow(button), &attrs);
  EXPECT_EQ(attrs.map_state, IsViewable) << "a popup of a non-shell changed nothing";
  EXPECT_TRUE(XtIsSensitive(gadget));

  Fire(box_, "WcSetInsensitiveCB(this.notAShell)");
  EXPECT_FALSE(XtIsSensitive(button));
  Fire(box_, "WcSetSensitive(this.notAShell)");
  EXPECT_TRUE(XtIsSensitive(button));
}

// Names the toolkit would end the process on (or crash, or write past a
// gadget for) are reported instead: managing any shell (a root, or a
// pop-up, which is none of its parent's children), mapping a widget without
// a window, accelerators and translations into a gadget.
TEST_F(StandardWidgets, NamesTheToolkitCannotTakeAreReported) {
  Widget rc = XtCreateManagedWidget("rc", xmRowColumnWidgetClass, box_, nullptr, 0);
  XtCreateManagedWidget("g", xmPushButtonGadgetClass, rc, nullptr, 0);
  Widget button = Button("b");
  XtManageChild(button);
  Widget pop = XtCreatePopupShell("pop", transientShellWidgetClass, button, nullptr, 0);
  XtCreateManagedWidget("l", xmLabelWidgetClass, pop, nullptr, 0);
  Widget unmanaged = Button("unmanaged");
  Widget boxPop = XtCreatePopupShell("boxPop", transientShellWidgetClass, box_, nullptr, 0);
  XtRealizeWidget(xk::test::TopLevel());
  ASSERT_FALSE(XtIsRealized(pop));

  struct Case {
    const char* text;
    const char* warning;
  } cases[] = {
      {"WcManageCB(^)", "Wcl Warning: WcManage(^) - Must be a child of a Composite widget\n"},
      {"WcUnmanageCB(^)", "Wcl Warning: WcUnmanage(^) - Must be a child of a Composite widget\n"},
      {"WcManageCB(*b.pop)",
       "Wcl Warning: WcManage(*b.pop) - Must be a child of a Composite widget\n"},
      {"WcManageCB(this.boxPop)",
       "Wcl Warning: WcManage(this.boxPop) - Must be a child of a Composite widget\n"},
      {"WcManageChildren(*box, boxPop)",
       "Wcl Warning: WcManageChildren(boxPop) - Must be a child of a Composite widget\n"},
      {"WcUnmanageChildren(*box, b.pop)",
       "Wcl Warning: WcUnmanageChildren(b.pop) - Must be a child of a Composite widget\n"},
      {"WcMapCB(*b.pop)", "Wcl Warning: WcMap(*b.pop) - Must be realized\n"},
      {"WcUnmapCB(*b.pop)", "Wcl Warning: WcUnmap(*b.pop) - Must be realized\n"},
      {"WcInstallAccelerators(*rc.g, *b)",
       "Wcl Warning: WcInstallAccelerators(*rc.g) - Must be a Widget\n"},
      {"WcInstallAllAccelerators(*rc.g, *box)",
       "Wcl Warning: WcInstallAllAccelerators(*rc.g) - Must be a Widget\n"},
      {"WcTranslations(*rc.g, #override <Key>a: WcTrace(a))",
       "Wcl Warning: WcTranslations(*rc.g) - Must be a Widget\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    CaptureWarnings warnings;
    Fire(box_, c.text);
    xk::test::Drain();
    EXPECT_EQ(warnings.Text(), c.warning);
  }
  EXPECT_FALSE(XtIsRealized(pop));
  EXPECT_FALSE(XtIsManaged(boxPop));

  // What the toolkit can take still works: an unmanaged child that has a
  // window can be mapped and unmapped.
  XtRealizeWidget(unmanaged);
  CaptureWarnings warnings;
  Fire(box_, "WcMapCB(this.unmanaged) WcUnmapCB(this.unmanaged)");
  xk::test::Drain();
  EXPECT_EQ(warnings.Text(), "");
}

TEST_F(StandardWidgets, PopupAndPopdownShells) {
  Widget shell = XtCreatePopupShell("dlg", transientShellWidgetClass, box_, nullptr, 0);
  XtCreateManagedWidget("l", xmLabelWidgetClass, shell, nullptr, 0);
  Fire(box_, "WcPopupCB(this.dlg)");
  EXPECT_TRUE(reinterpret_cast<ShellWidget>(shell)->shell.popped_up);
  Fire(box_, "WcPopdownCB(this.dlg)");
  EXPECT_FALSE(reinterpret_cast<ShellWidget>(shell)->shell.popped_up);
}

// A shell's popupCallback runs before the toolkit marks it up: a list that
// pops up its own shell, or a shell that pops this one up, ran without end
// until the stack overflowed. Each list now runs once.
TEST_F(StandardWidgets, APopupListPoppingUpItsOwnShellRunsOnce) {
  Widget a = XtCreatePopupShell("loopA", transientShellWidgetClass, box_, nullptr, 0);
  Widget b = XtCreatePopupShell("loopB", transientShellWidgetClass, box_, nullptr, 0);
  XtCreateManagedWidget("l", xmLabelWidgetClass, a, nullptr, 0);
  XtCreateManagedWidget("l", xmLabelWidgetClass, b, nullptr, 0);
  for (auto [shell, text] : {std::pair{a, "WcTraceCB(a) WcPopupCB(this) WcPopupGrabCB(^loopB)"},
                             std::pair{b, "WcTraceCB(b) WcPopupCB(^loopA)"}}) {
    XtCallbackList list = WcStringToCallbackList(shell, text);
    XtAddCallbacks(shell, const_cast<String>(XtNpopupCallback), list);
    XtFree(reinterpret_cast<char*>(list));
  }
  CaptureWarnings warnings;
  Fire(box_, "WcPopupCB(this.loopA)");
  EXPECT_EQ(warnings.Text(), "Wcl Trace for xktest.box.loopA: a\nWcl Trace for xktest.box.loopB: b\n");
  EXPECT_TRUE(reinterpret_cast<ShellWidget>(a)->shell.popped_up);
  EXPECT_TRUE(reinterpret_cast<ShellWidget>(b)->shell.popped_up);
  Fire(box_, "WcPopdownCB(this.loopA) WcPopdownCB(this.loopB)");
}

// An empty pop-up has nothing to size it, and the toolkit ends the
// program when it realizes a shell of size 0: it pops up at 1x1.
TEST_F(StandardWidgets, EmptyShellsPopUpAtOnePixel) {
  XrmDatabase db = XtScreenDatabase(XtScreen(box_));
  const std::pair<const char*, const char*> shells[] = {
      {"plain", "Shell"}, {"over", "OverrideShell"}, {"menu", "XmMenuShell"}};
  WcRegisterClass(xk::test::App(), "Shell", shellWidgetClass);
  WcRegisterClass(xk::test::App(), "OverrideShell", overrideShellWidgetClass);
  WcRegisterClass(xk::test::App(), "XmMenuShell", xmMenuShellWidgetClass);
  for (const auto& [name, cls] : shells) {
    SCOPED_TRACE(name);
    const std::string target = std::string("this.") + name;
    XrmPutLineResource(&db, ("*box." + std::string(name) + ".wcCreate: " + cls).c_str());
    WcCreateNamedPopups(box_, name);  // a menu shell realizes itself as it is made
    Widget shell = XtNameToWidget(box_, name);
    ASSERT_NE(shell, nullptr);
    Act(box_, name[0] == 'p' ? "WcPopupGrabACT" : "WcPopupACT", target.c_str());
    EXPECT_TRUE(reinterpret_cast<ShellWidget>(shell)->shell.popped_up);
    EXPECT_EQ(shell->core.width, 1);
    EXPECT_EQ(shell->core.height, 1);
    Act(box_, "WcPopdownACT", target.c_str());
  }
}

TEST_F(StandardWidgets, ManageChildrenAllOrNone) {
  Widget a = Button("a"), b = Button("b");
  {
    CaptureWarnings warnings;
    Fire(xk::test::TopLevel(), "WcManageChildrenCB(*box, a, missing, b)");
    EXPECT_FALSE(XtIsManaged(a));
    EXPECT_FALSE(XtIsManaged(b));
    EXPECT_EQ(warnings.Text(), "Wcl Warning: WcManageChildren() - child missing not found\n");
  }
  Fire(xk::test::TopLevel(), "WcManageChildrenCB(*box, a, b)");
  EXPECT_TRUE(XtIsManaged(a));
  EXPECT_TRUE(XtIsManaged(b));

  // Children are named from the parent only, not searched for elsewhere.
  Widget rc = XtCreateManagedWidget("rc", xmRowColumnWidgetClass, box_, nullptr, 0);
  Widget deep = Button("deep", rc);
  CaptureWarnings warnings;
  Fire(xk::test::TopLevel(), "WcManageChildren(*box, deep)");
  EXPECT_FALSE(XtIsManaged(deep));
  Fire(xk::test::TopLevel(), "WcUnmanageChildren(*box)");
  Fire(xk::test::TopLevel(), "WcUnmanageChildren(*nowhere, a)");
  EXPECT_EQ(warnings.Text(),
            "Wcl Warning: WcManageChildren() - child deep not found\n"
            "Wcl Usage: WcUnmanageChildren( parent, child [, child] ... )\n"
            "Wcl Warning: WcUnmanageChildren( *nowhere, ... ) - parent not found\n");
  Fire(xk::test::TopLevel(), "WcUnmanageChildren(*box, a, b)");
  EXPECT_FALSE(XtIsManaged(a));
  EXPECT_FALSE(XtIsManaged(b));
}

TEST_F(StandardWidgets, SameSizeTakesTheLargestOfEach) {
  Widget a = Button("a"), b = Button("b"), c = Button("c");
  XtVaSetValues(a, XtNwidth, 40, XtNheight, 30, XtNborderWidth, 1, nullptr);
  XtVaSetValues(b, XtNwidth, 60, XtNheight, 10, XtNborderWidth, 0, nullptr);
  XtVaSetValues(c, XtNwidth, 20, XtNheight, 20, XtNborderWidth, 3, nullptr);
  CaptureWarnings warnings;
  Act(box_, "WcSameSizeACT", "this.a", "this.gone", "this.b", "this.c");
  for (Widget w : {a, b, c}) {
    Dimension width = 0, height = 0, border = 0;
    XtVaGetValues(w, XtNwidth, &width, XtNheight, &height, XtNborderWidth, &border, nullptr);
    EXPECT_EQ(width, 60);
    EXPECT_EQ(height, 30);
    EXPECT_EQ(border, 3);
  }
  Fire(box_, "WcSameSize(this.a)");
  EXPECT_EQ(warnings.Text(),
            "Wcl Warning: WcSameSize cannot find widget this.gone from xktest.box\n\n"
            "Wcl Warning: WcSameSize(this.a) - Need at least two widgets\n");
}

TEST_F(StandardWidgets, PrintTreeShowsPopupsChildrenAndEmptyComposites) {
  Button("a");
  XtCreatePopupShell("pop", transientShellWidgetClass, box_, nullptr, 0);
  XtCreateWidget("empty", xmRowColumnWidgetClass, box_, nullptr, 0);
  CaptureWarnings warnings;
  Fire(box_, "WcPrintTreeCB()");
  EXPECT_EQ(warnings.Text(),
            "xktest.box of class XmBulletinBoard\n"
            "Popups:\n"
            "  xktest.box.pop of class TransientShell\n"
            "  No Children.\n"
            "Children:\n"
            "  xktest.box.a of class XmPushButton\n"
            "  xktest.box.empty of class XmRowColumn\n"
            "  No Children.\n"
            "\n");
  warnings.Clear();
  Act(xk::test::TopLevel(), "WcPrintTree", "*empty", "*none");
  EXPECT_EQ(warnings.Text(),
            "xktest.box.empty of class XmRowColumn\nNo Children.\n\n"
            "Wcl Warning: WcPrintTree(*none) - Widget not found\n");
}

TEST_F(StandardWidgets, DestroyAndAccelerators) {
  Widget a = Button("a");
  static bool destroyed;
  destroyed = false;
  XtAddCallback(
      a, XtNdestroyCallback, [](Widget, XtPointer, XtPointer) { destroyed = true; }, nullptr);
  Fire(box_, "WcDestroyCB(this.a)");
  EXPECT_TRUE(destroyed);
  EXPECT_EQ(XtNameToWidget(box_, "a"), nullptr);

  // Outside event dispatch the first name frees the invoking widget at
  // once: the next name cannot be resolved from it, and the box stays.
  static bool boxGone;
  boxGone = false;
  XtAddCallback(
      box_, XtNdestroyCallback, [](Widget, XtPointer, XtPointer) { boxGone = true; }, nullptr);
  Widget b = Button("b");
  Act(b, "WcDestroyACT", "this", "^");
  ASSERT_FALSE(boxGone);
  EXPECT_EQ(XtNameToWidget(box_, "b"), nullptr);

  CaptureWarnings warnings;
  Button("src");
  Fire(box_, "WcInstallAccelerators(this, this.src, this.gone)");
  Fire(box_, "WcInstallAllAccelerators(this.none, this)");
  const std::string accelUsage =
      "Wcl Usage: WcInstallAccelerators( dest, src [, src] ... )\n"
      "\tdest - (root of tree) widget that can activate accelerators,\n"
      "\tsrc  - widget which provides functionality, \n"
      "\t       and defines the accel translation (accelerators resource).\n";
  const std::string allUsage =
      "Wcl Usage: WcInstallAllAccelerators( dest, src )\n"
      "\tdest - (root of tree) widget that can activate accelerators,\n"
      "\tsrc  - root of widget tree, each child widget can provide functionality, \n"
      "\t       and can define a accel translation (accelerators resource).\n";
  EXPECT_EQ(warnings.Text(), "Wcl Warning: Source widget this.gone not found.\n" + accelUsage +
                                "Wcl Warning: Destination widget this.none not found.\n" +
                                allUsage);
}

}  // namespace
