// XmpSupport.h: Motif-specific operations for resource descriptions: popup
// menus, the window manager's close and save-yourself messages, tab groups,
// and Return inserting a newline in multi-line texts.
//
// Registered by XmpRegisterAll under these names (actions take widget
// names as parameters, callbacks as one argument text):
//
//   *work.translations:  #override <Btn3Down>: XmpPopup(*workMenu)
//   *main.wcCallback:    XmpAddMwmCloseCallbackCB(~, myQuitCB(now))
//   *form.wcCallback:    XmpAddTabGroupCB(*ok) XmpFixTranslationsCB(*notes)
//
// Widget names resolve from the widget the action or callback runs on.
#pragma once

#include <X11/Intrinsic.h>

#include <string_view>

extern "C" {

// Adds proc with closure to shell's WM_DELETE_WINDOW and WM_SAVE_YOURSELF
// protocol callbacks. What the shell itself does on a close request stays
// as its deleteResponse resource says.
void XmpAddMwmCloseCallback(Widget shell, XtCallbackProc proc, XtPointer closure);

// Client data: a target widget name, then a callback list, for example
// "~, quitCB(1) saveCB". Each callback is attached to the target as above.
void XmpAddMwmCloseCallbackCB(Widget w, XtPointer client, XtPointer call);
void XmpAddMwmCloseCallbackACT(Widget w, XEvent* event, String* params, Cardinal* numParams);

// Action: posts the popup menu pane named by the one parameter at the
// pointer. The event must be a ButtonPress.
void XmpPopup(Widget w, XEvent* event, String* params, Cardinal* numParams);

// Action: makes the named widget (no parameter: w itself) a tab group.
void XmpAddTabGroup(Widget w, XEvent* event, String* params, Cardinal* numParams);
void XmpAddTabGroupCB(Widget w, XtPointer client, XtPointer call);

// Action: in each named XmText, Return inserts a newline. Stops at the
// first name that is missing or not an XmText; earlier ones keep the change.
void XmpFixTranslations(Widget w, XEvent* event, String* params, Cardinal* numParams);
void XmpFixTranslationsCB(Widget w, XtPointer client, XtPointer call);
}

namespace xmp {

// The X11 name of an event type ("KeyPress"); "" for 0, 1 and unknown types.
const char* EventTypeName(int type);

}  // namespace xmp
