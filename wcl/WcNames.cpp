// WcNames.cpp: widget name resolution, full names, the root list, name-list
// splitting and the guarded string operations.
#include "wcl/WcNames.h"

#include "wcl/WcLibraryResources.h"
#include "wcl/WcWarnings.h"

#include <X11/IntrinsicP.h>
#include <X11/StringDefs.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <cstring>

namespace {

constexpr wcl::Message<0> kStrCpyNullTarget{"WcStrCpy", "nullTarget",
                                            "Wcl Warning: WcStrCpy() called with NULL target!"};

constexpr wcl::Message<0> kStrCatNullTarget{"WcStrCat", "nullTarget",
                                            "Wcl Warning: WcStrCat() called with NULL target!"};

// Tops of the known widget trees, in the order they became known. Grows as
// needed; destroyed roots leave it.
std::vector<Widget>& Roots() {
  static std::vector<Widget> roots;
  return roots;
}

void ForgetRoot(Widget w, XtPointer, XtPointer) {
  auto& roots = Roots();
  roots.erase(std::remove(roots.begin(), roots.end(), w), roots.end());
}

bool IsNameBlank(char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; }

bool IsShell(Widget w) { return XtIsShell(w); }
bool IsWmShell(Widget w) { return XtIsWMShell(w); }

// Moves up from w until an ancestor passes `stop`, or to the root.
Widget UpTo(Widget w, bool (*stop)(Widget)) {
  w = XtParent(w);
  while (XtParent(w) && !stop(w)) w = XtParent(w);
  return w;
}

bool StartsRelative(const char* name) {
  auto lead = [](char c) { return c == '^' || c == '~' || c == '/' || c == '.'; };
  if (lead(name[0])) return true;
  return std::strncmp(name, "this", 4) == 0 &&
         (name[4] == '.' || name[4] == '*' || lead(name[4]));
}

Widget ResolveRelative(Widget ref, const char* name) {
  if (std::strncmp(name, "this", 4) == 0) name += 4;
  Widget w = ref;
  for (; *name == '^' || *name == '~' || *name == '/' || *name == '.'; ++name) {
    if (*name == '.') continue;
    if (!XtParent(w)) return nullptr;
    if (*name == '^') {
      w = XtParent(w);
    } else {
      w = UpTo(w, *name == '~' ? IsShell : IsWmShell);
    }
  }
  return *name ? XtNameToWidget(w, name) : w;
}

Widget ResolveAbsolute(const char* name) {
  for (Widget root : Roots()) {
    const char* rootName = XtName(root);
    size_t len = std::strlen(rootName);
    if (std::strncmp(name, rootName, len) != 0) continue;
    switch (name[len]) {
      case '\0':
        return root;
      case '*':
        return XtNameToWidget(root, name + len);
      case '.':
        return XtNameToWidget(root, name + len + 1);
      default:
        break;  // only a prefix of a longer name: not this root
    }
  }
  return nullptr;
}

}  // namespace

Widget WcResolveWidgetName(Widget ref, const char* name) {
  if (!name || !*name) return nullptr;
  if (std::strcmp(name, "this") == 0) return ref;
  if (!ref) return ResolveAbsolute(name);
  if (StartsRelative(name)) return ResolveRelative(ref, name);

  if (Widget w = XtNameToWidget(ref, name)) return w;
  if (WcGetLibraryResources()->wclSlowTightNames) {
    for (Widget a = XtParent(ref); a; a = XtParent(a)) {
      if (Widget w = XtNameToWidget(a, name)) return w;
    }
  }
  if (Widget w = XtNameToWidget(WcRootOf(ref), name)) return w;
  return ResolveAbsolute(name);
}

Widget WcRootOf(Widget w) {
  auto& roots = Roots();
  if (!w) return roots.empty() ? nullptr : roots.front();
  while (XtParent(w)) w = XtParent(w);
  if (std::find(roots.begin(), roots.end(), w) == roots.end()) {
    roots.push_back(w);
    XtAddCallback(w, XtNdestroyCallback, ForgetRoot, nullptr);
  }
  return w;
}

Cardinal WcRootCount(void) { return static_cast<Cardinal>(Roots().size()); }

Widget WcRootAt(Cardinal index) {
  return index < Roots().size() ? Roots()[index] : nullptr;
}

char* WcFullName(Widget w) { return XtNewString(wcl::FullName(w).c_str()); }

char* WcStrCpy(char* target, const char* source) {
  if (!target) {
    wcl::Warn(nullptr, kStrCpyNullTarget);
    std::abort();
  }
  if (!source) source = "";
  std::memmove(target, source, std::strlen(source) + 1);
  return target;
}

char* WcStrCat(char* target, const char* source) {
  if (!target) {
    wcl::Warn(nullptr, kStrCatNullTarget);
    std::abort();
  }
  if (source) std::strcat(target, source);
  return target;
}

int WcStrCmp(const char* a, const char* b) {
  return std::strcmp(a ? a : "", b ? b : "");
}

int WcStrCmpN(const char* a, const char* b, int n) {
  if (n <= 0) return 0;
  return std::strncmp(a ? a : "", b ? b : "", static_cast<size_t>(n));
}

namespace wcl {

std::string_view NextName(std::string_view& rest) {
  size_t i = 0;
  while (i < rest.size() && IsNameBlank(rest[i])) ++i;
  size_t start = i;
  while (i < rest.size() && !IsNameBlank(rest[i]) && rest[i] != ',' && rest[i] != '(' &&
         rest[i] != ')') {
    ++i;
  }
  std::string_view name = rest.substr(start, i - start);
  while (i < rest.size() && IsNameBlank(rest[i])) ++i;
  if (i < rest.size() && rest[i] == ',') ++i;
  while (i < rest.size() && IsNameBlank(rest[i])) ++i;
  rest.remove_prefix(i);
  return name;
}

std::vector<std::string> SplitNames(std::string_view list) {
  std::vector<std::string> names;
  for (auto name = NextName(list); !name.empty(); name = NextName(list)) {
    names.emplace_back(name);
  }
  return names;
}

std::string FullName(Widget w) {
  std::vector<const char*> parts;
  for (; w; w = XtParent(w)) parts.push_back(XtName(w));
  std::string full;
  for (auto it = parts.rbegin(); it != parts.rend(); ++it) {
    if (it != parts.rbegin()) full += '.';
    full += *it ? *it : "";
  }
  return full;
}

WidgetWatch::WidgetWatch(Widget w) : w_(w) {
  if (w_) XtAddCallback(w_, XtNdestroyCallback, Freed, this);
}

WidgetWatch::~WidgetWatch() {
  if (w_ && !freed_) XtRemoveCallback(w_, XtNdestroyCallback, Freed, this);
}

bool WidgetWatch::Alive() const { return w_ && !freed_ && !w_->core.being_destroyed; }

void WidgetWatch::Freed(Widget, XtPointer self, XtPointer) {
  static_cast<WidgetWatch*>(self)->freed_ = true;
}

}  // namespace wcl
