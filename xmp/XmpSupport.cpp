// XmpSupport.cpp: popup menus, window-manager close callbacks, tab groups
// and the Return translation of texts.
#include "xmp/XmpSupport.h"

#include <Xm/MenuShell.h>
#include <Xm/Protocols.h>
#include <Xm/RowColumn.h>
#include <Xm/Text.h>

#include <iterator>
#include <string>

#include "wcl/WcCreate.h"
#include "xmp/XmpOwned.h"

namespace xmp {
namespace {

constexpr wcl::Message<0> kPopupNoParams{"XmpPopup", "noParams",
                                         "Xmp Warning: XmpPopup() - No menu pane name provided."};
constexpr wcl::Message<2> kPopupTooMany{
    "XmpPopup", "tooManyParams",
    "Xmp Warning: XmpPopup( %s %s ... ) - Only one menu pane name allowed."};
constexpr wcl::Message<3> kPopupNotFound{
    "XmpPopup", "notFound",
    "Xmp Warning: XmpPopup( %s ) - Couldn't find menu pane widget `%s' from `%s'"};
constexpr wcl::Message<2> kPopupNotRowColumn{
    "XmpPopup", "notXmRowColumn",
    "Xmp Warning: XmpPopup( %s ) - %s is not menu pane (not XmRowColumn)"};
constexpr wcl::Message<2> kPopupNotPopup{
    "XmpPopup", "notPopupMenuRowColumn",
    "Xmp Warning: XmpPopup( %s ) - %s is not menu pane (not XmMENU_POPUP)"};
constexpr wcl::Message<2> kPopupNotInMenuShell{
    "XmpPopup", "notChildOfXmMenu",
    "Xmp Warning: XmpPopup( %s ) - %s is not menu pane (child of XmMenuShell)"};
constexpr wcl::Message<2> kPopupNotButtonPress{
    "XmpPopup", "notButtonPressEvent",
    "Xmp Warning: XmpPopup( %s ) - event type `%s' is not ButtonPress event."};

constexpr wcl::Message<1> kCloseTargetNotFound{
    "XmpAddMwmCloseCallback", "targetNotFound",
    "Xmp Warning: XmpAddMwmCloseCallback( %s ... ) - Target widget not found"};

constexpr wcl::Message<1> kTabNotFound{"XmpAddTabGroup", "notFound",
                                       "Xmp Warning: XmpAddTabGroup(%s) - Widget not found"};
constexpr wcl::Message<0> kTabUsage{
    "XmpAddTabGroup", "usage",
    "Xmp Warning: XmpAddTabGroup() requires 0 or 1 widget name argument."};

constexpr wcl::Message<0> kFixUsage{"XmpFixTranslations", "usage",
                                    "Xmp Usage: XmpFixTranslations( widget [widgetName] ...)"};
constexpr wcl::Message<1> kFixNotFound{"XmpFixTranslations", "notFound",
                                       "Xmp Warning: XmpFixTranslations(%s) - Widget not found"};
constexpr wcl::Message<1> kFixNotText{"XmpFixTranslations", "notText",
                                      "Xmp Warning: XmpFixTranslations(%s) - Not an XmText widget"};

constexpr const char* kEventNames[] = {
    "", "", "KeyPress", "KeyRelease", "ButtonPress", "ButtonRelease", "MotionNotify",
    "EnterNotify", "LeaveNotify", "FocusIn", "FocusOut", "KeymapNotify", "Expose",
    "GraphicsExpose", "NoExpose", "VisibilityNotify", "CreateNotify", "DestroyNotify",
    "UnmapNotify", "MapNotify", "MapRequest", "ReparentNotify", "ConfigureNotify",
    "ConfigureRequest", "GravityNotify", "ResizeRequest", "CirculateNotify",
    "CirculateRequest", "PropertyNotify", "SelectionClear", "SelectionRequest",
    "SelectionNotify", "ColormapNotify", "ClientMessage", "MappingNotify", "GenericEvent",
};

// The i-th parameter; a parameter split from ",," is null.
const char* Param(String* params, Cardinal i) { return params[i] ? params[i] : ""; }

// Parsed once, shared by every text it is applied to.
XtTranslations ReturnInsertsNewline() {
  static XtTranslations table = XtParseTranslationTable("<Key>Return: newline()");
  return table;
}

}  // namespace

const char* EventTypeName(int type) {
  if (type < 0 || type >= static_cast<int>(std::size(kEventNames))) return "";
  return kEventNames[type];
}

}  // namespace xmp

using namespace xmp;

extern "C" void XmpAddMwmCloseCallback(Widget shell, XtCallbackProc proc, XtPointer closure) {
  // A resource may name a gadget as the target; XtDisplay would read past
  // it. Motif itself refuses protocols on anything but a vendor shell.
  Display* dpy = XtDisplayOfObject(shell);
  Atom protocols = XmInternAtom(dpy, const_cast<char*>("WM_PROTOCOLS"), False);
  Atom deleteWindow = XmInternAtom(dpy, const_cast<char*>("WM_DELETE_WINDOW"), False);
  Atom saveYourself = XmInternAtom(dpy, const_cast<char*>("WM_SAVE_YOURSELF"), False);
  XmAddProtocolCallback(shell, protocols, deleteWindow, proc, closure);
  XmAddProtocolCallback(shell, protocols, saveYourself, proc, closure);
}

extern "C" void XmpAddMwmCloseCallbackCB(Widget w, XtPointer client, XtPointer) {
  const char* text = static_cast<const char*>(client);
  // The target name comes first; the rest of the text is a callback list.
  std::string_view rest = text ? text : "";
  std::string target(wcl::NextName(rest));
  Widget shell = WcResolveWidgetName(w, target.c_str());
  if (!shell) {
    wcl::Warn(w, kCloseTargetNotFound, target.c_str());
    return;
  }
  XtOwned<XtCallbackRec> list(WcStringToCallbackList(shell, std::string(rest).c_str()));
  if (!list) return;
  for (XtCallbackList entry = list.get(); entry->callback; ++entry)
    XmpAddMwmCloseCallback(shell, entry->callback, entry->closure);
}

extern "C" void XmpAddMwmCloseCallbackACT(Widget w, XEvent*, String* params, Cardinal* numParams) {
  WcInvokeCallback(XmpAddMwmCloseCallbackCB, w, params, numParams);
}

extern "C" void XmpPopup(Widget w, XEvent* event, String* params, Cardinal* numParams) {
  Cardinal n = numParams ? *numParams : 0;
  if (n == 0) {
    wcl::Warn(w, kPopupNoParams);
    return;
  }
  if (n > 1) {
    wcl::Warn(w, kPopupTooMany, Param(params, 0), Param(params, 1));
    return;
  }
  const char* name = Param(params, 0);
  Widget menu = WcResolveWidgetName(w, name);
  if (!menu) {
    wcl::Warn(w, kPopupNotFound, name, name, wcl::FullName(w).c_str());
    return;
  }
  if (!XmIsRowColumn(menu)) {
    wcl::Warn(w, kPopupNotRowColumn, name, wcl::FullName(menu).c_str());
    return;
  }
  unsigned char type = 0;
  XtVaGetValues(menu, XmNrowColumnType, &type, nullptr);
  if (type != XmMENU_POPUP) {
    wcl::Warn(w, kPopupNotPopup, name, wcl::FullName(menu).c_str());
    return;
  }
  if (!XtParent(menu) || !XmIsMenuShell(XtParent(menu))) {
    wcl::Warn(w, kPopupNotInMenuShell, name, wcl::FullName(menu).c_str());
    return;
  }
  // Also covers a call with no event, as from a callback bridge.
  if (!event || event->type != ButtonPress) {
    wcl::Warn(w, kPopupNotButtonPress, name, EventTypeName(event ? event->type : 0));
    return;
  }
  XmMenuPosition(menu, &event->xbutton);
  XtManageChild(menu);
}

extern "C" void XmpAddTabGroup(Widget w, XEvent*, String* params, Cardinal* numParams) {
  Cardinal n = numParams ? *numParams : 0;
  if (n == 0) {
    XmAddTabGroup(w);
  } else if (n == 1) {
    if (Widget target = WcResolveWidgetName(w, Param(params, 0)))
      XmAddTabGroup(target);
    else
      wcl::Warn(w, kTabNotFound, Param(params, 0));
  } else {
    wcl::Warn(w, kTabUsage);
  }
}

extern "C" void XmpAddTabGroupCB(Widget w, XtPointer client, XtPointer) {
  WcInvokeAction(XmpAddTabGroup, w, static_cast<const char*>(client));
}

extern "C" void XmpFixTranslations(Widget w, XEvent*, String* params, Cardinal* numParams) {
  Cardinal n = numParams ? *numParams : 0;
  if (n == 0) {
    wcl::Warn(w, kFixUsage);
    return;
  }
  for (Cardinal i = 0; i < n; ++i) {
    const char* name = Param(params, i);
    Widget text = WcResolveWidgetName(w, name);
    if (!text) {
      wcl::Warn(w, kFixNotFound, name);
      return;
    }
    if (!XmIsText(text)) {
      wcl::Warn(w, kFixNotText, name);
      return;
    }
    XtOverrideTranslations(text, ReturnInsertsNewline());
  }
}

extern "C" void XmpFixTranslationsCB(Widget w, XtPointer client, XtPointer) {
  WcInvokeAction(XmpFixTranslations, w, static_cast<const char*>(client));
}
