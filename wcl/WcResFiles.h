// WcResFiles.h: loading resource files into a database. The start-up
// (WcInitialize.h) loads those the library resources name this way:
//
//   XrmDatabase db = XtScreenDatabase(XtScreen(appShell));
//   WcLoadResourceFile(appShell, "~/.xkestrc", &db);
//
// A relative file name is read from the current directory, and when it is
// not there from the application-defaults path and then the user's path
// (XUSERFILESEARCHPATH, XAPPLRESDIR, HOME); the user's entries win.
#pragma once

#include <X11/Intrinsic.h>

#include "wcl/WcFileDatabase.h"

#ifdef __cplusplus
extern "C" {
#endif

// Reads `name` and merges it into *target (the file's entries win).
// Returns 1 when a file was merged, 0 otherwise (with a warning). `w`
// supplies the display for the path searches and the warning's widget.
int WcLoadResourceFile(Widget w, const char* name, XrmDatabase* target);

// Loads `name` into the screen database of `w` unless this (screen, name)
// pair was loaded before. A null or non-widget `w` means the first root.
// Returns 1 when a file was merged by this call.
int WcLoadResourceFileOnce(Widget w, const char* name);

// The procedure through which every resource file is read (file name ->
// database or null). The default is WcReadFileDatabase (WcFileDatabase.h).
// Returns the previous procedure; a null argument restores the default.
typedef XrmDatabase (*WcReadFileProc)(const char* fileName);
WcReadFileProc WcSetReadFileProc(WcReadFileProc proc);

#ifdef __cplusplus
}
#endif
