// WcTemplates.cpp: template databases: loading them from the files named
// by wclTemplateFiles, and expanding one below a widget about to be created
// without overriding what the database already says.
#include "wcl/WcTemplates.h"

#include <X11/IntrinsicP.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "wcl/MapAg/MapAg.h"
#include "wcl/WcDump.h"
#include "wcl/WcNames.h"
#include "wcl/WcResFiles.h"
#include "wcl/WcWarnings.h"

namespace {

// (name quark, 0, 0) -> template database; (0, file-name quark, 0) -> 1 for
// template files already read.
MapAgRec g_templates;

struct Expansion {
  std::vector<XrmBinding> bindings;  // the prefix, then the entry's own
  std::vector<XrmQuark> quarks;
  size_t prefixLength = 0;
  XrmDatabase scratch = nullptr;
  std::string* trace = nullptr;      // null: no trace wanted
  int count = 0;
};

Bool CopyEntry(XrmDatabase*, XrmBindingList bindings, XrmQuarkList quarks,
               XrmRepresentation* type, XrmValue* value, XPointer closure) {
  auto* x = reinterpret_cast<Expansion*>(closure);
  x->bindings.resize(x->prefixLength);
  x->quarks.resize(x->prefixLength);
  for (int i = 0; quarks[i] != NULLQUARK; ++i) {
    x->bindings.push_back(bindings[i]);
    x->quarks.push_back(quarks[i]);
  }
  x->quarks.push_back(NULLQUARK);
  XrmQPutResource(&x->scratch, x->bindings.data(), x->quarks.data(), *type, value);
  ++x->count;
  if (x->trace) {
    for (size_t i = 0; i + 1 < x->quarks.size(); ++i) {
      *x->trace += x->bindings[i] == XrmBindLoosely ? '*' : '.';
      *x->trace += XrmQuarkToString(x->quarks[i]);
    }
    *x->trace += ": ";
    if (value->addr && value->size)
      x->trace->append(value->addr, strnlen(value->addr, value->size));
    *x->trace += '\n';
  }
  return False;
}

}  // namespace

void WcRegisterTemplate(const char* name, XrmDatabase db) {
  if (!name || !*name || !db) return;
  MapAg_Insert(&g_templates, XrmStringToQuark(name), 0, 0, reinterpret_cast<MapAg_Word>(db));
}

XrmDatabase WcFindTemplate(const char* name) {
  if (!name || !*name) return nullptr;
  return reinterpret_cast<XrmDatabase>(MapAg_Find(&g_templates, XrmStringToQuark(name), 0, 0));
}

void WcLoadTemplateFiles(Widget w, const char* fileNames, Boolean trace) {
  if (!fileNames) return;
  for (const std::string& file : wcl::SplitNames(fileNames)) {
    XrmQuark fileQuark = XrmStringToQuark(file.c_str());
    if (MapAg_Find(&g_templates, 0, fileQuark, 0)) continue;
    MapAg_Insert(&g_templates, 0, fileQuark, 0, 1);
    XrmDatabase db = nullptr;
    if (!WcLoadResourceFile(w, file.c_str(), &db) || !db) continue;
    size_t slash = file.rfind('/');
    std::string base = slash == std::string::npos ? file : file.substr(slash + 1);
    WcRegisterTemplate(base.c_str(), db);
    if (trace) WcDumpTemplateDefinition(db, base.c_str(), file.c_str());
  }
}

namespace wcl {

bool ExpandTemplate(XrmQuark templateName, Widget parent, const char* name, bool trace) {
  auto db = reinterpret_cast<XrmDatabase>(MapAg_Find(&g_templates, templateName, 0, 0));
  if (!db) return false;

  Expansion x;
  for (Widget w = parent; w; w = XtParent(w)) x.quarks.push_back(w->core.xrm_name);
  std::reverse(x.quarks.begin(), x.quarks.end());
  x.quarks.push_back(XrmStringToQuark(name));
  x.bindings.assign(x.quarks.size(), XrmBindLoosely);
  x.prefixLength = x.quarks.size();
  x.scratch = XrmGetStringDatabase("_scratch: scratch");

  std::string text;
  const char* templ = XrmQuarkToString(templateName);
  if (trace) {
    x.trace = &text;
    text = std::string("==== Wcl Template ") + templ + " Expansion:\n";
  }
  XrmQuark none = NULLQUARK;
  XrmEnumerateDatabase(db, &none, &none, XrmEnumAllLevels, CopyEntry,
                       reinterpret_cast<XPointer>(&x));
  if (trace) {
    text += std::string("==== Wcl Template ") + templ + " Expanded - " + std::to_string(x.count) +
            " resources copied.\n";
    WcWarningPrinter(text.c_str(), nullptr);
  }
  if (x.count == 0) {
    XrmDestroyDatabase(x.scratch);
    return false;
  }
  XrmDatabase screenDb = XtScreenDatabase(XtScreenOfObject(parent));
  XrmCombineDatabase(x.scratch, &screenDb, False);
  return true;
}

}  // namespace wcl
