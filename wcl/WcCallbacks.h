// WcCallbacks.h: callback strings, late binding and the callback/action
// bridges.
//
// A Callback resource is text naming registered callbacks, each with an
// optional argument text that the callback receives as client data:
//
//   *save.activateCallback:  xKestDoDsmSaveCB  WcUnmanageCB(~)
//   *tool.activateCallback:  Editor::open(file.tem), WcTrace(opened)
//
// Forms of one element: name, Class::name, -llib::name, Class::-llib::name.
// Each entry is bound by name when it fires, not when it is converted, so a
// callback registered after the resource was read is still found.
//
//   XtCallbackList list = WcStringToCallbackList(w, "a(1) b");
//   XtAddCallbacks(w, XmNactivateCallback, list);
//   XtFree((char*)list);   // the entries' records stay alive
#pragma once

#include <X11/Intrinsic.h>

#ifdef __cplusplus
extern "C" {
#endif

// The closure of every entry of a converted list. Allocated zeroed, never
// released; proc, clientData and object are refreshed at each invocation.
typedef struct {
  XtAppContext app;
  Widget widget;          // of the current invocation
  XtPointer callData;     // of the current invocation
  XrmQuark libQuark;      // "-llib", or 0
  XrmQuark classQuark;    // case kept, or 0
  XrmQuark nameQuark;     // case kept
  XrmQuark lowerNameQuark;
  XtCallbackProc proc;    // found at the latest invocation
  String args;            // interned argument text, "" when none
  XtPointer clientData;   // registered with proc
  XtPointer object;       // found for a method at the latest invocation
} WcCallbackRec;

// Client data of a method callback.
typedef struct {
  XtPointer object;       // attached object, or null when none was found
  XtPointer clientData;   // registered with the method
  String args;            // argument text
} WcMethodArgsRec, *WcMethodArgs;

// Parses `text` (at most 63 elements) into a new list whose every entry is
// WcCallbackTrampoline with its own record. Null for a null, empty or blank
// text, and after a conversion warning for a malformed one. XtFree the list.
XtCallbackList WcStringToCallbackList(Widget w, const char* text);

// The procedure of every converted entry: binds the entry by name and
// calls it.
void WcCallbackTrampoline(Widget w, XtPointer record, XtPointer callData);

// Default procedure for an entry whose name is not registered; the client
// data is the callback text.
void WcUndefinedCallback(Widget w, XtPointer callbackText, XtPointer callData);

// Finds the object a method callback of class `classQuark` acts on, seen
// from `w`. The default walks from w up through its ancestors.
typedef XtPointer (*WcFindObjectProc)(Widget w, XrmQuark classQuark);
XtPointer WcFindObject(Widget w, XrmQuark classQuark);

// Replaceable slots; each setter returns the previous procedure, and a null
// argument restores the default.
XtCallbackProc WcSetUndefinedCallback(XtCallbackProc proc);
WcFindObjectProc WcSetFindObject(WcFindObjectProc proc);

// Once-only clean-up: when set, the entry that is being invoked removes
// itself from this callback list of its widget after it returns, and the
// name is cleared. Set by WcOnceOnly.
void WcSetOnceOnlyListName(const char* callbackListName);

// Splits an argument text into action parameters (quotes group, a lone ','
// gives a null parameter; at most 128). Release with WcFreeParams.
void WcSplitParams(Widget w, const char* text, String** params, Cardinal* numParams);
void WcFreeParams(String* params, Cardinal numParams);

// Joins parameters into one text separated by blanks, quoting those that
// would not split back unchanged. XtFree the result.
String WcJoinParams(String* params, Cardinal numParams);

// Callback-to-action bridge: runs `action` on w with the parameters split
// from the callback's argument text (no event).
void WcInvokeAction(XtActionProc action, Widget w, const char* text);

// Action-to-callback bridge: runs `callback` with null, the one parameter,
// or the joined parameters as client data (no call data).
void WcInvokeCallback(XtCallbackProc callback, Widget w, String* params, Cardinal* numParams);

#ifdef __cplusplus
}
#endif
