// WcCallbacks.cpp: converting callback strings into toolkit callback lists,
// binding each entry by name when it fires, and the bridges between
// callbacks and actions.
#include "wcl/WcCallbacks.h"

#include "wcl/WcCallbackParse.h"
#include "wcl/WcLibraryResources.h"
#include "wcl/WcNames.h"
#include "wcl/WcOwned.h"
#include "wcl/WcRegistry.h"
#include "wcl/WcWarnings.h"

#include <string>

namespace {

constexpr wcl::Message<3> kCantFindObject{
    "WcLateBinder", "cantFindObject",
    "Wcl Warning: WcLateBinder trying to invoke `%s'\n\tno object of class `%s'\n\t"
    "found from widget %s"};

constexpr wcl::Message<1> kUndefinedCallback{"WcStringToCallbackList", "undefinedCallback",
                                             "Wcl Warning: Callback not registered: %s"};

constexpr wcl::Message<1> kNotSupported{
    "WcLateBinder", "notSupported",
    "Wcl Warning: WcLateBinder cannot invoke `%s'\n\t- this system does not have "
    "dlopen() and dlsym()."};

constexpr wcl::Message<1> kInvoked{"WcUndefinedCallback", "invoked",
                                   "Wcl Warning: Undefined Callback Invoked: %s"};

constexpr wcl::Message<1> kUnbalQuote{"WcInvokeAction", "unbalQuote",
                                      "Wcl Warning: SomeCallback(%s) - unbalanced quotes."};

XtCallbackProc undefinedCallback = WcUndefinedCallback;
WcFindObjectProc findObject = WcFindObject;

// Set by WcOnceOnly and consumed by the entry invocation that follows it.
std::string& OnceOnlyListName() {
  static std::string name;
  return name;
}

// Permanent shared copy of a text: the quark table already interns.
String Intern(std::string_view text) {
  if (text.empty()) return const_cast<String>("");
  return XrmQuarkToString(XrmStringToQuark(std::string(text).c_str()));
}

XrmQuark QuarkOf(std::string_view text) {
  return text.empty() ? NULLQUARK : XrmStringToQuark(std::string(text).c_str());
}

std::string_view Text(XrmQuark q) { return q ? XrmQuarkToString(q) : ""; }

std::string CallbackText(const WcCallbackRec* rec) {
  return wcl::CallbackText(Text(rec->libQuark), Text(rec->classQuark), Text(rec->nameQuark),
                           rec->args);
}

WcCallbackRec* NewRecord(XtAppContext app, const WcCallbackSpec& spec) {
  auto* rec = reinterpret_cast<WcCallbackRec*>(XtCalloc(1, sizeof(WcCallbackRec)));
  rec->app = app;
  rec->libQuark = QuarkOf(wcl::Part(spec.libStart, spec.libEnd));
  rec->classQuark = QuarkOf(wcl::Part(spec.classStart, spec.classEnd));
  std::string name(wcl::Part(spec.nameStart, spec.nameEnd));
  rec->nameQuark = XrmStringToQuark(name.c_str());
  rec->lowerNameQuark = WcNameToQuarkLower(name.c_str());
  rec->args = Intern(wcl::Part(spec.argStart, spec.argEnd));
  return rec;
}

void CallMethod(Widget w, WcCallbackRec* rec, XtPointer callData) {
  rec->object = findObject(w, rec->classQuark);
  if (!rec->object && WcGetLibraryResources()->wclVerboseWarnings) {
    std::string text = CallbackText(rec);
    std::string full = wcl::FullName(w);
    wcl::Warn(w, kCantFindObject, text.c_str(), XrmQuarkToString(rec->classQuark), full.c_str());
  }
  WcMethodArgsRec args{rec->object, rec->clientData, rec->args};
  rec->proc(w, &args, callData);
}

}  // namespace

XtCallbackList WcStringToCallbackList(Widget w, const char* text) {
  wcl::CallbackParse parsed = wcl::ParseCallbackString(text);
  if (parsed.error) {
    XtStringConversionWarning(text, parsed.error);
    return nullptr;
  }
  if (parsed.specs.empty()) return nullptr;

  XtAppContext app = w ? XtWidgetToApplicationContext(w) : nullptr;
  bool verbose = WcGetLibraryResources()->wclVerboseWarnings;
  auto list = reinterpret_cast<XtCallbackList>(
      XtMalloc((parsed.specs.size() + 1) * sizeof(XtCallbackRec)));
  for (size_t i = 0; i < parsed.specs.size(); ++i) {
    const WcCallbackSpec& spec = parsed.specs[i];
    WcCallbackRec* rec = NewRecord(app, spec);
    if (verbose && !rec->libQuark && !rec->classQuark && !WcFindCallback(app, rec->lowerNameQuark)) {
      std::string name(wcl::Part(spec.nameStart, spec.nameEnd));
      wcl::Warn(w, kUndefinedCallback, name.c_str());
    }
    list[i].callback = WcCallbackTrampoline;
    list[i].closure = rec;
  }
  list[parsed.specs.size()] = XtCallbackRec{nullptr, nullptr};
  return list;
}

void WcCallbackTrampoline(Widget w, XtPointer record, XtPointer callData) {
  auto* rec = static_cast<WcCallbackRec*>(record);
  rec->widget = w;
  rec->callData = callData;
  if (rec->libQuark) {
    std::string text = CallbackText(rec);
    wcl::Warn(w, kNotSupported, text.c_str());
  } else {
    WcCallbackPair pair = rec->classQuark ? WcFindMethod(rec->app, rec->classQuark, rec->nameQuark)
                                          : WcFindCallback(rec->app, rec->lowerNameQuark);
    if (!pair) {
      std::string text = CallbackText(rec);
      undefinedCallback(w, const_cast<char*>(text.c_str()), nullptr);
    } else {
      rec->proc = pair->callback;
      rec->clientData = pair->clientData;
      if (rec->classQuark) {
        CallMethod(w, rec, callData);
      } else {
        XtPointer client = *rec->args || !rec->clientData ? rec->args : rec->clientData;
        rec->proc(w, client, callData);
      }
    }
  }
  std::string& once = OnceOnlyListName();
  if (!once.empty()) {
    std::string listName;
    listName.swap(once);
    XtRemoveCallback(w, listName.c_str(), WcCallbackTrampoline, rec);
  }
}

void WcUndefinedCallback(Widget w, XtPointer callbackText, XtPointer) {
  wcl::Warn(w, kInvoked, static_cast<const char*>(callbackText));
}

XtPointer WcFindObject(Widget w, XrmQuark classQuark) {
  for (; w; w = XtParent(w)) {
    if (XtPointer object = WcFindAttachedObject(w, classQuark)) return object;
  }
  return nullptr;
}

XtCallbackProc WcSetUndefinedCallback(XtCallbackProc proc) {
  XtCallbackProc old = undefinedCallback;
  undefinedCallback = proc ? proc : WcUndefinedCallback;
  return old;
}

WcFindObjectProc WcSetFindObject(WcFindObjectProc proc) {
  WcFindObjectProc old = findObject;
  findObject = proc ? proc : WcFindObject;
  return old;
}

void WcSetOnceOnlyListName(const char* callbackListName) {
  OnceOnlyListName() = callbackListName ? callbackListName : "";
}

void WcSplitParams(Widget w, const char* text, String** params, Cardinal* numParams) {
  wcl::SplitResult split = wcl::SplitParams(text ? text : "");
  if (split.unbalancedQuote) {
    wcl::Warn(w, kUnbalQuote, text);
  }
  *numParams = static_cast<Cardinal>(split.params.size());
  *params = nullptr;
  if (split.params.empty()) return;
  *params = reinterpret_cast<String*>(XtCalloc(*numParams, sizeof(String)));
  for (Cardinal i = 0; i < *numParams; ++i) {
    if (split.params[i]) (*params)[i] = XtNewString(split.params[i]->c_str());
  }
}

void WcFreeParams(String* params, Cardinal numParams) {
  if (!params) return;
  for (Cardinal i = 0; i < numParams; ++i) XtFree(params[i]);
  XtFree(reinterpret_cast<char*>(params));
}

String WcJoinParams(String* params, Cardinal numParams) {
  std::vector<const char*> all(params, params + numParams);
  return XtNewString(wcl::JoinParams(all).c_str());
}

void WcInvokeAction(XtActionProc action, Widget w, const char* text) {
  String* params = nullptr;
  Cardinal count = 0;
  WcSplitParams(w, text, &params, &count);
  Cardinal passed = count;  // the action may change its copy
  action(w, nullptr, params, &passed);
  WcFreeParams(params, count);
}

void WcInvokeCallback(XtCallbackProc callback, Widget w, String* params, Cardinal* numParams) {
  Cardinal n = numParams ? *numParams : 0;
  if (n == 0) {
    callback(w, nullptr, nullptr);
  } else if (n == 1) {
    callback(w, params[0], nullptr);
  } else {
    wcl::XtOwned<char> joined(WcJoinParams(params, n));
    callback(w, joined.get(), nullptr);
  }
}
