// DsmCl: the DSM document: accessors, set-widget operations, and load,
// save, save as and close with their dialogs. The editing commands are in
// DsmClEdit.cpp, the generator and printer runs in DsmClCodegen.cpp.
#include "app/DsmCl.h"

#include <Xm/Xm.h>
#include <Xm/FileSB.h>
#include <Xm/MessageB.h>
#include <Xm/Text.h>

#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include <sys/stat.h>

#include "app/Application.h"
#include "app/MsgCl.h"
#include "app/OptsCl.h"
#include "support/SafeSave.h"
#include "support/Utf8.h"
#include "xmp/XmpOwned.h"

namespace {

// Message texts of the document operations.
constexpr const char* kNotAccessible = "Not able to access the file '";
constexpr const char* kCannotSave = "Cannot save to filepath ";
constexpr const char* kKeptCopy = "\nThe complete new text is kept in ";
// The text widget holds one C string, so the text ends at a NUL byte;
// saving it would shorten the file, which the user must know.
constexpr const char* kNulBytePrefix = "The file '";
constexpr const char* kNulByteSuffix =
    "' holds a NUL byte: the text stops there, and saving it will write only the text before it";
// A Latin-1 file is written back as Latin-1, which holds only the first
// 256 characters; anything else would be lost or garbled.
constexpr const char* kNotLatin1Prefix = ": line ";
constexpr const char* kNotLatin1Suffix = " holds a character that the file's Latin-1 encoding cannot store";
constexpr const char* kChangedPrefix = "The file '";
constexpr const char* kChangedSuffix = "' changed on disk since xkest last read or wrote it.";
// Said instead when the description has no dialog to ask in: without an
// answer the file could never be saved again.
constexpr const char* kSaveAgain = " Save again to overwrite it.";
// A file too large to hold in memory is refused before it is read, and the
// text stays; past the limit the reload on focus asks instead.
constexpr const char* kCannotLoad = "Cannot load ";
constexpr const char* kTooLargeMiddle = ": it is too large (";
constexpr const char* kTooLargeSuffix = " bytes)";
constexpr const char* kNowTooLargePrefix = "\nIt is now too large to load (";

Str TooLarge(const Str& name, uintmax_t size) {
  return Str(kCannotLoad) + name + kTooLargeMiddle + std::to_string(size).c_str() + kTooLargeSuffix;
}
// Offered when a complete copy left by an interrupted in-place save lies
// beside the file just read.
constexpr const char* kCopyPrefix = "An interrupted save left a complete copy of ";
constexpr const char* kCopySuffix = ".";

// Save As asks before it replaces another file.
constexpr const char* kExistsPrefix = "The file '";
constexpr const char* kExistsSuffix = "' exists. Replace it?";

// True when name is an existing file (not a folder) other than the one
// the text belongs to.
bool IsOtherExistingFile(const Str& name, const Str& current, int hasCurrent) {
  struct stat chosen, own;
  if (::stat(name.c_str(), &chosen) != 0 || S_ISDIR(chosen.st_mode)) return false;
  return !(hasCurrent && ::stat(current.c_str(), &own) == 0 && own.st_dev == chosen.st_dev &&
           own.st_ino == chosen.st_ino);
}

// File dialogs read their folder as they are shown (RereadFolderWhenShown).
void Manage(Widget w) {
  if (w) XtManageChild(w);
}

// Whether the resource description gave a dialog that shows a question.
bool CanAsk(Widget dialog) { return dialog && XmIsMessageBox(dialog); }

// Puts the question into its dialog and shows it. Without the dialog
// nothing is written, so the question says why as a message; so it does
// when the resource description named a widget that shows no question.
void Ask(Widget dialog, const Str& question) {
  if (!CanAsk(dialog)) {
    theMsg.ShowMessage(question);
    return;
  }
  // A long path would make the question wider than the screen, its end
  // (what is asked) out of sight.
  std::string lines = FitToScreen(dialog, question.c_str());
  xmp::XmStr s(XmStringCreateLtoR(lines.data(), const_cast<char*>(XmFONTLIST_DEFAULT_TAG)));
  XtVaSetValues(dialog, XmNmessageString, s.get(), nullptr);
  Manage(dialog);
}

// The name a file selection dialog's OK callback carries; empty when none.
// A name typed without a folder is in the folder the dialog shows, not in
// xkest's working folder.
Str NameFromCallData(XtPointer call) {
  auto* cbs = static_cast<XmFileSelectionBoxCallbackStruct*>(call);
  Str name;
  if (!cbs || !cbs->value) return name;
  name = xmp::PlainText(cbs->value).c_str();
  if (name.IsEmpty() || name.c_str()[0] == '/') return name;
  std::string path = xmp::PlainText(cbs->dir);
  if (path.empty()) return name;
  if (path.back() != '/') path += '/';
  return Str((path + name.c_str()).c_str());
}

}  // namespace

ModifiedFlag& ModifiedFlag::operator=(int flag) {
  if (flag == value_) return *this;
  value_ = flag;
  theOpts.UpdateTitle();
  return *this;
}

DsmCl::DsmCl() : fileName_(kNoDsmFile) {}

DsmCl* DsmCl::Clone() const { return new DsmCl(*this); }
DsmCl::~DsmCl() = default;

Widget DsmCl::GetTextWidget() const { return textWidget_; }
void DsmCl::SetTextWidget(Widget w) {
  textWidget_ = w;
  lineIndex_.Reset();
  AttachText(w);
}
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
void DsmCl::SetCursorPosLabel(Widget w) {
  cursorPosLabel_ = w;
  shownLine_ = 0;
}
Widget DsmCl::GetSaveAndLoadQDlg() const { return saveAndLoadQDlg_; }
void DsmCl::SetSaveAndLoadQDlg(Widget w) { saveAndLoadQDlg_ = w; }
Widget DsmCl::GetSaveAsDlg() const { return saveAsDlg_; }
void DsmCl::SetSaveAsDlg(Widget w) { saveAsDlg_ = w; }
Widget DsmCl::GetVerifyCloseDlg() const { return verifyCloseDlg_; }
void DsmCl::SetVerifyCloseDlg(Widget w) { verifyCloseDlg_ = w; }

bool DsmCl::IsA(int classNumber) const { return classNumber == kDsmClass; }

// --- set-widget operations --------------------------------------------------

namespace {

// Every change of the copy: the line index learns where it starts, the
// undo history what it was.
void DsmTextChanged(const TextMirror::Edit& e) {
  theDsm.TextChanging(e.whole ? 0 : long(e.byteStart));
  theDsm.UndoNoteChanging(e);
}

void UndoChanged(Widget, XtPointer, XtPointer call) { theDsm.UndoNoteChanged(call); }

// The shell's focus: another program may have changed the file meanwhile.
void ShellFocusChanged(Widget, XtPointer, XEvent* event, Boolean*) {
  if (event && event->type == FocusIn && event->xfocus.detail != NotifyInferior) theDsm.WindowFocused();
}

}  // namespace

void DsmCl::SetCursorPosWidget(Widget w, XtPointer, XtPointer) {
  cursorPosLabel_ = w;
  shownLine_ = 0;
}
void DsmCl::SetOpenDlgWidget(Widget w, XtPointer, XtPointer) {
  openDlg_ = w;
  RereadFolderWhenShown(w);
}
void DsmCl::SetPopMenuWidget(Widget w, XtPointer, XtPointer) {
  if (AcceptWidget("xKestDoDsmSetPopMenuWidgetCB", w, WidgetKind::kPopupMenu)) popMenu_ = w;
}
void DsmCl::SetSaveAndLoadQDlgWidget(Widget w, XtPointer, XtPointer) { saveAndLoadQDlg_ = w; }
void DsmCl::SetSaveAsDlgWidget(Widget w, XtPointer, XtPointer) {
  saveAsDlg_ = w;
  RereadFolderWhenShown(w);
}
void DsmCl::SetVerifyCloseDlgWidget(Widget w, XtPointer, XtPointer) { verifyCloseDlg_ = w; }
void DsmCl::SetChangedDlgWidget(Widget w, XtPointer, XtPointer) { changedDlg_ = w; }
void DsmCl::SetCopyDlgWidget(Widget w, XtPointer, XtPointer) { copyDlg_ = w; }
void DsmCl::SetReplaceDlgWidget(Widget w, XtPointer, XtPointer) { replaceDlg_ = w; }

void DsmCl::SetWidget(Widget w, XtPointer, XtPointer) {
  // Every later operation makes text calls on it.
  if (!AcceptWidget("xKestDoDsmSetWidgetCB", w, WidgetKind::kText)) return;
  textWidget_ = w;
  lineIndex_.Reset();
  XtAddCallback(w, XmNvalueChangedCallback, MarkModified, nullptr);
  XtAddCallback(w, XmNvalueChangedCallback, UndoChanged, nullptr);
  WatchSelectionForMarks(w);
  AttachText(w);
  Widget shell = w;
  while (shell && !XtIsShell(shell)) shell = XtParent(shell);
  if (shell) XtAddEventHandler(shell, FocusChangeMask, False, ShellFocusChanged, nullptr);
}

void DsmCl::AttachText(Widget w) {
  text_->Attach(w);
  if (listenerId_) text_->Text().RemoveListener(listenerId_);
  listenerId_ = text_->Text().AddListener(DsmTextChanged);
}

void DsmCl::TextChanging(long pos) { lineIndex_.Changed(pos < 0 ? 0 : size_t(pos)); }

extern "C" void MarkModified(Widget, XtPointer, XtPointer) { theDsm.SetModified(1); }

// --- document operations ----------------------------------------------------

size_t DsmCl::SetWholeText(std::string text, bool knownValid, bool keepHistory) {
  if (!keepHistory) undo_.Clear();
  if (!textWidget_) return strnlen(text.c_str(), text.size());
  // A new text starts a new history: the old text is not copied into it;
  // marks of the old one go.
  ClearMarks();
  loading_ = true;
  hasPending_ = false;
  text_->SetText(std::move(text), knownValid);
  loading_ = false;
  // Learned while the text is at hand in memory; after the change, whose
  // notice forgets all counts.
  const std::string& now = text_->Text().Bytes();
  size_t length = lineIndex_.BuildToNul(now.data(), now.size());
  ShowCursorLine(XmTextGetInsertionPosition(textWidget_));
  return length;
}

void DsmCl::ShowFileText(const char* buffer, size_t length, const Str& name, bool keepHistory) {
  std::string text(buffer, strnlen(buffer, length));
  bool cut = text.size() < length;
  // In a UTF-8 locale a file that is not UTF-8 is read as Latin-1, the
  // usual 8-bit encoding, so every byte shows and survives a save.
  latin1_ = XmTextMirror::UnitsOf(textWidget_) == TextMirror::Units::kUtf8Chars && !utf8::IsValid(text);
  if (latin1_) text = utf8::FromLatin1(text);
  SetWholeText(std::move(text), true, keepHistory);
  if (cut) theMsg.ShowMessage(Str(kNulBytePrefix) + name + kNulByteSuffix);
}

int DsmCl::WriteTextTo(const Str& path, FileStamp* written) {
  if (!textWidget_) return 0;
  const std::string& text = text_->Current().Bytes();
  SaveResult result;
  if (!latin1_) {
    result = SafeSave(path.c_str(), text.data(), text.size());
  } else {
    std::string bytes;
    size_t bad = 0;
    if (!utf8::ToLatin1(text, bytes, &bad)) {
      size_t line = 1 + textlines::CountNewlines(std::string_view(text).substr(0, bad));
      theMsg.ShowMessage(Str(kCannotSave) + path + kNotLatin1Prefix + std::to_string(line).c_str() + kNotLatin1Suffix);
      return 0;
    }
    result = SafeSave(path.c_str(), bytes.data(), bytes.size());
  }
  if (result.ok) {
    *written = result.stamp;
    return 1;
  }
  // The reason tells the user what to fix; a copy left behind is named so
  // the new text can be found even if the file itself is damaged.
  Str message = Str(kCannotSave) + path + ": " + SaveFailureText(result).c_str();
  if (!result.keptCopy.empty()) message += Str(kKeptCopy) + result.keptCopy.c_str();
  theMsg.ShowMessage(message);
  return 0;
}

void DsmCl::Close(Widget, XtPointer, XtPointer) {
  if (modified_) {
    Manage(verifyCloseDlg_);
    return;
  }
  SetWholeText(std::string(), true);
  latin1_ = false;
  hasFileName_ = 0;
  modified_ = 0;
  diskStamp_ = FileStamp();
  offeredCopy_ = answeredCopy_ = SaveCopy();
  fileName_ = kNoDsmFile;
  theMsg.MatchErrors(Str());
  theOpts.UpdateWidgets();
}

void DsmCl::CloseWithNoSave(Widget w, XtPointer client, XtPointer call) {
  modified_ = 0;
  Close(w, client, call);
}

void DsmCl::SafeLoad(Widget, XtPointer, XtPointer) {
  if (modified_) Manage(saveAndLoadQDlg_);
  else Manage(openDlg_);
}

void DsmCl::SaveAndLoad(Widget w, XtPointer client, XtPointer call) {
  Save(w, client, call);
  // A failed save leaves the text modified: opening another file now
  // would throw away the very text the user chose to keep.
  if (hasFileName_ && !modified_) Manage(openDlg_);
}

void DsmCl::DiscardAndLoad(Widget w, XtPointer client, XtPointer call) {
  CloseWithNoSave(w, client, call);
  Manage(openDlg_);
}

void DsmCl::Load(Widget w, XtPointer client, XtPointer call) {
  if (w && !AcceptWidget("xKestDoDsmLoadCB", w, WidgetKind::kSelectionBox)) return;
  Str name = NameFromCallData(call);
  // With no name chosen the text stays as it is, and so does its flag:
  // cleared, a later close or quit would drop the changes unasked.
  if (name.IsEmpty()) {
    theOpts.UpdateWidgets();
    return;
  }
  // The Open dialog stays up while the user may edit on; loading over
  // changes made since would lose them, so ask as opening does.
  if (modified_) {
    SafeLoad(w, client, call);
    return;
  }
  size_t length = 0;
  FileStamp stamp;
  uintmax_t tooLarge = 0;
  char* buffer = ReadWholeFile(name.c_str(), &length, &stamp, &tooLarge);
  if (tooLarge) {
    theMsg.ShowMessage(TooLarge(name, tooLarge));
    theOpts.UpdateWidgets();
    return;
  }
  if (buffer) {
    fileName_ = name;
    hasFileName_ = 1;
    diskStamp_ = stamp;
    ShowFileText(buffer, length, name);
    offeredCopy_ = answeredCopy_ = SaveCopy();
    OfferSaveCopy(std::string_view(buffer, length), stamp);
    std::free(buffer);
  } else {
    theMsg.ShowMessage(Str(kNotAccessible) + name + "'");
    SetWholeText(std::string(), true);
    latin1_ = false;
    hasFileName_ = 0;
    diskStamp_ = FileStamp();
  }
  modified_ = 0;
  // The report's errors name the file that was there before.
  theMsg.MatchErrors(hasFileName_ ? fileName_ : Str());
  theOpts.UpdateWidgets();
}

void DsmCl::Save(Widget, XtPointer, XtPointer) {
  // A file removed on disk leaves the text as its only copy: Save writes
  // it again even when unchanged.
  bool removed = hasFileName_ && CompareWithDisk(diskStamp_, fileName_.c_str()) == DiskState::kRemoved;
  if (!modified_ && !removed) return;
  if (!hasFileName_) {
    Manage(saveAsDlg_);
    return;
  }
  if (!textWidget_) return;
  if (ChangedOnDisk()) {
    AskChangedOnDisk(false);
    return;
  }
  WriteToFile();
}

void DsmCl::WriteToFile() {
  // The stamp of the file written, not of whatever the name shows a
  // moment later.
  FileStamp written;
  if (WriteTextTo(fileName_, &written)) {
    modified_ = 0;
    undo_.MarkSaved();
    diskStamp_ = written;
    // Once answered, the interrupted save's copy has served: the file
    // now holds a whole text.
    if (answeredCopy_.found) RemoveSaveCopy(answeredCopy_);
    answeredCopy_ = SaveCopy();
  }
}

void DsmCl::SaveAs(Widget w, XtPointer, XtPointer call) {
  if (w && !AcceptWidget("xKestDoDsmSaveAsCB", w, WidgetKind::kSelectionBox)) return;
  Str name = NameFromCallData(call);
  if (name.IsEmpty()) return;
  // Writing to the file the text came from overwrites whatever changed it
  // on disk since, as Save would.
  if (hasFileName_ && SameFile(name.c_str(), fileName_.c_str()) && ChangedOnDisk()) {
    AskChangedOnDisk(false);
    return;
  }
  if (!IsOtherExistingFile(name, fileName_, hasFileName_)) {
    SaveAsNamed(name);
    return;
  }
  replaceName_ = name;
  Ask(replaceDlg_, Str(kExistsPrefix) + name + kExistsSuffix);
}

void DsmCl::SaveAsReplace(Widget, XtPointer, XtPointer) {
  if (!replaceName_.IsEmpty()) SaveAsNamed(replaceName_);
}

void DsmCl::SaveAsNamed(const Str& name) {
  // The copy belongs to the file of the old name.
  if (!(name == fileName_)) offeredCopy_ = answeredCopy_ = SaveCopy();
  fileName_ = name;
  hasFileName_ = 1;
  diskStamp_ = FileStamp();
  WriteToFile();
  theOpts.UpdateWidgets();
}

// --- the file changed behind the editor's back -----------------------------

bool DsmCl::ChangedOnDisk() const {
  return hasFileName_ && CompareWithDisk(diskStamp_, fileName_.c_str()) == DiskState::kChanged;
}

void DsmCl::AskChangedOnDisk(bool thenRun) {
  Str question = Str(kChangedPrefix) + fileName_ + kChangedSuffix;
  if (!CanAsk(changedDlg_)) {
    // Nothing could answer: the user is told, and the next Save writes
    // over this version of the file, as an editor's forced write does.
    runAfterAnswer_ = false;
    diskStamp_ = StampOf(fileName_.c_str());
    theMsg.ShowMessage(question + kSaveAgain);
    return;
  }
  runAfterAnswer_ = thenRun;
  Ask(changedDlg_, question);
}

bool DsmCl::ReloadFromDisk() {
  size_t length = 0;
  FileStamp stamp;
  uintmax_t tooLarge = 0;
  char* buffer = ReadWholeFile(fileName_.c_str(), &length, &stamp, &tooLarge);
  // Whatever happens, this version of the file has been dealt with: a
  // file that cannot be read is reported once, not at every focus change.
  diskStamp_ = buffer ? stamp : StampOf(fileName_.c_str());
  if (tooLarge) {
    theMsg.ShowMessage(TooLarge(fileName_, tooLarge));
    return false;
  }
  if (!buffer) {
    theMsg.ShowMessage(Str(kNotAccessible) + fileName_ + "'");
    return false;
  }
  XmTextPosition cursor = textWidget_ ? XmTextGetInsertionPosition(textWidget_) : 0;
  XmTextPosition top = textWidget_ ? XmTextGetTopCharacter(textWidget_) : 0;
  // The text as it was comes back with one Undo.
  UndoLog::Change change;
  change.removed = text_->Current().Bytes();
  change.removedLen = text_->Text().Positions();
  ShowFileText(buffer, length, fileName_, true);
  OfferSaveCopy(std::string_view(buffer, length), stamp);
  std::free(buffer);
  if (textWidget_) {
    change.inserted = text_->Text().Bytes();
    change.insertedLen = text_->Text().Positions();
    undo_.MarkSaved();  // a step of its own
    undo_.Record(std::move(change), false, 0);
  }
  undo_.MarkSaved();
  modified_ = 0;
  if (textWidget_) {
    XmTextPosition last = XmTextGetLastPosition(textWidget_);
    XmTextSetTopCharacter(textWidget_, top < last ? top : last);
    XmTextSetInsertionPosition(textWidget_, cursor < last ? cursor : last);
  }
  theOpts.UpdateWidgets();
  return true;
}

void DsmCl::WindowFocused() {
  // The modified text is never replaced unasked; Save will ask.
  if (modified_ || !ChangedOnDisk()) return;
  // A size that cannot be loaded is no edit to take in quietly (someone
  // may have swapped the file): ask once about this version of it.
  FileStamp now = StampOf(fileName_.c_str());
  if (uintmax_t(now.size) > LoadLimit()) {
    if (askedStamp_.exists && CompareWithDisk(askedStamp_, fileName_.c_str()) == DiskState::kSame) return;
    askedStamp_ = now;
    runAfterAnswer_ = false;
    Ask(changedDlg_, Str(kChangedPrefix) + fileName_ + kChangedSuffix + kNowTooLargePrefix +
                         std::to_string(uintmax_t(now.size)).c_str() + kTooLargeSuffix + ".");
    return;
  }
  ReloadFromDisk();
}

void DsmCl::Overwrite(Widget w, XtPointer client, XtPointer call) {
  bool run = runAfterAnswer_;
  runAfterAnswer_ = false;
  if (!hasFileName_ || !textWidget_) return;
  WriteToFile();
  if (run && !modified_) RunCodegen(w, client, call);
}

void DsmCl::Reload(Widget w, XtPointer client, XtPointer call) {
  bool run = runAfterAnswer_;
  runAfterAnswer_ = false;
  if (!hasFileName_) return;
  if (ReloadFromDisk() && run) RunCodegen(w, client, call);
}

// --- a complete copy left by an interrupted save ----------------------------

void DsmCl::OfferSaveCopy(std::string_view onDisk, const FileStamp& stamp) {
  // No copy is offered that could not be loaded as a file.
  uintmax_t limit = LoadLimit();
  SaveCopy copy = FindSaveCopy(fileName_.c_str(), stamp, onDisk, limit < SIZE_MAX ? size_t(limit) : SIZE_MAX);
  // Keeping the file is an answer too: the same copy is not offered at
  // every reload.
  if (!copy.found || (answeredCopy_.found && copy.dev == answeredCopy_.dev && copy.ino == answeredCopy_.ino))
    return;
  offeredCopy_ = copy;
  Ask(copyDlg_, Str(kCopyPrefix) + fileName_ + kCopySuffix);
}

void DsmCl::KeepFile(Widget, XtPointer, XtPointer) {
  if (offeredCopy_.found) answeredCopy_ = offeredCopy_;
  offeredCopy_ = SaveCopy();
}

void DsmCl::OpenCopy(Widget, XtPointer, XtPointer) {
  SaveCopy copy = offeredCopy_;
  offeredCopy_ = SaveCopy();
  if (!copy.found || !hasFileName_) return;
  std::string text;
  if (!ReadSaveCopy(copy, text)) {
    theMsg.ShowMessage(Str(kNotAccessible) + copy.path.c_str() + "'");
    return;
  }
  answeredCopy_ = copy;
  // One Undo brings back the text as read; the copy's is not what the
  // file holds, so it is modified.
  UndoLog::Change change;
  change.removed = text_->Current().Bytes();
  change.removedLen = text_->Text().Positions();
  // Read as a file is: up to a NUL byte, Latin-1 when it is not UTF-8.
  ShowFileText(text.data(), text.size(), fileName_, true);
  if (textWidget_) {
    change.inserted = text_->Text().Bytes();
    change.insertedLen = text_->Text().Positions();
    undo_.Record(std::move(change), false, 0);
  }
  modified_ = undo_.AtSaved() ? 0 : 1;
  theOpts.UpdateWidgets();
}
