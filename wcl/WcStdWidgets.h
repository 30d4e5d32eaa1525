// WcStdWidgets.h: the standard operations that act on existing widgets:
// manage, map, pop up, sensitivity, accelerators, equal sizes, tree prints,
// resource dumps and exit. Written as actions: params are widget names,
// resolved from the invoking widget, unless noted (WcStandard.h registers
// them with their callback forms):
//
//   *ok.activateCallback: WcUnmanageCB(*dialog) WcSetSensitiveCB(*apply)
#pragma once

#include <X11/Intrinsic.h>

#ifdef __cplusplus
extern "C" {
#endif

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
// No names: the invoking widget.
void WcPrintTreeACT(Widget w, XEvent* e, String* params, Cardinal* numParams);
void WcDumpResourcesACT(Widget w, XEvent* e, String* params, Cardinal* numParams);
// Two or more widgets get the largest width, height and border width.
void WcSameSizeACT(Widget w, XEvent* e, String* params, Cardinal* numParams);
// Optional exit status (default 0).
void WcExitACT(Widget w, XEvent* e, String* params, Cardinal* numParams);

#ifdef __cplusplus
}
#endif
