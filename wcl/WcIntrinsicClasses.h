// WcIntrinsicClasses.h: the Intrinsics' own widget classes and shell
// constructors, registered so resources may name them:
//
//   WcRegisterIntrinsicClasses(app);   // "Composite", "TopLevelShell", ...
#pragma once

#include <X11/Intrinsic.h>

#ifdef __cplusplus
extern "C" {
#endif

// The Intrinsics' classes (each under its class name and its class-pointer
// name) and the shell constructors (XtCreateApplicationShell,
// XtCreateTopLevelShell, ...). Registers once per application context.
void WcRegisterIntrinsicClasses(XtAppContext app);

#ifdef __cplusplus
}
#endif
