// WcNames.h: widget name resolution, full names, the root list, name lists
// and the guarded string operations.
//
// Names in resources and callback arguments are relative to the acting
// widget ("this"):
//   "this"        the widget itself          "^name"  from the parent
//   "~name"       from the enclosing shell    "/name"  from the window-manager shell
//   "this.child"  a child                     "*name"  anywhere below
//   "app.main.ok" a full path from any known root
//
//   Widget ok = WcResolveWidgetName(w, "^okButton");
//   char* full = WcFullName(ok);   // "xkest.main.form.okButton"; XtFree it
//
//   std::string_view rest = "a, b (c)";
//   while (auto name = wcl::NextName(rest); !name.empty()) ...
#pragma once

#include <X11/Intrinsic.h>

#include <string>
#include <string_view>
#include <vector>

#ifdef __cplusplus
extern "C" {
#endif

// The widget `name` refers to, seen from `ref`; null when none.
Widget WcResolveWidgetName(Widget ref, const char* name);

// The dotted path of names from w's root down to w. Newly allocated with
// XtMalloc; the caller XtFrees it. A null widget gives "".
char* WcFullName(Widget w);

// The root of w's tree, entered in the root list when new (it leaves the
// list when destroyed). A null widget gives the first known root, or null.
Widget WcRootOf(Widget w);

// The known roots in the order they became known.
Cardinal WcRootCount(void);
Widget WcRootAt(Cardinal index);

// Copy and append that refuse a null target (warning, then abort). A null
// source copies or appends nothing. The target must be large enough.
char* WcStrCpy(char* target, const char* source);
char* WcStrCat(char* target, const char* source);

// Comparisons treating null as "", like strcmp and strncmp otherwise.
int WcStrCmp(const char* a, const char* b);
int WcStrCmpN(const char* a, const char* b, int n);

#ifdef __cplusplus
}
#endif

namespace wcl {

// Name lists ("a, b c(d)"): names are separated by white space and at most
// one comma; a name ends at white space, ',', '(' or ')'.
// NextName returns the next name and moves `rest` past it and the
// separator after it; an empty result means the list is exhausted.
std::string_view NextName(std::string_view& rest);
std::vector<std::string> SplitNames(std::string_view list);

// The full name as a std::string.
std::string FullName(Widget w);

// Watches a widget while code that may destroy it runs (callbacks named in
// resources). Outside event dispatch the toolkit frees a destroyed widget
// at once, so after such code the widget may only be touched while Alive().
class WidgetWatch {
 public:
  explicit WidgetWatch(Widget w);
  ~WidgetWatch();
  WidgetWatch(const WidgetWatch&) = delete;
  WidgetWatch& operator=(const WidgetWatch&) = delete;

  // Not freed and not on its way out (a destroy deferred to the end of
  // the event being dispatched).
  bool Alive() const;
  // Not freed: its memory may still be read.
  bool Present() const { return !freed_; }

 private:
  static void Freed(Widget, XtPointer self, XtPointer);
  Widget w_;
  bool freed_ = false;
};

}  // namespace wcl
