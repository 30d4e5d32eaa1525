// Registration of the Motif support set: every Motif class and constructor
// is found under its names, a second registration changes nothing, and
// the converters it adds turn resource text into compound strings, menu
// widgets and windows.
#include <gtest/gtest.h>

#include <X11/IntrinsicP.h>
#include <X11/CoreP.h>
#include <X11/Shell.h>
#include <Xm/CascadeB.h>
#include <Xm/Form.h>
#include <Xm/Label.h>
#include <Xm/RowColumn.h>
#include <Xm/ToggleB.h>

#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "common/Warnings.h"
#include "common/XFixture.h"
#include "wcl/WcCreate.h"
#include "xmp/Xmp.h"
#include "xmp/XmpMotifTables.h"

namespace {

XrmQuark Lower(const char* name) { return WcNameToQuarkLower(name); }

TEST(Register, EveryMotifClassAndConstructorIsFoundByName) {
  XtAppContext app = xk::test::App();
  xk::test::TopLevel();
  XmpRegisterAll(app);
  for (const xmp::MotifClass& c : xmp::MotifClasses()) {
    SCOPED_TRACE(c.className);
    EXPECT_EQ(WcFindClass(app, Lower(c.className)), *c.widgetClass);
    EXPECT_EQ(WcFindClass(app, Lower(c.pointerName)), *c.widgetClass);
    // The registered name is the one Motif gives the class itself.
    EXPECT_STREQ((*c.widgetClass)->core_class.class_name, c.className);
  }
  for (const xmp::MotifConstructor& c : xmp::MotifConstructors()) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(WcFindConstructor(app, Lower(c.name)), c.proc);
  }
  EXPECT_EQ(WcFindConstructor(app, Lower("XmCreateCheckBox")), XmCreateSimpleCheckBox);
  EXPECT_EQ(WcFindClass(app, Lower("XmPrintShell")), nullptr);  // no print support here
  // The table widget comes with the same call.
  EXPECT_EQ(WcFindClass(app, Lower("XmpTable")), xmpTableWidgetClass);
  EXPECT_NE(WcFindConstructor(app, Lower("XmpCreateTableDialog")), nullptr);
  EXPECT_NE(WcFindCallback(app, Lower("XmpTableChildConfigCB")), nullptr);
  for (const char* cb : {"XmpFixTranslations", "XmpFixTranslationsCB", "XmpAddMwmCloseCallback",
                         "XmpAddMwmCloseCallbackCB", "XmpAddTabGroup", "XmpAddTabGroupCB",
                         "XmpMessageWidget", "XmpMessageWidgetCB"}) {
    SCOPED_TRACE(cb);
    EXPECT_NE(WcFindCallback(app, Lower(cb)), nullptr);
  }
}

// A gadget made under a shell or a plain composite crashed Motif or ended
// the program; the registered constructors make it only under a manager.
TEST(Register, GadgetConstructorsMakeNothingOutsideAManager) {
  XtAppContext app = xk::test::App();
  Widget top = xk::test::TopLevel();
  XmpRegisterAll(app);
  Widget shell = XtCreatePopupShell("gshell", topLevelShellWidgetClass, top, nullptr, 0);
  Widget form = XmCreateForm(top, const_cast<char*>("gform"), nullptr, 0);
  Widget plain = XtCreateWidget("gplain", compositeWidgetClass, form, nullptr, 0);
  for (const char* name : {"XmCreateArrowButtonGadget", "XmCreateCascadeButtonGadget",
                           "XmCreateLabelGadget", "XmCreatePushButtonGadget",
                           "XmCreateSeparatorGadget", "XmCreateToggleButtonGadget",
                           "XmCreateIconGadget", "XmCreateIconHeader"}) {
    SCOPED_TRACE(name);
    WcConstructorProc create = WcFindConstructor(app, Lower(name));
    ASSERT_NE(create, nullptr);
    EXPECT_EQ(create(shell, const_cast<char*>("g"), nullptr, 0), nullptr);
    EXPECT_EQ(create(plain, const_cast<char*>("g"), nullptr, 0), nullptr);
  }
  Widget made = WcFindConstructor(app, Lower("XmCreateLabelGadget"))(
      form, const_cast<char*>("g"), nullptr, 0);
  ASSERT_NE(made, nullptr);
  EXPECT_FALSE(XtIsWidget(made));
  XtDestroyWidget(form);
  XtDestroyWidget(shell);
}

// A misspelt name in the tables would only show when a resource file uses
// it: each name must reach its own operation.
TEST(Register, EveryActionAndCallbackNameReachesItsOperation) {
  XtAppContext app = xk::test::App();
  XmpRegisterAll(app);
  Widget label = XmCreateLabel(xk::test::TopLevel(), const_cast<char*>("nameLabel"), nullptr, 0);
  std::optional<xk::test::CaptureWarnings> warnings(std::in_place);
  struct Action {
    const char* name;
    const char* operation;  // named by the warning two unknown names give
  };
  const Action actions[] = {
      {"XmpPopup", "XmpPopup("},
      {"XmpPopupACT", "XmpPopup("},
      {"MriPopup", "XmpPopup("},
      {"MriPopupACT", "XmpPopup("},
      {"XmpFixTranslations", "XmpFixTranslations("},
      {"XmpFixTranslationsACT", "XmpFixTranslations("},
      {"XmpAddMwmCloseCallback", "XmpAddMwmCloseCallback("},
      {"XmpAddMwmCloseCallbackACT", "XmpAddMwmCloseCallback("},
      {"XmpAddTabGroup", "XmpAddTabGroup("},
      {"XmpAddTabGroupACT", "XmpAddTabGroup("},
      {"XmpMessageWidget", "XmpMessageWidget("},
      {"XmpMessageWidgetACT", "XmpMessageWidget("},
      {"XmpTableChildConfig", "XmpTableChildConfig("},
      {"XmpTableChildConfigACT", "XmpTableChildConfig("},
      {"XmpTableChildPosition", "XmpTableChildPosition("},
      {"XmpTableChildPositionACT", "XmpTableChildPosition("},
      {"XmpTableChildResize", "XmpTableChildResize("},
      {"XmpTableChildResizeACT", "XmpTableChildResize("},
      {"XmpTableChildOptions", "XmpTableChildOptions("},
      {"XmpTableChildOptionsACT", "XmpTableChildOptions("},
  };
  XEvent press{};
  press.type = ButtonPress;
  for (const Action& a : actions) {
    SCOPED_TRACE(a.name);
    warnings->Clear();
    String params[] = {const_cast<char*>("nosuchA"), const_cast<char*>("nosuchB")};
    XtCallActionProc(label, a.name, &press, params, 2);
    ASSERT_EQ(warnings->Messages().size(), 1u);
    EXPECT_NE(warnings->Messages()[0].find(a.operation), std::string::npos) << warnings->Messages()[0];
  }
  warnings.reset();
  XtDestroyWidget(label);

  struct Callback {
    const char* name;
    XtCallbackProc proc;
  };
  const Callback callbacks[] = {
      {"XmpFixTranslations", XmpFixTranslationsCB},
      {"XmpFixTranslationsCB", XmpFixTranslationsCB},
      {"XmpAddMwmCloseCallback", XmpAddMwmCloseCallbackCB},
      {"XmpAddMwmCloseCallbackCB", XmpAddMwmCloseCallbackCB},
      {"XmpAddTabGroup", XmpAddTabGroupCB},
      {"XmpAddTabGroupCB", XmpAddTabGroupCB},
      {"XmpMessageWidget", XmpMessageWidgetCB},
      {"XmpMessageWidgetCB", XmpMessageWidgetCB},
      {"XmpTableChildConfig", XmpTableChildConfigCB},
      {"XmpTableChildConfigCB", XmpTableChildConfigCB},
      {"XmpTableChildPosition", XmpTableChildPositionCB},
      {"XmpTableChildPositionCB", XmpTableChildPositionCB},
      {"XmpTableChildResize", XmpTableChildResizeCB},
      {"XmpTableChildResizeCB", XmpTableChildResizeCB},
      {"XmpTableChildOptions", XmpTableChildOptionsCB},
      {"XmpTableChildOptionsCB", XmpTableChildOptionsCB},
  };
  for (const Callback& c : callbacks) {
    SCOPED_TRACE(c.name);
    WcCallbackPair found = WcFindCallback(app, Lower(c.name));
    ASSERT_NE(found, nullptr);
    EXPECT_EQ(found->callback, c.proc);
    EXPECT_EQ(found->clientData, nullptr);
  }
  // The popup is an action only; the ACT names are never callbacks.
  for (const char* name : {"XmpPopup", "MriPopup", "XmpAddTabGroupACT", "XmpMessageWidgetACT"}) {
    SCOPED_TRACE(name);
    EXPECT_EQ(WcFindCallback(app, Lower(name)), nullptr);
  }
}

int g_replacementActions = 0;
void ReplacementAction(Widget, XEvent*, String*, Cardinal*) { ++g_replacementActions; }
void ReplacementCallback(Widget, XtPointer, XtPointer) {}
Widget ReplacementConstructor(Widget, String, ArgList, Cardinal) { return nullptr; }

TEST(Register, SecondRegistrationRegistersNothing) {
  XtAppContext app = xk::test::App();
  XmpRegisterAll(app);
  // Replace one name of each kind; a second registration would undo that.
  WcRegisterCallback(app, "XmpAddTabGroupCB", ReplacementCallback, nullptr);
  WcRegisterConstructor(app, "XmCreateForm", ReplacementConstructor);
  WcRegisterClass(app, "XmForm", coreWidgetClass);
  WcRegisterAction(app, "XmpPopup", ReplacementAction);
  XmpRegisterAll(app);
  MriRegisterAll(app);
  EXPECT_EQ(WcFindCallback(app, Lower("XmpAddTabGroupCB"))->callback, ReplacementCallback);
  EXPECT_EQ(WcFindConstructor(app, Lower("XmCreateForm")), ReplacementConstructor);
  EXPECT_EQ(WcFindClass(app, Lower("XmForm")), coreWidgetClass);
  XtCallActionProc(xk::test::TopLevel(), "XmpPopup", nullptr, nullptr, 0);
  EXPECT_EQ(g_replacementActions, 1);
  // Put the real ones back for the tests that follow.
  WcRegisterCallback(app, "XmpAddTabGroupCB", XmpAddTabGroupCB, nullptr);
  WcRegisterConstructor(app, "XmCreateForm", XmCreateForm);
  WcRegisterClass(app, "XmForm", xmFormWidgetClass);
  WcRegisterAction(app, "XmpPopup", XmpPopup);
}

TEST(Register, XmStringConverterBreaksLinesAndRespectsTheDestination) {
  XmpRegisterAll(xk::test::App());
  XmString s = nullptr;
  XrmValue from{sizeof("one\ntwo"), const_cast<char*>("one\ntwo")};
  XrmValue to{sizeof(s), reinterpret_cast<XPointer>(&s)};
  ASSERT_TRUE(XtConvertAndStore(xk::test::TopLevel(), XtRString, &from, XmRXmString, &to));
  EXPECT_EQ(XmStringLineCount(s), 2);
  EXPECT_EQ(to.size, sizeof(XmString));

  // Too small a destination is left alone; the size says what is needed.
  char small[4] = {'x', 'x', 'x', 'x'};
  XrmValue tiny{sizeof(small), small};
  XmpCvtStringToXmString(nullptr, nullptr, &from, &tiny);
  EXPECT_EQ(std::string(small, 4), "xxxx");
  EXPECT_EQ(tiny.size, sizeof(XmString));
}

TEST(Register, WidgetNameConvertersForMenusAndWindows) {
  XtAppContext app = xk::test::App();
  XmpRegisterAll(app);
  Widget top = xk::test::TopLevel();
  Widget form = XmCreateForm(top, const_cast<char*>("cvtForm"), nullptr, 0);
  Widget pane = XmCreatePulldownMenu(form, const_cast<char*>("cvtPane"), nullptr, 0);
  XtRealizeWidget(top);

  Widget menu = nullptr;
  XrmValue from{sizeof("*cvtPane"), const_cast<char*>("*cvtPane")};
  XrmValue to{sizeof(menu), reinterpret_cast<XPointer>(&menu)};
  ASSERT_TRUE(XtConvertAndStore(form, XtRString, &from, XmRMenuWidget, &to));
  EXPECT_EQ(menu, pane);

  // A cascade button's menu is a row column, never a button nor itself
  // (Motif crashed on both); a refused name leaves the resource unset.
  Widget bar = XmCreateMenuBar(form, const_cast<char*>("cvtBar"), nullptr, 0);
  Widget file = XmCreateCascadeButton(bar, const_cast<char*>("cvtFile"), nullptr, 0);
  Widget other = XmCreateCascadeButton(bar, const_cast<char*>("cvtOther"), nullptr, 0);
  for (const char* name : {"*cvtOther", "this", "."}) {
    menu = other;
    XrmValue bad{static_cast<unsigned>(std::strlen(name) + 1), const_cast<char*>(name)};
    to = {sizeof(menu), reinterpret_cast<XPointer>(&menu)};
    xk::test::ToolkitWarnings refused;
    EXPECT_FALSE(XtConvertAndStore(file, XtRString, &bad, XmRMenuWidget, &to)) << name;
    EXPECT_EQ(refused.Lines(),
              std::vector<std::string>{"conversionError/string " + std::string(name) + " MenuWidget"});
  }
  to = {sizeof(menu), reinterpret_cast<XPointer>(&menu)};
  ASSERT_TRUE(XtConvertAndStore(file, XtRString, &from, XmRMenuWidget, &to));
  EXPECT_EQ(menu, pane);
  // A row column's help widget is one of its buttons, not the bar itself.
  XrmValue fromFile{sizeof("cvtFile"), const_cast<char*>("cvtFile")};
  to = {sizeof(menu), reinterpret_cast<XPointer>(&menu)};
  ASSERT_TRUE(XtConvertAndStore(bar, XtRString, &fromFile, XmRMenuWidget, &to));
  EXPECT_EQ(menu, file);
  XrmValue fromThis{sizeof("this"), const_cast<char*>("this")};
  to = {sizeof(menu), reinterpret_cast<XPointer>(&menu)};
  {
    xk::test::ToolkitWarnings refused;
    EXPECT_FALSE(XtConvertAndStore(bar, XtRString, &fromThis, XmRMenuWidget, &to));
    EXPECT_EQ(refused.Lines().size(), 1u);
  }

  // A Window resource gets the named widget's window, never its pointer.
  Window window = 0;
  XrmValue fromTop{sizeof("xktest"), const_cast<char*>("xktest")};
  XrmValue toWindow{sizeof(window), reinterpret_cast<XPointer>(&window)};
  ASSERT_TRUE(XtConvertAndStore(form, XtRString, &fromTop, XtRWindow, &toWindow));
  EXPECT_EQ(window, XtWindow(top));

  // An unrealized widget has no window: the conversion fails.
  Widget hidden = XtCreatePopupShell("cvtHidden", topLevelShellWidgetClass, top, nullptr, 0);
  XrmValue fromHidden{sizeof("*cvtHidden"), const_cast<char*>("*cvtHidden")};
  window = 0;
  toWindow = {sizeof(window), reinterpret_cast<XPointer>(&window)};
  testing::internal::CaptureStderr();
  EXPECT_FALSE(XtConvertAndStore(form, XtRString, &fromHidden, XtRWindow, &toWindow));
  std::string err = testing::internal::GetCapturedStderr();
  EXPECT_NE(err.find("Cannot convert string \"*cvtHidden\" to type Window"), std::string::npos) << err;
  XtDestroyWidget(hidden);
  XtDestroyWidget(form);
}

}  // namespace
