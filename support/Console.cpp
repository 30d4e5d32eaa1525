// Console.cpp: the console messenger's layout.
#include "support/Console.h"

#include <cstdio>
#include <cstring>
#include <string>

constinit const ConsoleMessenger Messenger;

namespace {

constexpr const char* kIndent = "            ";

// Builds the text of a format form: each "%s" takes the next argument,
// "%%" is one percent sign, anything else is copied unchanged, so a stray
// directive can never read an argument that is not there.
std::string Substitute(const char* format, const char* const* args, int nargs) {
  std::string out;
  if (!format) return out;
  int next = 0;
  for (const char* p = format; *p; ++p) {
    if (p[0] == '%' && p[1] == '%') {
      out += '%';
      ++p;
    } else if (p[0] == '%' && p[1] == 's' && next < nargs) {
      out += args[next] ? args[next] : "(null)";
      ++next;
      ++p;
    } else {
      out += *p;
    }
  }
  return out;
}

}  // namespace

const char* ConsoleMessenger::Prefix(int severity) {
  switch (severity) {
    case ConsoleContinue: return kIndent;
    case ConsoleError: return "***ERROR    ";
    case ConsoleWarning: return " **WARNING  ";
    case ConsoleInfo: return "  *INFO     ";
    case ConsolePlain: return "";
    default: return "UNKNOWN";
  }
}

void ConsoleMessenger::Print(int severity, const char* text) const {
  if (!text) return;
  // Written piece by piece rather than built in memory: this also reports
  // running out of memory, when there may be no heap left to build with.
  std::fputs(Prefix(severity), stdout);
  for (const char* p = text; *p;) {
    size_t run = std::strcspn(p, "\r\n");
    std::fwrite(p, 1, run, stdout);
    p += run;
    if (*p == '\n') {
      std::fputc('\n', stdout);
      std::fputs(kIndent, stdout);
    }
    if (*p) ++p;
  }
  std::fputc('\n', stdout);
  std::fflush(stdout);
}

#define XK_FORMS(Name, severity)                                               \
  void ConsoleMessenger::Name(const char* text) const { Print(severity, text); } \
  void ConsoleMessenger::Name(const char* f, const char* a1) const {           \
    const char* args[] = {a1};                                                 \
    Print(severity, Substitute(f, args, 1).c_str());                           \
  }                                                                            \
  void ConsoleMessenger::Name(const char* f, const char* a1, const char* a2)   \
      const {                                                                  \
    const char* args[] = {a1, a2};                                             \
    Print(severity, Substitute(f, args, 2).c_str());                           \
  }                                                                            \
  void ConsoleMessenger::Name(const char* f, const char* a1, const char* a2,   \
                              const char* a3) const {                          \
    const char* args[] = {a1, a2, a3};                                         \
    Print(severity, Substitute(f, args, 3).c_str());                           \
  }

XK_FORMS(Error, ConsoleError)
XK_FORMS(Warning, ConsoleWarning)
XK_FORMS(Info, ConsoleInfo)
#undef XK_FORMS

void ConsoleMessenger::Creating(const char* name) const {
  if (name && std::strcmp(name, "-NEW-") == 0) return;
  std::printf("%sCreating: %s\n", Prefix(ConsoleInfo), name ? name : "(null)");
  std::fflush(stdout);
}

void ConsoleMessenger::ErrorWithHeader(const char* header, const char* text) const {
  if (!header || !text) return;
  std::printf("%s%s\n", Prefix(ConsoleError), header);
  Print(ConsoleContinue, text);
}
