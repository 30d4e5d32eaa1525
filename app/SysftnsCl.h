// SysftnsCl: starts the two outside programs: the configured text editor
// on the current template, and the configured HTML browser on a help page.
// Both run in the background through the shell, so xkest stays responsive.
//
//   theSysftns.LaunchHTMLDoc(w, (XtPointer) "$KESTHOME/doc/index.html", nullptr);
#pragma once

#include <X11/Intrinsic.h>

#include "support/Support.h"

class SysftnsCl {
 public:
  SysftnsCl() = default;
  SysftnsCl(const SysftnsCl& other) = default;
  SysftnsCl& operator=(const SysftnsCl& other) = default;

  virtual SysftnsCl* Clone() const;
  virtual ~SysftnsCl();

  // Runs "EDITOR TEMPLATE &" with the options' editor command and template.
  virtual void EditTemplate(Widget w, XtPointer client, XtPointer call);
  // Client data: a page path ("$KESTHOME" allowed). When it names an
  // existing file, runs "BROWSER PAGE &"; otherwise does nothing.
  virtual void LaunchHTMLDoc(Widget w, XtPointer client, XtPointer call);

  virtual bool IsA(int classNumber) const;
};

namespace xkest {

// "TOOL WORD &", the word (a file name) quoted for the shell when it needs
// it and never taken for an option. The tool stays a shell command of the
// user's own ("xterm -e vi" is fine).
Str BackgroundCommand(const Str& tool, const Str& word);

}  // namespace xkest
