// XmTextMirror: keeps a TextMirror (support/TextMirror.h) in step with one
// Motif text widget, from the widget's own modify-verify callback, so text
// commands read the program's copy instead of the widget's whole value
// (which a UTF-8 locale makes Motif convert from wide characters).
//
//   XmTextMirror mirror;
//   mirror.Attach(textWidget);                 // units from the locale
//   mirror.SetText(std::move(fileBytes));      // the widget and the copy
//   mirror.Text().AddListener(...);            // every later change
//   size_t b = mirror.Text().ByteOf(XmTextGetInsertionPosition(textWidget));
//
// The copy's modify-verify callback should come after any other that
// changes or refuses the text: callbacks named in the resource description
// are, since Attach runs from the creation callback, and VerifyLast moves
// it behind those added later. Should the widget and the copy still
// disagree on the length after a change, or when a command asks for
// Current(), the copy is read again from the widget.
#pragma once

#include <X11/Intrinsic.h>

#include <string>

#include "support/TextMirror.h"

class XmTextMirror {
 public:
  XmTextMirror() = default;
  XmTextMirror(const XmTextMirror&) = delete;
  XmTextMirror& operator=(const XmTextMirror&) = delete;
  ~XmTextMirror();

  // Follows text (null: none) from now on; the copy is read from it once.
  void Attach(Widget text);
  // Puts the copy's modify-verify callback behind those added since, which
  // may refuse or change a change.
  void VerifyLast();
  Widget GetWidget() const { return widget_; }

  // Sets the widget's whole value and the copy, with no modify-verify
  // callback on the widget's list for that call (Motif would count and
  // copy the text twice more for them). Text after a
  // NUL byte, or in UTF-8 units after an invalid sequence, is dropped as
  // the widget drops it; knownValid skips that check.
  void SetText(std::string text, bool knownValid = false);

  TextMirror& Text() { return mirror_; }
  const TextMirror& Text() const { return mirror_; }
  // The copy, first read again from the widget should their lengths
  // differ (a change another callback refused after the copy took it).
  const TextMirror& Current();

  // The text read from the widget, in bounded pieces.
  static std::string ReadWidget(Widget text);
  // What a position of this widget counts in the current locale.
  static TextMirror::Units UnitsOf(Widget text);

 private:
  static void Modifying(Widget w, XtPointer client, XtPointer call);
  static void Changed(Widget w, XtPointer client, XtPointer call);
  static void Destroyed(Widget w, XtPointer client, XtPointer call);
  void AddCallbacks();
  void RemoveCallbacks();

  Widget widget_ = nullptr;
  TextMirror mirror_;
  bool settingWhole_ = false;
};
