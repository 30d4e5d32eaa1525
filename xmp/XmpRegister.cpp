// XmpRegister.cpp: registration of the Motif support set, once per
// application context and step.
#include "xmp/XmpRegister.h"

#include <Xm/CascadeB.h>
#include <Xm/CascadeBG.h>
#include <Xm/RepType.h>
#include <Xm/RowColumn.h>
#include <Xm/Xm.h>

#include <iterator>

#include "wcl/WcConvertUtil.h"
#include "wcl/WcCreate.h"
#include "xmp/Table.h"
#include "xmp/XmpMessage.h"
#include "xmp/XmpMotifTables.h"
#include "xmp/XmpSupport.h"

// Motif exports these without declaring them in its public headers.
extern "C" void XmRegisterConverters(void);
extern "C" void _XmRegisterPixmapConverters(void);

namespace xmp {
namespace {

#define XMP_ACTION(name, proc) XtActionsRec{const_cast<char*>(name), proc}

XtActionsRec kActions[] = {
    XMP_ACTION("XmpPopup", XmpPopup),
    XMP_ACTION("XmpPopupACT", XmpPopup),
    XMP_ACTION("MriPopup", XmpPopup),
    XMP_ACTION("MriPopupACT", XmpPopup),
    XMP_ACTION("XmpFixTranslations", XmpFixTranslations),
    XMP_ACTION("XmpFixTranslationsACT", XmpFixTranslations),
    XMP_ACTION("XmpAddMwmCloseCallback", XmpAddMwmCloseCallbackACT),
    XMP_ACTION("XmpAddMwmCloseCallbackACT", XmpAddMwmCloseCallbackACT),
    XMP_ACTION("XmpAddTabGroup", XmpAddTabGroup),
    XMP_ACTION("XmpAddTabGroupACT", XmpAddTabGroup),
    XMP_ACTION("XmpMessageWidget", XmpMessageWidgetACT),
    XMP_ACTION("XmpMessageWidgetACT", XmpMessageWidgetACT),
};

#undef XMP_ACTION

struct NamedCallback {
  const char* name;
  XtCallbackProc proc;
};

const NamedCallback kCallbacks[] = {
    {"XmpFixTranslations", XmpFixTranslationsCB},
    {"XmpFixTranslationsCB", XmpFixTranslationsCB},
    {"XmpAddMwmCloseCallback", XmpAddMwmCloseCallbackCB},
    {"XmpAddMwmCloseCallbackCB", XmpAddMwmCloseCallbackCB},
    {"XmpAddTabGroup", XmpAddTabGroupCB},
    {"XmpAddTabGroupCB", XmpAddTabGroupCB},
    {"XmpMessageWidget", XmpMessageWidgetCB},
    {"XmpMessageWidgetCB", XmpMessageWidgetCB},
};

void RegisterCallbacksAndActions(XtAppContext app) {
  static WcAppContextList served;
  if (!served.FirstTime(app)) return;
  XtAppAddActions(app, kActions, XtNumber(kActions));
  for (const NamedCallback& cb : kCallbacks) WcRegisterCallback(app, cb.name, cb.proc, nullptr);
}

void RegisterMotifConverters(XtAppContext app) {
  static WcAppContextList served;
  if (!served.FirstTime(app)) return;
  XmRegisterConverters();
  XmRepTypeInstallTearOffModelConverter();
  _XmRegisterPixmapConverters();
  XtAppAddConverter(app, XtRString, XmRUnitType, XmCvtStringToUnitType, nullptr, 0);
}

void RegisterWidgetConverters(XtAppContext app) {
  static WcAppContextList served;
  if (!served.FirstTime(app)) return;
  // Resources naming widgets by text under Motif's own type names. Window
  // resources hold X window ids, so a name gives the widget's window rather
  // than the widget pointer, which the server would refuse as a window.
  XtAppSetTypeConverter(app, XtRString, XtRWindow, XmpCvtStringToWindow, wcCvtWidgetArgs,
                        XtNumber(wcCvtWidgetArgs), XtCacheNone, nullptr);
  XtAppSetTypeConverter(app, XtRString, XmRMenuWidget, XmpCvtStringToMenuWidget, wcCvtWidgetArgs,
                        XtNumber(wcCvtWidgetArgs), XtCacheNone, nullptr);
  XtAppAddConverter(app, XtRString, XmRXmString, XmpCvtStringToXmString, nullptr, 0);
}

void RegisterMotifWidgets(XtAppContext app) {
  for (const MotifConstructor& c : MotifConstructors())
    WcRegisterConstructor(app, c.name, c.proc);
  for (const MotifClass& c : MotifClasses()) {
    WcRegisterClass(app, c.pointerName, *c.widgetClass);
    WcRegisterClass(app, c.className, *c.widgetClass);
  }
}

}  // namespace
}  // namespace xmp

extern "C" void XmpRegisterAll(XtAppContext app) {
  using namespace xmp;
  static WcAppContextList served;
  if (!served.FirstTime(app)) return;
  RegisterCallbacksAndActions(app);
  RegisterMotifConverters(app);
  RegisterWidgetConverters(app);
  WcRegisterConverters(app);
  XmpRegisterTable(app);  // its classes, constructors and table-child operations
  RegisterMotifWidgets(app);
}

extern "C" void MriRegisterAll(XtAppContext app) { XmpRegisterAll(app); }

extern "C" void XmpCvtStringToXmString(XrmValue*, Cardinal*, XrmValue* from, XrmValue* to) {
  static XmString cell;
  char* text = from->addr ? static_cast<char*>(from->addr) : const_cast<char*>("");
  XmString value = XmStringCreateLtoR(text,
                                      const_cast<char*>(XmFONTLIST_DEFAULT_TAG));
  if (!to->addr) {
    cell = value;
    to->addr = reinterpret_cast<XPointer>(&cell);
  } else if (to->size >= sizeof(XmString)) {
    *reinterpret_cast<XmString*>(to->addr) = value;
  } else {
    XmStringFree(value);  // nowhere to store it
  }
  to->size = sizeof(XmString);
}

extern "C" Boolean XmpCvtStringToMenuWidget(Display* dpy, XrmValue* args, Cardinal* numArgs,
                                            XrmValue* from, XrmValue* to,
                                            XtPointer* converterData) {
  Widget target = nullptr;
  XrmValue widgetValue{sizeof(Widget), reinterpret_cast<XPointer>(&target)};
  if (!WcCvtStringToWidget(dpy, args, numArgs, from, &widgetValue, converterData)) return False;
  const Widget owner = wcl::ConvertWidget(args);  // the count was checked above
  const bool cascade = owner && (XmIsCascadeButton(owner) || XmIsCascadeButtonGadget(owner));
  if (target && (target == owner || (cascade && !XmIsRowColumn(target)))) {
    XtDisplayStringConversionWarning(dpy, static_cast<char*>(from->addr), XmRMenuWidget);
    return False;
  }
  return wcl::ConvertDone(to, target);
}

extern "C" Boolean XmpCvtStringToWindow(Display* dpy, XrmValue* args, Cardinal* numArgs,
                                        XrmValue* from, XrmValue* to, XtPointer* converterData) {
  Widget target = nullptr;
  XrmValue widgetValue{sizeof(Widget), reinterpret_cast<XPointer>(&target)};
  if (!WcCvtStringToWidget(dpy, args, numArgs, from, &widgetValue, converterData)) return False;
  if (!target || !XtIsRealized(target)) {
    XtDisplayStringConversionWarning(dpy, static_cast<char*>(from->addr), XtRWindow);
    return False;
  }
  Window window = XtWindowOfObject(target);
  if (!to->addr) {
    static Window cell;
    cell = window;
    to->addr = reinterpret_cast<XPointer>(&cell);
  } else if (to->size < sizeof(Window)) {
    to->size = sizeof(Window);
    return False;
  } else {
    *reinterpret_cast<Window*>(to->addr) = window;
  }
  to->size = sizeof(Window);
  return True;
}
