// OptsCl: the options object: every setting that xkest hands to the
// generator or uses to start the editor and browser, read from the
// application resources at start-up, shown and changed in the options
// dialog, and never written back. Also knows KESTHOME, which it requires.
//
//   theOpts.LoadResources();            // once, after the tree is built
//   theOpts.UpdateWidgets();            // show the values in the dialog
//   Str cmd = theOpts.GetToolFileEditor() + " ";
#pragma once

#include <X11/Intrinsic.h>

#include <string>

#include "support/Support.h"

class OptsCl {
 public:
  OptsCl();
  OptsCl(const OptsCl& other) = default;
  OptsCl& operator=(const OptsCl& other) = default;

  virtual OptsCl* Clone() const;
  virtual ~OptsCl();

  // Settings, in field order.
  virtual const Str& GetBackupExts() const;
  virtual void SetBackupExts(const Str& value);
  virtual int GetMakeBackups() const;
  virtual void SetMakeBackups(int flag);
  virtual int GetNoAdaKeywords() const;
  virtual void SetNoAdaKeywords(int flag);
  virtual int GetNoCxxKeywords() const;
  virtual void SetNoCxxKeywords(int flag);
  virtual const Str& GetOutputDir() const;
  virtual void SetOutputDir(const Str& value);
  virtual const Str& GetQuickItemIds() const;
  virtual void SetQuickItemIds(const Str& value);
  virtual Widget GetQuickItemParent() const;
  virtual void SetQuickItemParent(Widget w);
  virtual int GetShowFiles() const;
  virtual void SetShowFiles(int flag);
  virtual int GetShowSummary() const;
  virtual void SetShowSummary(int flag);
  virtual const Str& GetHomeDir() const;
  virtual void SetHomeDir(const Str& value);
  virtual int GetTemTrace() const;
  virtual void SetTemTrace(int flag);
  virtual const Str& GetTemplatePath() const;
  virtual void SetTemplatePath(const Str& value);
  virtual const Str& GetToolFileEditor() const;
  virtual void SetToolFileEditor(const Str& value);
  virtual const Str& GetToolHTMLBrowser() const;
  virtual void SetToolHTMLBrowser(const Str& value);

  // The options dialog's widgets, stored by their creation callbacks.
  virtual Widget GetBackupExtsWidget() const;
  virtual void SetBackupExtsWidget(Widget w);
  virtual Widget GetDsmTitleWidget() const;
  virtual void SetDsmTitleWidget(Widget w);
  virtual Widget GetMakeBackupsWidget() const;
  virtual void SetMakeBackupsWidget(Widget w);
  virtual Widget GetAdaKeywordsWidget() const;
  virtual void SetAdaKeywordsWidget(Widget w);
  virtual Widget GetCxxKeywordsWidget() const;
  virtual void SetCxxKeywordsWidget(Widget w);
  virtual Widget GetOutDirSelectDlg() const;
  virtual void SetOutDirSelectDlg(Widget w);
  virtual Widget GetOutputDirWidget() const;
  virtual void SetOutputDirWidget(Widget w);
  virtual Widget GetShowFilesWidget() const;
  virtual void SetShowFilesWidget(Widget w);
  virtual Widget GetShowSummaryWidget() const;
  virtual void SetShowSummaryWidget(Widget w);
  virtual Widget GetTemFileSelectDlg() const;
  virtual void SetTemFileSelectDlg(Widget w);
  virtual Widget GetTemTraceWidget() const;
  virtual void SetTemTraceWidget(Widget w);
  virtual Widget GetTemplateWidget() const;
  virtual void SetTemplateWidget(Widget w);
  virtual Widget GetFileToolText() const;
  virtual void SetFileToolText(Widget w);
  virtual Widget GetHTMLToolText() const;
  virtual void SetHTMLToolText(Widget w);

  // Reads the application resources, requires KESTHOME (else prints its
  // message and exits with status 1), expands "$KESTHOME" in the template
  // path and output directory, and builds the quick-item buttons.
  virtual void LoadResources();
  // Shows every setting and the DSM file name in the options dialog.
  // Widgets the resource description did not create are skipped.
  virtual void UpdateWidgets();

  // Registered callbacks, in the order of their registered names.
  virtual void HandleAdaKeywordsChange(Widget w, XtPointer client, XtPointer call);
  virtual void HandleBackupExtsChange(Widget w, XtPointer client, XtPointer call);
  virtual void HandleCxxKeywordsChange(Widget w, XtPointer client, XtPointer call);
  virtual void HandleFileToolChange(Widget w, XtPointer client, XtPointer call);
  virtual void HandleHTMLToolChange(Widget w, XtPointer client, XtPointer call);
  virtual void HandleMakeBackupsChange(Widget w, XtPointer client, XtPointer call);
  virtual void HandleShowFilesChange(Widget w, XtPointer client, XtPointer call);
  virtual void HandleShowSummaryChange(Widget w, XtPointer client, XtPointer call);
  virtual void HandleTemTraceChange(Widget w, XtPointer client, XtPointer call);
  virtual void SetAdaKeywordsWidget(Widget w, XtPointer client, XtPointer call);
  virtual void SetBackupExtsWidget(Widget w, XtPointer client, XtPointer call);
  virtual void SetCxxKeywordsWidget(Widget w, XtPointer client, XtPointer call);
  virtual void SetDsmTitleWidget(Widget w, XtPointer client, XtPointer call);
  virtual void SetFileToolText(Widget w, XtPointer client, XtPointer call);
  virtual void SetHTMLToolText(Widget w, XtPointer client, XtPointer call);
  virtual void SetMakeBackupsWidget(Widget w, XtPointer client, XtPointer call);
  virtual void SetOutDirFilter(Widget w, XtPointer client, XtPointer call);
  virtual void SetOutDirSelectDlgWidget(Widget w, XtPointer client, XtPointer call);
  virtual void SetOutputDir(Widget w, XtPointer client, XtPointer call);
  virtual void SetOutputDirWidget(Widget w, XtPointer client, XtPointer call);
  virtual void SetQuickItems(Widget w, XtPointer client, XtPointer call);
  virtual void SetShowFilesWidget(Widget w, XtPointer client, XtPointer call);
  virtual void SetShowSummaryWidget(Widget w, XtPointer client, XtPointer call);
  virtual void SetTemFileFilter(Widget w, XtPointer client, XtPointer call);
  virtual void SetTemFileSelectDlgWidget(Widget w, XtPointer client, XtPointer call);
  virtual void SetTemTraceWidget(Widget w, XtPointer client, XtPointer call);
  virtual void SetTemplateFromFSDialog(Widget w, XtPointer client, XtPointer call);
  // Client data: a template path, "$KESTHOME" allowed. It becomes the
  // template path only when it names an existing regular file.
  virtual void SetTemplatePath(Widget w, XtPointer client, XtPointer call);
  virtual void SetTemplateWidget(Widget w, XtPointer client, XtPointer call);
  virtual void UpdateWidgets(Widget w, XtPointer client, XtPointer call);

  virtual bool IsA(int classNumber) const;

  // With showFileInTitle set, titles the main window after the DSM: its
  // base name, "*" before it while modified, or just the program's name
  // when no file is named. Does nothing otherwise.
  virtual void UpdateTitle();
  virtual int GetShowFileInTitle() const;
  virtual void SetShowFileInTitle(int flag);

  // Replaces every "$KESTHOME" in text by the home directory.
  void ExpandKestHome(Str& text) const;

 private:
  Str backupExts_;
  int makeBackups_ = 0;
  int noAdaKeywords_ = 0;
  int noCxxKeywords_ = 1;
  Str outputDir_;
  Str quickItemIds_;
  Widget quickItemParent_ = nullptr;
  int showFiles_ = 1;
  int showSummary_ = 0;
  Str homeDir_;
  int temTrace_ = 1;
  Str templatePath_;
  Str toolFileEditor_;
  Str toolHTMLBrowser_;
  int showFileInTitle_ = 0;
  std::string shownTitle_;  // what UpdateTitle last set

  Widget backupExtsWidget_ = nullptr;
  Widget dsmTitleWidget_ = nullptr;
  Widget makeBackupsWidget_ = nullptr;
  Widget adaKeywordsWidget_ = nullptr;
  Widget cxxKeywordsWidget_ = nullptr;
  Widget outDirSelectDlg_ = nullptr;
  Widget outputDirWidget_ = nullptr;
  Widget showFilesWidget_ = nullptr;
  Widget showSummaryWidget_ = nullptr;
  Widget temFileSelectDlg_ = nullptr;
  Widget temTraceWidget_ = nullptr;
  Widget templateWidget_ = nullptr;
  Widget fileToolText_ = nullptr;
  Widget htmlToolText_ = nullptr;
};
