// SysftnsCl: the template editor and the help browser.
#include "app/SysftnsCl.h"

#include "app/Application.h"
#include "app/MsgCl.h"
#include "app/OptsCl.h"
#include "app/ShellQuote.h"

namespace {

constexpr const char* kNoHelpPage = "Cannot find the help page '";

}  // namespace

SysftnsCl* SysftnsCl::Clone() const { return new SysftnsCl(*this); }
SysftnsCl::~SysftnsCl() = default;

void SysftnsCl::EditTemplate(Widget, XtPointer, XtPointer) {
  Str command = xkest::BackgroundCommand(theOpts.GetToolFileEditor(), theOpts.GetTemplatePath());
  RunBusyCommand(command.c_str());
}

void SysftnsCl::LaunchHTMLDoc(Widget, XtPointer client, XtPointer) {
  const char* page = static_cast<const char*>(client);
  if (!page || !*page) return;
  Str path = page;
  theOpts.ExpandKestHome(path);
  if (!IsRegularFile(path.c_str())) {
    theMsg.ShowMessage(Str(kNoHelpPage) + path + "'");
    return;
  }
  Str command = xkest::BackgroundCommand(theOpts.GetToolHTMLBrowser(), path);
  RunBusyCommand(command.c_str());
}

bool SysftnsCl::IsA(int classNumber) const { return classNumber == kSysftnsClass; }

namespace xkest {

Str BackgroundCommand(const Str& tool, const Str& word) {
  Str command = tool;
  command += " ";
  command += PathWord(word.c_str()).c_str();
  command += " &";
  return command;
}

}  // namespace xkest
