// WcResFiles.cpp: reading resource files into databases, with "~" expansion
// and the application-defaults and user path searches, and the load-once
// registry of (screen, file name) pairs.
#include "wcl/WcResFiles.h"

#include <X11/IntrinsicP.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <new>
#include <string>
#include <string_view>

#include "wcl/MapAg/MapAg.h"
#include "wcl/WcFileDatabase.h"
#include "wcl/WcLibraryResources.h"
#include "wcl/WcNames.h"
#include "wcl/WcOwned.h"
#include "wcl/WcWarnings.h"

namespace {

constexpr size_t kMaxName = 1023;  // longest file name, also after "~" expansion

constexpr wcl::Message<0> kNoFileName{"WcLoadResourceFile", "noFileName",
                                      "Wcl Warning: WcLoadResourceFile() - No file name provided."};
constexpr wcl::Message<1> kTooLong{"WcLoadResourceFile", "tooLong",
                                   "Wcl Warning: WcLoadResourceFile( %s ) - File name too long."};
constexpr wcl::Message<1> kSlashTerminated{
    "WcLoadResourceFile", "slashTerminated",
    "Wcl Warning: WcLoadResourceFile( %s ) - File must not end with slash ('/')"};
constexpr wcl::Message<2> kNotReadable{
    "WcLoadResourceFile", "notReadable",
    "Wcl Warning: WcLoadResourceFile( %s )\n\t- File <%s> not found, not readable, or wrong type."};
constexpr wcl::Message<3> kTooLongExpanded{
    "WcLoadResourceFile", "tooLongExpanded",
    "Wcl Warning: WcLoadResourceFile( %s )\n\t- Expanded name too long: %s%s"};
constexpr wcl::Message<1> kMallocFailed{"WcLoadResourceFile", "mallocFailed",
                                        "Wcl Warning: WcLoadResourceFile( %s ) - malloc failed"};

WcReadFileProc g_readFile = WcReadFileDatabase;

MapAgRec g_loadedFiles;  // (screen, file-name quark, 0) -> 1

// The directory field of a password entry, or "" without one.
std::string HomeOf(const struct passwd* pw) { return pw && pw->pw_dir ? pw->pw_dir : ""; }

const char* NonEmptyEnv(const char* name) {
  const char* v = std::getenv(name);
  return v && *v ? v : nullptr;
}

// The current user's home: HOME, else USER's password entry, else the real
// user id's.
std::string CurrentHome() {
  if (const char* home = NonEmptyEnv("HOME")) return home;
  if (const char* user = NonEmptyEnv("USER")) return HomeOf(getpwnam(user));
  return HomeOf(getpwuid(getuid()));
}

// Reads `path`; a database is merged into *target and traced.
bool ReadAndMerge(const char* path, XrmDatabase* target) {
  XrmDatabase db = g_readFile(path);
  if (!db) return false;
  XrmMergeDatabases(db, target);
  if (WcGetLibraryResources()->wclTraceResFiles) WcWarningPrinter("Wcl loaded: ", path, nullptr);
  return true;
}

// Reads the file that XtResolvePathname finds, if any.
bool ResolveAndMerge(Display* dpy, const char* type, const char* name, const char* path,
                     XrmDatabase* target) {
  wcl::XtOwned<char> found(XtResolvePathname(dpy, type, name, nullptr, path, nullptr, 0, nullptr));
  return found && *found && ReadAndMerge(found.get(), target);
}

int ExpandTilde(Widget w, const char* name, XrmDatabase* target) {
  std::string_view text(name + 1);
  size_t slash = text.find('/');
  std::string user(text.substr(0, slash));
  std::string rest(slash == std::string_view::npos ? "" : text.substr(slash));
  std::string home = user.empty() ? CurrentHome() : HomeOf(getpwnam(user.c_str()));
  if (home.empty()) {
    wcl::Warn(w, kNotReadable, name, name);
    return 0;
  }
  if (home.size() + rest.size() > kMaxName) {
    wcl::Warn(w, kTooLongExpanded, name, home.c_str(), rest.c_str());
    return 0;
  }
  std::string expanded = home + rest;
  if (ReadAndMerge(expanded.c_str(), target)) return 1;
  wcl::Warn(w, kNotReadable, name, expanded.c_str());
  return 0;
}

// The user's own resource directories as an XtResolvePathname path.
std::string UserPath() {
  if (const char* path = NonEmptyEnv("XUSERFILESEARCHPATH")) return path;
  std::string home = CurrentHome();
  if (const char* dir = NonEmptyEnv("XAPPLRESDIR")) {
    std::string d(dir);
    return d + "/%L/%N%C:" + d + "/%l/%N%C:" + d + "/%N%C:" + home + "/%N%C:" + d + "/%L/%N:" +
           d + "/%l/%N:" + d + "/%N:" + home + "/%N";
  }
  return home + "/%L/%N%C:" + home + "/%l/%N%C:" + home + "/%N%C:" + home + "/%L/%N:" + home +
         "/%l/%N:" + home + "/%N";
}

bool SearchUserPath(Widget w, Display* dpy, const char* name, XrmDatabase* target) {
  std::string path;
  try {
    path = UserPath();
  } catch (const std::bad_alloc&) {
    wcl::Warn(w, kMallocFailed, name);
    return false;
  }
  return ResolveAndMerge(dpy, nullptr, name, path.c_str(), target);
}

}  // namespace

WcReadFileProc WcSetReadFileProc(WcReadFileProc proc) {
  WcReadFileProc previous = g_readFile;
  g_readFile = proc ? proc : WcReadFileDatabase;
  return previous;
}

int WcLoadResourceFile(Widget w, const char* name, XrmDatabase* target) {
  if (!name || !*name) {
    wcl::Warn(w, kNoFileName);
    return 0;
  }
  size_t len = std::strlen(name);
  if (len > kMaxName) {
    wcl::Warn(w, kTooLong, name);
    return 0;
  }
  if (name[len - 1] == '/') {
    wcl::Warn(w, kSlashTerminated, name);
    return 0;
  }
  if (name[0] == '~') return ExpandTilde(w, name, target);

  if (ReadAndMerge(name, target)) return 1;
  if (name[0] != '.' && name[0] != '/') {
    // The path searches need a display; without a widget use the first root.
    Widget ref = w ? w : WcRootOf(nullptr);
    if (ref) {
      Display* dpy = XtDisplayOfObject(ref);
      // Both are merged; the user's file comes second and so wins.
      bool found = ResolveAndMerge(dpy, "app-defaults", name, nullptr, target);
      found = SearchUserPath(w, dpy, name, target) || found;
      if (found) return 1;
    }
  }
  wcl::Warn(w, kNotReadable, name, name);
  return 0;
}

int WcLoadResourceFileOnce(Widget w, const char* name) {
  if (!w || !XtIsWidget(w)) w = WcRootOf(nullptr);
  if (!w) return 0;
  Screen* screen = XtScreen(w);
  XrmQuark quark = XrmStringToQuark(name ? name : "");
  if (MapAg_Find(&g_loadedFiles, reinterpret_cast<MapAg_Word>(screen), quark, 0)) return 0;
  MapAg_Insert(&g_loadedFiles, reinterpret_cast<MapAg_Word>(screen), quark, 0, 1);
  XrmDatabase db = XtScreenDatabase(screen);
  return WcLoadResourceFile(w, name, &db);
}
