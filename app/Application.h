// Application: the process-wide state of xkest and the small helpers that
// every application class shares.
//
// The five application objects are ordinary globals, constructed before
// main in the order theApp, theDsm, theMsg, theOpts, theSysftns and
// destroyed in reverse order after it; they reach each other directly.
// theAppShell is the application shell returned by the toolkit start-up.
//
//   if (Widget main = getWidget(theAppShell, "*main")) ...
//   SetBusyCursor(theAppShell, 1); system(cmd); SetBusyCursor(theAppShell, 0);
#pragma once

#include <X11/Intrinsic.h>

class AppCl;
class DsmCl;
class MsgCl;
class OptsCl;
class SysftnsCl;

extern AppCl theApp;
extern DsmCl theDsm;
extern MsgCl theMsg;
extern OptsCl theOpts;
extern SysftnsCl theSysftns;

// Null until main has created the shell.
extern Widget theAppShell;

// Class numbers answered by IsA.
enum XkestClassNumber { kAppClass = 0, kDsmClass = 1, kMsgClass = 2, kOptsClass = 3, kSysftnsClass = 4 };

// Resolves name (the creation layer's widget-name syntax, such as "*main")
// from ref; a null ref resolves only full paths such as "xkest.main". When
// nothing is found, writes
//   getWidget(): couldn't find widget 'NAME' from 'REF-FULL-NAME'
// to standard error ("(null)" when ref has no full name) and returns null.
Widget getWidget(Widget ref, const char* name);

// Shows the watch cursor on the window of "*main" (flag 1) or removes it
// (flag 0), then flushes the display so the change is visible before a
// blocking command starts. Does nothing more when "*main" is missing.
void SetBusyCursor(Widget shell, int flag);

// The width in pixels that a label of fixed size (recomputeSize False)
// leaves for its text inside margins, shadow and highlight; -1 for a label
// that sizes itself to its text (or a null one).
int FixedLabelRoom(Widget label);

// Runs a shell command with the watch cursor shown while system() waits.
// The result of the command is not looked at.
void RunBusyCommand(const char* command);

// Protocol callback for the window manager's close and save-yourself
// messages: prints "Closed by window manager." and nothing else.
extern "C" void WmCloseHandler(Widget w, XtPointer client, XtPointer call);
