// WcInitialize.h: the layer's start-up and its entry point.
//
// Before a widget tree is built, the layer reads its own library resources
// (wclResFiles, wclTemplateFiles, wclTraceResFiles, ...) from the root
// widget, loads the resource files they name into the screen database, loads
// the message database and the template files, and registers its standard
// classes, callbacks and actions. WcWidgetCreation runs this, then builds
// the tree:
//
//   if (WcWidgetCreation(appShell) != 0) exit(1);   // nothing was created
//
// Call WcInitialize yourself only when you need the registrations without
// building a tree.
#pragma once

#include <X11/Intrinsic.h>

#ifdef __cplusplus
extern "C" {
#endif

// The layer's start-up for root's application context; does nothing for a
// context served before.
void WcInitialize(Widget root);

// Runs the layer's start-up for root's context, then builds the tree below
// root. Returns 0 on success, 1 (with the "noChildren" error) when root got
// neither children nor pop-ups.
int WcWidgetCreation(Widget root);

#ifdef __cplusplus
}
#endif
