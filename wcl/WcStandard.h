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
// The operations are declared beside their code: WcStdWidgets.h,
// WcStdCreate.h, WcStdCallbacks.h and WcSetValue.h. The layer's start-up
// calls both registrations; each registers once per context.
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

#ifdef __cplusplus
}
#endif
