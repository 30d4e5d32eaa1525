// warnings_fuzz.cpp: the warning formatter, directive counting and the
// message database. Input: a database text, a default message text and up
// to three arguments, separated by NUL bytes. A formatted warning must
// equal what printf makes of the same plain %s text, and never print a
// text whose directives do not match its arguments.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include <X11/Xresource.h>

#include "fuzz/FuzzSupport.h"
#include "wcl/WcWarnings.h"

namespace {

std::string printed;

void Collect(const char* piece, ...) {
  printed.clear();
  if (!piece) return;
  va_list ap;
  va_start(ap, piece);
  for (const char* p = piece; p; p = va_arg(ap, const char*)) printed += p;
  va_end(ap);
}

// True when every directive is a plain "%[-][width][.precision]s" with a
// small width, the texts printf formats the same way on every C library.
bool PlainDirectives(const char* t) {
  for (size_t i = 0; t[i]; ++i) {
    if (t[i] != '%') continue;
    if (t[i + 1] == '%') {
      ++i;
      continue;
    }
    ++i;
    if (t[i] == '-') ++i;
    if (t[i] == '0') return false;
    size_t digits = 0;
    for (; t[i] >= '0' && t[i] <= '9'; ++i) ++digits;
    if (t[i] == '.') {
      ++i;
      for (; t[i] >= '0' && t[i] <= '9'; ++i) ++digits;
    }
    if (digits > 4 || t[i] != 's') return false;
  }
  return true;
}

#pragma clang diagnostic push
#pragma clang diagnostic ignored "-Wformat-nonliteral"
#pragma clang diagnostic ignored "-Wformat-security"
std::string Reference(const char* text, const std::vector<const char*>& a) {
  std::vector<char> out(1 << 16);
  int n = -1;
  switch (a.size()) {
    case 0: n = std::snprintf(out.data(), out.size(), text); break;
    case 1: n = std::snprintf(out.data(), out.size(), text, a[0]); break;
    case 2: n = std::snprintf(out.data(), out.size(), text, a[0], a[1]); break;
    case 3: n = std::snprintf(out.data(), out.size(), text, a[0], a[1], a[2]); break;
  }
  return n < 0 ? std::string() : std::string(out.data(), std::min<size_t>(n, out.size() - 1));
}
#pragma clang diagnostic pop

void Format(int nargs, const char* text, const char* db, const std::vector<const char*>& a) {
  switch (a.size()) {
    case 0: WcFormatWarning(nargs, text, db); break;
    case 1: WcFormatWarning(nargs, text, db, a[0]); break;
    case 2: WcFormatWarning(nargs, text, db, a[0], a[1]); break;
    default: WcFormatWarning(nargs, text, db, a[0], a[1], a[2]); break;
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::vector<std::string> parts(1);
  for (size_t i = 0; i < size; ++i) {
    if (data[i] == 0 && parts.size() < 5)
      parts.emplace_back();
    else if (data[i] != 0)
      parts.back() += static_cast<char>(data[i]);
  }
  parts.resize(std::max<size_t>(parts.size(), 2));
  const std::string& dbText = parts[0];
  const std::string& text = parts[1];
  std::vector<const char*> args;
  for (size_t i = 2; i < parts.size(); ++i) args.push_back(parts[i].c_str());
  const int nargs = static_cast<int>(args.size());

  WcWarningPrinter = Collect;
  const int count = WcCountStringDirectives(text.c_str());
  FUZZ_CHECK(count >= 0 && static_cast<size_t>(count) <= text.size() / 2);

  printed.clear();
  Format(nargs, text.c_str(), nullptr, args);
  // A text without arguments is printed as it stands, "%%" included.
  if (nargs > 0 && count == nargs && PlainDirectives(text.c_str())) {
    FUZZ_CHECK(printed == Reference(text.c_str(), args));
  } else if (!text.empty() && count != nargs) {
    FUZZ_CHECK(printed.find("Wrong number of `%s'") != std::string::npos);
  }

  // The first database entry's value replaces the default text.
  XrmInitialize();
  XrmDatabase db = XrmGetStringDatabase(("Fuzz.msg:" + dbText).c_str());
  XrmPutLineResource(&db, dbText.c_str());
  WcErrorDatabase = db;
  const char* fromDb = WcErrorDatabaseText(nullptr, "Fuzz", "msg");
  FUZZ_CHECK(fromDb != nullptr);
  Format(nargs, text.c_str(), fromDb, args);
  switch (args.size()) {
    case 0: WcWarning0(nullptr, "Fuzz", "msg", text.c_str()); break;
    case 1: WcWarning1(nullptr, "Fuzz", "msg", text.c_str(), args[0]); break;
    case 2: WcWarning2(nullptr, "Fuzz", "msg", text.c_str(), args[0], args[1]); break;
    default:
      WcWarning3(nullptr, "Fuzz", "msg", text.c_str(), args[0], args[1], args[2]);
      break;
  }
  // Keys built from arbitrary names, including ones too long to look up.
  WcErrorDatabaseText(nullptr, dbText.c_str(), text.c_str());
  WcErrorDatabase = nullptr;
  XrmDestroyDatabase(db);
  return 0;
}
