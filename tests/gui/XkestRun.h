// XkestRun: starts the real build/xkest, with its app-defaults file from
// the source tree, on an X server of its own (a private Xvfb, so that tests
// running side by side never see each other's windows or steal each
// other's keyboard focus), and drives it as a user would: xdotool for keys
// and clicks, a real WM_DELETE_WINDOW client message for the close button.
//
//   XkestRun x({"-tooleditor", rec}, {{"KESTHOME", home}});
//   std::string wid = x.WaitForWindow("xkest");
//   x.Key(wid, "ctrl+q");
//   EXPECT_EQ(x.Wait(), 0);
//
// Kept in one header because every test program is built from its one
// source file.
#pragma once

#include <X11/Xlib.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include <sys/stat.h>
#include <sys/wait.h>
#include <fcntl.h>
#include <unistd.h>

#include "common/ScopedEnv.h"
#include "common/TempDir.h"
#include "common/Wait.h"
#include "common/WmProtocol.h"

extern char** environ;

namespace xk::test {

// The window managers the tests run under: none (every window where the
// program puts it, focus only where a test puts it), Motif's own and an
// EWMH one, as users run them.
inline const std::vector<std::string>& WindowManagers() {
  static const std::vector<std::string> all = {"", "mwm", "openbox"};
  return all;
}

class XkestRun {
 public:
  // env: variables to set for xkest (nullopt unsets one). The program runs
  // in a temporary working folder that is also its HOME, so no resource
  // file of the user's applies. wm: a window manager program to run on the
  // server first ("" for none).
  XkestRun(const std::vector<std::string>& args,
           const std::map<std::string, std::optional<std::string>>& env, const std::string& wm = "") {
    StartServer();
    if (!wm.empty()) StartWindowManager(wm);
    std::map<std::string, std::string> vars;
    for (char** e = environ; *e; ++e) {
      std::string kv = *e;
      size_t eq = kv.find('=');
      if (eq != std::string::npos) vars[kv.substr(0, eq)] = kv.substr(eq + 1);
    }
    for (const char* v : {"XENVIRONMENT", "XAPPLRESDIR", "XUSERFILESEARCHPATH", "KESTBTRACE"})
      vars.erase(v);
    vars["XFILESEARCHPATH"] = std::string(XK_SOURCE_DIR) + "/app/%N.ad";
    vars["LC_ALL"] = "C";
    vars["HOME"] = dir_.Path();
    vars["DISPLAY"] = display_;
    for (const auto& [k, v] : env) {
      if (v) vars[k] = *v;
      else vars.erase(k);
    }
    std::vector<std::string> envText;
    for (const auto& [k, v] : vars) envText.push_back(k + "=" + v);
    std::vector<std::string> argText = {std::string(XK_BINARY_DIR) + "/xkest"};
    argText.insert(argText.end(), args.begin(), args.end());

    std::vector<char*> argv, envp;
    for (std::string& a : argText) argv.push_back(a.data());
    argv.push_back(nullptr);
    for (std::string& e : envText) envp.push_back(e.data());
    envp.push_back(nullptr);
    std::string out = dir_.Path() + "/stdout", err = dir_.Path() + "/stderr";
    pid_ = fork();
    if (pid_ == 0) {
      if (chdir(dir_.Path().c_str()) != 0) _exit(127);
      if (!freopen(out.c_str(), "w", stdout) || !freopen(err.c_str(), "w", stderr)) _exit(127);
      execve(argv[0], argv.data(), envp.data());
      _exit(127);
    }
  }

  ~XkestRun() {
    if (Running()) {
      kill(pid_, SIGKILL);
      waitpid(pid_, nullptr, 0);
    }
    if (wm_ > 0) {
      // mwm may sit out a SIGTERM until its next X event.
      kill(wm_, SIGKILL);
      waitpid(wm_, nullptr, 0);
    }
    if (dpy_) XCloseDisplay(dpy_);
    if (server_ > 0) {
      kill(server_, SIGTERM);
      waitpid(server_, nullptr, 0);
    }
  }

  XkestRun(const XkestRun&) = delete;
  XkestRun& operator=(const XkestRun&) = delete;

  bool Running() {
    if (pid_ <= 0 || status_ != -1) return false;
    int st = 0;
    if (waitpid(pid_, &st, WNOHANG) != pid_) return true;
    status_ = WIFEXITED(st) ? WEXITSTATUS(st) : 128 + WTERMSIG(st);
    return false;
  }

  // Exit status; -1 when the program did not end in time (it is then killed).
  int Wait(int seconds = 20) {
    if (WaitUntil([&] { return !Running(); }, seconds)) return status_;
    kill(pid_, SIGKILL);
    waitpid(pid_, nullptr, 0);
    status_ = -2;
    return -1;
  }

  // The folder the program runs in (also its HOME).
  const std::string& WorkDir() const { return dir_.Path(); }

  // The program's X display, for a test's own connection or tools.
  const std::string& DisplayName() const { return display_; }

  std::string Stdout() const { return Slurp(dir_.Path() + "/stdout"); }
  std::string Stderr() const { return Slurp(dir_.Path() + "/stderr"); }

  // Window id (decimal) of the first visible window titled exactly title;
  // empty when none appears in time or the program ends first.
  std::string WaitForWindow(const std::string& title, int seconds = 20) {
    std::string wid;
    WaitUntil(
        [&] {
          if (!Running()) return true;
          wid = Xdo("search --onlyvisible --name '^" + title + "$'");
          return !wid.empty();
        },
        seconds);
    if (wid.empty()) return "";
    wid = wid.substr(0, wid.find('\n'));
    WaitManaged(wid);
    return wid;
  }

  // Waits until the window manager has taken the window into a frame of
  // its own (by then it has set up its key bindings); at once without one.
  void WaitManaged(const std::string& wid, int seconds = 10) {
    if (wm_ <= 0) return;
    WaitUntil([&] {
      Window root = 0, parent = 0, *kids = nullptr;
      unsigned n = 0;
      if (XQueryTree(dpy_, std::stoul(wid), &root, &parent, &kids, &n) && kids) XFree(kids);
      return parent && parent != root;
    }, seconds);
  }

  // Every named window, visible or not, one "ID NAME" a line: what a test
  // that waited in vain for a window shows.
  std::string Windows() {
    std::string out, ids = Xdo("search --name '.'");
    for (size_t from = 0, nl; (nl = ids.find('\n', from)) != std::string::npos; from = nl + 1) {
      std::string id = ids.substr(from, nl - from);
      out += id + " " + Title(id) + "\n";
    }
    return out;
  }

  // Waits until no visible window is titled exactly title; says whether
  // that happened in time.
  bool WaitGone(const std::string& title, int seconds = 10) {
    return WaitUntil([&] { return Xdo("search --onlyvisible --name '^" + title + "$'").empty(); },
                     seconds);
  }

  // Waits until the program's standard output contains text.
  bool WaitForStdout(const std::string& text, int seconds = 20) {
    return WaitUntil([&] { return Stdout().find(text) != std::string::npos; }, seconds);
  }

  void Key(const std::string& wid, const std::string& keys) {
    Xdo("windowfocus --sync " + wid + " key --delay 30 " + keys);
  }
  // Keys to whichever window has the keyboard focus.
  void KeyToFocus(const std::string& keys) { Xdo("key --delay 30 " + keys); }
  // A menu mnemonic: Alt held down around the letter (xdotool's alt+f can
  // be too quick for Motif).
  void AltKey(const std::string& wid, const std::string& letter) {
    Xdo("windowfocus --sync " + wid + " keydown Alt_L key --delay 30 " + letter + " keyup Alt_L");
  }
  // The window that has the keyboard focus, as xdotool names it.
  std::string FocusWindow() {
    std::string out = Xdo("getwindowfocus -f");
    return out.substr(0, out.find('\n'));
  }
  // Title of a window.
  std::string Title(const std::string& wid) {
    std::string out = Xdo("getwindowname " + wid);
    return out.substr(0, out.find('\n'));
  }
  void Type(const std::string& wid, const std::string& text) {
    Xdo("windowfocus --sync " + wid + " type --delay 30 '" + text + "'");
  }
  // Clicks at (x, y) inside the window.
  void Click(const std::string& wid, int x, int y) {
    Xdo("mousemove --sync --window " + wid + " " + std::to_string(x) + " " + std::to_string(y) +
        " click 1");
  }
  // Clicks the middle of an X window.
  void ClickWindow(unsigned long window) {
    XWindowAttributes a;
    XGetWindowAttributes(dpy_, window, &a);
    int rx = 0, ry = 0;
    Window child;
    XTranslateCoordinates(dpy_, window, DefaultRootWindow(dpy_), a.width / 2, a.height / 2, &rx,
                          &ry, &child);
    Xdo("mousemove --sync " + std::to_string(rx) + " " + std::to_string(ry) + " click 1");
  }

  // Sends the window manager's close request to a top-level window.
  void SendDeleteWindow(const std::string& wid) {
    SendWmProtocol(dpy_, std::stoul(wid), "WM_DELETE_WINDOW");
  }

  // Child windows, bottom to top.
  std::vector<unsigned long> ChildWindows(unsigned long window) {
    Window root, parent, *kids = nullptr;
    unsigned n = 0;
    std::vector<unsigned long> out;
    if (XQueryTree(dpy_, window, &root, &parent, &kids, &n)) out.assign(kids, kids + n);
    if (kids) XFree(kids);
    return out;
  }

  unsigned Width(unsigned long window) {
    XWindowAttributes a;
    XGetWindowAttributes(dpy_, window, &a);
    return static_cast<unsigned>(a.width);
  }
  int X(unsigned long window) {
    XWindowAttributes a;
    XGetWindowAttributes(dpy_, window, &a);
    return a.x;
  }

 private:
  std::string Xdo(const std::string& command) {
    return Shell("DISPLAY=" + display_ + " xdotool " + command + " 2>/dev/null");
  }

  // Starts Xvfb on a free display and holds one connection to it, so it
  // does not reset between clients.
  void StartServer() {
    int fds[2];
    if (pipe(fds) != 0) return;
    server_ = fork();
    if (server_ == 0) {
      close(fds[0]);
      std::string fd = std::to_string(fds[1]);
      int null = open("/dev/null", O_WRONLY);
      dup2(null, 1);
      dup2(null, 2);
      execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "1280x1024x24",
             "-nolisten", "tcp", static_cast<char*>(nullptr));
      _exit(127);
    }
    close(fds[1]);
    std::string num;
    char c;
    while (read(fds[0], &c, 1) == 1 && c != '\n') num += c;
    close(fds[0]);
    display_ = ":" + num;
    dpy_ = XOpenDisplay(display_.c_str());
  }

  // Starts the window manager and waits until it has taken the root
  // window's substructure redirection (what makes it the manager) and has
  // finished setting up.
  void StartWindowManager(const std::string& wm) {
    wm_ = fork();
    if (wm_ == 0) {
      int null = open("/dev/null", O_WRONLY);
      dup2(null, 1);
      dup2(null, 2);
      setenv("DISPLAY", display_.c_str(), 1);
      setenv("HOME", dir_.Path().c_str(), 1);
      execlp(wm.c_str(), wm.c_str(), static_cast<char*>(nullptr));
      _exit(127);
    }
    if (!dpy_) return;
    // mwm marks the root when it is set up, openbox once it has read its
    // theme; a window mapped earlier can stay unmanaged and unseen.
    Atom marks[] = {XInternAtom(dpy_, "_MOTIF_WM_INFO", False), XInternAtom(dpy_, "_OB_THEME", False)};
    WaitUntil([&] {
      XWindowAttributes a;
      Window root = DefaultRootWindow(dpy_);
      XGetWindowAttributes(dpy_, root, &a);
      int count = 0;
      Atom* props = XListProperties(dpy_, root, &count);
      bool marked = false;
      for (int k = 0; k < count; ++k) marked = marked || props[k] == marks[0] || props[k] == marks[1];
      if (props) XFree(props);
      return (a.all_event_masks & SubstructureRedirectMask) && marked;
    }, 10);
  }

  TempDir dir_{"xkest"};
  pid_t wm_ = -1;
  pid_t server_ = -1;
  std::string display_;
  Display* dpy_ = nullptr;
  pid_t pid_ = -1;
  int status_ = -1;
};

}  // namespace xk::test
