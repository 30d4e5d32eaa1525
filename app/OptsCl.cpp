// OptsCl: option settings, their application resources and defaults,
// the KESTHOME check, and pushing the settings into the options dialog.
#include "app/OptsCl.h"

#include <Xm/Xm.h>
#include <Xm/Text.h>
#include <Xm/TextF.h>
#include <Xm/ToggleB.h>
#include <Xm/ToggleBG.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "app/Application.h"
#include "app/DsmCl.h"
#include "app/TemplateCatalogue.h"
#include "xmp/XmpOwned.h"

namespace {

constexpr const char* kNotSet = "*not set*";
constexpr const char* kKestHomeVar = "KESTHOME";
constexpr const char* kKestHomeToken = "$KESTHOME";
constexpr const char* kKestHomeUnset =
    "Please set your enviroment variable KESTHOME to kest's home directory.\n";

// The application resources as the toolkit delivers them.
struct OptionResources {
  String templatePath;
  String outputDir;
  Boolean noCxxKeywords;
  Boolean noAdaKeywords;
  Boolean showFiles;
  Boolean showSummary;
  Boolean temTrace;
  Boolean makeBackups;
  String backupExts;
  String toolHTMLBrowser;
  String toolFileEditor;
  Boolean showFileInTitle;
};

#define XK_STR(name, cls, field, def)                                                     \
  {const_cast<char*>(name), const_cast<char*>(cls), const_cast<char*>(XtRString),         \
   sizeof(String), offsetof(OptionResources, field), const_cast<char*>(XtRString),        \
   const_cast<char*>(def)}
#define XK_BOOL(name, cls, field, def)                                                    \
  {const_cast<char*>(name), const_cast<char*>(cls), const_cast<char*>(XtRBoolean),        \
   sizeof(Boolean), offsetof(OptionResources, field), const_cast<char*>(XtRImmediate),    \
   reinterpret_cast<XtPointer>(static_cast<intptr_t>(def))}

XtResource kOptionResources[] = {
    XK_STR("templatePath", "TemplatePath", templatePath, "$KESTHOME/cpp_std.tem"),
    XK_STR("outputDir", "OutputDir", outputDir, "/tmp"),
    XK_BOOL("noCxxKeywords", "NoCxxKeywords", noCxxKeywords, True),
    XK_BOOL("noAdaKeywords", "NoAdaKeywords", noAdaKeywords, False),
    XK_BOOL("showFiles", "ShowFiles", showFiles, True),
    XK_BOOL("showSummary", "ShowSummary", showSummary, True),
    XK_BOOL("temTrace", "TemTrace", temTrace, False),
    XK_BOOL("makeBackups", "MakeBackups", makeBackups, True),
    XK_STR("backupExts", "BackupExts", backupExts, "C bkC h bkh cxx bkc hxx bkh"),
    XK_STR("toolHTMLBrowser", "ToolHTMLBrowser", toolHTMLBrowser, "netscape"),
    XK_STR("toolFileEditor", "ToolFileEditor", toolFileEditor, "emacs"),
    XK_BOOL("showFileInTitle", "ShowFileInTitle", showFileInTitle, False),
};

#undef XK_STR
#undef XK_BOOL

// A label of fixed size (recomputeSize False) shows as much of the end of
// the text as fits, after "...": the end of a path names the file.
void SetLabel(Widget w, const Str& text) {
  if (!w) return;
  int room = FixedLabelRoom(w);
  XmRenderTable table = nullptr;
  XtVaGetValues(w, XmNrenderTable, &table, nullptr);
  std::string shown = text.c_str();
  xmp::XmStr s(XmStringCreateSimple(shown.data()));
  for (size_t cut = 1; room >= 0 && table && cut < text.Length() && int(XmStringWidth(table, s.get())) > room;
       ++cut) {
    shown = "..." + std::string(text.c_str() + cut);
    s.reset(XmStringCreateSimple(shown.data()));
  }
  XtVaSetValues(w, XmNlabelString, s.get(), nullptr);
}

void SetText(Widget w, const Str& text) {
  if (w && (XmIsText(w) || XmIsTextField(w))) XmTextSetString(w, const_cast<char*>(text.c_str()));
}

void SetToggle(Widget w, int flag) {
  if (w && (XmIsToggleButton(w) || XmIsToggleButtonGadget(w)))
    XmToggleButtonSetState(w, flag ? True : False, False);
}

}  // namespace

OptsCl::OptsCl() : outputDir_(kNotSet), homeDir_(kNotSet), templatePath_(kNotSet) {}

OptsCl* OptsCl::Clone() const { return new OptsCl(*this); }
OptsCl::~OptsCl() = default;

// Plain get/set pairs: a get of a text returns the stored Str, a set copies.
#define XK_ACCESSORS(Name, Type, GetType, field)          \
  GetType OptsCl::Get##Name() const { return field; }     \
  void OptsCl::Set##Name(Type value) { field = value; }

XK_ACCESSORS(BackupExts, const Str&, const Str&, backupExts_)
XK_ACCESSORS(MakeBackups, int, int, makeBackups_)
XK_ACCESSORS(NoAdaKeywords, int, int, noAdaKeywords_)
XK_ACCESSORS(NoCxxKeywords, int, int, noCxxKeywords_)
XK_ACCESSORS(OutputDir, const Str&, const Str&, outputDir_)
XK_ACCESSORS(QuickItemIds, const Str&, const Str&, quickItemIds_)
XK_ACCESSORS(QuickItemParent, Widget, Widget, quickItemParent_)
XK_ACCESSORS(ShowFiles, int, int, showFiles_)
XK_ACCESSORS(ShowSummary, int, int, showSummary_)
XK_ACCESSORS(HomeDir, const Str&, const Str&, homeDir_)
XK_ACCESSORS(TemTrace, int, int, temTrace_)
XK_ACCESSORS(TemplatePath, const Str&, const Str&, templatePath_)
XK_ACCESSORS(ToolFileEditor, const Str&, const Str&, toolFileEditor_)
XK_ACCESSORS(ToolHTMLBrowser, const Str&, const Str&, toolHTMLBrowser_)
XK_ACCESSORS(BackupExtsWidget, Widget, Widget, backupExtsWidget_)
XK_ACCESSORS(DsmTitleWidget, Widget, Widget, dsmTitleWidget_)
XK_ACCESSORS(MakeBackupsWidget, Widget, Widget, makeBackupsWidget_)
XK_ACCESSORS(AdaKeywordsWidget, Widget, Widget, adaKeywordsWidget_)
XK_ACCESSORS(CxxKeywordsWidget, Widget, Widget, cxxKeywordsWidget_)
XK_ACCESSORS(OutDirSelectDlg, Widget, Widget, outDirSelectDlg_)
XK_ACCESSORS(OutputDirWidget, Widget, Widget, outputDirWidget_)
XK_ACCESSORS(ShowFilesWidget, Widget, Widget, showFilesWidget_)
XK_ACCESSORS(ShowSummaryWidget, Widget, Widget, showSummaryWidget_)
XK_ACCESSORS(TemFileSelectDlg, Widget, Widget, temFileSelectDlg_)
XK_ACCESSORS(TemTraceWidget, Widget, Widget, temTraceWidget_)
XK_ACCESSORS(TemplateWidget, Widget, Widget, templateWidget_)
XK_ACCESSORS(FileToolText, Widget, Widget, fileToolText_)
XK_ACCESSORS(HTMLToolText, Widget, Widget, htmlToolText_)
XK_ACCESSORS(ShowFileInTitle, int, int, showFileInTitle_)

#undef XK_ACCESSORS

void OptsCl::LoadResources() {
  OptionResources r{};
  if (theAppShell)
    XtGetApplicationResources(theAppShell, &r, kOptionResources, XtNumber(kOptionResources),
                              nullptr, 0);
  templatePath_ = r.templatePath;
  outputDir_ = r.outputDir;
  noAdaKeywords_ = r.noAdaKeywords ? 1 : 0;
  noCxxKeywords_ = r.noCxxKeywords ? 1 : 0;
  showFiles_ = r.showFiles ? 1 : 0;
  showSummary_ = r.showSummary ? 1 : 0;
  temTrace_ = r.temTrace ? 1 : 0;
  makeBackups_ = r.makeBackups ? 1 : 0;
  backupExts_ = r.backupExts;
  toolHTMLBrowser_ = r.toolHTMLBrowser;
  toolFileEditor_ = r.toolFileEditor;
  showFileInTitle_ = r.showFileInTitle ? 1 : 0;

  const char* home = std::getenv(kKestHomeVar);
  if (!home) {
    std::fputs(kKestHomeUnset, stdout);
    std::exit(1);
  }
  homeDir_ = home;
  ExpandKestHome(templatePath_);
  ExpandKestHome(outputDir_);

  BuildQuickItems(quickItemParent_, quickItemIds_);
}

void OptsCl::UpdateWidgets() {
  UpdateTitle();
  SetLabel(dsmTitleWidget_, theDsm.GetFileName());
  SetLabel(templateWidget_, templatePath_);
  SetLabel(outputDirWidget_, outputDir_);
  SetText(backupExtsWidget_, backupExts_);
  SetText(fileToolText_, toolFileEditor_);
  SetText(htmlToolText_, toolHTMLBrowser_);
  SetToggle(makeBackupsWidget_, makeBackups_);
  SetToggle(adaKeywordsWidget_, noAdaKeywords_);
  SetToggle(cxxKeywordsWidget_, noCxxKeywords_);
  SetToggle(showFilesWidget_, showFiles_);
  SetToggle(showSummaryWidget_, showSummary_);
  SetToggle(temTraceWidget_, temTrace_);
}

void OptsCl::UpdateTitle() {
  if (!showFileInTitle_ || !theAppShell) return;
  std::string title = "xkest";
  if (theDsm.GetHasFileName()) {
    std::string_view path = theDsm.GetFileName().c_str();
    std::string_view base = path.substr(path.find_last_of('/') + 1);
    title = (theDsm.GetModified() ? "*" : "") + std::string(base) + " - " + title;
  }
  // Runs on every change of the modified flag: the shell (and the window
  // manager) hear only of real changes.
  if (title == shownTitle_) return;
  shownTitle_ = title;
  XtVaSetValues(theAppShell, XtNtitle, title.c_str(), nullptr);
}

bool OptsCl::IsA(int classNumber) const { return classNumber == kOptsClass; }

void OptsCl::ExpandKestHome(Str& text) const { text.ReplaceAll(kKestHomeToken, homeDir_.c_str()); }
