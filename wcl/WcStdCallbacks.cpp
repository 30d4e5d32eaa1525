// WcStdCallbacks.cpp: the standard operations on callbacks and
// translations: traces, adding and removing callbacks from text, once-only
// callbacks, translation tables, and the unsupported dynamic-linking pair.
#include "wcl/WcStdCallbacks.h"

#include "wcl/WcCallbacks.h"
#include "wcl/WcNames.h"
#include "wcl/WcOwned.h"
#include "wcl/WcSetValue.h"
#include "wcl/WcWarnings.h"

#include <cstring>
#include <string>
#include <string_view>
#include <vector>

namespace {

constexpr wcl::SharedMessage<2> kDestNotFound{"destNotFound",
                                              "Wcl Warning: %s(%s) - Widget not found."};
constexpr wcl::Message<2> kNoSuchList{
    "WcOnceOnly", "noSuchCallbackList",
    "Wcl Warning: Widget %s does not have callback list named %s."};
constexpr wcl::Message<0> kOnceOnlyUsage{
    "WcOnceOnly", "usage",
    "Wcl Usage: WcOnceOnly( name, callback(clientData) [callback(clientData) ...] )\n"
    "\tname - callback name (i.e., activateCallback, destroyCallback, etc)\n"
    "\t\tCallbacks are each invoked with the client data,\n"
    "\t\tthen this callback is removed."};
constexpr wcl::Message<1> kTranslationsNotFound{
    "WcTranslations", "notFound", "Wcl Warning: WcTranslations(%s ... ) - Widget not found."};
constexpr wcl::SharedMessage<2> kMustBeWidget{"mustBeWidget",
                                              "Wcl Warning: %s(%s) - Must be a Widget"};
constexpr wcl::Message<0> kDynamicAction{
    "WcDynamicAction", "notSupported",
    "Wcl Warning: WcDynamicAction() requires dynamic linking via dlopen() and dlsym()"};
constexpr wcl::Message<0> kDynamicCallback{
    "WcDynamicCallback", "notSupported",
    "Wcl Warning: WcDynamicCallback() requires dynamic linking via dlopen() and dlsym()"};

const char* Text(XtPointer p) { return p ? static_cast<const char*>(p) : ""; }

// The entries currently on a widget's callback list, copied: the toolkit's
// own list changes as entries are removed.
std::vector<XtCallbackRec> CurrentCallbacks(Widget w, const char* listName) {
  std::vector<XtCallbackRec> out;
  if (XtHasCallbacks(w, const_cast<String>(listName)) != XtCallbackHasSome) return out;
  XtCallbackList list = nullptr;
  XtVaGetValues(w, listName, &list, nullptr);
  for (; list && list->callback; ++list) out.push_back(*list);
  return out;
}

// Two entries made from callback text are equal when they would bind to the
// same procedure with the same argument: same library, class and name (a
// plain name ignoring letter case, as its lookup does) and equal argument.
bool SameElement(const WcCallbackRec& a, const WcCallbackRec& b) {
  if (a.libQuark != b.libQuark || a.classQuark != b.classQuark) return false;
  const bool sameName =
      a.classQuark ? a.nameQuark == b.nameQuark : a.lowerNameQuark == b.lowerNameQuark;
  return sameName && std::strcmp(a.args ? a.args : "", b.args ? b.args : "") == 0;
}

void RemoveMatching(Widget target, const char* listName, XtCallbackList removals) {
  std::vector<XtCallbackRec> present = CurrentCallbacks(target, listName);
  for (XtCallbackList r = removals; r->callback; ++r) {
    const auto* wanted = static_cast<const WcCallbackRec*>(r->closure);
    for (XtCallbackRec& p : present) {
      if (p.callback != WcCallbackTrampoline || !p.closure) continue;
      if (!SameElement(*static_cast<const WcCallbackRec*>(p.closure), *wanted)) continue;
      XtRemoveCallback(target, const_cast<String>(listName), p.callback, p.closure);
      p.callback = nullptr;  // removed: cannot match twice
      break;
    }
  }
}

void ChangeCallbacks(Widget w, XtPointer text, const char* func, bool add) {
  std::string_view rest(Text(text));
  const std::string targetName(wcl::NextName(rest));
  Widget target = WcResolveWidgetName(w, targetName.c_str());
  if (!target) {
    wcl::Warn(w, kDestNotFound.For(func), func, targetName.c_str());
    return;
  }
  const std::string listName(wcl::NextName(rest));
  wcl::XtOwned<XtCallbackRec> list(WcStringToCallbackList(w, std::string(rest).c_str()));
  if (!list) return;
  if (add) {
    XtAddCallbacks(target, const_cast<String>(listName.c_str()), list.get());
  } else {
    RemoveMatching(target, listName.c_str(), list.get());
  }
}

}  // namespace

void WcTraceCB(Widget w, XtPointer text, XtPointer) {
  const std::string name = wcl::FullName(w);
  WcWarningPrinter("Wcl Trace for ", name.c_str(), ": ", Text(text), nullptr);
}

void WcAddCallbacksCB(Widget w, XtPointer text, XtPointer) {
  ChangeCallbacks(w, text, "WcAddCallbacks", true);
}

void WcRemoveCallbacksCB(Widget w, XtPointer text, XtPointer) {
  ChangeCallbacks(w, text, "WcRemoveCallbacks", false);
}

void WcOnceOnlyCB(Widget w, XtPointer text, XtPointer callData) {
  std::string_view rest(Text(text));
  const std::string listName(wcl::NextName(rest));
  wcl::XtOwned<XtCallbackRec> list(WcStringToCallbackList(w, std::string(rest).c_str()));
  if (!list) {
    const std::string name = wcl::FullName(w);
    wcl::Warn(w, kNoSuchList, name.c_str(), listName.c_str());
    wcl::Warn(w, kOnceOnlyUsage);
    return;
  }
  // An entry may destroy w; once it is freed the rest would be handed
  // freed memory, and there is no list left to remove this entry from.
  const wcl::WidgetWatch watch(w);
  for (XtCallbackList e = list.get(); e->callback && watch.Present(); ++e)
    e->callback(w, e->closure, callData);
  if (!watch.Present()) return;

  // Remove this entry from the list it fires on. Added as a procedure it is
  // removed here; added from text, the entry invoking it removes itself once
  // it returns. Run any other way (as an action, or from wcCallback) it is
  // on no such list, and nothing is marked for removal.
  for (const XtCallbackRec& e : CurrentCallbacks(w, listName.c_str())) {
    if (e.callback == WcOnceOnlyCB && e.closure == text) {
      XtRemoveCallback(w, const_cast<String>(listName.c_str()), WcOnceOnlyCB, text);
      return;
    }
    if (e.callback == WcCallbackTrampoline && e.closure) {
      const auto* rec = static_cast<const WcCallbackRec*>(e.closure);
      if (rec->proc == WcOnceOnlyCB && rec->widget == w && rec->args == text) {
        WcSetOnceOnlyListName(listName.c_str());
        return;
      }
    }
  }
}

void WcTranslationsCB(Widget w, XtPointer text, XtPointer) {
  std::string_view rest(Text(text));
  const std::string targetName(wcl::NextName(rest));
  Widget target = WcResolveWidgetName(w, targetName.c_str());
  if (!target) {
    wcl::Warn(w, kTranslationsNotFound, targetName.c_str());
    return;
  }
  // Only widgets have translations; the toolkit would write past a gadget.
  if (!XtIsWidget(target)) {
    wcl::Warn(w, kMustBeWidget.For("WcTranslations"), "WcTranslations", targetName.c_str());
    return;
  }
  WcSetTranslations(target, std::string(rest).c_str());
}

void WcDynamicActionCB(Widget w, XtPointer, XtPointer) { wcl::Warn(w, kDynamicAction); }

void WcDynamicCallbackCB(Widget w, XtPointer, XtPointer) { wcl::Warn(w, kDynamicCallback); }
