// MsgCl: the message window: storing its widgets, the three plain
// operations and the commands on the report's selection. A widget that the
// resource description did not create is never touched.
#include "app/MsgCl.h"

#include <Xm/Xm.h>
#include <Xm/RowColumn.h>
#include <Xm/Text.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <string>

#include "app/Application.h"
#include "app/DsmCl.h"
#include "app/OptsCl.h"
#include "app/ShellQuote.h"
#include "support/FileStamp.h"

namespace {

constexpr const char* kNoMoreErrors = "No more errors";

// The report's selection; empty when nothing is selected.
Str SelectionOf(Widget text) {
  if (!text) return Str();
  char* sel = XmTextGetSelection(text);
  Str out(sel);
  XtFree(sel);
  return out;
}

}  // namespace

MsgCl& MsgCl::operator=(const MsgCl& other) {
  if (this != &other) {
    textWidget_ = other.textWidget_;
    dialogWidget_ = other.dialogWidget_;
    popupWidget_ = other.popupWidget_;
    report_ = other.report_;
    errors_ = other.errors_;
    current_ = other.current_;
    markBegin_ = other.markBegin_;
    markEnd_ = other.markEnd_;
    lastRelease_ = other.lastRelease_;
    lastX_ = other.lastX_;
    lastY_ = other.lastY_;
  }
  return *this;
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
  Str sel = SelectionOf(textWidget_);
  if (!sel.IsEmpty()) theDsm.FindAndSelect(sel);
}

void MsgCl::GoToSyntaxErrInDsm(Widget, XtPointer, XtPointer) {
  // All digits of the selection count, in order: "line 7, column 3" is 73.
  Str digits = SelectionOf(textWidget_);
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

void MsgCl::OpenInEditor(const Str& path) {
  // The name is one file name for the editor, never shell syntax nor an
  // option.
  Str cmd = theOpts.GetToolFileEditor() + " " + xkest::PathWord(path.c_str()).c_str() + " &";
  RunBusyCommand(cmd.c_str());
}

// --- the error walk and the report's links ----------------------------------

void MsgCl::TakeReport(std::string report, const Str& dsmFile) {
  report_ = std::move(report);
  std::string dsm = dsmFile.c_str();
  // kestb prints the DSM path as it was given; another spelling of the
  // same file (a link, "./m.dsm") is the same device and inode.
  errors_ = FindFileLines(report_, [&](std::string_view file) {
    std::string name(file);
    return name == dsm || SameFile(name.c_str(), dsm.c_str());
  });
  current_ = -1;
  markBegin_ = markEnd_ = 0;
}

void MsgCl::GoToError(size_t index) {
  current_ = long(index);
  const ReportLine& e = errors_[index];
  theDsm.SelectLineNumber(e.line);
  if (!textWidget_) return;
  XmTextPosition last = XmTextGetLastPosition(textWidget_);
  if (XmTextPosition(e.end) > last) return;  // the report was replaced since
  if (markEnd_ > markBegin_) XmTextSetHighlight(textWidget_, markBegin_, markEnd_, XmHIGHLIGHT_NORMAL);
  markBegin_ = long(e.begin);
  markEnd_ = long(e.end);
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
  XmTextPosition pos = XmTextXYToPos(w ? w : textWidget_, Position(event->xbutton.x), Position(event->xbutton.y));
  if (pos < 0 || size_t(pos) > report_.size()) return;
  // An error naming the DSM: the walk goes on from it.
  auto hit = std::upper_bound(errors_.begin(), errors_.end(), size_t(pos),
                              [](size_t p, const ReportLine& e) { return p < e.begin; });
  if (hit != errors_.begin() && size_t(pos) <= std::prev(hit)->end) {
    GoToError(size_t(std::prev(hit) - errors_.begin()));
    return;
  }
  std::string_view text(report_);
  size_t begin = text.rfind('\n', pos == 0 ? 0 : size_t(pos) - 1);
  begin = (begin == std::string_view::npos || size_t(pos) == 0) ? 0 : begin + 1;
  size_t end = text.find('\n', begin);
  std::string_view line = text.substr(begin, end == std::string_view::npos ? std::string_view::npos : end - begin);
  for (std::string_view lead : {"wrote ", "backup "}) {
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
void MsgCl::SetPopMenuWidget(Widget w, XtPointer, XtPointer) { popupWidget_ = w; }
void MsgCl::SetWidget(Widget w, XtPointer, XtPointer) { textWidget_ = w; }
void MsgCl::PostPopupMenu(Widget, XEvent* event, String*, Cardinal*) {
  if (!popupWidget_ || !event || event->type != ButtonPress) return;
  XmMenuPosition(popupWidget_, &event->xbutton);
  XtManageChild(popupWidget_);
}

bool MsgCl::IsA(int classNumber) const { return classNumber == kMsgClass; }

void MsgCl::ShowMessage(const Str& text) {
  if (!dialogWidget_) return;
  XmString s = XmStringCreateSimple(const_cast<char*>(text.c_str()));
  XtVaSetValues(dialogWidget_, XmNmessageString, s, nullptr);
  XtManageChild(dialogWidget_);
  XmStringFree(s);
}

void MsgCl::ClearText() {
  if (textWidget_) XmTextSetString(textWidget_, const_cast<char*>(""));
}

void MsgCl::AppendText(const char* text) {
  if (!textWidget_ || !text) return;
  XmTextInsert(textWidget_, XmTextGetLastPosition(textWidget_), const_cast<char*>(text));
}
