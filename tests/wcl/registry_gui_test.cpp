// Registries: name matching, replacement, refused class names, the
// intrinsic classes and shell constructors, actions, dynamic libraries and
// the once-only lists.
#include <gtest/gtest.h>

#include "common/Warnings.h"
#include "common/XFixture.h"
#include "wcl/WcIntrinsicClasses.h"
#include "wcl/WcRegistry.h"

#include <Xm/Label.h>
#include <X11/IntrinsicP.h>
#include <X11/ShellP.h>
#include <X11/StringDefs.h>

#include <string>

namespace {

using xk::test::CaptureWarnings;

XtAppContext App() { return xk::test::App(); }

void ProcA(Widget, XtPointer, XtPointer) {}
void ProcB(Widget, XtPointer, XtPointer) {}

TEST(NameToQuarkLower, LeadingIdentifierLowered) {
  const struct {
    const char* name;
    const char* lower;
  } cases[] = {
      {"MyCB", "mycb"},
      {"  MyCB(arg)", "mycb"},
      {"*XmPushButton", "xmpushbutton"},
      {"a_B9-rest", "a_b9"},
      {"", ""},
      {nullptr, ""},
      {"(((", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name ? c.name : "(null)");
    EXPECT_EQ(WcNameToQuarkLower(c.name), XrmStringToQuark(c.lower));
  }
  std::string base(127, 'k');
  EXPECT_EQ(WcNameToQuarkLower((base + "AAA").c_str()), WcNameToQuarkLower((base + "b").c_str()));
  EXPECT_NE(WcNameToQuarkLower(base.substr(1).append("A").c_str()),
            WcNameToQuarkLower(base.substr(1).append("B").c_str()));
}

TEST(Registries, CaseInsensitiveNamesAndReplacement) {
  WcRegisterCallback(App(), "ReplaceMeCB", ProcA, nullptr);
  WcCallbackPair first = WcFindCallback(App(), WcNameToQuarkLower("replacemecb("));
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(first->callback, ProcA);
  WcRegisterCallback(App(), "replacemecb", ProcB, const_cast<char*>("cd"));
  WcCallbackPair second = WcFindCallback(App(), WcNameToQuarkLower("REPLACEMECB"));
  EXPECT_EQ(second->callback, ProcB);
  EXPECT_STREQ(static_cast<char*>(second->clientData), "cd");

  WcRegisterClass(App(), "MyLabel", xmLabelWidgetClass);
  EXPECT_EQ(WcFindClass(App(), WcNameToQuarkLower("mylabel")), xmLabelWidgetClass);
  EXPECT_EQ(WcFindClass(App(), WcNameToQuarkLower("mylabelx")), nullptr);
  EXPECT_EQ(WcFindConstructor(App(), WcNameToQuarkLower("MyLabel")), nullptr);

  // Another application context has registries of its own.
  auto other = reinterpret_cast<XtAppContext>(0x1000);
  EXPECT_EQ(WcFindCallback(other, WcNameToQuarkLower("ReplaceMeCB")), nullptr);
}

TEST(Registries, LibraryLikeClassNamesRefused) {
  Widget top = xk::test::TopLevel();
  CaptureWarnings warnings;
  WcRegisterMethod(App(), "-lfoo", "bar", ProcA, nullptr);
  EXPECT_EQ(WcFindMethod(App(), XrmStringToQuark("-lfoo"), XrmStringToQuark("bar")), nullptr);
  static char object[] = "obj";
  WcAttachThisToWidget(object, "-lfoo", top);
  EXPECT_EQ(WcFindAttachedObject(top, XrmStringToQuark("-lfoo")), nullptr);
  EXPECT_EQ(warnings.Take(),
            "Wcl Warning: Class names cannot begin with `-l' - registration of -lfoo::bar "
            "ignored\n"
            "Wcl Warning: Class names cannot begin with `-l',\n\t- cannot attach object of class "
            "`-lfoo'\nto widget xktest\n");

  WcRegisterMethod(App(), "-xfoo", "bar", ProcA, nullptr);
  EXPECT_NE(WcFindMethod(App(), XrmStringToQuark("-xfoo"), XrmStringToQuark("bar")), nullptr);
  WcAttachThisToWidget(object, "-xfoo", top);
  EXPECT_EQ(WcFindAttachedObject(top, XrmStringToQuark("-xfoo")), object);
  WcDetachThisFromWidget(object, "-xfoo", top);
  EXPECT_EQ(warnings.Text(), "");
}

TEST(IntrinsicClasses, BothNamesAndOnlyOncePerContext) {
  WcRegisterIntrinsicClasses(App());
  EXPECT_EQ(WcFindClass(App(), WcNameToQuarkLower("TopLevelShell")), topLevelShellWidgetClass);
  EXPECT_EQ(WcFindClass(App(), WcNameToQuarkLower("topLevelShellWidgetClass")),
            topLevelShellWidgetClass);
  EXPECT_EQ(WcFindClass(App(), WcNameToQuarkLower("rectObjClass")), rectObjClass);

  // A second start-up must not undo what was registered after the first.
  WcRegisterClass(App(), "Core", xmLabelWidgetClass);
  WcRegisterIntrinsicClasses(App());
  EXPECT_EQ(WcFindClass(App(), WcNameToQuarkLower("Core")), xmLabelWidgetClass);
  WcRegisterClass(App(), "Core", coreWidgetClass);
}

TEST(IntrinsicClasses, ShellConstructors) {
  WcRegisterIntrinsicClasses(App());
  Widget top = xk::test::TopLevel();

  WcConstructorProc app = WcFindConstructor(App(), WcNameToQuarkLower("XtCreateApplicationShell"));
  ASSERT_NE(app, nullptr);
  char name[] = "editorWindow";
  Widget shell = app(top, name, nullptr, 0);
  ASSERT_NE(shell, nullptr);
  EXPECT_EQ(XtClass(shell), applicationShellWidgetClass);
  EXPECT_EQ(XtParent(shell), nullptr);
  auto* as = reinterpret_cast<ApplicationShellWidget>(shell);
  EXPECT_STREQ(as->application.c_class, "EditorWindow");
  ASSERT_EQ(as->application.argc, 1);
  EXPECT_STREQ(as->application.argv[0], "editorWindow");
  XtDestroyWidget(shell);

  const struct {
    const char* ctor;
    WidgetClass cls;
  } popups[] = {
      {"XtCreateOverrideShell", overrideShellWidgetClass},
      {"XtCreateShell", shellWidgetClass},
      {"XtCreateTopLevelShell", topLevelShellWidgetClass},
      {"XtCreateTransientShell", transientShellWidgetClass},
      {"XtCreateWMShell", wmShellWidgetClass},
      {"XtCreateVendorShell", vendorShellWidgetClass},
  };
  for (const auto& p : popups) {
    SCOPED_TRACE(p.ctor);
    WcConstructorProc ctor = WcFindConstructor(App(), WcNameToQuarkLower(p.ctor));
    ASSERT_NE(ctor, nullptr);
    char popupName[] = "pop";
    Widget w = ctor(top, popupName, nullptr, 0);
    EXPECT_EQ(XtClass(w), p.cls);
    EXPECT_EQ(XtParent(w), top);
    XtDestroyWidget(w);
  }
}

TEST(DeriveClassName, FirstOrSecondLetterUpper) {
  const struct {
    const char* name;
    const char* cls;
  } cases[] = {
      {"xkest", "Xkest"},   {"/usr/bin/myApp", "MyApp"}, {"Xterm", "XTerm"},
      {"XTERM", "XTERM"},   {"1abc", "1Abc"},            {"", ""},
      {"a", "A"},           {"dir/", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(wcl::DeriveClassName(c.name), c.cls);
  }
}

const char* lastAction = "";
void ActionA(Widget, XEvent*, String*, Cardinal*) { lastAction = "A"; }
void ActionB(Widget, XEvent*, String*, Cardinal*) { lastAction = "B"; }

TEST(Actions, LatestRegistrationFoundFirst) {
  Widget top = xk::test::TopLevel();
  WcRegisterAction(App(), "wcTestAction", ActionA);
  XtCallActionProc(top, "wcTestAction", nullptr, nullptr, 0);
  EXPECT_STREQ(lastAction, "A");
  WcRegisterAction(App(), "wcTestAction", ActionB);
  XtCallActionProc(top, "wcTestAction", nullptr, nullptr, 0);
  EXPECT_STREQ(lastAction, "B");
}

TEST(DynamicLibs, ShortNamesFromPaths) {
  WcLoadDynamicLibs(App(), "/usr/lib/libfoo.so.1, bar.so\t/opt/libx");
  EXPECT_STREQ(WcFindDynamicLib(App(), "-lfoo"), "/usr/lib/libfoo.so.1");
  EXPECT_STREQ(WcFindDynamicLib(App(), "-lbar"), "bar.so");
  EXPECT_STREQ(WcFindDynamicLib(App(), "-lx"), "/opt/libx");
  EXPECT_EQ(WcFindDynamicLib(App(), "-llibfoo"), nullptr);
}

TEST(AppContextList, EachContextServedOnce) {
  WcAppContextList list;
  auto a = reinterpret_cast<XtAppContext>(0x10);
  auto b = reinterpret_cast<XtAppContext>(0x20);
  EXPECT_TRUE(list.FirstTime(a));
  EXPECT_FALSE(list.FirstTime(a));
  EXPECT_TRUE(list.FirstTime(b));
  // More contexts than the old fixed table held.
  for (intptr_t i = 1; i <= 2000; ++i) {
    EXPECT_TRUE(list.FirstTime(reinterpret_cast<XtAppContext>(0x100000 + i * 16)));
  }
  EXPECT_FALSE(list.FirstTime(reinterpret_cast<XtAppContext>(0x100000 + 1500 * 16)));
}

}  // namespace
