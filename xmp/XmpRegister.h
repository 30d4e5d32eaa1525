// XmpRegister.h: makes Motif usable from resource descriptions. One call,
// after the application's own callbacks and before the widget tree is
// built, registers every Motif widget class (under its class name and its
// class-pointer name) and convenience constructor, the converters Motif
// resources given as text need, and the Motif support set's callbacks and
// actions:
//
//   WcRegisterCallback(app, "myQuitCB", MyQuit, nullptr);
//   XmpRegisterAll(app);
//   WcWidgetCreation(appShell);
//
//   *main.wcCreate:  XmMainWindow          (or wcConstructor: XmCreateMainWindow)
//
// Each step runs once per application context, however often it is called.
#pragma once

#include <X11/Intrinsic.h>

extern "C" {

void XmpRegisterAll(XtAppContext app);
void MriRegisterAll(XtAppContext app);  // the same as XmpRegisterAll

// Old-style String-to-XmString converter: "\n" in the text breaks lines.
// The compound string is never freed (conversions are cached).
void XmpCvtStringToXmString(XrmValue* args, Cardinal* numArgs, XrmValue* from, XrmValue* to);

// String-to-MenuWidget (needs wcCvtWidgetArgs): a widget name, resolved as
// for Widget resources. A cascade button's menu (its only resource of this
// type, subMenuId) must be a row column, and no widget is its own menu,
// help or history widget: Motif reads the widget it is given as a menu's
// row column and crashes on any other. Refused names fail the conversion
// with the toolkit's warning, leaving the resource unset.
Boolean XmpCvtStringToMenuWidget(Display* dpy, XrmValue* args, Cardinal* numArgs, XrmValue* from,
                                 XrmValue* to, XtPointer* converterData);

// String-to-Window (needs wcCvtWidgetArgs): a widget name, resolved as for
// Widget resources, gives that widget's X window. The widget must be
// realized; otherwise the conversion fails with the toolkit's warning.
Boolean XmpCvtStringToWindow(Display* dpy, XrmValue* args, Cardinal* numArgs, XrmValue* from,
                             XrmValue* to, XtPointer* converterData);
}
