// WcInitialize.cpp: the layer's start-up for one application context: the
// library resources, the resource files they name (chained through
// wclResFiles), the message database, templates and the registrations.
#include <X11/IntrinsicP.h>
#include <X11/StringDefs.h>

#include <cstddef>
#include <string>
#include <string_view>

#include "wcl/WcCallbacks.h"
#include "wcl/WcCreation.h"
#include "wcl/WcNames.h"
#include "wcl/WcRegistry.h"
#include "wcl/WcResFiles.h"
#include "wcl/WcStandard.h"
#include "wcl/WcWarnings.h"

namespace {

WcLibraryResources g_res = {
    const_cast<String>(""), const_cast<String>(""), False,
    const_cast<String>("/usr/X11R6/lib/X11/WclErrorDB"), const_cast<String>(""),
    const_cast<String>(""), False, False, const_cast<String>(""), False,
    const_cast<String>("")};

// String values point into the resource database, where a later merge may
// replace them; every value kept is copied here first.
std::string g_text[7];

#define WC_OFFSET(field) offsetof(WcLibraryResources, field)
#define WC_STRING(name, cls, field, def) \
  {const_cast<String>(name), const_cast<String>(cls), const_cast<String>(XtRString), \
   sizeof(String), WC_OFFSET(field), const_cast<String>(XtRString), const_cast<String>(def)}
#define WC_BOOLEAN(name, cls, field) \
  {const_cast<String>(name), const_cast<String>(cls), const_cast<String>(XtRBoolean), \
   sizeof(Boolean), WC_OFFSET(field), const_cast<String>(XtRImmediate), (XtPointer)False}

XtResource kInitResources[] = {
    WC_BOOLEAN("wclTraceResFiles", "WclTraceResFiles", wclTraceResFiles),
    WC_STRING("wclInitResFile", "WclInitResFile", wclInitResFile, ""),
};

XtResource kResFileResources[] = {
    WC_BOOLEAN("wclTraceResFiles", "WclTraceResFiles", wclTraceResFiles),
    WC_STRING("wclResFiles", "WclResFiles", wclResFiles, ""),
};

XtResource kOtherResources[] = {
    WC_STRING("wclErrorDatabaseFile", "WclErrorDatabaseFile", wclErrorDatabaseFile,
              "/usr/X11R6/lib/X11/WclErrorDB"),
    WC_STRING("wclWidgetResourceFiles", "WclWidgetResourceFiles", wclWidgetResourceFiles, ""),
    WC_STRING("wclTemplateFiles", "WclTemplateFiles", wclTemplateFiles, ""),
    WC_BOOLEAN("wclTraceTemplateDef", "WclTraceTemplateDef", wclTraceTemplateDef),
    WC_BOOLEAN("wclVerboseWarnings", "WclVerboseWarnings", wclVerboseWarnings),
    {const_cast<String>("wclDynamicLibs"), const_cast<String>("WclDynamicLibs"),
     const_cast<String>(WcRDynamicLibs), sizeof(String), WC_OFFSET(wclDynamicLibs),
     const_cast<String>(XtRString), const_cast<String>("")},
    WC_BOOLEAN("wclSlowTightNames", "WclSlowTightNames", wclSlowTightNames),
    WC_STRING("wclAppClassName", "WclAppClassName", wclAppClassName, ""),
};

#undef WC_BOOLEAN
#undef WC_STRING
#undef WC_OFFSET

String WcLibraryResources::*const kStringFields[] = {
    &WcLibraryResources::wclInitResFile,       &WcLibraryResources::wclResFiles,
    &WcLibraryResources::wclErrorDatabaseFile, &WcLibraryResources::wclWidgetResourceFiles,
    &WcLibraryResources::wclTemplateFiles,     &WcLibraryResources::wclDynamicLibs,
    &WcLibraryResources::wclAppClassName,
};

// Reads `resources` from root into g_res, then copies every String value
// that does not point into our own storage yet.
void Fetch(Widget root, XtResource* resources, Cardinal count) {
  XtGetApplicationResources(root, &g_res, resources, count, nullptr, 0);
  for (size_t i = 0; i < XtNumber(kStringFields); ++i) {
    String& field = g_res.*kStringFields[i];
    if (field == g_text[i].c_str()) continue;
    g_text[i] = field ? field : "";
    field = g_text[i].data();
  }
}

// Loads each name of the list once; true when any file was merged.
bool LoadListOnce(Widget root, std::string_view list) {
  bool merged = false;
  for (const std::string& name : wcl::SplitNames(list))
    merged = WcLoadResourceFileOnce(root, name.c_str()) || merged;
  return merged;
}

WcAppContextList g_served;

}  // namespace

const WcLibraryResources* WcGetLibraryResources() { return &g_res; }

void WcInitialize(Widget root) {
  if (!root) return;
  XtAppContext app = XtWidgetToApplicationContext(root);
  if (!g_served.FirstTime(app)) return;

  WcRootOf(root);
  WcRegisterConverters(app);

  Fetch(root, kInitResources, XtNumber(kInitResources));
  std::string_view initList = g_res.wclInitResFile;
  std::string first(wcl::NextName(initList));  // only the first name counts
  if (!first.empty()) WcLoadResourceFileOnce(root, first.c_str());

  // Files may name further files; each name is tried once, so this ends.
  do {
    Fetch(root, kResFileResources, XtNumber(kResFileResources));
  } while (LoadListOnce(root, std::string(g_res.wclResFiles)));

  Fetch(root, kOtherResources, XtNumber(kOtherResources));
  WcLoadErrorDatabase(app, g_res.wclErrorDatabaseFile);
  WcLoadTemplateFiles(root, g_res.wclTemplateFiles, g_res.wclTraceTemplateDef);

  WcRegisterIntrinsicClasses(app);
  WcRegisterStandardCallbacks(app);
  WcRegisterStandardActions(app);
}
