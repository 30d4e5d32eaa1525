// WcStdCallbacks.h: the standard operations on callbacks and translations:
// traces, adding and removing callbacks from text, once-only callbacks,
// translation tables, and the unsupported dynamic-linking pair. Written as
// callbacks: client data is the argument text (WcStandard.h registers their
// action forms):
//
//   *ok.activateCallback: WcAddCallbacksCB(*apply activateCallback WcTraceCB(applied))
#pragma once

#include <X11/Intrinsic.h>

#ifdef __cplusplus
extern "C" {
#endif

// Prints "Wcl Trace for <full name>: <text>".
void WcTraceCB(Widget w, XtPointer text, XtPointer callData);
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
