// WcIntrinsicClasses.cpp: registers the Intrinsics' own widget classes and
// the shell constructors, so resource files can create shells without any
// widget set.
#include "wcl/WcIntrinsicClasses.h"

#include <X11/Shell.h>
#include <X11/StringDefs.h>
#include <X11/Vendor.h>

#include <cstring>
#include <vector>

#include "wcl/WcRegistry.h"

namespace {

Widget CreateApplicationShell(Widget parent, String name, ArgList args, Cardinal numArgs) {
  std::vector<Arg> all(args, args + numArgs);
  bool hasArgc = false;
  for (Cardinal i = 0; i < numArgs; ++i) {
    if (args[i].name && std::strcmp(args[i].name, XtNargc) == 0) hasArgc = true;
  }
  if (!hasArgc) {
    // The shell keeps the argv pointer for its lifetime (session
    // management reads it), so the vector is never released.
    auto** argv = reinterpret_cast<String*>(XtMalloc(2 * sizeof(String)));
    argv[0] = XtNewString(name);
    argv[1] = nullptr;
    Arg a;
    XtSetArg(a, XtNargc, 1);
    all.push_back(a);
    XtSetArg(a, XtNargv, argv);
    all.push_back(a);
  }
  std::string cls = wcl::DeriveClassName(name);
  return XtAppCreateShell(name, cls.c_str(), applicationShellWidgetClass, XtDisplay(parent),
                          all.data(), static_cast<Cardinal>(all.size()));
}

template <WidgetClass* Class>
Widget CreatePopupShell(Widget parent, String name, ArgList args, Cardinal numArgs) {
  return XtCreatePopupShell(name, *Class, parent, args, numArgs);
}

}  // namespace

void WcRegisterIntrinsicClasses(XtAppContext app) {
  static WcAppContextList served;
  if (!served.FirstTime(app)) return;

  struct Entry {
    const char* name;
    const char* pointerName;
    WidgetClass widgetClass;
  };
  const Entry classes[] = {
      {"Object", "objectClass", objectClass},
      {"RectObj", "rectObjClass", rectObjClass},
      {"Core", "coreWidgetClass", coreWidgetClass},
      {"Composite", "compositeWidgetClass", compositeWidgetClass},
      {"Constraint", "constraintWidgetClass", constraintWidgetClass},
      {"ApplicationShell", "applicationShellWidgetClass", applicationShellWidgetClass},
      {"OverrideShell", "overrideShellWidgetClass", overrideShellWidgetClass},
      {"Shell", "shellWidgetClass", shellWidgetClass},
      {"TopLevelShell", "topLevelShellWidgetClass", topLevelShellWidgetClass},
      {"TransientShell", "transientShellWidgetClass", transientShellWidgetClass},
      {"VendorShell", "vendorShellWidgetClass", vendorShellWidgetClass},
      {"WmShell", "wmShellWidgetClass", wmShellWidgetClass},
  };
  for (const Entry& e : classes) {
    WcRegisterClass(app, e.name, e.widgetClass);
    WcRegisterClass(app, e.pointerName, e.widgetClass);
  }

  WcRegisterConstructor(app, "XtCreateApplicationShell", CreateApplicationShell);
  WcRegisterConstructor(app, "XtCreateOverrideShell", CreatePopupShell<&overrideShellWidgetClass>);
  WcRegisterConstructor(app, "XtCreateShell", CreatePopupShell<&shellWidgetClass>);
  WcRegisterConstructor(app, "XtCreateTopLevelShell", CreatePopupShell<&topLevelShellWidgetClass>);
  WcRegisterConstructor(app, "XtCreateTransientShell",
                        CreatePopupShell<&transientShellWidgetClass>);
  WcRegisterConstructor(app, "XtCreateWMShell", CreatePopupShell<&wmShellWidgetClass>);
  WcRegisterConstructor(app, "XtCreateVendorShell", CreatePopupShell<&vendorShellWidgetClass>);
}
