// TableRegister.cpp: makes the table widget nameable from resource files:
// its class names, constructors and the table-child callbacks and actions.
#include "wcl/WcRegistry.h"
#include "xmp/Table.h"

namespace {

#define XMP_ACTION(name, proc) \
  XtActionsRec { const_cast<char*>(name), proc }

// Each operation's plain name is an action and a callback, its ACT name an
// action only and its CB name a callback only.
XtActionsRec kActions[] = {
    XMP_ACTION("XmpTableChildConfig", XmpTableChildConfigACT),
    XMP_ACTION("XmpTableChildConfigACT", XmpTableChildConfigACT),
    XMP_ACTION("XmpTableChildPosition", XmpTableChildPositionACT),
    XMP_ACTION("XmpTableChildPositionACT", XmpTableChildPositionACT),
    XMP_ACTION("XmpTableChildResize", XmpTableChildResizeACT),
    XMP_ACTION("XmpTableChildResizeACT", XmpTableChildResizeACT),
    XMP_ACTION("XmpTableChildOptions", XmpTableChildOptionsACT),
    XMP_ACTION("XmpTableChildOptionsACT", XmpTableChildOptionsACT),
};

#undef XMP_ACTION

struct NamedCallback {
  const char* name;
  XtCallbackProc proc;
};

const NamedCallback kCallbacks[] = {
    {"XmpTableChildConfig", XmpTableChildConfigCB},
    {"XmpTableChildConfigCB", XmpTableChildConfigCB},
    {"XmpTableChildPosition", XmpTableChildPositionCB},
    {"XmpTableChildPositionCB", XmpTableChildPositionCB},
    {"XmpTableChildResize", XmpTableChildResizeCB},
    {"XmpTableChildResizeCB", XmpTableChildResizeCB},
    {"XmpTableChildOptions", XmpTableChildOptionsCB},
    {"XmpTableChildOptionsCB", XmpTableChildOptionsCB},
};

}  // namespace

extern "C" void XmpRegisterTable(XtAppContext app) {
  static WcAppContextList served;
  if (!served.FirstTime(app)) return;
  WcRegisterConstructor(app, "XmpCreateTable", XmpCreateTable);
  WcRegisterConstructor(app, "XmpCreateTableDialog", XmpCreateTableDialog);
  WcRegisterConstructor(app, "XmpCreateTableTransient", XmpCreateTableTransient);
  WcRegisterClass(app, "XmpTable", xmpTableWidgetClass);
  WcRegisterClass(app, "xmpTableWidgetClass", xmpTableWidgetClass);
  XtAppAddActions(app, kActions, XtNumber(kActions));
  for (const NamedCallback& cb : kCallbacks) WcRegisterCallback(app, cb.name, cb.proc, nullptr);
}
