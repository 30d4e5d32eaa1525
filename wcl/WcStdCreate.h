// WcStdCreate.h: the standard operations that create widgets, roots and
// processes: children and pop-ups, new root shells (also on other
// displays), resource files, spawned programs and shell commands, and
// centring a transient shell (WcStandard.h registers them in both forms):
//
//   *new.activateCallback: WcCreateChildrenCB(*work, editor)
#pragma once

#include <X11/Intrinsic.h>

#ifdef __cplusplus
extern "C" {
#endif

// ---- Written as actions: params are names, one per parameter.

// shell [on: display] [shell [on: display]] ...: new root application
// shells of class wclAppClassName (or derived from the name), built from
// the resources and realized.
void WcCreateRootACT(Widget w, XEvent* e, String* params, Cardinal* numParams);
// program, arguments...: started on PATH; not waited for, never a zombie.
void WcSpawnACT(Widget w, XEvent* e, String* params, Cardinal* numParams);
// file names, each loaded once per screen.
void WcLoadResourceFileACT(Widget w, XEvent* e, String* params, Cardinal* numParams);

// ---- Written as callbacks: client data is the argument text.

// "parent child child..."
void WcCreateChildrenCB(Widget w, XtPointer text, XtPointer callData);
void WcCreatePopupsCB(Widget w, XtPointer text, XtPointer callData);
// Centres the invoking shell over its owner (transientFor, else parent).
void WcPositionTransientCB(Widget w, XtPointer text, XtPointer callData);
// Runs the text through system(); waits for the shell.
void WcSystemCB(Widget w, XtPointer text, XtPointer callData);

#ifdef __cplusplus
}
#endif
