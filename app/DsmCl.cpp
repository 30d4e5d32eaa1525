// DsmCl: the DSM editor. The document operations, editing commands and
// generator runs are still to come; the accessors and the set-widget
// operations that the interface needs from the start are here.
#include "app/DsmCl.h"

#include <Xm/Xm.h>

#include "app/Application.h"

DsmCl::DsmCl() : fileName_(kNoDsmFile) {}

DsmCl& DsmCl::operator=(const DsmCl& other) {
  if (this == &other) return *this;
  textWidget_ = other.textWidget_;
  fileName_ = other.fileName_;
  hasFileName_ = other.hasFileName_;
  modified_ = other.modified_;
  openDlg_ = other.openDlg_;
  popMenu_ = other.popMenu_;
  cursorPosLabel_ = other.cursorPosLabel_;
  saveAndLoadQDlg_ = other.saveAndLoadQDlg_;
  saveAsDlg_ = other.saveAsDlg_;
  verifyCloseDlg_ = other.verifyCloseDlg_;
  return *this;
}

DsmCl* DsmCl::Clone() const { return new DsmCl(*this); }
DsmCl::~DsmCl() = default;

Widget DsmCl::GetTextWidget() const { return textWidget_; }
void DsmCl::SetTextWidget(Widget w) { textWidget_ = w; }
const Str& DsmCl::GetFileName() const { return fileName_; }
void DsmCl::SetFileName(const Str& name) { fileName_ = name; }
int DsmCl::GetHasFileName() const { return hasFileName_; }
void DsmCl::SetHasFileName(int flag) { hasFileName_ = flag; }
int DsmCl::GetModified() const { return modified_; }
void DsmCl::SetModified(int flag) { modified_ = flag; }
Widget DsmCl::GetOpenDlg() const { return openDlg_; }
void DsmCl::SetOpenDlg(Widget w) { openDlg_ = w; }
Widget DsmCl::GetPopMenu() const { return popMenu_; }
void DsmCl::SetPopMenu(Widget w) { popMenu_ = w; }
Widget DsmCl::GetCursorPosLabel() const { return cursorPosLabel_; }
void DsmCl::SetCursorPosLabel(Widget w) { cursorPosLabel_ = w; }
Widget DsmCl::GetSaveAndLoadQDlg() const { return saveAndLoadQDlg_; }
void DsmCl::SetSaveAndLoadQDlg(Widget w) { saveAndLoadQDlg_ = w; }
Widget DsmCl::GetSaveAsDlg() const { return saveAsDlg_; }
void DsmCl::SetSaveAsDlg(Widget w) { saveAsDlg_ = w; }
Widget DsmCl::GetVerifyCloseDlg() const { return verifyCloseDlg_; }
void DsmCl::SetVerifyCloseDlg(Widget w) { verifyCloseDlg_ = w; }

void DsmCl::Append(Widget, XtPointer, XtPointer) {}
void DsmCl::Close(Widget, XtPointer, XtPointer) {}
void DsmCl::CloseWithNoSave(Widget, XtPointer, XtPointer) {}
void DsmCl::Copy(Widget, XtPointer, XtPointer) {}
void DsmCl::Cut(Widget, XtPointer, XtPointer) {}
void DsmCl::Delete(Widget, XtPointer, XtPointer) {}
void DsmCl::DiscardAndLoad(Widget, XtPointer, XtPointer) {}
void DsmCl::Find(Widget, XtPointer, XtPointer) {}
void DsmCl::Load(Widget, XtPointer, XtPointer) {}
void DsmCl::NavBottom(Widget, XtPointer, XtPointer) {}
void DsmCl::NavTop(Widget, XtPointer, XtPointer) {}
void DsmCl::Paste(Widget, XtPointer, XtPointer) {}
void DsmCl::Print(Widget, XtPointer, XtPointer) {}
void DsmCl::Replace(Widget, XtPointer, XtPointer) {}
void DsmCl::RunCodegen(Widget, XtPointer, XtPointer) {}
void DsmCl::SafeLoad(Widget, XtPointer, XtPointer) {}
void DsmCl::Save(Widget, XtPointer, XtPointer) {}
void DsmCl::SaveAndLoad(Widget, XtPointer, XtPointer) {}
void DsmCl::SaveAs(Widget, XtPointer, XtPointer) {}

void DsmCl::SetCursorPosWidget(Widget w, XtPointer, XtPointer) { cursorPosLabel_ = w; }
void DsmCl::SetOpenDlgWidget(Widget w, XtPointer, XtPointer) { openDlg_ = w; }
void DsmCl::SetPopMenuWidget(Widget w, XtPointer, XtPointer) { popMenu_ = w; }
void DsmCl::SetSaveAndLoadQDlgWidget(Widget w, XtPointer, XtPointer) { saveAndLoadQDlg_ = w; }
void DsmCl::SetSaveAsDlgWidget(Widget w, XtPointer, XtPointer) { saveAsDlg_ = w; }
void DsmCl::SetVerifyCloseDlgWidget(Widget w, XtPointer, XtPointer) { verifyCloseDlg_ = w; }

void DsmCl::SetWidget(Widget w, XtPointer, XtPointer) {
  textWidget_ = w;
  if (w) XtAddCallback(w, XmNvalueChangedCallback, MarkModified, nullptr);
}

void DsmCl::SynchLineNums(Widget, XtPointer, XtPointer) {}
void DsmCl::PostPopupMenu(Widget, XEvent*, String*, Cardinal*) {}

bool DsmCl::IsA(int classNumber) const { return classNumber == kDsmClass; }

extern "C" void MarkModified(Widget, XtPointer, XtPointer) { theDsm.SetModified(1); }
