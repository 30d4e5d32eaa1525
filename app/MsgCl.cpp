// MsgCl: the message window: storing its widgets, the three plain
// operations and the commands on the report's selection. A widget that the
// resource description did not create is never touched.
#include "app/MsgCl.h"

#include <Xm/Xm.h>
#include <Xm/MessageB.h>
#include <Xm/RowColumn.h>
#include <Xm/Text.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <string>
#include <string_view>

#include <unistd.h>

#include "app/Application.h"
#include "app/DsmCl.h"
#include "app/OptsCl.h"
#include "app/ShellQuote.h"
#include "support/FileStamp.h"
#include "support/TextLines.h"
#include "support/Utf8.h"
#include "xman/XmTextMirror.h"
#include "xman/XmTextWrap.h"
#include "xmp/XmpOwned.h"

namespace {

constexpr const char* kNoMoreErrors = "No more errors";

// The report's selection; empty when nothing is selected.
Str SelectionOf(Widget text) {
  if (!text) return Str();
  xmp::XtOwned<char> sel(XmTextGetSelection(text));
  return Str(sel.get());
}

// Pixel widths of the 256 byte values in the dialog's font, so a message
// of any length is laid out in one pass.
using CharWidths = std::array<int, 256>;

CharWidths WidthsOf(XmRenderTable table) {
  CharWidths widths;
  widths.fill(8);
  if (!table) return widths;
  for (int c = 32; c < 256; ++c) {
    char text[2] = {char(c), 0};
    xmp::XmStr s(XmStringCreateLocalized(text));
    widths[size_t(c)] = int(XmStringWidth(table, s.get()));
  }
  return widths;
}

// Appends line to out, broken into lines no wider than room where it can
// be: after a '/' or at a blank (which is dropped). A line that fits stays
// whole; so does a word too long for any line.
void BreakLine(std::string_view line, int room, const CharWidths& widths, std::string& out) {
  while (!line.empty()) {
    // The last break whose head still fits, else the first break at all.
    size_t cut = std::string_view::npos, first = std::string_view::npos;
    int width = 0;
    bool fits = true;
    for (size_t i = 0; i < line.size(); ++i) {
      bool isBreak = i > 0 && (line[i] == ' ' || line[i - 1] == '/');
      if (isBreak && fits) cut = i;
      if (isBreak && first == std::string_view::npos) first = i;
      width += widths[static_cast<unsigned char>(line[i])];
      if (width > room) {
        fits = false;
        if (first != std::string_view::npos) break;
      }
    }
    if (fits) break;
    if (cut == std::string_view::npos) cut = first;
    if (cut == std::string_view::npos) break;
    out.append(line.substr(0, cut)).append("\n");
    line.remove_prefix(cut);
    if (line.front() == ' ') line.remove_prefix(1);
  }
  out.append(line);
}

// The LINE of a selection shaped FILE:LINE, FILE:LINE:COLUMN or a whole
// "FILE:LINE: error: ..." line, as kestb and compilers print them; 0 for
// another shape. FILE must hold more than digits: "12:5" is no file 12.
long LineField(std::string_view sel, long& column) {
  FileLineRef ref;
  column = 0;
  if (!ParseFileLine(sel, ref)) return 0;
  for (char c : ref.file)
    if (c < '0' || c > '9') {
      column = ref.column;
      return ref.line;
    }
  return 0;
}

// A double-clicked word from kestb's report keeps the quotes kestb puts
// around names ('flaot'); the DSM holds the name without them.
Str Unquoted(const Str& sel) {
  size_t n = sel.Length();
  const char* s = sel.c_str();
  if (n >= 3 && (s[0] == '\'' || s[0] == '"') && s[n - 1] == s[0]) return Str(std::string(s + 1, n - 2).c_str());
  return sel;
}

}  // namespace

std::string FitToScreen(Widget dialog, const std::string& text) {
  XmRenderTable table = nullptr;
  Dimension margin = 0;
  Widget label = XmIsMessageBox(dialog) ? XmMessageBoxGetChild(dialog, XmDIALOG_MESSAGE_LABEL) : nullptr;
  Widget symbol = XmIsMessageBox(dialog) ? XmMessageBoxGetChild(dialog, XmDIALOG_SYMBOL_LABEL) : nullptr;
  if (label) XtVaGetValues(label, XmNrenderTable, &table, nullptr);
  XtVaGetValues(dialog, XmNmarginWidth, &margin, nullptr);
  // Room left beside the symbol, inside the margins and a window frame.
  int room = WidthOfScreen(XtScreen(dialog)) - 4 * margin - 40;
  if (symbol && XtIsManaged(symbol)) {
    Dimension w = 0;
    XtVaGetValues(symbol, XmNwidth, &w, nullptr);
    room -= w;
  }
  CharWidths widths = WidthsOf(table);
  std::string out;
  std::string_view rest = text;
  for (;;) {
    size_t nl = rest.find('\n');
    BreakLine(rest.substr(0, nl), room, widths, out);
    if (nl == std::string_view::npos) break;
    out += '\n';
    rest.remove_prefix(nl + 1);
  }
  return out;
}

MsgCl* MsgCl::Clone() const { return new MsgCl(*this); }
MsgCl::~MsgCl() = default;

Widget MsgCl::GetTextWidget() const { return textWidget_; }
void MsgCl::SetTextWidget(Widget w) { textWidget_ = w; }
Widget MsgCl::GetDialogWidget() const { return dialogWidget_; }
void MsgCl::SetDialogWidget(Widget w) { dialogWidget_ = w; }
Widget MsgCl::GetPopupWidget() const { return popupWidget_; }
void MsgCl::SetPopupWidget(Widget w) { popupWidget_ = w; }

void MsgCl::FindSelectionInDsm(Widget, XtPointer, XtPointer) {
  Str sel = Unquoted(SelectionOf(textWidget_));
  if (!sel.IsEmpty()) theDsm.FindAndSelect(sel);
}

void MsgCl::GoToSyntaxErrInDsm(Widget, XtPointer, XtPointer) {
  Str digits = SelectionOf(textWidget_);
  long column = 0;
  if (long line = LineField(std::string_view(digits.c_str(), digits.Length()), column)) {
    theDsm.SelectLineNumber(line, column);
    return;
  }
  // Otherwise all digits of the selection count, in order: "line 7,
  // column 3" is 73.
  CharSet notDigits(true);
  notDigits.Remove("0123456789");
  digits.RemoveChars(notDigits);
  // A character set holds 7-bit codes only; a byte above 127 left behind
  // would stop the conversion short of the digits after it.
  std::string kept;
  for (const char* p = digits.c_str(); *p; ++p)
    if (*p >= '0' && *p <= '9') kept += *p;
  digits = kept.c_str();
  if (digits.IsEmpty()) return;
  errno = 0;
  long line = std::strtol(digits.c_str(), nullptr, 10);
  if (errno == ERANGE) line = LONG_MAX;
  theDsm.SelectLineNumber(line);
}

void MsgCl::OpenSelectedFile(Widget, XtPointer, XtPointer) { OpenInEditor(SelectionOf(textWidget_)); }

namespace {

// The report shows a Latin-1 file name as UTF-8: the file on disk has the
// Latin-1 name when only that one exists.
Str NameOnDisk(const Str& shown) {
  std::string latin1;
  if (access(shown.c_str(), F_OK) != 0 && !utf8::IsAscii(shown.c_str()) && utf8::ToLatin1(shown.c_str(), latin1) &&
      access(latin1.c_str(), F_OK) == 0)
    return Str(latin1.c_str());
  return shown;
}

}  // namespace

void MsgCl::OpenInEditor(const Str& path) {
  // The name is one file name for the editor, never shell syntax nor an
  // option.
  Str cmd = theOpts.GetToolFileEditor() + " " + xkest::PathWord(NameOnDisk(path).c_str()).c_str() + " &";
  RunBusyCommand(cmd.c_str());
}

// --- the error walk and the report's links ----------------------------------

void MsgCl::TakeReport(std::string report, const Str& dsmFile) {
  // Kept as the widget shows it, with its positions (characters in a
  // UTF-8 locale) convertible to byte offsets.
  report_.SetUnits(XmTextMirror::UnitsOf(textWidget_));
  report_.Assign(std::move(report), true);
  markBegin_ = markEnd_ = 0;  // that line was in the report replaced
  MatchErrors(dsmFile);
}

void MsgCl::MatchErrors(const Str& dsmFile) {
  std::string dsm = dsmFile.c_str();
  // kestb prints the DSM path as it was given; another spelling of the
  // same file (a link, "./m.dsm") is the same device and inode.
  errors_.clear();
  if (!dsm.empty())
    errors_ = FindFileLines(report_.Bytes(), [&](std::string_view file) {
      std::string name(NameOnDisk(Str(std::string(file).c_str())).c_str());
      return name == dsm || SameFile(name.c_str(), dsm.c_str());
    });
  current_ = -1;
  // The line the walk came from belongs to the file left.
  if (textWidget_ && markEnd_ > markBegin_ && markEnd_ <= XmTextGetLastPosition(textWidget_))
    XmTextSetHighlight(textWidget_, markBegin_, markEnd_, XmHIGHLIGHT_NORMAL);
  markBegin_ = markEnd_ = 0;
}

void MsgCl::GoToError(size_t index) {
  current_ = long(index);
  const ReportLine& e = errors_[index];
  theDsm.SelectErrorLine(e.line, e.column);
  if (!textWidget_) return;
  XmTextPosition last = XmTextGetLastPosition(textWidget_);
  XmTextPosition end = XmTextPosition(report_.PosOf(e.end));
  if (end > last) return;  // the report was replaced since
  if (markEnd_ > markBegin_) XmTextSetHighlight(textWidget_, markBegin_, markEnd_, XmHIGHLIGHT_NORMAL);
  markBegin_ = long(report_.PosOf(e.begin));
  markEnd_ = long(end);
  XmTextSetHighlight(textWidget_, markBegin_, markEnd_, XmHIGHLIGHT_SELECTED);
  XmTextSetInsertionPosition(textWidget_, markBegin_);
  XmTextShowPosition(textWidget_, markEnd_);
  XmTextShowPosition(textWidget_, markBegin_);
}

void MsgCl::NextError(Widget, XtPointer, XtPointer) {
  if (current_ + 1 >= long(errors_.size())) {
    ShowMessage(kNoMoreErrors);
    return;
  }
  GoToError(size_t(current_ + 1));
}

void MsgCl::PreviousError(Widget, XtPointer, XtPointer) {
  if (current_ <= 0 || errors_.empty()) {
    ShowMessage(kNoMoreErrors);
    return;
  }
  GoToError(size_t(std::min(current_, long(errors_.size()))) - 1);
}

void MsgCl::FollowLink(Widget w, XEvent* event, String*, Cardinal*) {
  if (!textWidget_ || !event || event->type != ButtonRelease) return;
  const XButtonEvent& b = event->xbutton;
  bool second = lastRelease_ != 0 && b.time >= lastRelease_ &&
                b.time - lastRelease_ <= Time(XtGetMultiClickTime(b.display)) && std::abs(b.x - lastX_) <= 4 &&
                std::abs(b.y - lastY_) <= 4;
  // A third click begins a new pair.
  lastRelease_ = second ? 0 : b.time;
  lastX_ = b.x;
  lastY_ = b.y;
  if (!second) return;
  XmTextPosition at = XmTextXYToPos(w ? w : textWidget_, Position(event->xbutton.x), Position(event->xbutton.y));
  if (at < 0 || size_t(at) > report_.Positions()) return;
  size_t pos = report_.ByteOf(size_t(at));
  // An error naming the DSM: the walk goes on from it.
  auto hit = std::upper_bound(errors_.begin(), errors_.end(), size_t(pos),
                              [](size_t p, const ReportLine& e) { return p < e.begin; });
  if (hit != errors_.begin() && size_t(pos) <= std::prev(hit)->end) {
    GoToError(size_t(std::prev(hit) - errors_.begin()));
    return;
  }
  std::string_view text(report_.Bytes());
  size_t begin = text.rfind('\n', pos == 0 ? 0 : size_t(pos) - 1);
  begin = (begin == std::string_view::npos || size_t(pos) == 0) ? 0 : begin + 1;
  size_t end = text.find('\n', begin);
  std::string_view line = text.substr(begin, end == std::string_view::npos ? std::string_view::npos : end - begin);
  for (std::string_view lead : {"wrote ", "unchanged ", "backup "}) {
    if (line.substr(0, lead.size()) == lead && line.size() > lead.size()) {
      OpenInEditor(Str(std::string(line.substr(lead.size())).c_str()));
      return;
    }
  }
  FileLineRef ref;
  if (ParseFileLine(line, ref)) {
    std::string file(ref.file);
    if (IsRegularFile(file.c_str())) OpenInEditor(Str(file.c_str()));
  }
}
void MsgCl::SetMsgDialogWidget(Widget w, XtPointer, XtPointer) { dialogWidget_ = w; }
void MsgCl::SetPopMenuWidget(Widget w, XtPointer, XtPointer) {
  if (AcceptWidget("xKestDoMsgSetPopMenuWidgetCB", w, WidgetKind::kPopupMenu)) popupWidget_ = w;
}
namespace {

void ReportStructure(Widget w, XtPointer, XEvent* event, Boolean*) {
  if (event && event->type == ConfigureNotify) theMsg.ReportResized(w);
}

}  // namespace

void MsgCl::SetWidget(Widget w, XtPointer, XtPointer) {
  if (!AcceptWidget("xKestDoMsgSetWidgetCB", w, WidgetKind::kText)) return;
  textWidget_ = w;
  Boolean wrap = False;
  XtVaGetValues(w, XmNwordWrap, &wrap, nullptr);
  wrapWanted_ = wrap;
  wrapOn_ = wrap;
  widestCells_ = tailCells_ = 0;
  // Off while the text is empty; AppendText turns it on when a line needs it.
  SetWrap(false);
  XtAddEventHandler(w, StructureNotifyMask, False, ReportStructure, nullptr);
}

void MsgCl::SetWrap(bool on) {
  if (!textWidget_ || on == wrapOn_) return;
  XtVaSetValues(textWidget_, XmNwordWrap, on ? True : False, nullptr);
  wrapOn_ = on;
}

void MsgCl::WrapIfNeeded() {
  if (!wrapWanted_ || wrapOn_ || widestCells_ == 0) return;
  if (widestCells_ > XmTextCellsAcross(textWidget_)) SetWrap(true);
}

void MsgCl::ReportResized(Widget text) {
  if (text == textWidget_) WrapIfNeeded();
}
void MsgCl::PostPopupMenu(Widget, XEvent* event, String*, Cardinal*) {
  if (!popupWidget_ || !event || event->type != ButtonPress) return;
  XmMenuPosition(popupWidget_, &event->xbutton);
  XtManageChild(popupWidget_);
}

bool MsgCl::IsA(int classNumber) const { return classNumber == kMsgClass; }

void MsgCl::ShowMessage(const Str& text) {
  if (!dialogWidget_) return;
  // A message still on screen stays to be read: the new one goes below it.
  // The same one again (F4 held past the last error) would only grow the
  // dialog line by line.
  std::string_view add(text.c_str(), text.Length());
  bool up = XtIsManaged(dialogWidget_) && !shown_.empty();
  if (up && shown_.ends_with(add) && (shown_.size() == add.size() || shown_[shown_.size() - add.size() - 1] == '\n'))
    return;
  // A run still waiting keeps saying so above, with its Cancel button.
  if (!up) shown_ = cancellable_;
  if (!shown_.empty()) shown_ += "\n";
  shown_ += add;
  SetShown();
}

void MsgCl::SetShown() {
  std::string lines = FitToScreen(dialogWidget_, shown_);
  xmp::XmStr s(XmStringCreateLtoR(lines.data(), const_cast<char*>(XmFONTLIST_DEFAULT_TAG)));
  XtVaSetValues(dialogWidget_, XmNmessageString, s.get(), nullptr);
  XtManageChild(dialogWidget_);
}

void MsgCl::ShowCancellable(const Str& text, XtCallbackProc cancel) {
  if (!dialogWidget_ || !XmIsMessageBox(dialogWidget_)) {
    ShowMessage(text);
    return;
  }
  if (cancellable_.empty()) {
    cancellable_ = text.c_str();
    cancelProc_ = cancel;
    XtAddCallback(dialogWidget_, XmNcancelCallback, cancel, nullptr);
    XtUnmanageChild(XmMessageBoxGetChild(dialogWidget_, XmDIALOG_OK_BUTTON));
    XtManageChild(XmMessageBoxGetChild(dialogWidget_, XmDIALOG_CANCEL_BUTTON));
  }
  bool up = XtIsManaged(dialogWidget_) && !shown_.empty();
  if (!up) shown_.clear();
  if (shown_.find(cancellable_) == std::string::npos) shown_ = shown_.empty() ? cancellable_ : shown_ + "\n" + cancellable_;
  SetShown();
}

void MsgCl::EndCancellable() {
  if (cancellable_.empty() || !dialogWidget_) return;
  XtRemoveCallback(dialogWidget_, XmNcancelCallback, cancelProc_, nullptr);
  XtUnmanageChild(XmMessageBoxGetChild(dialogWidget_, XmDIALOG_CANCEL_BUTTON));
  XtManageChild(XmMessageBoxGetChild(dialogWidget_, XmDIALOG_OK_BUTTON));
  size_t at = shown_.find(cancellable_);
  if (at != std::string::npos) {
    size_t end = at + cancellable_.size();
    if (end < shown_.size()) ++end;  // its line end
    else if (at > 0) --at;
    shown_.erase(at, end - at);
  }
  cancellable_.clear();
  cancelProc_ = nullptr;
  if (!XtIsManaged(dialogWidget_)) return;
  if (shown_.empty()) XtUnmanageChild(dialogWidget_);
  else SetShown();
}

void MsgCl::ClearText() {
  if (!textWidget_) return;
  XmTextSetString(textWidget_, const_cast<char*>(""));
  widestCells_ = tailCells_ = 0;
  SetWrap(false);
}

void MsgCl::AppendText(const char* text) {
  if (!textWidget_ || !text) return;
  widestCells_ = std::max(widestCells_, textlines::WidestLineCells(text, tailCells_));
  // Before the insertion, which then lays the text out once, wrapped.
  WrapIfNeeded();
  XmTextInsert(textWidget_, XmTextGetLastPosition(textWidget_), const_cast<char*>(text));
}
