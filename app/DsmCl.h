// DsmCl: the DSM editor: the one DSM text, its file name and its two flags
// (has a file name, modified), the document operations (load, save, save
// as, close and their dialogs), the editing commands and the generator and
// printer runs. Every command takes the callback's (widget, client data,
// call data); the popup action takes the action's arguments.
// Saving never leaves a truncated file on disk (support/SafeSave.h).
// The program keeps its own copy of the text (xman/XmTextMirror.h), which
// every command reads; in a UTF-8 locale a file that is not UTF-8 is shown
// as Latin-1 and written back as Latin-1.
// Sources: DsmCl.cpp (document), DsmClEdit.cpp (editing commands),
// DsmClCodegen.cpp (generator and printer).
//
//   theDsm.SetWidget(text, nullptr, nullptr);   // from the creation callback
//   if (theDsm.GetModified()) ...
#pragma once

#include <X11/Intrinsic.h>

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "support/FileLine.h"
#include "support/FileStamp.h"
#include "support/LineMarks.h"
#include "support/SaveCopy.h"
#include "support/Support.h"
#include "support/TextLines.h"
#include "support/UndoLog.h"
#include "xman/XmTextMirror.h"

class OptsCl;

// The file name shown while no file is named.
inline constexpr const char* kNoDsmFile = "DSM File: None";

// The modified flag. Every change of its value re-titles the main window
// (OptsCl::UpdateTitle), wherever the flag is set.
class ModifiedFlag {
 public:
  ModifiedFlag& operator=(int flag);
  operator int() const { return value_; }

 private:
  int value_ = 0;
};

class DsmCl {
 public:
  DsmCl();
  DsmCl(const DsmCl& other) = default;
  DsmCl& operator=(const DsmCl& other) = default;

  virtual DsmCl* Clone() const;
  virtual ~DsmCl();

  virtual Widget GetTextWidget() const;
  virtual void SetTextWidget(Widget w);
  virtual const Str& GetFileName() const;
  virtual void SetFileName(const Str& name);
  virtual int GetHasFileName() const;
  virtual void SetHasFileName(int flag);
  virtual int GetModified() const;
  virtual void SetModified(int flag);
  virtual Widget GetOpenDlg() const;
  virtual void SetOpenDlg(Widget w);
  virtual Widget GetPopMenu() const;
  virtual void SetPopMenu(Widget w);
  virtual Widget GetCursorPosLabel() const;
  virtual void SetCursorPosLabel(Widget w);
  virtual Widget GetSaveAndLoadQDlg() const;
  virtual void SetSaveAndLoadQDlg(Widget w);
  virtual Widget GetSaveAsDlg() const;
  virtual void SetSaveAsDlg(Widget w);
  virtual Widget GetVerifyCloseDlg() const;
  virtual void SetVerifyCloseDlg(Widget w);

  virtual void Append(Widget w, XtPointer client, XtPointer call);
  virtual void Close(Widget w, XtPointer client, XtPointer call);
  virtual void CloseWithNoSave(Widget w, XtPointer client, XtPointer call);
  virtual void Copy(Widget w, XtPointer client, XtPointer call);
  virtual void Cut(Widget w, XtPointer client, XtPointer call);
  virtual void Delete(Widget w, XtPointer client, XtPointer call);
  virtual void DiscardAndLoad(Widget w, XtPointer client, XtPointer call);
  virtual void Find(Widget w, XtPointer client, XtPointer call);
  // Answers of the interrupted-save question: leave the text as loaded,
  // or put the copy's text in (modified, to be saved over the file; one
  // undo step). The
  // copy goes once the file has been saved after either answer.
  virtual void KeepFile(Widget w, XtPointer client, XtPointer call);
  virtual void Load(Widget w, XtPointer client, XtPointer call);
  virtual void NavBottom(Widget w, XtPointer client, XtPointer call);
  virtual void NavTop(Widget w, XtPointer client, XtPointer call);
  virtual void OpenCopy(Widget w, XtPointer client, XtPointer call);
  // Answers of the changed-on-disk question: write the text over the
  // file's new content, or replace the text by it. Either then finishes a
  // generator run that was waiting for the answer.
  virtual void Overwrite(Widget w, XtPointer client, XtPointer call);
  virtual void Paste(Widget w, XtPointer client, XtPointer call);
  virtual void Print(Widget w, XtPointer client, XtPointer call);
  // Makes again the last change that Undo took back.
  virtual void Redo(Widget w, XtPointer client, XtPointer call);
  virtual void Reload(Widget w, XtPointer client, XtPointer call);
  virtual void Replace(Widget w, XtPointer client, XtPointer call);
  virtual void RunCodegen(Widget w, XtPointer client, XtPointer call);
  virtual void SafeLoad(Widget w, XtPointer client, XtPointer call);
  virtual void Save(Widget w, XtPointer client, XtPointer call);
  virtual void SaveAndLoad(Widget w, XtPointer client, XtPointer call);
  virtual void SaveAs(Widget w, XtPointer client, XtPointer call);
  // The confirming answer of the replace question: saves under the name
  // it asked about.
  virtual void SaveAsReplace(Widget w, XtPointer client, XtPointer call);
  virtual void SetChangedDlgWidget(Widget w, XtPointer client, XtPointer call);
  virtual void SetCopyDlgWidget(Widget w, XtPointer client, XtPointer call);
  virtual void SetCursorPosWidget(Widget w, XtPointer client, XtPointer call);
  virtual void SetOpenDlgWidget(Widget w, XtPointer client, XtPointer call);
  virtual void SetPopMenuWidget(Widget w, XtPointer client, XtPointer call);
  virtual void SetReplaceDlgWidget(Widget w, XtPointer client, XtPointer call);
  virtual void SetSaveAndLoadQDlgWidget(Widget w, XtPointer client, XtPointer call);
  virtual void SetSaveAsDlgWidget(Widget w, XtPointer client, XtPointer call);
  virtual void SetVerifyCloseDlgWidget(Widget w, XtPointer client, XtPointer call);
  // Stores the DSM text and adds MarkModified to its value-changed list.
  virtual void SetWidget(Widget w, XtPointer client, XtPointer call);
  virtual void SynchLineNums(Widget w, XtPointer client, XtPointer call);
  // Takes back the last change to the DSM text, however it was made (a
  // typed run, a paste, a command); the text is unmodified again when it
  // is back at what was loaded or saved.
  virtual void Undo(Widget w, XtPointer client, XtPointer call);
  virtual void PostPopupMenu(Widget w, XEvent* event, String* params, Cardinal* numParams);

  virtual bool IsA(int classNumber) const;

  // Shared with the message window's commands.
  // Finds needle from the insertion cursor on, wrapping to the start once,
  // and selects it; shows "Can't find '...'" when it is nowhere. An empty
  // needle does nothing.
  void FindAndSelect(const Str& needle);
  // Selects line (1-based) without its newline; line 0 or a line past the
  // last gives an empty selection at the end of the text. A column (from
  // 1, in characters) puts the insertion cursor there, at most at the
  // line's end.
  void SelectLineNumber(long line, long column = 0);
  // The text changes from byte offset pos on.
  void TextChanging(long pos);
  // After a run: marks every DSM line named by an error (the old marks
  // go). A mark goes when its line is edited and follows inserted lines.
  void MarkErrorLines(const std::vector<ReportLine>& errors);
  // Selects the line kestb named line: where its mark is now, or that line
  // of the text when it has none.
  void SelectErrorLine(long line, long column = 0);
  // The selection may have moved off marked lines, whose marks Motif
  // painted over: paint them again.
  void RefreshMarks();

  // Every change of the DSM text as its copy takes it (before the text
  // does), then the text's value-changed callback once the text has it:
  // the change goes into the undo history (not those of loading, nor of
  // Undo and Redo themselves) and moves the error marks.
  void UndoNoteChanging(const TextMirror::Edit& edit);
  void UndoNoteChanged(XtPointer call);
  // The program's copy of the DSM text, in step with the widget: read it
  // instead of the widget, and listen to it for every change.
  XmTextMirror& GetTextMirror() { return *text_; }
  // True while the text came from a file that is not UTF-8, in a UTF-8
  // locale: it is written back as Latin-1.
  bool IsLatin1File() const { return latin1_; }
  // The window got the keyboard focus: an unmodified text whose file
  // changed on disk is quietly replaced by the file's new content.
  void WindowFocused();


 private:
  // Sets the widget's and the copy's text (up to a NUL byte, which a text
  // widget cannot hold); returns the bytes kept. The undo history starts
  // afresh unless keepHistory.
  size_t SetWholeText(std::string text, bool knownValid, bool keepHistory = false);
  // Shows a file's bytes as text: up to a NUL byte (with a message naming
  // the file), and in a UTF-8 locale as Latin-1 when they are not UTF-8.
  void ShowFileText(const char* buffer, size_t length, const Str& name, bool keepHistory = false);
  // Follows w with the copy, the line index listening to its changes.
  void AttachText(Widget w);
  void ShowCursorLine(long pos);
  // Puts the insertion cursor at column (from 1) of the line held by bytes
  // [start, end) of the text, keeping the selection; 0 leaves it alone.
  void PlaceCursorAtColumn(size_t start, size_t end, long column);
  // Saves the whole text to path: 1 when saved (the stamp of the file
  // written in *written), else 0 after showing
  // "Cannot save to filepath PATH: REASON".
  int WriteTextTo(const Str& path, FileStamp* written);
  // Writes the text to its file and notes the file's new stamp.
  void WriteToFile();
  // The second half of SaveAs, once the name is settled.
  void SaveAsNamed(const Str& name);
  // The file changed on disk since it was loaded or saved (not removed).
  bool ChangedOnDisk() const;
  void AskChangedOnDisk(bool thenRun);
  // Reads the file again into the text, keeping the cursor where it was,
  // as one undo step; false (with a message) when it cannot be read.
  bool ReloadFromDisk();
  // Asks about a complete copy that an interrupted save of the file just
  // read (onDisk, with stamp) left beside it, unless already answered.
  void OfferSaveCopy(std::string_view onDisk, const FileStamp& stamp);

  // What is known about line starts, kept between cursor motions.
  textlines::LineIndex lineIndex_;
  // Shared by copies of this object, as the widget is.
  std::shared_ptr<XmTextMirror> text_ = std::make_shared<XmTextMirror>();
  int listenerId_ = 0;  // the line index's listener on text_
  bool latin1_ = false;
  size_t shownLine_ = 0;  // what cursorPosLabel shows; 0 before the first
  Widget textWidget_ = nullptr;
  Str fileName_;
  int hasFileName_ = 0;
  ModifiedFlag modified_;
  Widget openDlg_ = nullptr;
  Widget popMenu_ = nullptr;
  Widget cursorPosLabel_ = nullptr;
  Widget saveAndLoadQDlg_ = nullptr;
  Widget saveAsDlg_ = nullptr;
  Widget verifyCloseDlg_ = nullptr;
  Widget changedDlg_ = nullptr;
  // Asks before Save As replaces another file; replaceName_ is the name
  // it asks about.
  Widget replaceDlg_ = nullptr;
  Str replaceName_;
  // The file as it was when last loaded or saved; empty when there is none.
  FileStamp diskStamp_;
  // The interrupted-save question, the copy it asks about, and the copy
  // answered for fileName_ (removed by the next save of that file).
  Widget copyDlg_ = nullptr;
  SaveCopy offeredCopy_;
  SaveCopy answeredCopy_;
  // A generator run waits for the changed-on-disk answer.
  bool runAfterAnswer_ = false;
  // The version of the file last asked about on focus for being too large.
  FileStamp askedStamp_;
  // Undo history; a change is noted when the copy takes it and recorded
  // once the text has taken it too (a later verify callback may refuse
  // it); pendingLength_ is the copy's length after the change.
  UndoLog undo_;
  UndoLog::Change pending_;
  bool hasPending_ = false;
  size_t pendingLength_ = 0;
  bool undoing_ = false;  // Undo or Redo is changing the text
  bool historyLost_ = false;  // to be forgotten once Undo or Redo is done
  bool loading_ = false;  // a whole new text is being set
  // The error marks, the line numbers they were made for (ascending, one
  // per mark), and the selection as last seen by RefreshMarks.
  LineMarks marks_;
  std::vector<long> markLines_;
  long markSelLeft_ = 0, markSelRight_ = 0;
  bool refreshQueued_ = false;
  void ClearMarks();
  void WatchSelectionForMarks(Widget text);
  void ApplyUndoStep(const UndoLog::Step& step, bool forward);
};

// Value-changed callback of the DSM text: sets theDsm's modified flag.
extern "C" void MarkModified(Widget w, XtPointer client, XtPointer call);

// The generator's command line for dsmFile and the current options, with
// the report redirected into the report file. Values that the shell would
// interpret are quoted; ordinary ones appear exactly as given.
Str KestbCommandLine(const Str& dsmFile, const OptsCl& opts);

// The line added to the report when the shell could not start kestb or
// kestb did not end by itself, from the wait status; empty otherwise.
std::string RunFailureLine(int status);

// The fixed file the generator's report is redirected into.
inline constexpr const char* kReportFile = "/tmp/kestout.txt";

// Opens path for reading and writing, creating it empty when missing, when
// it is a regular file of this user with one name, not reached through a
// symbolic link, so that the shell's redirection and the read-back use
// this user's own file; -1 otherwise. The file is left readable and
// writable by its owner only (0600), narrowed when it was wider. The
// descriptor is closed on exec.
int OpenReportFile(const char* path);
// OpenReportFile without keeping the file open.
bool PrepareReportFile(const char* path);
// The report file's bytes, NUL bytes left out (a text widget cannot hold
// them); false when it cannot be opened safely (see OpenReportFile).
bool ReadReportFile(const char* path, std::string& out);
