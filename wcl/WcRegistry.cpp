// WcRegistry.cpp: the name registries of the creation layer, each a static
// map aggregate keyed by application context and name quark.
#include "wcl/WcRegistry.h"

#include "wcl/MapAg/MapAg.h"
#include "wcl/WcNames.h"
#include "wcl/WcWarnings.h"

#include <X11/StringDefs.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <string_view>

namespace {

constexpr wcl::Message<2> kMethodInvalidClassName{
    "WcRegisterMethod", "invalidClassName",
    "Wcl Warning: Class names cannot begin with `-l' - registration of %s::%s ignored"};

constexpr wcl::Message<2> kAttachInvalidClassName{
    "WcAttachThisToWidget", "invalidClassName",
    "Wcl Warning: Class names cannot begin with `-l',\n\t- cannot attach object of "
    "class `%s'\nto widget %s"};

MapAgRec classes;
MapAgRec constructors;
MapAgRec callbacks;  // names (app, lower, 0) and methods (app, class, method)
MapAgRec objects;    // (widget, class, 0) -> object
MapAgRec dynamicLibs;

constexpr size_t kMaxIdentifier = 127;

MapAg_Word W(const void* p) { return reinterpret_cast<MapAg_Word>(p); }

// Library names take the "-l" prefix in callback strings, so a class named
// like one could never be reached.
bool IsLibraryName(const char* name) { return name && name[0] == '-' && name[1] == 'l'; }

WcCallbackPair NewPair(XtCallbackProc callback, XtPointer clientData) {
  auto* pair = reinterpret_cast<WcCallbackPair>(XtMalloc(sizeof(WcCallbackPairRec)));
  pair->callback = callback;
  pair->clientData = clientData;
  return pair;
}

// Drops the attachment of a destroyed widget so that a widget created later
// at the same address does not inherit the object.
void DetachOnDestroy(Widget w, XtPointer classQuark, XtPointer) {
  MapAg_Remove(&objects, W(w), reinterpret_cast<MapAg_Word>(classQuark), 0);
}

}  // namespace

bool WcAppContextList::FirstTime(XtAppContext app) {
  if (Contains(app)) return false;
  served_.push_back(app);
  return true;
}

bool WcAppContextList::Contains(XtAppContext app) const {
  return std::find(served_.begin(), served_.end(), app) != served_.end();
}

XrmQuark WcNameToQuarkLower(const char* name) {
  std::string lower;
  if (name) {
    const char* p = name;
    auto isIdent = [](char c) {
      return std::isalnum(static_cast<unsigned char>(c)) || c == '_';
    };
    while (*p && !isIdent(*p)) ++p;
    for (; *p && isIdent(*p) && lower.size() < kMaxIdentifier; ++p) {
      lower += static_cast<char>(std::tolower(static_cast<unsigned char>(*p)));
    }
  }
  return XrmStringToQuark(lower.c_str());
}

void WcRegisterClass(XtAppContext app, const char* name, WidgetClass widgetClass) {
  MapAg_Insert(&classes, W(app), WcNameToQuarkLower(name), 0, W(widgetClass));
}

void WcRegisterConstructor(XtAppContext app, const char* name, WcConstructorProc constructor) {
  MapAg_Insert(&constructors, W(app), WcNameToQuarkLower(name), 0,
               reinterpret_cast<MapAg_Word>(constructor));
}

void WcRegisterCallback(XtAppContext app, const char* name, XtCallbackProc callback,
                        XtPointer clientData) {
  MapAg_Insert(&callbacks, W(app), WcNameToQuarkLower(name), 0,
               W(NewPair(callback, clientData)));
}

void WcRegisterAction(XtAppContext app, const char* name, XtActionProc action) {
  // The toolkit compiles its own copy of the record.
  XtActionsRec rec{const_cast<String>(name), action};
  XtAppAddActions(app, &rec, 1);
}

void WcRegisterMethod(XtAppContext app, const char* className, const char* methodName,
                      XtCallbackProc callback, XtPointer clientData) {
  if (IsLibraryName(className)) {
    wcl::Warn(nullptr, kMethodInvalidClassName, className, methodName ? methodName : "");
    return;
  }
  MapAg_Insert(&callbacks, W(app), XrmStringToQuark(className ? className : ""),
               XrmStringToQuark(methodName ? methodName : ""), W(NewPair(callback, clientData)));
}

void WcAttachThisToWidget(XtPointer object, const char* className, Widget widget) {
  if (IsLibraryName(className)) {
    std::string full = wcl::FullName(widget);
    wcl::Warn(widget, kAttachInvalidClassName, className, full.c_str());
    return;
  }
  if (!widget) return;
  if (!object) {
    // The map cannot hold 0: attaching no object leaves none attached.
    WcDetachThisFromWidget(object, className, widget);
    return;
  }
  XrmQuark cls = XrmStringToQuark(className ? className : "");
  XtPointer closure = reinterpret_cast<XtPointer>(static_cast<intptr_t>(cls));
  // Exactly one destroy hook per (widget, class), however often the object
  // is attached, detached from all widgets and attached again.
  XtRemoveCallback(widget, XtNdestroyCallback, DetachOnDestroy, closure);
  XtAddCallback(widget, XtNdestroyCallback, DetachOnDestroy, closure);
  MapAg_Insert(&objects, W(widget), cls, 0, W(object));
}

void WcDetachThisFromWidget(XtPointer, const char* className, Widget widget) {
  XrmQuark cls = XrmStringToQuark(className ? className : "");
  if (!MapAg_Find(&objects, W(widget), cls, 0)) return;
  MapAg_Remove(&objects, W(widget), cls, 0);
  XtRemoveCallback(widget, XtNdestroyCallback, DetachOnDestroy,
                   reinterpret_cast<XtPointer>(static_cast<intptr_t>(cls)));
}

void WcDetachThisFromAllWidgets(XtPointer object) {
  // The destroy callbacks stay; removing an absent key is harmless.
  MapAg_RemoveValue(&objects, W(object));
}

WidgetClass WcFindClass(XtAppContext app, XrmQuark lowerName) {
  return reinterpret_cast<WidgetClass>(MapAg_Find(&classes, W(app), lowerName, 0));
}

WcConstructorProc WcFindConstructor(XtAppContext app, XrmQuark lowerName) {
  return reinterpret_cast<WcConstructorProc>(MapAg_Find(&constructors, W(app), lowerName, 0));
}

WcCallbackPair WcFindCallback(XtAppContext app, XrmQuark lowerName) {
  return reinterpret_cast<WcCallbackPair>(MapAg_Find(&callbacks, W(app), lowerName, 0));
}

WcCallbackPair WcFindMethod(XtAppContext app, XrmQuark className, XrmQuark methodName) {
  return reinterpret_cast<WcCallbackPair>(MapAg_Find(&callbacks, W(app), className, methodName));
}

XtPointer WcFindAttachedObject(Widget widget, XrmQuark className) {
  return reinterpret_cast<XtPointer>(MapAg_Find(&objects, W(widget), className, 0));
}

void WcLoadDynamicLibs(XtAppContext app, const char* libraryList) {
  for (const std::string& path : wcl::SplitNames(libraryList ? libraryList : "")) {
    std::string_view base = path;
    if (size_t slash = base.rfind('/'); slash != std::string_view::npos) {
      base.remove_prefix(slash + 1);
    }
    if (base.starts_with("lib")) base.remove_prefix(3);
    base = base.substr(0, base.find('.'));
    std::string shortName = "-l" + std::string(base);
    MapAg_Insert(&dynamicLibs, W(app), XrmStringToQuark(shortName.c_str()), 1,
                 W(XtNewString(path.c_str())));
  }
}

const char* WcFindDynamicLib(XtAppContext app, const char* shortName) {
  return reinterpret_cast<const char*>(
      MapAg_Find(&dynamicLibs, W(app), XrmStringToQuark(shortName ? shortName : ""), 1));
}

namespace wcl {

std::string DeriveClassName(const char* name) {
  std::string cls = name ? name : "";
  if (size_t slash = cls.rfind('/'); slash != std::string::npos) cls.erase(0, slash + 1);
  auto isLower = [](char c) { return std::islower(static_cast<unsigned char>(c)) != 0; };
  auto upper = [](char& c) { c = static_cast<char>(std::toupper(static_cast<unsigned char>(c))); };
  if (!cls.empty() && isLower(cls[0])) {
    upper(cls[0]);
  } else if (cls.size() > 1 && isLower(cls[1])) {
    upper(cls[1]);
  }
  return cls;
}

}  // namespace wcl
