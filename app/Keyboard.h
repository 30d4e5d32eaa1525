// Keyboard: what keys do across the whole interface, beyond each widget's
// own bindings. Typed control characters other than tab and newline stay
// out of every text and text field (text the program sets, such as a
// loaded file, is left alone); the edit commands find the text the user is
// working in; and in every dialog Alt and a button's mnemonic letter press
// that button, wherever the dialog's focus is.
//
//   PrepareKeyboard(theAppShell);         // once the interface is built
//   if (Widget t = EditTarget(dpy)) XmTextPaste(t);
#pragma once

#include <X11/Intrinsic.h>

namespace xkest {

// Walks every widget below root (popup children included): guards the
// texts and text fields, follows which of them has the focus, gives the
// fields of other windows than root's (dialogs) Ctrl+X, C and V, and binds
// the mnemonics of each dialog's managed buttons across that dialog.
void PrepareKeyboard(Widget root);

// The text or text field that has the keyboard focus in the window that
// has the input focus. While a menu has the keyboard (a menu item chosen
// by its mnemonic), the text that last had the focus. Null when the focus
// is on another kind of widget, or nothing is known.
Widget EditTarget(Display* dpy);

}  // namespace xkest
