// WcInitialize.cpp: the layer's start-up for one application context (the
// library resources, the resource files they name, chained through
// wclResFiles, the message database, templates and the registrations) and
// WcWidgetCreation, which runs it before building a tree. The top of the
// layer: nothing below calls back up here.
#include "wcl/WcInitialize.h"

#include <X11/IntrinsicP.h>

#include <string>
#include <string_view>

#include "wcl/WcConverters.h"
#include "wcl/WcCreation.h"
#include "wcl/WcIntrinsicClasses.h"
#include "wcl/WcLibraryResources.h"
#include "wcl/WcNames.h"
#include "wcl/WcRegistry.h"
#include "wcl/WcResFiles.h"
#include "wcl/WcStandard.h"
#include "wcl/WcTemplates.h"
#include "wcl/WcWarnings.h"

namespace {

constexpr wcl::Message<2> kNoChildren{
    "WcWidgetCreation", "noChildren",
    "Wcl Error: WcWidgetCreation(%s) - Failed \n"
    "    Problem: No children could be created from Xrm database.\n"
    "    Possible: Resource file not found \n"
    "\t\tperhaps XENVIRONMENT is not set, \n"
    "\t\tor XAPPLRESDIR not terminated with '/' \n"
    "    Possible: top level widget in resource file not named '%s'"};

// Loads each name of the list once; true when any file was merged.
bool LoadListOnce(Widget root, std::string_view list) {
  bool merged = false;
  for (const std::string& name : wcl::SplitNames(list))
    merged = WcLoadResourceFileOnce(root, name.c_str()) || merged;
  return merged;
}

WcAppContextList g_served;

}  // namespace

void WcInitialize(Widget root) {
  if (!root) return;
  XtAppContext app = XtWidgetToApplicationContext(root);
  if (!g_served.FirstTime(app)) return;

  WcRootOf(root);
  WcRegisterConverters(app);

  using wcl::LibraryResourceGroup;
  const WcLibraryResources& res = *WcGetLibraryResources();
  wcl::FetchLibraryResources(root, LibraryResourceGroup::InitFile);
  std::string_view initList = res.wclInitResFile;
  std::string first(wcl::NextName(initList));  // only the first name counts
  if (!first.empty()) WcLoadResourceFileOnce(root, first.c_str());

  // Files may name further files; each name is tried once, so this ends.
  do {
    wcl::FetchLibraryResources(root, LibraryResourceGroup::ResFiles);
  } while (LoadListOnce(root, std::string(res.wclResFiles)));

  wcl::FetchLibraryResources(root, LibraryResourceGroup::Others);
  WcLoadErrorDatabase(app, res.wclErrorDatabaseFile);
  WcLoadTemplateFiles(root, res.wclTemplateFiles, res.wclTraceTemplateDef);

  WcRegisterIntrinsicClasses(app);
  WcRegisterStandardCallbacks(app);
  WcRegisterStandardActions(app);
}

int WcWidgetCreation(Widget root) {
  if (!root) return 1;
  WcInitialize(root);
  if (!wcl::CreateBelowRoot(root)) return 1;
  Cardinal children =
      XtIsComposite(root) ? reinterpret_cast<CompositeWidget>(root)->composite.num_children : 0;
  Cardinal popups = XtIsWidget(root) ? root->core.num_popups : 0;
  if (children == 0 && popups == 0) {
    std::string full = wcl::FullName(root);
    wcl::Warn(root, kNoChildren, full.c_str(), XtName(root));
    return 1;
  }
  return 0;
}
