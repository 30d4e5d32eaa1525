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

// The kinds of widget that operations use through class-specific calls
// (a text call on a label crashes), and the test for each.
enum class WidgetKind { kText, kPopupMenu, kSelectionBox };
bool IsWidgetOfKind(Widget w, WidgetKind kind);

// getWidget for a widget that must be of a kind: when the one found is
// another kind, writes
//   getWidget(): widget 'NAME' from 'REF-FULL-NAME' is not a text widget
// (or "a popup menu", "a selection dialog") and returns null.
Widget getWidgetOfKind(Widget ref, const char* name, WidgetKind kind);

// For callbacks handed the widget they fire on: true when w is of the
// kind. Otherwise writes
//   CALLBACK(): widget 'FULL-NAME' is not a text widget
// and returns false, so the callback does nothing. False, quietly, for
// no widget at all.
bool AcceptWidget(const char* callback, Widget w, WidgetKind kind);

// Makes a file selection dialog read its folder again each time it is
// shown, by whatever route (a menu entry may manage it directly), without
// changing its size: a fresh listing asks for the size that fits it, and
// the dialog would shrink under the user's eyes. Does nothing to other
// widgets.
void RereadFolderWhenShown(Widget dialog);

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
