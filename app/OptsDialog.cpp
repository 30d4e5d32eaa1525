// OptsCl, the options dialog's callbacks: change handlers that copy a
// toggle's state or a field's text into one setting, the creation
// callbacks that store the dialog's widgets, the two file selection
// dialogs, and setting the template path from a name.
#include <Xm/Xm.h>
#include <Xm/FileSB.h>
#include <Xm/Text.h>
#include <Xm/TextF.h>
#include <Xm/ToggleB.h>
#include <Xm/ToggleBG.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>

#include "app/Application.h"
#include "app/MsgCl.h"
#include "app/OptsCl.h"
#include "support/FileUtil.h"
#include "xmp/XmpOwned.h"

namespace {

constexpr const char* kNoSuchTemplate =
    "**Error: The template file path (%s) does not exist.  Template path unchanged.\n";
// Shown in the window: a desktop user has no terminal to read.
constexpr const char* kNotATemplateFile = "The template file '";
constexpr const char* kNotATemplateFileEnd = "' does not exist or is not a file.  Template path unchanged.";
constexpr const char* kNoSuchFolder = "The output folder '";
constexpr const char* kNoSuchFolderEnd = "' does not exist.  Output folder unchanged.";

// The console line of kNoSuchTemplate for path, without its line end.
Str NoSuchTemplateText(const Str& path) {
  std::string_view format = kNoSuchTemplate;
  size_t at = format.find("%s");
  std::string text(format.substr(0, at));
  text += path.c_str();
  text += format.substr(at + 2, format.size() - at - 3);
  return Str(text.c_str());
}

// A change handler named on anything but a toggle (or called without a
// widget) has no state to copy, so the setting keeps its value.
void CopyToggle(Widget w, int& flag) {
  if (w && (XmIsToggleButton(w) || XmIsToggleButtonGadget(w)))
    flag = XmToggleButtonGetState(w) ? 1 : 0;
}

// The same for texts: only a text or text field widget has one to copy.
void CopyText(Widget w, Str& setting) {
  if (w && (XmIsText(w) || XmIsTextField(w))) {
    xmp::XtOwned<char> s(XmTextGetString(w));
    setting = s.get();
  }
}

// The name a file selection dialog's OK carries, as an absolute path: the
// text typed into its field is relative to the folder the dialog shows,
// not to the program's working folder. Empty when no name was given.
Str AbsolutePath(const Str& typed, const Str& folder) {
  if (typed.IsEmpty()) return typed;
  std::filesystem::path path(typed.c_str());
  if (path.is_relative()) path = std::filesystem::path(folder.c_str()) / path;
  std::error_code noCwd;  // without a working folder the path stays as it is
  if (path.is_relative()) path = std::filesystem::absolute(path, noCwd);
  std::string normal = path.lexically_normal().string();
  while (normal.size() > 1 && normal.back() == '/') normal.pop_back();
  return Str(normal.c_str());
}

Str ChosenPath(const XmFileSelectionBoxCallbackStruct& cbs) {
  return AbsolutePath(xmp::PlainText(cbs.value).c_str(), xmp::PlainText(cbs.dir).c_str());
}

void PointDialog(Widget dialog, const Str& directory, const char* pattern) {
  if (!dialog) return;
  xmp::XmStr dir(XmStringCreateSimple(const_cast<char*>(directory.c_str())));
  xmp::XmStr pat(XmStringCreateSimple(const_cast<char*>(pattern)));
  XtVaSetValues(dialog, XmNdirectory, dir.get(), XmNpattern, pat.get(), nullptr);
}

}  // namespace

void OptsCl::HandleAdaKeywordsChange(Widget w, XtPointer, XtPointer) { CopyToggle(w, noAdaKeywords_); }
void OptsCl::HandleCxxKeywordsChange(Widget w, XtPointer, XtPointer) { CopyToggle(w, noCxxKeywords_); }
void OptsCl::HandleMakeBackupsChange(Widget w, XtPointer, XtPointer) { CopyToggle(w, makeBackups_); }
void OptsCl::HandleShowFilesChange(Widget w, XtPointer, XtPointer) { CopyToggle(w, showFiles_); }
void OptsCl::HandleShowSummaryChange(Widget w, XtPointer, XtPointer) { CopyToggle(w, showSummary_); }
void OptsCl::HandleTemTraceChange(Widget w, XtPointer, XtPointer) { CopyToggle(w, temTrace_); }
void OptsCl::HandleBackupExtsChange(Widget w, XtPointer, XtPointer) { CopyText(w, backupExts_); }
void OptsCl::HandleFileToolChange(Widget w, XtPointer, XtPointer) { CopyText(w, toolFileEditor_); }
void OptsCl::HandleHTMLToolChange(Widget w, XtPointer, XtPointer) { CopyText(w, toolHTMLBrowser_); }

void OptsCl::SetAdaKeywordsWidget(Widget w, XtPointer, XtPointer) { adaKeywordsWidget_ = w; }
void OptsCl::SetBackupExtsWidget(Widget w, XtPointer, XtPointer) { backupExtsWidget_ = w; }
void OptsCl::SetCxxKeywordsWidget(Widget w, XtPointer, XtPointer) { cxxKeywordsWidget_ = w; }
void OptsCl::SetDsmTitleWidget(Widget w, XtPointer, XtPointer) { dsmTitleWidget_ = w; }
void OptsCl::SetFileToolText(Widget w, XtPointer, XtPointer) { fileToolText_ = w; }
void OptsCl::SetHTMLToolText(Widget w, XtPointer, XtPointer) { htmlToolText_ = w; }
void OptsCl::SetMakeBackupsWidget(Widget w, XtPointer, XtPointer) { makeBackupsWidget_ = w; }
void OptsCl::SetOutDirSelectDlgWidget(Widget w, XtPointer, XtPointer) {
  outDirSelectDlg_ = w;
  RereadFolderWhenShown(w);
}
void OptsCl::SetOutputDirWidget(Widget w, XtPointer, XtPointer) { outputDirWidget_ = w; }
void OptsCl::SetShowFilesWidget(Widget w, XtPointer, XtPointer) { showFilesWidget_ = w; }
void OptsCl::SetShowSummaryWidget(Widget w, XtPointer, XtPointer) { showSummaryWidget_ = w; }
void OptsCl::SetTemFileSelectDlgWidget(Widget w, XtPointer, XtPointer) {
  temFileSelectDlg_ = w;
  RereadFolderWhenShown(w);
}
void OptsCl::SetTemTraceWidget(Widget w, XtPointer, XtPointer) { temTraceWidget_ = w; }
void OptsCl::SetTemplateWidget(Widget w, XtPointer, XtPointer) { templateWidget_ = w; }

void OptsCl::SetQuickItems(Widget w, XtPointer client, XtPointer) {
  quickItemParent_ = w;
  quickItemIds_ = static_cast<const char*>(client);
}

void OptsCl::SetTemFileFilter(Widget, XtPointer, XtPointer) {
  PointDialog(temFileSelectDlg_, homeDir_, "*.tem");
}

void OptsCl::SetOutDirFilter(Widget, XtPointer, XtPointer) {
  PointDialog(outDirSelectDlg_, outputDir_, "*");
}

void OptsCl::SetTemplateFromFSDialog(Widget w, XtPointer, XtPointer call) {
  if (w && !AcceptWidget("xKestDoOptsSetTemplateFromFSDialogCB", w, WidgetKind::kSelectionBox)) return;
  if (auto* cbs = static_cast<XmFileSelectionBoxCallbackStruct*>(call)) {
    Str chosen = ChosenPath(*cbs);
    // OK with no file picked names the folder shown, which no generator
    // run could use.
    if (!chosen.IsEmpty() && !IsRegularFile(chosen.c_str()))
      theMsg.ShowMessage(Str(kNotATemplateFile) + chosen + kNotATemplateFileEnd);
    else if (!chosen.IsEmpty())
      templatePath_ = chosen;
  }
  UpdateWidgets();
}

void OptsCl::SetOutputDir(Widget w, XtPointer, XtPointer call) {
  if (w && !AcceptWidget("xKestDoOptsSetOutputDirCB", w, WidgetKind::kSelectionBox)) return;
  if (auto* cbs = static_cast<XmFileSelectionBoxCallbackStruct*>(call)) {
    // The dialog lists folders to pick from: a picked (or typed) folder is
    // the choice; the folder being shown counts only when none is named.
    // A named folder that is not there is refused, not swapped silently
    // for the one shown.
    Str chosen = ChosenPath(*cbs);
    if (chosen.IsEmpty()) chosen = AbsolutePath(xmp::PlainText(cbs->dir).c_str(), Str());
    if (!chosen.IsEmpty() && !IsDirectory(chosen.c_str()))
      theMsg.ShowMessage(Str(kNoSuchFolder) + chosen + kNoSuchFolderEnd);
    else if (!chosen.IsEmpty())
      outputDir_ = chosen;
  }
  UpdateWidgets();
}

void OptsCl::SetTemplatePath(Widget, XtPointer client, XtPointer) {
  const char* path = static_cast<const char*>(client);
  if (!path || !*path) return;
  Str previous = templatePath_;
  templatePath_ = path;
  ExpandKestHome(templatePath_);
  if (!IsRegularFile(templatePath_.c_str())) {
    std::printf(kNoSuchTemplate, templatePath_.c_str());
    std::fflush(stdout);
    // A desktop user has no terminal to read: the dialog says it too.
    theMsg.ShowMessage(NoSuchTemplateText(templatePath_));
    templatePath_ = previous;
    return;
  }
  UpdateWidgets();
}

void OptsCl::UpdateWidgets(Widget, XtPointer, XtPointer) { UpdateWidgets(); }
