// DsmCl undo and redo: every change of the DSM text is learned from the
// text widget's own callbacks (typing, paste, Replace, Append, Delete
// Line, whatever else changes it), so no command has to report its
// changes. The history itself is support/UndoLog.
#include <Xm/Xm.h>
#include <Xm/Text.h>

#include "app/Application.h"
#include "app/DsmCl.h"
#include "app/OptsCl.h"

#include <cstdlib>
#include <string>

namespace {

// The text from pos, len characters long; empty when len is 0.
std::string Substring(Widget text, long pos, long len) {
  if (len <= 0) return {};
  // Room for multibyte characters: the widget counts characters.
  std::string out(size_t(len) * size_t(MB_CUR_MAX) + 1, '\0');
  if (XmTextGetSubstring(text, pos, int(len), int(out.size()), out.data()) != XmCOPY_SUCCEEDED) return {};
  out.resize(std::char_traits<char>::length(out.c_str()));
  return out;
}

}  // namespace

void DsmCl::UndoNoteChanging(XtPointer call) {
  auto* cbs = static_cast<XmTextVerifyCallbackStruct*>(call);
  hasPending_ = false;
  if (loading_ || !textWidget_ || !cbs || !cbs->doit) return;
  pending_ = UndoLog::Change();
  pending_.pos = size_t(cbs->startPos);
  pending_.removedLen = size_t(cbs->endPos - cbs->startPos);
  // Undo and Redo are not recorded, but they move the marks.
  if (!undoing_) {
    pending_.removed = Substring(textWidget_, cbs->startPos, cbs->endPos - cbs->startPos);
    if (cbs->text && cbs->text->ptr && cbs->text->length > 0)
      pending_.inserted.assign(cbs->text->ptr, size_t(cbs->text->length));
  }
  lastBeforePending_ = XmTextGetLastPosition(textWidget_);
  typedPending_ = cbs->event && cbs->event->type == KeyPress;
  XEvent* last = XtLastEventProcessed(XtDisplay(textWidget_));
  serialPending_ = last ? last->xany.serial : 0;
  hasPending_ = true;
}

void DsmCl::UndoNoteChanged() {
  if (!hasPending_ || !textWidget_) return;
  hasPending_ = false;
  // What the text took may differ from what was offered (a later verify
  // callback may have changed it): read it back then.
  long took = XmTextGetLastPosition(textWidget_) - lastBeforePending_ + long(pending_.removedLen);
  if (took < 0) took = 0;
  pending_.insertedLen = size_t(took);
  if (!marks_.All().empty()) {
    // A mark whose line was edited goes; the selection's highlight, which
    // the unmarking may cover, is put back.
    for (size_t i : marks_.Changed(pending_.pos, pending_.removedLen, pending_.insertedLen)) {
      const LineMarks::Mark& m = marks_[i];
      XmTextSetHighlight(textWidget_, XmTextPosition(m.begin), XmTextPosition(m.end), XmHIGHLIGHT_NORMAL);
      XmTextPosition l = 0, r = 0;
      if (XmTextGetSelectionPosition(textWidget_, &l, &r) && l < r)
        XmTextSetHighlight(textWidget_, l, r, XmHIGHLIGHT_SELECTED);
    }
  }
  if (undoing_) return;
  if (pending_.inserted.size() != size_t(took)) pending_.inserted = Substring(textWidget_, long(pending_.pos), took);
  bool typed = typedPending_ && pending_.insertedLen <= 1 && (pending_.insertedLen == 1 || pending_.removedLen == 1);
  undo_.Record(std::move(pending_), typed, serialPending_);
}

void DsmCl::ApplyUndoStep(const UndoLog::Step& step, bool forward) {
  undoing_ = true;
  XmTextPosition cursor = 0;
  auto apply = [&](const UndoLog::Change& c) {
    const std::string& put = forward ? c.inserted : c.removed;
    size_t drop = forward ? c.removedLen : c.insertedLen;
    XmTextReplace(textWidget_, XmTextPosition(c.pos), XmTextPosition(c.pos + drop), const_cast<char*>(put.c_str()));
    cursor = XmTextPosition(c.pos + (forward ? c.insertedLen : c.removedLen));
  };
  if (forward)
    for (const UndoLog::Change& c : step) apply(c);
  else
    for (auto c = step.rbegin(); c != step.rend(); ++c) apply(*c);
  undoing_ = false;
  XmTextClearSelection(textWidget_, CurrentTime);
  XmTextSetInsertionPosition(textWidget_, cursor);
  XmTextShowPosition(textWidget_, cursor);
  modified_ = undo_.AtSaved() ? 0 : 1;
  theOpts.UpdateWidgets();
}

void DsmCl::Undo(Widget, XtPointer, XtPointer) {
  if (!textWidget_) return;
  if (const UndoLog::Step* step = undo_.Undo()) ApplyUndoStep(*step, false);
}

void DsmCl::Redo(Widget, XtPointer, XtPointer) {
  if (!textWidget_) return;
  if (const UndoLog::Step* step = undo_.Redo()) ApplyUndoStep(*step, true);
}
