// DsmCl undo and redo: every change of the DSM text (typing, paste,
// Replace, Append, whatever else changes it) is learned from the text's
// copy as it takes the change, and recorded once the widget's
// value-changed callback says the text took it too; so no command has to
// report its changes, and a change is converted between characters and
// bytes once, by the copy. The history itself is support/UndoLog.
#include <Xm/Xm.h>
#include <Xm/Text.h>

#include "app/Application.h"
#include "app/DsmCl.h"
#include "app/OptsCl.h"

#include <utility>

void DsmCl::UndoNoteChanging(const TextMirror::Edit& edit) {
  hasPending_ = false;
  // A whole new text (loaded, or read again) starts no step.
  if (loading_ || edit.whole || !textWidget_) return;
  pending_ = UndoLog::Change();
  pending_.pos = edit.posStart;
  pending_.removedLen = edit.posRemoved;
  pending_.insertedLen = edit.posInserted;
  // Undo and Redo are not recorded, but they move the marks.
  if (!undoing_) {
    pending_.removed.assign(edit.removed);
    pending_.inserted.assign(edit.inserted);
  }
  pendingLength_ = text_->Text().Positions();
  hasPending_ = true;
}

void DsmCl::UndoNoteChanged(XtPointer call) {
  if (!hasPending_ || loading_ || !textWidget_) return;
  hasPending_ = false;
  if (size_t(XmTextGetLastPosition(textWidget_)) != pendingLength_) {
    // The text took something else than its copy saw (a verify callback
    // behind the copy's changed the change): the copy reads the text
    // again, and a history that no longer fits the text is dropped.
    if (undoing_)
      historyLost_ = true;  // the step being applied is still in use
    else
      undo_.Forget();
    return;
  }
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
  auto* cbs = static_cast<XmAnyCallbackStruct*>(call);
  bool key = cbs && cbs->event && cbs->event->type == KeyPress;
  bool typed = key && pending_.insertedLen <= 1 && (pending_.insertedLen == 1 || pending_.removedLen == 1);
  XEvent* last = XtLastEventProcessed(XtDisplay(textWidget_));
  undo_.Record(std::move(pending_), typed, last ? last->xany.serial : 0);
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
  if (historyLost_) {
    historyLost_ = false;
    undo_.Forget();
  }
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
