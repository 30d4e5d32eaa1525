// WcStandard.h: the standard callbacks and actions.
//
// A fixed set of operations that a resource description can use without any
// application code: managing, mapping and popping widgets up and down,
// creating children, pop-ups and new roots, loading resource files, running
// programs, printing trees and traces, and setting resources. Each operation
// is registered per application context as a callback under its plain name
// and its name with "CB", and as an action under its plain name and its
// name with "ACT":
//
//   WcRegisterStandardCallbacks(app);   // WcManage, WcManageCB, ...
//   WcRegisterStandardActions(app);     // WcManage, WcManageACT, ...
//
//   *ok.activateCallback: WcUnmanageCB(*dialog) WcSetSensitiveCB(*apply)
//   *list.translations:   #override <Key>Escape: WcPopdownACT(~)
//
// Each operation is written once, either as an action (parameters are
// widget names, one per parameter; its callback form splits the argument
// text into parameters) or as a callback (the argument text is the client
// data; its action form joins the parameters). Widget names are resolved
// from the invoking widget with WcResolveWidgetName. Every failure is a
// warning through WcWarning*; nothing is fatal except WcExit.
//
// The layer's start-up calls both registrations; each registers once per
// context.
#pragma once

#include <X11/Intrinsic.h>

#ifdef __cplusplus
extern "C" {
#endif

// Registers the 34 names of the 33 operations as 68 callbacks (client data
// null).
void WcRegisterStandardCallbacks(XtAppContext app);

// Adds the 33 operations as one table of 68 actions.
void WcRegisterStandardActions(XtAppContext app);

// ---- Operations written as actions: params are widget names unless noted.

// Children of composites only (not root shells, not pop-ups of simple
// widgets), which the toolkit could not take.
void WcManageACT(Widget w, XEvent* e, String* params, Cardinal* numParams);
void WcUnmanageACT(Widget w, XEvent* e, String* params, Cardinal* numParams);
// parent, child, child...: children named from the parent only, managed in
// one call; one missing child manages none.
void WcManageChildrenACT(Widget w, XEvent* e, String* params, Cardinal* numParams);
void WcUnmanageChildrenACT(Widget w, XEvent* e, String* params, Cardinal* numParams);
void WcDestroyACT(Widget w, XEvent* e, String* params, Cardinal* numParams);
void WcSetSensitiveACT(Widget w, XEvent* e, String* params, Cardinal* numParams);
void WcSetInsensitiveACT(Widget w, XEvent* e, String* params, Cardinal* numParams);
// Shells only.
void WcPopupACT(Widget w, XEvent* e, String* params, Cardinal* numParams);
void WcPopupGrabACT(Widget w, XEvent* e, String* params, Cardinal* numParams);
void WcPopdownACT(Widget w, XEvent* e, String* params, Cardinal* numParams);
// Realized widgets only: one without a window cannot be mapped.
void WcMapACT(Widget w, XEvent* e, String* params, Cardinal* numParams);
void WcUnmapACT(Widget w, XEvent* e, String* params, Cardinal* numParams);
// dest, src, src...; dest must be a widget (gadgets have no translations).
void WcInstallAcceleratorsACT(Widget w, XEvent* e, String* params, Cardinal* numParams);
// dest, src
void WcInstallAllAcceleratorsACT(Widget w, XEvent* e, String* params, Cardinal* numParams);
// shell [on: display] [shell [on: display]] ...: new root application
// shells of class wclAppClassName (or derived from the name), built from
// the resources and realized.
void WcCreateRootACT(Widget w, XEvent* e, String* params, Cardinal* numParams);
// program, arguments...: started on PATH; not waited for, never a zombie.
void WcSpawnACT(Widget w, XEvent* e, String* params, Cardinal* numParams);
// file names, each loaded once per screen.
void WcLoadResourceFileACT(Widget w, XEvent* e, String* params, Cardinal* numParams);
// No names: the invoking widget.
void WcPrintTreeACT(Widget w, XEvent* e, String* params, Cardinal* numParams);
void WcDumpResourcesACT(Widget w, XEvent* e, String* params, Cardinal* numParams);
// Two or more widgets get the largest width, height and border width.
void WcSameSizeACT(Widget w, XEvent* e, String* params, Cardinal* numParams);
// Optional exit status (default 0).
void WcExitACT(Widget w, XEvent* e, String* params, Cardinal* numParams);

// ---- Operations written as callbacks: client data is the argument text.

// "parent child child..."
void WcCreateChildrenCB(Widget w, XtPointer text, XtPointer callData);
void WcCreatePopupsCB(Widget w, XtPointer text, XtPointer callData);
// Centres the invoking shell over its owner (transientFor, else parent).
void WcPositionTransientCB(Widget w, XtPointer text, XtPointer callData);
// Prints "Wcl Trace for <full name>: <text>".
void WcTraceCB(Widget w, XtPointer text, XtPointer callData);
// Runs the text through system(); waits for the shell.
void WcSystemCB(Widget w, XtPointer text, XtPointer callData);
// "widget callbackListName callback text".
void WcAddCallbacksCB(Widget w, XtPointer text, XtPointer callData);
// "widget callbackListName callback text": removes, for each element of the
// text, one entry of that list that was added from an equal element (same
// name, class and library, equal argument text), whether by WcAddCallbacks
// or by a callback resource. Entries added by procedure are not touched.
void WcRemoveCallbacksCB(Widget w, XtPointer text, XtPointer callData);
// "callbackListName callback text": runs the callbacks now, then removes
// this WcOnceOnly entry from that list of the invoking widget.
void WcOnceOnlyCB(Widget w, XtPointer text, XtPointer callData);
// "widget translation text" (see WcSetTranslations); a widget, not a gadget.
void WcTranslationsCB(Widget w, XtPointer text, XtPointer callData);
// Not supported: a warning only.
void WcDynamicActionCB(Widget w, XtPointer text, XtPointer callData);
void WcDynamicCallbackCB(Widget w, XtPointer text, XtPointer callData);

#ifdef __cplusplus
}
#endif
