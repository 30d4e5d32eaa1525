// WcStandard.h: the standard callbacks and actions.
//
// A fixed set of operations that a resource description can use without any
// application code: managing, mapping and popping widgets up and down,
// creating children, pop-ups and new roots, loading resource files, running
// programs, printing trees and traces, and setting resources. Each operation
// is registered three ways per application context: as a callback under its
// plain name and its name with "CB", and as an action under its plain name
// and its name with "ACT":
//
//   WcRegisterStandardCallbacks(app);   // WcManage, WcManageCB, ...
//   WcRegisterStandardActions(app);     // WcManage, WcManageACT, ...
//
//   *ok.activateCallback: WcUnmanageCB(*dialog) WcSetSensitiveCB(*apply)
//   *list.translations:   #override <Key>Escape: WcPopdownACT(~)
//
// The layer's start-up calls both; each registers once per context.
#pragma once

#include <X11/Intrinsic.h>

#ifdef __cplusplus
extern "C" {
#endif

// Registers the 33 operations as 68 callbacks (client data null).
void WcRegisterStandardCallbacks(XtAppContext app);

// Adds the 33 operations as one table of 68 actions.
void WcRegisterStandardActions(XtAppContext app);

#ifdef __cplusplus
}
#endif
