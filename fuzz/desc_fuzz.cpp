// desc_fuzz.cpp: whole resource descriptions, built on a real X server.
//
// An input is decoded into a resource description (DescribeFromBytes in
// DescDecoder.h): a tree of named widgets of every registered class and
// constructor, creation, callback and layout resources bound tightly,
// loosely or wrongly, callback lists from every standard operation, and
// resource and template files for the description to load. An input that
// starts with '!' is a description written out (see DescDecoder.h), so the
// seeds are real descriptions.
//
// Each input gets a fresh screen database and a fresh root shell on the
// one display (the layer's registrations are per application context and
// stay; what a description adds, files, templates, roots and widgets, is
// new per input: its files live in a folder of their own). The harness
// runs the description's part of the start-up, builds the tree, realizes
// it, processes events, invokes the callback lists the description
// attached and the actions it names (inside an event's dispatch, as a
// button or a translation would), then destroys every root it made.
//
// A finding: a sanitizer report, a fatal toolkit error (the layer must
// never hand Xt what it refuses), an X protocol or connection error, or an
// input running over the fuzzer's -timeout. Needs DISPLAY (scripts/fuzz.sh
// starts a private Xvfb for it).
#include <X11/IntrinsicP.h>
#include <X11/ShellP.h>
#include <X11/StringDefs.h>
#include <X11/Xatom.h>
#include <sanitizer/lsan_interface.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <functional>
#include <string>
#include <unordered_set>
#include <vector>

// The toolkit libraries are not instrumented: a freed widget they read
// still holds its old fields and nothing shows. Freed memory is filled
// instead, so such a read meets pointers that fault.
#define XK_FUZZ_ASAN_OPTIONS ":max_free_fill_size=8192"
#include "fuzz/DescDecoder.h"
#include "fuzz/FuzzSupport.h"
#include "wcl/WcCallbacks.h"
#include "wcl/WcCreate.h"
#include "wcl/WcLibraryResources.h"
#include "wcl/WcNames.h"
#include "wcl/WcRegistry.h"
#include "wcl/WcResFiles.h"
#include "wcl/WcTemplates.h"
#include "xmp/Xmp.h"

// The toolkit keeps caches, class records and converted resources for the
// life of the process (as fuzz/lsan.supp says for the tests); the layer's
// own leaks still show.
extern "C" const char* __lsan_default_suppressions() {
  return "leak:libXm.so\nleak:libXt.so\nleak:libX11.so\nleak:libXext.so\nleak:libXft.so\n"
         "leak:libXrender.so\nleak:libfontconfig.so\nleak:libfreetype.so\nleak:libXpm.so\n";
}

namespace {

XtAppContext g_app = nullptr;
Display* g_dpy = nullptr;
Widget g_base = nullptr;  // the root the layer's start-up ran on; never destroyed
std::string g_folder;     // per-process scratch folder; one sub-folder per input
unsigned long g_inputs = 0;

// --- What counts as a finding -------------------------------------------

[[noreturn]] void Fatal(const char* what, const char* detail) {
  std::fprintf(stderr, "desc_fuzz: %s: %s\n", what, detail ? detail : "");
  std::abort();
}

__attribute__((noreturn)) void XtFatal(String name, String type, String cls, String text, String* params, Cardinal* n) {
  char buf[1024];
  std::snprintf(buf, sizeof buf, "%s %s %s: ", name ? name : "", type ? type : "", cls ? cls : "");
  std::string line = buf;
  line += text ? text : "";
  for (Cardinal i = 0; n && params && i < *n; ++i) line += std::string(" [") + (params[i] ? params[i] : "") + "]";
  Fatal("fatal toolkit error", line.c_str());
}

__attribute__((noreturn)) void XtFatalPlain(String text) { Fatal("fatal toolkit error", text); }

// Toolkit warnings are what bad descriptions give; their texts are read so
// a bad pointer among them still shows.
void XtWarningQuiet(String, String, String, String text, String* params, Cardinal* n) {
  xk::fuzz::QuietPrinter(text ? text : "", nullptr);
  for (Cardinal i = 0; n && params && i < *n; ++i) xk::fuzz::QuietPrinter(params[i] ? params[i] : "", nullptr);
}
void XtWarningQuietPlain(String text) { xk::fuzz::QuietPrinter(text ? text : "", nullptr); }

int ProtocolError(Display* dpy, XErrorEvent* e) {
  char text[256];
  XGetErrorText(dpy, e->error_code, text, sizeof text);
  char detail[512];
  std::snprintf(detail, sizeof detail, "%s (request %d.%d, resource 0x%lx)", text, e->request_code,
                e->minor_code, e->resourceid);
  Fatal("X protocol error", detail);
}

int ConnectionError(Display*) { Fatal("X connection lost", ""); }

// --- Liveness of the objects the harness walks ---------------------------

std::unordered_set<Widget> g_alive;

void Forget(Widget w, XtPointer, XtPointer) { g_alive.erase(w); }

// From here on g_alive says whether w still exists.
void Track(Widget w) {
  if (g_alive.insert(w).second) XtAddCallback(w, XtNdestroyCallback, Forget, nullptr);
}

void Collect(Widget w, std::vector<Widget>& out, std::unordered_set<Widget>& seen) {
  if (!w || w->core.being_destroyed || !seen.insert(w).second) return;
  Track(w);
  out.push_back(w);
  if (XtIsWidget(w))
    for (Cardinal i = 0; i < w->core.num_popups; ++i) Collect(w->core.popup_list[i], out, seen);
  if (XtIsComposite(w)) {
    auto* c = reinterpret_cast<CompositeWidget>(w);
    // The list may change as children are collected (never here, but the
    // copy costs nothing and keeps the walk independent of it).
    std::vector<Widget> kids(c->composite.children, c->composite.children + c->composite.num_children);
    for (Widget k : kids) Collect(k, out, seen);
  }
}

// Every object below every root this input made.
std::vector<Widget> AllObjects() {
  std::vector<Widget> out;
  std::unordered_set<Widget> seen;
  for (Cardinal i = 0; i < WcRootCount(); ++i)
    if (Widget r = WcRootAt(i); r && r != g_base) Collect(r, out, seen);
  return out;
}

// --- Running the description ---------------------------------------------

// A few rounds of whatever events and timers are due, bounded.
void EventRounds(int rounds) {
  for (int r = 0; r < rounds; ++r) {
    XSync(g_dpy, False);
    for (int n = 0; n < 200 && XtAppPending(g_app); ++n) XtAppProcessEvent(g_app, XtIMAll);
  }
}

// Calls the lists made from description text: a list that also holds the
// toolkit's own entries is left alone (those expect the widget's real call
// data). Call data is a zeroed block as large as any Motif callback record.
bool g_fromTimer = false;  // this input's callbacks run from a timer

void InvokeAttachedCallbacks(const std::vector<Widget>& objects) {
  alignas(16) static unsigned char callData[512];
  int budget = 300;
  for (Widget w : objects) {
    if (!g_alive.count(w) || w->core.being_destroyed) continue;
    XtResourceList res = nullptr;
    Cardinal count = 0;
    XtGetResourceList(XtClass(w), &res, &count);
    std::vector<std::string> lists;
    for (Cardinal i = 0; i < count; ++i)
      if (std::strcmp(res[i].resource_type, XtRCallback) == 0 &&
          std::strcmp(res[i].resource_name, XtNdestroyCallback) != 0)
        lists.emplace_back(res[i].resource_name);
    XtFree(reinterpret_cast<char*>(res));
    for (const std::string& name : lists) {
      if (budget <= 0) return;
      if (!g_alive.count(w) || w->core.being_destroyed) break;
      String n = const_cast<String>(name.c_str());
      if (XtHasCallbacks(w, n) != XtCallbackHasSome) continue;
      XtCallbackList list = nullptr;
      XtVaGetValues(w, n, &list, nullptr);
      bool ours = list && list->callback;
      for (XtCallbackList e = list; e && e->callback; ++e) ours = ours && e->callback == WcCallbackTrampoline;
      if (!ours) continue;
      std::memset(callData, 0, sizeof callData);
      --budget;
      if (!g_fromTimer) {
        XtCallCallbacks(w, n, callData);
        continue;
      }
      // Outside dispatch a list that destroys its widget frees it at once,
      // and XtCallCallbacks reads the widget again after the list: the
      // entries are called one by one while the widget lives, which is
      // what the layer itself must survive.
      std::vector<XtCallbackRec> entries;
      for (XtCallbackList e = list; e->callback; ++e) entries.push_back(*e);
      for (const XtCallbackRec& e : entries)
        if (g_alive.count(w)) e.callback(w, e.closure, callData);
    }
  }
}

// Runs `work` as the toolkit runs a button's callbacks or a translation's
// actions: inside the dispatch of an event (so a widget destroyed there is
// freed when the event is done, as in the program). The event is a client
// message to the base root, delivered to a handler that does the work.
std::function<void()> g_dispatched;

void Dispatched(Widget, XtPointer, XEvent*, Boolean*) {
  if (g_dispatched) g_dispatched();
}

void InDispatch(std::function<void()> work) {
  g_dispatched = std::move(work);
  XEvent ev{};
  ev.xclient.type = ClientMessage;
  ev.xclient.send_event = True;
  ev.xclient.display = g_dpy;
  ev.xclient.window = XtWindow(g_base);
  ev.xclient.message_type = XA_STRING;
  ev.xclient.format = 32;
  XtDispatchEvent(&ev);
  g_dispatched = nullptr;
}

// Runs `work` from a timer, as the toolkit runs a repeating scroll bar's or
// arrow's callbacks: outside any event's dispatch.
void FromTimer(std::function<void()> work) {
  static std::function<void()> pending;
  pending = std::move(work);
  XtAppAddTimeOut(g_app, 0, [](XtPointer, XtIntervalId*) { pending(); }, nullptr);
  XtAppProcessEvent(g_app, XtIMTimer);
  pending = nullptr;
}

void InvokeActions(Widget root, const std::vector<xk::fuzz::ActionCall>& calls) {
  for (const xk::fuzz::ActionCall& call : calls) {
    Widget w = WcResolveWidgetName(root, call.target.c_str());
    if (!w || !g_alive.count(w) || w->core.being_destroyed || !XtIsWidget(w)) continue;
    std::vector<String> params;
    for (const std::string& p : call.params) params.push_back(const_cast<String>(p.c_str()));
    XtCallActionProc(w, call.action.c_str(), nullptr, params.data(), static_cast<Cardinal>(params.size()));
  }
}

// The description's part of the layer's start-up: the files its library
// resources name, the templates. (The registrations were made once.)
void DescriptionStartUp(Widget root) {
  using wcl::LibraryResourceGroup;
  const WcLibraryResources& res = *WcGetLibraryResources();
  wcl::FetchLibraryResources(root, LibraryResourceGroup::InitFile);
  std::string_view init = res.wclInitResFile ? res.wclInitResFile : "";
  std::string first(wcl::NextName(init));
  if (!first.empty()) WcLoadResourceFileOnce(root, first.c_str());
  for (int pass = 0; pass < 64; ++pass) {
    wcl::FetchLibraryResources(root, LibraryResourceGroup::ResFiles);
    bool merged = false;
    for (const std::string& name : wcl::SplitNames(res.wclResFiles ? res.wclResFiles : ""))
      merged = WcLoadResourceFileOnce(root, name.c_str()) || merged;
    if (!merged) break;
  }
  wcl::FetchLibraryResources(root, LibraryResourceGroup::Others);
  WcLoadTemplateFiles(root, res.wclTemplateFiles, res.wclTraceTemplateDef);
}

void ReplaceAll(std::string& text, const std::string& from, const std::string& to) {
  for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
    text.replace(at, from.size(), to);
}

void Ignore(Widget, XtPointer, XtPointer) {}
void IgnoreAction(Widget, XEvent*, String*, Cardinal*) {}

void Setup() {
  // The harness's process must survive its descriptions: the operations
  // that end it or start others do nothing here.
  static const char* const callbacks[] = {"WcExit", "WcExitCB", "WcSpawn", "WcSpawnCB", "WcSystem", "WcSystemCB"};
  for (const char* name : callbacks) WcRegisterCallback(g_app, name, Ignore, nullptr);
  static XtActionsRec actions[] = {
      {const_cast<String>("WcExit"), IgnoreAction},  {const_cast<String>("WcExitACT"), IgnoreAction},
      {const_cast<String>("WcSpawn"), IgnoreAction}, {const_cast<String>("WcSpawnACT"), IgnoreAction},
      {const_cast<String>("WcSystem"), IgnoreAction}, {const_cast<String>("WcSystemACT"), IgnoreAction},
  };
  XtAppAddActions(g_app, actions, XtNumber(actions));
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  XtToolkitInitialize();
  g_app = XtCreateApplicationContext();
  XtAppSetErrorMsgHandler(g_app, XtFatal);
  XtAppSetErrorHandler(g_app, XtFatalPlain);
  XtAppSetWarningMsgHandler(g_app, XtWarningQuiet);
  XtAppSetWarningHandler(g_app, XtWarningQuietPlain);
  int xargc = 1;
  char name[] = "descfuzz";
  char* xargv[] = {name, nullptr};
  g_dpy = XtOpenDisplay(g_app, nullptr, name, "Descfuzz", nullptr, 0, &xargc, xargv);
  if (!g_dpy) {
    std::fprintf(stderr, "desc_fuzz: cannot open the display (DISPLAY=%s)\n", std::getenv("DISPLAY"));
    std::exit(2);
  }
  XSetErrorHandler(ProtocolError);
  XSetIOErrorHandler(ConnectionError);
  xk::fuzz::Quiet();
  XrmSetDatabase(g_dpy, XrmGetStringDatabase(""));
  Arg args[] = {{const_cast<String>(XtNwidth), 1}, {const_cast<String>(XtNheight), 1}};
  g_base = XtAppCreateShell("descfuzz", "Descfuzz", applicationShellWidgetClass, g_dpy, args, 2);
  XtAddEventHandler(g_base, NoEventMask, True, Dispatched, nullptr);
  XtRealizeWidget(g_base);
  // Set-up made once is not an input's leak (replacing the operations that
  // end the process drops their first registrations).
  __lsan_disable();
  XmpRegisterAll(g_app);
  WcInitialize(g_base);
  Setup();
  __lsan_enable();

  char tmpl[] = "/tmp/desc_fuzz.XXXXXX";
  if (!mkdtemp(tmpl)) std::exit(2);
  g_folder = tmpl;
  // Each input empties its own sub-folder; the folder goes with the process.
  std::atexit([] { rmdir(g_folder.c_str()); });
  (void)argc;
  (void)argv;
  return 0;
}

namespace {

// With DESC_FUZZ_PRINT set, each input's description is written to
// standard error in the written-out form, to turn a finding into a test.
void Print(const xk::fuzz::Description& d) {
  std::string out = "root " + d.rootName + " " + d.rootClass + "\n" + (d.fromTimer ? "timer\n" : "") + d.text;
  for (const xk::fuzz::File& f : d.files) out += "file " + f.name + "\n" + f.text + "end\n";
  for (const xk::fuzz::ActionCall& a : d.actions) {
    out += "action " + a.target + " " + a.action;
    for (const std::string& p : a.params) out += " " + p;
    out += "\n";
  }
  std::fprintf(stderr, "---- description\n%s----\n", out.c_str());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  xk::fuzz::Description d = xk::fuzz::Decode(data, size);
  xk::fuzz::Quiet();
  static const bool print = std::getenv("DESC_FUZZ_PRINT") != nullptr;
  if (print) Print(d);

  // Files of this input in a folder of its own: the layer loads a file
  // name once per screen, so names must not repeat between inputs.
  const std::string folder = g_folder + "/" + std::to_string(++g_inputs);
  mkdir(folder.c_str(), 0700);
  const std::string display = DisplayString(g_dpy);
  auto fill = [&](std::string text) {
    ReplaceAll(text, "@D", folder);
    ReplaceAll(text, "@X", display);
    return text;
  };
  std::vector<std::string> written;
  for (const xk::fuzz::File& f : d.files) {
    std::string path = folder + "/" + f.name;
    std::ofstream(path) << fill(f.text);
    written.push_back(path);
  }

  XrmDatabase old = XrmGetDatabase(g_dpy);
  XrmSetDatabase(g_dpy, XrmGetStringDatabase(fill(d.text).c_str()));
  XrmDestroyDatabase(old);

  // The root gets a size of its own: an empty root is the harness's
  // choice, not the description's.
  Arg args[] = {{const_cast<String>(XtNwidth), 40}, {const_cast<String>(XtNheight), 30}};
  Widget root = XtAppCreateShell(d.rootName.c_str(), d.rootClass.c_str(), applicationShellWidgetClass,
                                 g_dpy, args, 2);
  Track(root);
  WcRootOf(root);
  DescriptionStartUp(root);
  WcWidgetCreation(root);
  if (g_alive.count(root) && !root->core.being_destroyed) XtRealizeWidget(root);
  EventRounds(2);

  std::vector<Widget> objects = AllObjects();
  g_fromTimer = d.fromTimer;
  auto invoke = [&] { InvokeAttachedCallbacks(objects); };
  if (d.fromTimer) FromTimer(invoke); else InDispatch(invoke);
  EventRounds(1);
  if (g_alive.count(root)) InDispatch([&] { InvokeActions(root, d.actions); });
  EventRounds(1);

  // Everything this input made goes: its roots (and with them every
  // pop-up and child), then displays WcCreateRoot opened. Destroy
  // callbacks may make new roots meanwhile: a few rounds take those too.
  if (g_alive.count(root) && !root->core.being_destroyed) XtDestroyWidget(root);
  for (int round = 0; round < 8 && WcRootCount() > 1; ++round) {
    for (Cardinal i = WcRootCount(); i-- > 0;)
      if (Widget r = WcRootAt(i); r && r != g_base && !r->core.being_destroyed) XtDestroyWidget(r);
    EventRounds(1);
  }
  Display** displays = nullptr;
  Cardinal numDisplays = 0;
  XtGetDisplays(g_app, &displays, &numDisplays);
  std::vector<Display*> others;
  for (Cardinal i = 0; i < numDisplays; ++i)
    if (displays[i] != g_dpy) others.push_back(displays[i]);
  XtFree(reinterpret_cast<char*>(displays));
  // A display keeps the roots a destroy chain left on it (rare).
  for (Cardinal i = 0; i < WcRootCount(); ++i)
    if (Widget r = WcRootAt(i)) std::erase(others, XtDisplay(r));
  for (Display* other : others) XtCloseDisplay(other);
  g_alive.clear();

  for (const std::string& path : written) unlink(path.c_str());
  rmdir(folder.c_str());
  return 0;
}
