// Keyboard: what keys do across the whole interface, beyond each widget's
// own bindings. Typed control characters other than tab and newline stay
// out of every text and text field (text the program sets, such as a
// loaded file, is left alone); the edit commands of a window's menus find
// the text the user is working in within that window; and in every dialog
// Alt and a button's mnemonic letter press that button, wherever the
// dialog's focus is.
//
//   PrepareKeyboard(theAppShell);         // once the interface is built
//   if (Widget window = MenuWindow(invoker))
//     if (Widget t = EditTarget(window)) XmTextPaste(t);
#pragma once

#include <X11/Intrinsic.h>

namespace xkest {

// Walks every widget below root (popup children included): guards the
// texts and text fields, follows which of root's own window has the
// focus, gives the fields of other windows than root's (dialogs) Ctrl+X, C
// and V, and binds the mnemonics of each dialog's managed buttons across
// that dialog.
void PrepareKeyboard(Widget root);

// The window (top-level or dialog shell) of the menu that holds w, its
// menu shells passed; null when w is in no menu. An accelerator runs its
// menu item, so it counts as that menu's.
Widget MenuWindow(Widget w);

// The text or text field that has the keyboard focus within window,
// whether or not the window has the input focus. While a menu has the
// keyboard (a menu item chosen by its mnemonic), the text of root's window
// that last had the focus. Null when the focus is on another kind of
// widget, or nothing is known.
Widget EditTarget(Widget window);

}  // namespace xkest
