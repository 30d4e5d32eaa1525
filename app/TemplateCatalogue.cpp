// TemplateCatalogue: catalogue resources of template IDs and the
// quick-item buttons built from them.
#include "app/TemplateCatalogue.h"

#include <Xm/Xm.h>
#include <Xm/PushB.h>

#include <cstddef>
#include <cstdio>
#include <string>

#include "app/Application.h"
#include "app/OptsCl.h"
#include "xmp/XmpOwned.h"

namespace {

constexpr const char* kNoFile = "**Unsuccessful getting 'file' resource for template ID %s\n";
constexpr const char* kNoTitle = "**Unsuccessful getting 'title' resource for template ID %s\n";
constexpr const char* kNoDesc = "**Unsuccessful getting 'desc' resource for template ID %s\n";

struct CatalogueEntry {
  String file;
  String title;
  String desc;
};

XtResource Resource(const std::string& name, const char* cls, size_t offset) {
  return {const_cast<char*>(name.c_str()), const_cast<char*>(cls), const_cast<char*>(XtRString),
          sizeof(String), static_cast<Cardinal>(offset), const_cast<char*>(XtRString), nullptr};
}

int Missing(const char* format, const char* id, int verbose) {
  if (verbose) {
    std::printf(format, id);
    std::fflush(stdout);
  }
  return 0;
}

// Activate callback of a quick-item button; client data is its lasting
// copy of the template file value.
void QuickItemActivated(Widget w, XtPointer client, XtPointer call) {
  theOpts.SetTemplatePath(w, client, call);
}

}  // namespace

int GetTemplateInfo(Widget shell, const char* id, Str& file, Str& title, Str& desc,
                    int verbose) {
  if (!id) id = "";
  // The names must outlive the toolkit call that reads them.
  const std::string fileName = std::string(id) + "-file";
  const std::string titleName = std::string(id) + "-title";
  const std::string descName = std::string(id) + "-desc";
  XtResource resources[] = {
      Resource(fileName, "File", offsetof(CatalogueEntry, file)),
      Resource(titleName, "Title", offsetof(CatalogueEntry, title)),
      Resource(descName, "Desc", offsetof(CatalogueEntry, desc)),
  };
  CatalogueEntry entry{};
  if (shell) XtGetApplicationResources(shell, &entry, resources, XtNumber(resources), nullptr, 0);
  if (!entry.file) return Missing(kNoFile, id, verbose);
  if (!entry.title) return Missing(kNoTitle, id, verbose);
  if (!entry.desc) return Missing(kNoDesc, id, verbose);
  file = entry.file;
  title = entry.title;
  desc = entry.desc;
  return 1;
}

int GetTemplateInfo(const char* id, Str& file, Str& title, Str& desc, int verbose) {
  return GetTemplateInfo(theAppShell, id, file, title, desc, verbose);
}

void BuildQuickItems(Widget parent, const Str& ids) {
  StrArray words;
  words.Split(ids, WhiteChars);
  // Only a manager can hold buttons; the toolkit ends the program when asked
  // to manage a child of anything else.
  if (!parent || !XtIsComposite(parent)) return;
  for (size_t i = 0; i < words.Count(); ++i) {
    const Str& id = words.At(i);
    Str file, title, desc;
    if (!GetTemplateInfo(id.c_str(), file, title, desc, 1)) continue;
    Str name = id + "button";
    Widget button = XmCreatePushButton(parent, const_cast<char*>(name.c_str()), nullptr, 0);
    xmp::XmStr label(XmStringCreateSimple(const_cast<char*>(title.c_str())));
    XtVaSetValues(button, XmNlabelString, label.get(), nullptr);
    // The button points at its file value for the rest of the run.
    XtAddCallback(button, XmNactivateCallback, QuickItemActivated, XtNewString(file.c_str()));
    XtManageChild(button);
  }
}
