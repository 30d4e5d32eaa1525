// WcFileDatabase.h: reading a resource file that must be a regular file,
// the one way the layer reads resource and message database files:
//
//   XrmDatabase db = WcReadFileDatabase("/home/me/.xkestrc");   // or null
#pragma once

#include <X11/Xlib.h>
#include <X11/Xresource.h>

#ifdef __cplusplus
extern "C" {
#endif

// XrmGetFileDatabase for a regular file only: null for anything else, so a
// FIFO or device named as a resource or message file is refused instead of
// waited on for ever.
XrmDatabase WcReadFileDatabase(const char* fileName);

#ifdef __cplusplus
}
#endif
