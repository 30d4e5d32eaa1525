// WcLibraryResources.cpp: the library resources, their defaults and the
// resource lists the start-up reads them with.
#include "wcl/WcLibraryResources.h"

#include <X11/StringDefs.h>

#include <cstddef>
#include <string>

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

}  // namespace

const WcLibraryResources* WcGetLibraryResources() { return &g_res; }

void wcl::FetchLibraryResources(Widget root, LibraryResourceGroup group) {
  XtResource* resources = kOtherResources;
  Cardinal count = XtNumber(kOtherResources);
  if (group == LibraryResourceGroup::InitFile) {
    resources = kInitResources;
    count = XtNumber(kInitResources);
  } else if (group == LibraryResourceGroup::ResFiles) {
    resources = kResFileResources;
    count = XtNumber(kResFileResources);
  }
  XtGetApplicationResources(root, &g_res, resources, count, nullptr, 0);
  // Copies every String value that does not point into our own storage yet.
  for (size_t i = 0; i < XtNumber(kStringFields); ++i) {
    String& field = g_res.*kStringFields[i];
    if (field == g_text[i].c_str()) continue;
    g_text[i] = field ? field : "";
    field = g_text[i].data();
  }
}
