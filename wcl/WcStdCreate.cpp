// WcStdCreate.cpp: the standard operations that create widgets, roots and
// processes: children and pop-ups, new root shells (also on other
// displays), resource files, spawned programs and shell commands, and
// centring a transient shell.
#include "wcl/WcStdCreate.h"

#include "wcl/WcCreation.h"
#include "wcl/WcNames.h"
#include "wcl/WcRegistry.h"
#include "wcl/WcLibraryResources.h"
#include "wcl/WcResFiles.h"
#include "wcl/WcWarnings.h"

#include <X11/IntrinsicP.h>
#include <X11/CompositeP.h>
#include <X11/ShellP.h>
#include <X11/StringDefs.h>

#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

namespace {

constexpr wcl::SharedMessage<1> kNoNames{"noNames",
                                         "Wcl Warning: %s( ) - No widget names provided."};
constexpr wcl::SharedMessage<2> kParentNotFound{
    "parentNotFound", "Wcl Warning: %s( %s ...) - Parent widget not found."};
constexpr wcl::SharedMessage<2> kNoChildNames{"noChildNames",
                                              "Wcl Warning: %s(%s) - No child names provided."};

constexpr wcl::Message<0> kRootUsage{
    "WcCreateRoot", "usage",
    "Wcl Usage: WcCreateRoot( shell [on: display] [shell [on: display]] ... )"};
constexpr wcl::Message<1> kOpenDisplayFailed{
    "WcCreateRoot", "openDisplayFailed", "Wcl Warning: WcCreateRoot() could not open display %s"};

constexpr wcl::Message<1> kForkFailed{"WcSpawn", "forkFailed",
                                      "Wcl Warning: WcSpawn(%s ...) Failed - Could not fork."};
// Written by the child around the program name, without a newline.
constexpr const char* kExecFailedHead = "Wcl Error in Subprocess: WcSpawn(";
constexpr const char* kExecFailedTail = " ...) - Could not execvp.";

const char* Text(const char* s) { return s ? s : ""; }

void CreateNamed(Widget w, const char* text, const char* func,
                 void (*create)(Widget, const char*)) {
  if (!text) {
    wcl::Warn(w, kNoNames.For(func), func);
    return;
  }
  std::string_view rest(text);
  const std::string parentName(wcl::NextName(rest));
  Widget parent = WcResolveWidgetName(w, parentName.c_str());
  if (!parent) {
    wcl::Warn(w, kParentNotFound.For(func), func, parentName.c_str());
    return;
  }
  std::string_view probe = rest;
  if (wcl::NextName(probe).empty()) {
    wcl::Warn(w, kNoChildNames.For(func), func, parentName.c_str());
    return;
  }
  create(parent, std::string(rest).c_str());
}

void MarkDestroyed(Widget, XtPointer flag, XtPointer) { *static_cast<bool*>(flag) = true; }

// A new root is an application shell, the top-level shell whose class the
// toolkit honours: the class of a plain top-level shell is ignored, so
// resources given by wclAppClassName (or the derived class) never applied.
void CreateRootShell(Display* display, const char* name) {
  const char* appClass = WcGetLibraryResources()->wclAppClassName;
  const std::string cls =
      appClass && *appClass ? std::string(appClass) : wcl::DeriveClassName(name);
  Widget shell =
      XtAppCreateShell(name, cls.c_str(), applicationShellWidgetClass, display, nullptr, 0);
  WcRootOf(shell);
  // A creation callback may destroy the new shell; then there is nothing
  // left to realize (and, outside event dispatch, nothing left to touch).
  bool destroyed = false;
  XtAddCallback(shell, XtNdestroyCallback, MarkDestroyed, &destroyed);
  WcPostCreate(shell, WC_NEW_ROOT);
  if (destroyed) return;
  XtRemoveCallback(shell, XtNdestroyCallback, MarkDestroyed, &destroyed);
  if (shell->core.being_destroyed) return;
  wcl::SizeEmptyShell(shell);
  XtRealizeWidget(shell);
}

// The child reports with write(2) and leaves with _exit: nothing the parent
// buffered may be flushed twice, and no exit handler of ours may run there.
[[noreturn]] void ExecOrDie(const std::vector<char*>& argv, const std::string& failure) {
  execvp(argv[0], argv.data());
  ssize_t ignored = write(STDERR_FILENO, failure.data(), failure.size());
  (void)ignored;
  _exit(1);
}

}  // namespace

void WcCreateChildrenCB(Widget w, XtPointer text, XtPointer) {
  CreateNamed(w, static_cast<const char*>(text), "WcCreateChildren", WcCreateNamedChildren);
}

void WcCreatePopupsCB(Widget w, XtPointer text, XtPointer) {
  CreateNamed(w, static_cast<const char*>(text), "WcCreatePopups", WcCreateNamedPopups);
}

void WcCreateRootACT(Widget w, XEvent*, String* params, Cardinal* numParams) {
  const Cardinal n = *numParams;
  if (n == 0) {
    wcl::Warn(w, kRootUsage);
    return;
  }
  const std::string_view on = "on:";
  // A new root's creation callbacks may destroy the invoking widget, which
  // the next group would take its display from.
  const wcl::WidgetWatch watch(w);
  for (Cardinal i = 0; i < n && watch.Present();) {
    const char* name = Text(params[i]);
    if (name == on) {
      wcl::Warn(w, kRootUsage);
      return;
    }
    if (i + 2 < n && Text(params[i + 1]) == on) {
      const char* displayName = Text(params[i + 2]);
      const std::string cls = wcl::DeriveClassName(name);
      int argc = 0;
      char* argv[] = {nullptr};
      Display* display = XtOpenDisplay(XtWidgetToApplicationContext(w), displayName, name,
                                       cls.c_str(), nullptr, 0, &argc, argv);
      if (!display) {
        wcl::Warn(w, kOpenDisplayFailed, displayName);
        return;
      }
      CreateRootShell(display, name);
      i += 3;
    } else {
      CreateRootShell(XtDisplayOfObject(w), name);
      i += 1;
    }
  }
}

// Double fork: the intermediate child exits at once and is reaped here, so
// the program is adopted by init and never lingers as our zombie, while we
// wait only for that brief fork, not for the program.
void WcSpawnACT(Widget w, XEvent*, String* params, Cardinal* numParams) {
  const Cardinal n = *numParams;
  if (n == 0 || !params[0]) return;
  std::vector<char*> argv;
  for (Cardinal i = 0; i < n; ++i) argv.push_back(const_cast<char*>(Text(params[i])));
  argv.push_back(nullptr);
  const std::string failure = std::string(kExecFailedHead) + argv[0] + kExecFailedTail;

  const pid_t child = fork();
  if (child == 0) {
    const pid_t grandchild = fork();
    if (grandchild == 0) ExecOrDie(argv, failure);
    _exit(grandchild < 0 ? 1 : 0);
  }
  int status = 0;
  pid_t reaped = -1;
  if (child > 0) {
    do {
      reaped = waitpid(child, &status, 0);
    } while (reaped < 0 && errno == EINTR);
  }
  // A lost status (someone else reaped the child) is not a failure.
  const bool forked =
      child > 0 && (reaped != child || (WIFEXITED(status) && WEXITSTATUS(status) == 0));
  if (!forked) wcl::Warn(w, kForkFailed, params[0]);
}

void WcLoadResourceFileACT(Widget w, XEvent*, String* params, Cardinal* n) {
  for (Cardinal i = 0; i < *n; ++i) WcLoadResourceFileOnce(w, Text(params[i]));
}

void WcSystemCB(Widget, XtPointer text, XtPointer) {
  if (text) {
    int ignored = std::system(static_cast<const char*>(text));
    (void)ignored;
  }
}

void WcPositionTransientCB(Widget w, XtPointer, XtPointer) {
  if (!XtIsShell(w)) return;
  Widget owner = XtParent(w);
  if (XtIsTransientShell(w))
    owner = reinterpret_cast<TransientShellWidget>(w)->transient.transient_for;
  const CompositeWidget shell = reinterpret_cast<CompositeWidget>(w);
  if (!owner || !XtIsRectObj(owner) || shell->composite.num_children == 0) return;
  Widget child = shell->composite.children[0];

  Position x = static_cast<Position>((static_cast<int>(owner->core.width) - child->core.width) / 2);
  Position y =
      static_cast<Position>((static_cast<int>(owner->core.height) - child->core.height) / 2);
  if (XtIsWidget(owner) && XtWindow(owner)) XtTranslateCoords(owner, x, y, &x, &y);

  XtWidgetGeometry request{};
  if (x != w->core.x) {
    request.request_mode |= CWX;
    request.x = x;
  }
  if (y != w->core.y) {
    request.request_mode |= CWY;
    request.y = y;
  }
  if (request.request_mode) {
    XtWidgetGeometry reply;
    XtMakeGeometryRequest(w, &request, &reply);
  }
}
