// WcTemplates.cpp: template databases: loading them from the files named
// by wclTemplateFiles, and expanding one below a widget about to be created
// without overriding what the database already says.
#include "wcl/WcTemplates.h"

#include <X11/IntrinsicP.h>
#include <X11/ShellP.h>

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
  // The new widget's own name and class path, then the entry's components,
  // for asking the database what it already gives the widget.
  std::vector<XrmQuark> names, classes;
  XrmDatabase screen = nullptr;
  XrmDatabase scratch = nullptr;
  std::string* trace = nullptr;      // null: no trace wanted
  int count = 0;
};

// The class of a resource named only by its name: the toolkit's convention,
// the name with its first letter in upper case.
XrmQuark ResourceClass(XrmQuark name) {
  std::string text = XrmQuarkToString(name);
  if (!text.empty() && text[0] >= 'a' && text[0] <= 'z') text[0] = static_cast<char>(text[0] - 32);
  return XrmStringToQuark(text.c_str());
}

// Whether the database already gives the new widget (or the descendant the
// entry names) the entry's resource, by any binding. The expansion's own
// loose path ranks above a user's shorter line, so merging without
// override protects only an identical line.
bool AlreadyGiven(Expansion& x, XrmQuarkList quarks) {
  const size_t base = x.names.size();
  for (int i = 0; quarks[i] != NULLQUARK; ++i) {
    x.names.push_back(quarks[i]);
    x.classes.push_back(quarks[i + 1] == NULLQUARK ? ResourceClass(quarks[i]) : quarks[i]);
  }
  x.names.push_back(NULLQUARK);
  x.classes.push_back(NULLQUARK);
  XrmRepresentation type = NULLQUARK;
  XrmValue value{0, nullptr};
  const bool given = x.screen && XrmQGetResource(x.screen, x.names.data(), x.classes.data(),
                                                 &type, &value);
  x.names.resize(base);
  x.classes.resize(base);
  return given;
}

Bool CopyEntry(XrmDatabase*, XrmBindingList bindings, XrmQuarkList quarks,
               XrmRepresentation* type, XrmValue* value, XPointer closure) {
  auto* x = reinterpret_cast<Expansion*>(closure);
  if (AlreadyGiven(*x, quarks)) return False;
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
  for (Widget w = parent; w; w = XtParent(w)) {
    x.quarks.push_back(w->core.xrm_name);
    // A root application shell is known by its application class.
    x.classes.push_back(!XtParent(w) && XtIsApplicationShell(w)
                            ? reinterpret_cast<ApplicationShellWidget>(w)->application.xrm_class
                            : XtClass(w)->core_class.xrm_class);
  }
  std::reverse(x.quarks.begin(), x.quarks.end());
  std::reverse(x.classes.begin(), x.classes.end());
  const XrmQuark newName = XrmStringToQuark(name);
  x.quarks.push_back(newName);
  x.names = x.quarks;
  x.classes.push_back(newName);  // the class is not known yet (as for its creation resources)
  x.screen = XtScreenDatabase(XtScreenOfObject(parent));
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
  XrmCombineDatabase(x.scratch, &x.screen, False);
  return true;
}

}  // namespace wcl
