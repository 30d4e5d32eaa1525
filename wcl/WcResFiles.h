// WcResFiles.h: resource files and the layer's start-up.
//
// Before a widget tree is built, the layer reads its own library resources
// (wclResFiles, wclTemplateFiles, wclTraceResFiles, ...) from the root
// widget, loads the resource files they name into the screen database, loads
// the message database and the template files, and registers its standard
// classes, callbacks and actions. WcWidgetCreation runs this for you; call
// it yourself only when you need the registrations without building a tree:
//
//   WcInitialize(appShell);        // once per application context
//   XrmDatabase db = XtScreenDatabase(XtScreen(appShell));
//   WcLoadResourceFile(appShell, "~/.xkestrc", &db);
//
// A relative file name is read from the current directory, and when it is
// not there from the application-defaults path and then the user's path
// (XUSERFILESEARCHPATH, XAPPLRESDIR, HOME); the user's entries win.
#pragma once

#include <X11/Intrinsic.h>

#ifdef __cplusplus
extern "C" {
#endif

// The library resources, read from the root widget by WcInitialize (so
// they may be given on the command line with -xrm). Before the first
// start-up every field holds its default.
typedef struct {
  String wclInitResFile;          // first name: a file loaded first
  String wclResFiles;             // files to load (name list)
  Boolean wclTraceResFiles;       // print "Wcl loaded:" lines
  String wclErrorDatabaseFile;    // message database file
  String wclWidgetResourceFiles;  // read, no further effect
  String wclTemplateFiles;        // template files (name list)
  Boolean wclTraceTemplateDef;    // dump each template when it is loaded
  Boolean wclVerboseWarnings;     // warn about unregistered callbacks early
  String wclDynamicLibs;          // converted into the dynamic-library registry
  Boolean wclSlowTightNames;      // name search through ancestors
  String wclAppClassName;         // class of shells made by WcCreateRoot
} WcLibraryResources;

// The values of the latest start-up (defaults before the first). Never null.
const WcLibraryResources* WcGetLibraryResources(void);

// The layer's start-up for root's application context; does nothing for a
// context served before.
void WcInitialize(Widget root);

// Reads `name` and merges it into *target (the file's entries win).
// Returns 1 when a file was merged, 0 otherwise (with a warning). `w`
// supplies the display for the path searches and the warning's widget.
int WcLoadResourceFile(Widget w, const char* name, XrmDatabase* target);

// Loads `name` into the screen database of `w` unless this (screen, name)
// pair was loaded before. A null or non-widget `w` means the first root.
// Returns 1 when a file was merged by this call.
int WcLoadResourceFileOnce(Widget w, const char* name);

// The procedure through which every resource file is read (file name ->
// database or null). The default is WcReadFileDatabase. Returns the
// previous procedure; a null argument restores the default.
typedef XrmDatabase (*WcReadFileProc)(const char* fileName);
WcReadFileProc WcSetReadFileProc(WcReadFileProc proc);

// XrmGetFileDatabase for a regular file only: null for anything else, so a
// FIFO or device named as a resource or message file is refused instead of
// waited on for ever.
XrmDatabase WcReadFileDatabase(const char* fileName);

#ifdef __cplusplus
}
#endif
