// creation_bench: building a tree of Motif labels and buttons from the
// resource database with WcWidgetCreation, against creating the same tree
// directly with XtCreateWidget from the same database, and against Motif's
// compiled-UI fetch (MrmFetchWidget) of a tree of the same shape. Each
// realizes the shell and waits for the server (to first paint); each
// manages a parent's children in one call. Locale: C.
//
//   scripts/with-xvfb.sh build/bench/creation_bench --benchmark_repetitions=9
//       --benchmark_enable_random_interleaving=true
//       --benchmark_report_aggregates_only=true     (one line)
//
// For instruction counts of the build alone (no realize), run under
//   valgrind --tool=callgrind --toggle-collect='*CreateDirect*'
//       --toggle-collect=WcWidgetCreation   with --benchmark_filter=...
// Both variants build the tree once untimed first (class initialisation,
// fonts, conversion caches).
//
// Counters: "requests", the X requests one build sends before the
// realize; "created", the widgets one build made.
#include <benchmark/benchmark.h>

#include <X11/IntrinsicP.h>
#include <X11/CompositeP.h>
#include <X11/Shell.h>
#include <Xm/Label.h>
#include <Xm/PushB.h>
#include <Xm/RowColumn.h>
#include <Mrm/MrmPublic.h>
#include <dlfcn.h>

#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "wcl/WcCreate.h"

namespace {

struct Node {
  int parent;  // index into the tree, -1 for children of the shell
  std::string name;
  WidgetClass widgetClass;
};

struct Session {
  XtAppContext app = nullptr;
  Display* dpy = nullptr;
  Widget top = nullptr;  // keeps the context initialised for the layer
};

Session& Get() {
  static Session s = [] {
    std::setlocale(LC_ALL, "C");
    Session s;
    XtToolkitInitialize();
    s.app = XtCreateApplicationContext();
    int argc = 1;
    static char name[] = "benchtop";
    static char* argv[] = {name, nullptr};
    s.dpy = XtOpenDisplay(s.app, nullptr, "benchtop", "XkBench", nullptr, 0, &argc, argv);
    if (!s.dpy) {
      std::fprintf(stderr, "creation_bench: cannot open the display\n");
      std::exit(1);
    }
    s.top = XtAppCreateShell("benchtop", "XkBench", applicationShellWidgetClass, s.dpy, nullptr, 0);
    WcRegisterClass(s.app, "XmLabel", xmLabelWidgetClass);
    WcRegisterClass(s.app, "XmPushButton", xmPushButtonWidgetClass);
    WcRegisterClass(s.app, "XmRowColumn", xmRowColumnWidgetClass);
    WcInitialize(s.top);
    return s;
  }();
  return s;
}

// A tree of about `count` widgets under shell "tree<count>": one main row
// column, sections of ten groups, each group five labels and five buttons.
// The description goes into the screen database once; the node list is
// what the direct creation follows.
std::vector<Node> Describe(int count, const std::string& shell) {
  std::vector<Node> nodes;
  XrmDatabase db = XtScreenDatabase(DefaultScreenOfDisplay(Get().dpy));
  auto put = [&](const std::string& line) { XrmPutLineResource(&db, line.c_str()); };
  put(shell + ".wcChildren: main");
  put(shell + "*main.wcCreate: XmRowColumn");
  put(shell + "*main.numColumns: 4");
  put(shell + "*main.packing: PACK_COLUMN");
  put(shell + "*XmRowColumn.orientation: horizontal");
  for (int i = 0; i < 5; ++i) {
    put(shell + "*lab" + std::to_string(i) + ".wcCreate: XmLabel");
    put(shell + "*btn" + std::to_string(i) + ".wcCreate: XmPushButton");
  }
  nodes.push_back({-1, "main", xmRowColumnWidgetClass});
  std::string sections;
  for (int s = 0; static_cast<int>(nodes.size()) < count; ++s) {
    std::string section = "sec" + std::to_string(s);
    sections += section + " ";
    int sectionIndex = static_cast<int>(nodes.size());
    nodes.push_back({0, section, xmRowColumnWidgetClass});
    put(shell + "*" + section + ".wcCreate: XmRowColumn");
    std::string groups;
    for (int g = 0; g < 10 && static_cast<int>(nodes.size()) < count; ++g) {
      std::string group = "grp" + std::to_string(g);
      groups += group + " ";
      int groupIndex = static_cast<int>(nodes.size());
      nodes.push_back({sectionIndex, group, xmRowColumnWidgetClass});
      put(shell + "*" + section + "." + group + ".wcCreate: XmRowColumn");
      put(shell + "*" + section + "." + group +
          ".wcChildren: lab0 btn0 lab1 btn1 lab2 btn2 lab3 btn3 lab4 btn4");
      for (int k = 0; k < 5; ++k) {
        nodes.push_back({groupIndex, "lab" + std::to_string(k), xmLabelWidgetClass});
        nodes.push_back({groupIndex, "btn" + std::to_string(k), xmPushButtonWidgetClass});
      }
    }
    put(shell + "*" + section + ".wcChildren: " + groups);
  }
  put(shell + "*main.wcChildren: " + sections);
  return nodes;
}

// Creates the nodes in order, managing each parent's children in one call
// once they all exist (parents come before their children).
[[gnu::noinline]] void CreateDirect(Widget shell, const std::vector<Node>& nodes) {
  std::vector<Widget> widgets(nodes.size());
  std::vector<std::vector<Widget>> children(nodes.size() + 1);
  for (size_t i = 0; i < nodes.size(); ++i) {
    Widget parent = nodes[i].parent < 0 ? shell : widgets[nodes[i].parent];
    widgets[i] = XtCreateWidget(nodes[i].name.c_str(), nodes[i].widgetClass, parent, nullptr, 0);
    children[nodes[i].parent + 1].push_back(widgets[i]);
  }
  // Deepest parents first, as the recursive creation does.
  for (size_t i = nodes.size(); i-- > 0;) {
    auto& list = children[i + 1];
    if (!list.empty()) XtManageChildren(list.data(), static_cast<Cardinal>(list.size()));
  }
  if (!children[0].empty())
    XtManageChildren(children[0].data(), static_cast<Cardinal>(children[0].size()));
}

// Motif's compiled-UI fetch of a tree of the same shape and classes (UIL
// wants unique object names, so the widgets are named s<i>g<j>l<k>; the
// database entries that apply by class still apply). libMrm is loaded at
// run time and the UIL text compiled with `uil`, so that neither is
// needed to build; without them this variant is skipped. (UIL lines hold
// at most 132 characters: one control per line.)
struct MrmApi {
  void (*initialize)() = nullptr;
  Cardinal (*open)(Display*, MrmCount, String*, MrmOsOpenParamPtr*, MrmHierarchy*) = nullptr;
  Cardinal (*fetch)(MrmHierarchy, String, Widget, Widget*, MrmType*) = nullptr;
  MrmHierarchy hierarchy = nullptr;
};

bool OpenCompiledTree(int count, MrmApi* api, std::string* why) {
  void* lib = dlopen("libMrm.so.4", RTLD_NOW | RTLD_GLOBAL);
  if (!lib) {
    *why = "libMrm.so.4 not found";
    return false;
  }
  api->initialize = reinterpret_cast<void (*)()>(dlsym(lib, "MrmInitialize"));
  api->open = reinterpret_cast<decltype(api->open)>(dlsym(lib, "MrmOpenHierarchyPerDisplay"));
  api->fetch = reinterpret_cast<decltype(api->fetch)>(dlsym(lib, "MrmFetchWidget"));
  if (!api->initialize || !api->open || !api->fetch) {
    *why = "libMrm lacks its entry points";
    return false;
  }
  std::string base = "/tmp/creation_bench_" + std::to_string(count);
  {
    std::ofstream uil(base + ".uil");
    uil << "module tree\n    names = case_sensitive\n";
    std::string sections, widgets;
    int made = 1;  // main
    for (int s = 0; made < count; ++s) {
      std::string sec = "s" + std::to_string(s);
      sections += "\n  XmRowColumn " + sec + ";";
      ++made;
      std::string groups;
      for (int g = 0; g < 10 && made < count; ++g) {
        std::string grp = sec + "g" + std::to_string(g);
        groups += "\n  XmRowColumn " + grp + ";";
        ++made;
        std::string leaves;
        for (int k = 0; k < 5; ++k) {
          std::string l = grp + "l" + std::to_string(k), b = grp + "b" + std::to_string(k);
          leaves += "\n  XmLabel " + l + ";\n  XmPushButton " + b + ";";
          widgets += "object " + l + " : XmLabel { };\nobject " + b + " : XmPushButton { };\n";
          made += 2;
        }
        widgets += "object " + grp + " : XmRowColumn { controls { " + leaves + "}; };\n";
      }
      widgets += "object " + sec + " : XmRowColumn { controls { " + groups + "}; };\n";
    }
    uil << "object main : XmRowColumn { controls { " << sections << "}; };\n"
        << widgets << "end module;\n";
  }
  std::string compile = "uil -o " + base + ".uid " + base + ".uil >/dev/null 2>&1";
  if (std::system(compile.c_str()) != 0) {
    *why = "uil could not compile the tree";
    return false;
  }
  api->initialize();
  std::string uid = base + ".uid";
  String files[] = {uid.data()};
  if (api->open(Get().dpy, 1, files, nullptr, &api->hierarchy) != MrmSUCCESS) {
    *why = "MrmOpenHierarchyPerDisplay failed";
    return false;
  }
  return true;
}

size_t CountBelow(Widget w) {
  if (!XtIsComposite(w)) return 0;
  auto* cw = reinterpret_cast<CompositeWidget>(w);
  size_t n = cw->composite.num_children;
  for (Cardinal i = 0; i < cw->composite.num_children; ++i)
    n += CountBelow(cw->composite.children[i]);
  return n;
}

enum class Via { Resources, Direct, CompiledUi };

void Run(benchmark::State& state, Via via) {
  Session& s = Get();
  int count = static_cast<int>(state.range(0));
  std::string shellName = "tree" + std::to_string(count);
  std::vector<Node> nodes = Describe(count, shellName);
  MrmApi mrm;
  if (via == Via::CompiledUi) {
    std::string why;
    if (!OpenCompiledTree(count, &mrm, &why)) {
      state.SkipWithError(why.c_str());
      return;
    }
  }
  unsigned long requests = 0;
  size_t created = 0;
  auto buildOnce = [&](bool timed) {
    Widget shell = XtAppCreateShell(shellName.c_str(), "XkBench", applicationShellWidgetClass,
                                    s.dpy, nullptr, 0);
    unsigned long before = XNextRequest(s.dpy);
    if (via == Via::Resources) {
      if (WcWidgetCreation(shell) != 0) state.SkipWithError("nothing was created");
    } else if (via == Via::Direct) {
      CreateDirect(shell, nodes);
    } else {
      Widget main = nullptr;
      MrmType type;
      if (mrm.fetch(mrm.hierarchy, const_cast<String>("main"), shell, &main, &type) != MrmSUCCESS)
        state.SkipWithError("MrmFetchWidget failed");
      else
        XtManageChild(main);
    }
    requests = XNextRequest(s.dpy) - before;
    XtRealizeWidget(shell);
    XSync(s.dpy, False);
    if (timed) state.PauseTiming();
    created = CountBelow(shell);
    XtDestroyWidget(shell);
    XSync(s.dpy, False);
    while (XtAppPending(s.app)) XtAppProcessEvent(s.app, XtIMAll);
    if (timed) state.ResumeTiming();
  };
  buildOnce(false);  // class initialisation, fonts and conversion caches
  for (auto _ : state) buildOnce(true);
  state.counters["created"] = static_cast<double>(created);
  state.counters["requests"] = static_cast<double>(requests);
}

void BM_WcWidgetCreation(benchmark::State& state) { Run(state, Via::Resources); }
void BM_DirectXtCreateWidget(benchmark::State& state) { Run(state, Via::Direct); }
void BM_MrmFetchWidget(benchmark::State& state) { Run(state, Via::CompiledUi); }

BENCHMARK(BM_DirectXtCreateWidget)
    ->Arg(1000)->Arg(5000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_WcWidgetCreation)
    ->Arg(1000)->Arg(5000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_MrmFetchWidget)
    ->Arg(1000)->Arg(5000)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
