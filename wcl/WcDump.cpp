// WcDump.cpp: the resource dumps: which database entries apply to a widget
// before and after its creation, and what a template file defines.
#include "wcl/WcDump.h"

#include <X11/IntrinsicP.h>
#include <X11/ShellP.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "wcl/WcNames.h"
#include "wcl/WcWarnings.h"

namespace {

// The longest entry name a line shows; components beyond it are dropped.
constexpr size_t kMaxLineName = 8190;

// Name and class quarks from w's root down to w, as the toolkit matches
// resources: a root application shell stands for its application class, so
// lines given by the application class are listed too.
void PathOf(Widget w, std::vector<XrmQuark>* names, std::vector<XrmQuark>* classes) {
  for (; w; w = XtParent(w)) {
    names->push_back(w->core.xrm_name);
    bool appRoot = !XtParent(w) && XtIsApplicationShell(w);
    classes->push_back(appRoot ? reinterpret_cast<ApplicationShellWidget>(w)->application.xrm_class
                               : XtClass(w)->core_class.xrm_class);
  }
  std::reverse(names->begin(), names->end());
  std::reverse(classes->begin(), classes->end());
}

// An entry's identity: its bindings and components. Where a widget's name
// equals its class at some level, the enumeration visits a tightly bound
// entry there once through each.
using EntryKey = std::vector<int>;
using SeenEntries = std::set<EntryKey>;

// Enumerates db with the lists, appends the footer and prints the text.
void Finish(WcBuffer* buffer, XrmDatabase db, std::vector<XrmQuark>& names,
            std::vector<XrmQuark>& classes, int mode, const std::string& footer) {
  names.push_back(NULLQUARK);
  classes.push_back(NULLQUARK);
  SeenEntries seen;
  WcDumpClosure closure{buffer, 0, &seen};
  XrmEnumerateDatabase(db, names.data(), classes.data(), mode, WcDumpResourceLine,
                       reinterpret_cast<XPointer>(&closure));
  std::string count = std::to_string(closure.count);
  if (footer.empty())
    WcBuffer_Append(buffer, "==== Wcl: Total Number of Resources: ", count.c_str(), "\n", nullptr);
  else
    WcBuffer_Append(buffer, footer.c_str(), count.c_str(), " resources.\n", nullptr);
  WcWarningPrinter(WcBuffer_Text(buffer), nullptr);
  WcBuffer_Free(buffer);
}

XrmDatabase ScreenDatabaseOf(Widget w) { return XtScreenDatabase(XtScreenOfObject(w)); }

}  // namespace

namespace wcl {

std::string FormatResourceLine(std::string_view name, std::string_view type, const char* value,
                               const void* address, unsigned size) {
  std::string line(name);
  if (type == "String") {
    line += ": ";
    line.append(8 - (name.size() + 2) % 8, ' ');
    line += value ? value : "(nil)";
  } else {
    line += '(';
    line += type;
    line += "): ";
    line.append(8 - (name.size() + type.size() + 4) % 8, ' ');
    if (size == 0 || !address) {
      line += "(nil)";
    } else {
      char hex[2 + 2 * sizeof(void*) + 1];
      std::snprintf(hex, sizeof hex, "0x%lX", reinterpret_cast<unsigned long>(address));
      line += hex;
      line += " points to " + std::to_string(size) + " bytes.";
    }
  }
  line += '\n';
  return line;
}

}  // namespace wcl

Bool WcDumpResourceLine(XrmDatabase*, XrmBindingList bindings, XrmQuarkList quarks,
                        XrmRepresentation* type, XrmValue* value, XPointer closure) {
  auto* dump = reinterpret_cast<WcDumpClosure*>(closure);
  if (dump->seen) {
    EntryKey key;
    for (int i = 0; quarks[i] != NULLQUARK; ++i) {
      key.push_back(static_cast<int>(bindings[i]));
      key.push_back(static_cast<int>(quarks[i]));
    }
    if (!static_cast<SeenEntries*>(dump->seen)->insert(std::move(key)).second) return False;
  }
  std::string name;
  for (int i = 0; quarks[i] != NULLQUARK; ++i) {
    const char* component = XrmQuarkToString(quarks[i]);
    if (name.size() + 1 + std::strlen(component) > kMaxLineName) break;
    name += bindings[i] == XrmBindLoosely ? '*' : '.';
    name += component;
  }
  ++dump->count;
  const char* typeName = XrmQuarkToString(*type);
  std::string line;
  if (std::strcmp(typeName, "String") == 0) {
    std::string text;
    if (value->size && value->addr) text.assign(value->addr, strnlen(value->addr, value->size));
    const char* shown = value->size && value->addr ? text.c_str() : nullptr;
    line = wcl::FormatResourceLine(name, typeName, shown, nullptr, 0);
  } else {
    line = wcl::FormatResourceLine(name, typeName, nullptr, value->addr, value->size);
  }
  WcBuffer_Append(dump->buffer, line.c_str(), nullptr);
  return False;
}

void WcDumpPreCreateResources(Widget parent, const char* childName) {
  if (!parent || !childName) return;
  std::vector<XrmQuark> names, classes;
  PathOf(parent, &names, &classes);
  names.push_back(XrmStringToQuark(childName));
  classes.push_back(XrmStringToQuark("WeDoNotKnowTheClassYet"));
  WcBuffer* buffer = WcBuffer_New();
  std::string parentName = wcl::FullName(parent);
  WcBuffer_Append(buffer, "==== Wcl: PreCreate Resources For Widget ", parentName.c_str(), ".",
                  childName, "\n", nullptr);
  Finish(buffer, ScreenDatabaseOf(parent), names, classes, XrmEnumOneLevel, "");
}

void WcDumpPostCreateResources(Widget w) {
  if (!w) return;
  std::vector<XrmQuark> names, classes;
  PathOf(w, &names, &classes);
  WcBuffer* buffer = WcBuffer_New();
  std::string full = wcl::FullName(w);
  WcBuffer_Append(buffer, "==== Wcl PostCreate Resources: Widget ", full.c_str(), " of class ",
                  XtClass(w)->core_class.class_name, "\n", nullptr);
  Finish(buffer, ScreenDatabaseOf(w), names, classes, XrmEnumOneLevel, "");
}

void WcDumpTemplateDefinition(XrmDatabase db, const char* templateName, const char* fileName) {
  const char* templ = templateName ? templateName : "";
  WcBuffer* buffer = WcBuffer_New();
  WcBuffer_Append(buffer, "==== Wcl Template Definition: ", templ, " from ",
                  fileName ? fileName : "", "\n", nullptr);
  std::vector<XrmQuark> names, classes;
  Finish(buffer, db, names, classes, XrmEnumAllLevels,
         std::string("==== Wcl Template Defined: ") + templ + " has ");
}
