// XmpMessage.h: the message widget. Turns an XmText of the interface into
// the destination of every warning, trace and dump of the creation layer and
// the Motif support set, keeping the text below a line limit and popping up
// or raising the window that holds it.
//
// A resource file attaches it, for example:
//
//   *msgText.wcCallback:          XmpMessageWidgetCB()
//   *msgText.messageMaxLines:     200
//   *msgText.messagePopup:        False
//
// Resources, read under the text widget's name when it is installed:
//   messageMaxLines (Int, 100), messageLinesLostMsg (String,
//   "... some lines lost...\n"), messagePopup (Boolean, True), messageRaise
//   (Boolean, False), messageBrokenXmTextShowPosition (Boolean, False).
//
// One message widget at a time. Installing saves the warning printer in
// force and installs XmpMessagePrinter; XmpMessageWidget(nullptr) or the
// destruction of the installed text puts the saved printer back.
#pragma once

#include <X11/Intrinsic.h>

#include "xmp/XmpText.h"  // XmpConcatStrings, XmpCountLines

extern "C" {

// Installs w as the message widget, or with a null w removes the one
// installed. A w that is not an XmText gives the "notXmText" warning.
void XmpMessageWidget(Widget w);

// Callback form: client data is a widget name resolved from w; null or ""
// installs on w itself.
void XmpMessageWidgetCB(Widget w, XtPointer client, XtPointer call);

// Action form: no parameter or an empty one installs on w, one parameter
// names the widget, more give the usage warning.
void XmpMessageWidgetACT(Widget w, XEvent* event, String* params, Cardinal* numParams);

// The warning printer in force while a message widget is installed: appends
// the pieces, up to a null one, as one line at the end of the text.
void XmpMessagePrinter(const char* first, ...);
}
