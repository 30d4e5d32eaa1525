// XmTextMirror: a TextMirror fed by a Motif text widget's callbacks.
#include "xman/XmTextMirror.h"

#include <Xm/Text.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <vector>

XmTextMirror::~XmTextMirror() {
  if (widget_) RemoveCallbacks();
}

TextMirror::Units XmTextMirror::UnitsOf(Widget) {
  // Motif fixes a widget's character size from the locale it was made in;
  // the program runs in the C locale or a UTF-8 one.
  return MB_CUR_MAX > 1 ? TextMirror::Units::kUtf8Chars : TextMirror::Units::kBytes;
}

std::string XmTextMirror::ReadWidget(Widget text) {
  std::string out;
  if (!text) return out;
  size_t last = size_t(XmTextGetLastPosition(text));
  size_t perChar = size_t(MB_CUR_MAX);
  constexpr size_t kPiece = 64 * 1024;
  std::string buffer;
  for (size_t at = 0; at < last; at += kPiece) {
    size_t n = std::min(kPiece, last - at);
    buffer.resize(n * perChar + 1);
    if (XmTextGetSubstring(text, XmTextPosition(at), int(n), int(buffer.size()), buffer.data()) == XmCOPY_FAILED)
      break;
    out.append(buffer.data(), std::strlen(buffer.data()));
  }
  return out;
}

void XmTextMirror::AddCallbacks() {
  XtAddCallback(widget_, XmNmodifyVerifyCallback, Modifying, this);
  XtAddCallback(widget_, XmNvalueChangedCallback, Changed, this);
  XtAddCallback(widget_, XmNdestroyCallback, Destroyed, this);
}

void XmTextMirror::RemoveCallbacks() {
  XtRemoveCallback(widget_, XmNmodifyVerifyCallback, Modifying, this);
  XtRemoveCallback(widget_, XmNvalueChangedCallback, Changed, this);
  XtRemoveCallback(widget_, XmNdestroyCallback, Destroyed, this);
}

void XmTextMirror::Attach(Widget text) {
  if (widget_) RemoveCallbacks();
  widget_ = text;
  mirror_.SetUnits(UnitsOf(text));
  if (!widget_) return;
  AddCallbacks();
  mirror_.Assign(ReadWidget(widget_), true);
}

void XmTextMirror::VerifyLast() {
  if (!widget_) return;
  XtRemoveCallback(widget_, XmNmodifyVerifyCallback, Modifying, this);
  XtAddCallback(widget_, XmNmodifyVerifyCallback, Modifying, this);
}

void XmTextMirror::SetText(std::string text, bool knownValid) {
  text.resize(strnlen(text.c_str(), text.size()));
  if (!widget_) {
    mirror_.Assign(std::move(text), knownValid);
    return;
  }
  // With any modify-verify callback on its list, Motif counts the
  // characters of a new value twice more and copies it once more. A whole
  // text the program sets is no edit for them to judge (the copy learns it
  // from here, and the others look at typed keys and edits): the list is
  // off for this call and put back as it was.
  std::vector<XtCallbackRec> verify;
  XtCallbackList list = nullptr;
  XtVaGetValues(widget_, XmNmodifyVerifyCallback, &list, nullptr);
  for (; list && list->callback; ++list) verify.push_back(*list);
  verify.push_back(XtCallbackRec{nullptr, nullptr});
  settingWhole_ = true;
  XtRemoveAllCallbacks(widget_, XmNmodifyVerifyCallback);
  XmTextSetString(widget_, text.data());
  XtAddCallbacks(widget_, XmNmodifyVerifyCallback, verify.data());
  settingWhole_ = false;
  mirror_.Assign(std::move(text), knownValid);
  // The widget may still keep less (past its maximum length).
  if (size_t(XmTextGetLastPosition(widget_)) != mirror_.Positions()) mirror_.Assign(ReadWidget(widget_), true);
}

const TextMirror& XmTextMirror::Current() {
  if (widget_ && size_t(XmTextGetLastPosition(widget_)) != mirror_.Positions())
    mirror_.Assign(ReadWidget(widget_), true);
  return mirror_;
}

void XmTextMirror::Modifying(Widget, XtPointer client, XtPointer call) {
  auto* self = static_cast<XmTextMirror*>(client);
  auto* cbs = static_cast<XmTextVerifyCallbackStruct*>(call);
  if (!cbs || !cbs->doit || self->settingWhole_) return;
  std::string_view text;
  if (cbs->text && cbs->text->ptr && cbs->text->length > 0) text = std::string_view(cbs->text->ptr, size_t(cbs->text->length));
  self->mirror_.Replace(size_t(std::max<XmTextPosition>(0, cbs->startPos)),
                        size_t(std::max<XmTextPosition>(0, cbs->endPos)), text);
}

void XmTextMirror::Changed(Widget w, XtPointer client, XtPointer) {
  auto* self = static_cast<XmTextMirror*>(client);
  if (self->settingWhole_) return;
  // A cheap check that the copy followed: the lengths agree.
  if (size_t(XmTextGetLastPosition(w)) != self->mirror_.Positions()) self->mirror_.Assign(ReadWidget(w), true);
}

void XmTextMirror::Destroyed(Widget, XtPointer client, XtPointer) {
  auto* self = static_cast<XmTextMirror*>(client);
  self->widget_ = nullptr;
  self->mirror_.Assign(std::string(), true);
}
