// DsmCl error marks: after a run every DSM line named by an error is
// underlined (Motif's secondary-selection highlight) until the next run or
// until the line is edited; the marks follow the text (support/LineMarks)
// and the error walk selects a line where its mark is now. Marks hold
// widget positions (characters in a UTF-8 locale); lines are found in the
// text's byte copy.
#include <Xm/Xm.h>
#include <Xm/Text.h>

#include <algorithm>

#include "app/Application.h"
#include "app/DsmCl.h"
#include "xman/XmTextMirror.h"
#include "xmp/XmpHighlights.h"

using textlines::kNoPos;

namespace {

constexpr XmHighlightMode kMarkMode = XmHIGHLIGHT_SECONDARY_SELECTED;

void RefreshMarksSoon(XtPointer, XtIntervalId*) { theDsm.RefreshMarks(); }

// The selection or the cursor moved: look at the marks once the event
// that moved them is handled (the selection changes after the motion).
void QueueRefresh(Widget, XtPointer client, XtPointer) {
  auto* queued = static_cast<bool*>(client);
  if (*queued || !theAppShell) return;
  *queued = true;
  XtAppAddTimeOut(XtWidgetToApplicationContext(theAppShell), 0, RefreshMarksSoon, nullptr);
}

}  // namespace

void DsmCl::ClearMarks() {
  if (marks_.All().empty()) return;
  marks_.Clear();
  markLines_.clear();
  if (textWidget_) XmpTextSetHighlights(textWidget_, nullptr, 0, kMarkMode);
}

void DsmCl::MarkErrorLines(const std::vector<ReportLine>& errors) {
  if (!textWidget_) return;
  std::vector<long> lines;
  lines.reserve(errors.size());
  for (const ReportLine& e : errors) lines.push_back(e.line);
  std::sort(lines.begin(), lines.end());
  lines.erase(std::unique(lines.begin(), lines.end()), lines.end());

  // Lines in ascending order: each line start is found from the last one,
  // in the copy's bytes, and each position counted on from the last one.
  const TextMirror& text = text_->Current();
  textlines::MemorySource src(text.Bytes());
  std::vector<LineMarks::Mark> marks;
  std::vector<XmTextPosition> bounds;
  markLines_.clear();
  marks.reserve(lines.size());
  bounds.reserve(lines.size() * 2);
  for (long line : lines) {
    size_t start = lineIndex_.LineStart(src, size_t(line));
    if (start == kNoPos) break;  // this and all further lines are past the end
    size_t end = textlines::LineEnd(src, start);
    size_t left = text.PosOf(start), right = text.PosOf(end);
    marks.push_back({left, right, true});
    markLines_.push_back(line);
    bounds.push_back(XmTextPosition(left));
    bounds.push_back(XmTextPosition(right));
  }
  marks_.Set(std::move(marks));
  XmpTextSetHighlights(textWidget_, bounds.data(), Cardinal(bounds.size() / 2), kMarkMode);
  if (!XmTextGetSelectionPosition(textWidget_, &markSelLeft_, &markSelRight_)) markSelLeft_ = markSelRight_ = 0;
}

void DsmCl::WatchSelectionForMarks(Widget text) {
  for (const char* list : {XmNmotionVerifyCallback, XmNlosePrimaryCallback, XmNgainPrimaryCallback})
    XtAddCallback(text, list, QueueRefresh, &refreshQueued_);
}

void DsmCl::RefreshMarks() {
  refreshQueued_ = false;
  if (!textWidget_ || marks_.All().empty()) return;
  XmTextPosition left = 0, right = 0;
  if (!XmTextGetSelectionPosition(textWidget_, &left, &right) || left >= right) left = right = 0;
  if (left == markSelLeft_ && right == markSelRight_) return;
  // Motif cleared the old selection's range to plain, marks and all.
  const auto& all = marks_.All();
  auto m = std::lower_bound(all.begin(), all.end(), size_t(markSelLeft_),
                            [](const LineMarks::Mark& k, size_t p) { return k.end < p; });
  for (; m != all.end() && XmTextPosition(m->begin) < markSelRight_; ++m)
    if (m->shown) XmTextSetHighlight(textWidget_, XmTextPosition(m->begin), XmTextPosition(m->end), kMarkMode);
  if (left < right) XmTextSetHighlight(textWidget_, left, right, XmHIGHLIGHT_SELECTED);
  markSelLeft_ = left;
  markSelRight_ = right;
}

void DsmCl::SelectErrorLine(long line, long column) {
  auto at = std::lower_bound(markLines_.begin(), markLines_.end(), line);
  if (!textWidget_ || at == markLines_.end() || *at != line) {
    SelectLineNumber(line, column);
    return;
  }
  const LineMarks::Mark& m = marks_[size_t(at - markLines_.begin())];
  const TextMirror& text = text_->Current();
  textlines::MemorySource src(text.Bytes());
  size_t startByte = text.ByteOf(m.begin);
  size_t endByte = textlines::LineEnd(src, startByte);
  size_t end = text.PosOf(endByte);
  XmTextSetSelection(textWidget_, XmTextPosition(m.begin), XmTextPosition(end), 0);
  PlaceCursorAtColumn(startByte, endByte, column);
  XmTextShowPosition(textWidget_, XmTextPosition(m.begin));
  ShowCursorLine(XmTextGetInsertionPosition(textWidget_));
}
