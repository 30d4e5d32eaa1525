// Keyboard: the control-character guard, the edit commands' target and
// the dialogs' mnemonics.
#include "app/Keyboard.h"

#include <Xm/Xm.h>
#include <Xm/BulletinB.h>
#include <Xm/DialogS.h>
#include <Xm/MenuShell.h>
#include <Xm/PushB.h>
#include <Xm/PushBG.h>
#include <Xm/RowColumn.h>
#include <Xm/Text.h>
#include <Xm/TextF.h>
#include <Xm/ToggleB.h>
#include <Xm/ToggleBG.h>

#include <X11/IntrinsicP.h>
#include <X11/Xutil.h>

#include <cctype>
#include <cstring>
#include <string>
#include <vector>

namespace {

// The text of the main window (PrepareKeyboard's root) that last took the
// keyboard focus.
Widget lastFocusText = nullptr;

bool IsText(Widget w) { return w && (XmIsText(w) || XmIsTextField(w)); }

Widget ShellOf(Widget w) {
  while (w && !XtIsShell(w)) w = XtParent(w);
  return w;
}

bool IsTypedControl(unsigned char c) { return (c < 32 && c != '\t' && c != '\n') || c == 127; }

// Modify-verify callback: refuses an insertion that is exactly what a key
// typed when that is a control character (Ctrl+Z would otherwise put a
// 0x1a byte into the text). Pasted text, even pasted by a key, arrives
// unlike the key's own characters and passes.
void RefuseTypedControls(Widget, XtPointer, XtPointer call) {
  auto* cbs = static_cast<XmTextVerifyCallbackStruct*>(call);
  if (!cbs || !cbs->event || cbs->event->type != KeyPress || !cbs->text || !cbs->text->ptr) return;
  char typed[16];
  int n = XLookupString(&cbs->event->xkey, typed, sizeof typed, nullptr, nullptr);
  if (n <= 0 || n != cbs->text->length || std::memcmp(typed, cbs->text->ptr, size_t(n)) != 0) return;
  for (int i = 0; i < n; ++i)
    if (IsTypedControl(static_cast<unsigned char>(typed[i]))) cbs->doit = False;
}

void RememberFocus(Widget w, XtPointer, XtPointer) { lastFocusText = w; }

void Forget(Widget w, XtPointer, XtPointer) {
  if (lastFocusText == w) lastFocusText = nullptr;
}

bool InMenu(Widget w) {
  for (; w; w = XtParent(w)) {
    if (XmIsMenuShell(w)) return true;
    if (XmIsRowColumn(w)) {
      unsigned char type = XmWORK_AREA;
      XtVaGetValues(w, XmNrowColumnType, &type, nullptr);
      if (type != XmWORK_AREA) return true;
    }
  }
  return false;
}

// Calls f on w and every widget below it; with popups, also on popup
// children (other shells: menus, dialogs) and everything below them.
template <typename F>
void Walk(Widget w, const F& f, bool popups = true) {
  f(w);
  if (popups && XtIsWidget(w))
    for (Cardinal i = 0; i < w->core.num_popups; ++i) Walk(w->core.popup_list[i], f, popups);
  if (XtIsComposite(w)) {
    WidgetList kids = nullptr;
    Cardinal count = 0;
    XtVaGetValues(w, XtNchildren, &kids, XtNnumChildren, &count, nullptr);
    for (Cardinal i = 0; i < count; ++i) Walk(kids[i], f, popups);
  }
}

// root's own window has the Edit menu, whose keys reach the focused text;
// a text in any other window (a dialog's field) gets the same clipboard
// keys as bindings of its own.
void GuardText(Widget w, Widget root) {
  if (!IsText(w)) return;
  // Nothing is typed into a text the user cannot edit (the report); a
  // verify callback there would only make Motif count and copy every text
  // the program puts into it once more.
  Boolean editable = True;
  XtVaGetValues(w, XmNeditable, &editable, nullptr);
  if (editable) XtAddCallback(w, XmNmodifyVerifyCallback, RefuseTypedControls, nullptr);
  if (ShellOf(w) == root) {
    XtAddCallback(w, XmNfocusCallback, RememberFocus, nullptr);
    XtAddCallback(w, XtNdestroyCallback, Forget, nullptr);
    return;
  }
  static XtTranslations clipboardKeys = XtParseTranslationTable(
      "Ctrl<Key>x: cut-clipboard()\nCtrl<Key>c: copy-clipboard()\nCtrl<Key>v: paste-clipboard()");
  XtOverrideTranslations(w, clipboardKeys);
}

bool IsButton(Widget w) {
  return XmIsPushButton(w) || XmIsPushButtonGadget(w) || XmIsToggleButton(w) ||
         XmIsToggleButtonGadget(w);
}

// The letter of a button's mnemonic, lower case; 0 for none.
char MnemonicOf(Widget button) {
  KeySym mnemonic = NoSymbol;
  XtVaGetValues(button, XmNmnemonic, &mnemonic, nullptr);
  const char* name = mnemonic != NoSymbol ? XKeysymToString(mnemonic) : nullptr;
  if (!name || std::strlen(name) != 1) return 0;
  return char(std::tolower(static_cast<unsigned char>(name[0])));
}

bool IsDialog(Widget w) {
  return XtIsWidget(w) && XmIsBulletinBoard(w) && XtParent(w) && XmIsDialogShell(XtParent(w));
}

// Action bound to Alt+letter in a dialog: presses the dialog's shown
// button whose mnemonic is params[0], as a click would.
void PressMnemonic(Widget w, XEvent* event, String* params, Cardinal* count) {
  if (!count || *count != 1) return;
  Widget dialog = w;
  while (dialog && !IsDialog(dialog)) dialog = XtParent(dialog);
  if (!dialog) return;
  Widget target = nullptr;
  Walk(
      dialog,
      [&](Widget b) {
        if (!target && IsButton(b) && XtIsManaged(b) && XtIsSensitive(b) && MnemonicOf(b) == params[0][0])
          target = b;
      },
      false);
  if (!target) return;
  if (XmIsToggleButton(target) || XmIsToggleButtonGadget(target)) {
    XmToggleButtonSetState(target, !XmToggleButtonGetState(target), True);
    return;
  }
  XmPushButtonCallbackStruct cbs{};
  cbs.reason = XmCR_ACTIVATE;
  cbs.event = event;
  cbs.click_count = 1;
  XtCallCallbacks(target, XmNactivateCallback, &cbs);
}

// Motif underlines a mnemonic outside menus but does nothing with it (and
// a dialog's own buttons are gadgets, which take no key bindings): Alt and
// each mnemonic letter of the dialog's shown buttons are bound on every
// widget of the dialog, so the keys work wherever its focus is.
void BindMnemonics(Widget dialog) {
  std::vector<Widget> widgets;
  std::string bound;
  Walk(
      dialog,
      [&](Widget w) {
        if (XtIsWidget(w)) widgets.push_back(w);
        if (!IsButton(w) || !XtIsManaged(w)) return;
        char key = MnemonicOf(w);
        if (key && std::isalnum(static_cast<unsigned char>(key)) && bound.find(key) == std::string::npos)
          bound += key;
      },
      false);
  if (bound.empty()) return;
  static bool registered = false;
  if (!registered) {
    XtActionsRec action = {const_cast<char*>("xkestPressMnemonic"), PressMnemonic};
    XtAppAddActions(XtWidgetToApplicationContext(dialog), &action, 1);
    registered = true;
  }
  std::string table;
  for (char key : bound)
    table += std::string("Mod1<Key>") + key + ": xkestPressMnemonic(" + key + ")\n";
  XtTranslations parsed = XtParseTranslationTable(table.c_str());
  for (Widget w : widgets) XtOverrideTranslations(w, parsed);
}

}  // namespace

namespace xkest {

void PrepareKeyboard(Widget root) {
  if (!root) return;
  Walk(root, [root](Widget w) {
    GuardText(w, root);
    if (IsDialog(w)) BindMnemonics(w);
  });
}

Widget MenuWindow(Widget w) {
  if (!w || !InMenu(w)) return nullptr;
  Widget shell = ShellOf(w);
  while (shell && XmIsMenuShell(shell)) shell = ShellOf(XtParent(shell));
  return shell;
}

Widget EditTarget(Widget window) {
  // The focus within this window, not the display's: a dialog holding the
  // input focus is not where a command of this window's menu acts.
  Widget w = window ? XmGetFocusWidget(window) : nullptr;
  if (IsText(w) && ShellOf(w) == window) return w;
  if ((!w || InMenu(w)) && ShellOf(lastFocusText) == window) return lastFocusText;
  return nullptr;
}

}  // namespace xkest
