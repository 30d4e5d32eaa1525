// WcWarnings.cpp: warning formatting, the message database and WcBuffer.
#include "wcl/WcWarnings.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "wcl/WcFileDatabase.h"

WcWarningPrinterProc WcWarningPrinter = WcPrintToStderr;
XrmDatabase WcErrorDatabase = nullptr;

namespace {

// The lookup key "func.msgName" plus its NUL must fit this.
constexpr size_t kKeyLimit = 8192;
// Widths in a message text are clamped to the size a formatted message was
// always allowed to reach, so a database entry cannot ask for gigabytes.
constexpr size_t kMessageLimit = 81920;

size_t Len(const char* s) { return s ? std::strlen(s) : 0; }
bool Empty(const char* s) { return !s || !*s; }

// "0".."10" as digits, anything above as "?".
const char* CountText(int n) {
  static const char* const texts[] = {"0", "1", "2", "3", "4", "5",
                                      "6", "7", "8", "9", "10"};
  return n >= 0 && n <= 10 ? texts[n] : "?";
}

size_t SkipDigits(const char* t, size_t i, size_t* value) {
  size_t v = 0;
  for (; t[i] >= '0' && t[i] <= '9'; ++i) {
    v = v * 10 + size_t(t[i] - '0');
    if (v > kMessageLimit) v = kMessageLimit;
  }
  if (value) *value = v;
  return i;
}

// Formats a text whose directives are all string directives (checked by
// the caller), taking the arguments in order. Flags, width and precision are
// honoured as printf would for %s; an 'l' is ignored, so an argument is
// never read as a wide string. A null argument prints as "(null)".
std::string FormatStrings(const char* text, const char* const* args, int nargs) {
  std::string out;
  int next = 0;
  for (size_t i = 0; text[i];) {
    if (text[i] != '%') {
      out += text[i++];
      continue;
    }
    if (text[i + 1] == '%') {
      out += '%';
      i += 2;
      continue;
    }
    ++i;
    bool left = false;
    for (; text[i] && std::strchr("+- #", text[i]); ++i)
      if (text[i] == '-') left = true;
    size_t width = 0, precision = 0;
    bool hasPrecision = false;
    i = SkipDigits(text, i, &width);
    if (text[i] == '.') {
      hasPrecision = true;
      i = SkipDigits(text, i + 1, &precision);
    }
    if (text[i] == 'l') ++i;
    if (text[i] == 's') ++i;
    const char* arg = next < nargs ? args[next] : "";
    ++next;
    if (!arg) arg = "(null)";
    size_t n = std::strlen(arg);
    if (hasPrecision && precision < n) n = precision;
    size_t pad = width > n ? width - n : 0;
    if (!left) out.append(pad, ' ');
    out.append(arg, n);
    if (left) out.append(pad, ' ');
  }
  return out;
}

// Prints text with its arguments, or the mismatch explanation.
void EmitChecked(int nargs, const char* text, const char* const* args,
                 const char* prefix, const char* problem, const char* tail) {
  int found = WcCountStringDirectives(text);
  if (found != nargs) {
    WcWarningPrinter(prefix, problem, CountText(nargs), ", found ",
                     CountText(found), tail, text, (char*)nullptr);
    return;
  }
  if (nargs == 0) {
    WcWarningPrinter(text, (char*)nullptr);
    return;
  }
  std::string formatted = FormatStrings(text, args, nargs);
  WcWarningPrinter(formatted.c_str(), (char*)nullptr);
}

void FormatWarning(int nargs, const char* defaultText, const char* dbText,
                   const char* const* args) {
  if (!Empty(dbText)) {
    EmitChecked(nargs, dbText, args, "Wcl Warning: Wcl Error DB Problem: ",
                "Wrong number of `%s' in message from ErrorDB ( expected ",
                ") - message from Error DB is: ");
  } else if (!Empty(defaultText)) {
    EmitChecked(nargs, defaultText, args, "Wcl Warning: Wcl Programming Error: ",
                "Wrong number of `%s' in Default Error Msg ( expected ",
                ") - Default Error Msg is: ");
  }
}

void WarnByKey(const char* func, const char* msgName, const char* defaultText, int nargs,
               const char* const* args) {
  FormatWarning(nargs, defaultText, WcErrorDatabaseText(nullptr, func, msgName),
                args);
}

// The toolkit's (name, type, class) messages take their parameters as a
// modifiable array.
std::vector<String> ToolkitParams(const char* const* args, int nargs) {
  std::vector<String> params;
  for (int i = 0; i < nargs; ++i) params.push_back(const_cast<String>(args[i] ? args[i] : ""));
  return params;
}

// The text of a message with a number in place of its %d, as the message
// database keys it: a number is no argument of the message.
std::string WithNumber(const char* text, size_t number) {
  std::string out = text;
  size_t at = out.find("%d");
  if (at != std::string::npos) out.replace(at, 2, std::to_string(number));
  return out;
}

void WarnWithNumber(const wcl::Message<0>& m, size_t number) {
  std::string text = WithNumber(m.text, number);
  WarnByKey(m.func, m.name, text.c_str(), 0, nullptr);
}

constexpr wcl::Message<0> kCouldNotAllocate{
    "WcBuffer_New", "couldNotAllocate",
    "Wcl Warning: Could not allocate %d bytes for WcBuffer object"};
constexpr wcl::Message<0> kCouldNotAllocateBuffer{
    "WcBuffer_New", "couldNotAllocateBuffer",
    "Wcl Warning: Could not allocate %d bytes for msg buffer in WcBuffer object"};
constexpr wcl::Message<0> kCouldNotGrowBuffer{
    "WcBuffer_Append", "couldNotGrowBuffer",
    "Wcl Warning: Could not allocate %d bytes to grow buffer in WcBuffer object"};

}  // namespace

void wcl::RaiseWarning(Widget w, const MessageText& m, const char* const* args, int nargs) {
  if (!m.toolkitClass) {
    WarnByKey(m.func, m.name, m.text, nargs, args);
    return;
  }
  std::vector<String> params = ToolkitParams(args, nargs);
  Cardinal count = static_cast<Cardinal>(nargs);
  String n = const_cast<String>(m.name), t = const_cast<String>(m.func);
  String c = const_cast<String>(m.toolkitClass), d = const_cast<String>(m.text);
  if (w)
    XtAppWarningMsg(XtWidgetToApplicationContext(w), n, t, c, d, params.data(), &count);
  else
    XtWarningMsg(n, t, c, d, params.data(), &count);
}

void wcl::RaiseError(Widget w, const MessageText& m, const char* const* args, int nargs) {
  std::vector<String> params = ToolkitParams(args, nargs);
  Cardinal count = static_cast<Cardinal>(nargs);
  String n = const_cast<String>(m.name), t = const_cast<String>(m.func);
  String c = const_cast<String>(m.toolkitClass ? m.toolkitClass : "");
  String d = const_cast<String>(m.text);
  if (w)
    XtAppErrorMsg(XtWidgetToApplicationContext(w), n, t, c, d, params.data(), &count);
  else
    XtErrorMsg(n, t, c, d, params.data(), &count);
}

void WcPrintToStderr(const char* piece, ...) {
  if (!Empty(piece)) {
    std::fputs(piece, stderr);
    va_list ap;
    va_start(ap, piece);
    while (const char* p = va_arg(ap, const char*)) std::fputs(p, stderr);
    va_end(ap);
  }
  std::fputs("\n", stderr);
}

void WcLoadErrorDatabase(XtAppContext, const char* fileName) {
  if (!fileName) return;
  XrmInitialize();
  WcErrorDatabase = WcReadFileDatabase(fileName);
}

char* WcErrorDatabaseText(Widget, const char* func, const char* msgName) {
  if (Len(func) + Len(msgName) + 2 > kKeyLimit) {
    WcWarningPrinter("Wcl Warning: WcErrorDatabaseText: ",
                     "strlen(func+msgName) > BUFSIZ ", "for func = (",
                     func ? func : "", ") and msgName = (",
                     msgName ? msgName : "", ")", (char*)nullptr);
    return nullptr;
  }
  if (!WcErrorDatabase) return nullptr;
  std::string key = std::string(func ? func : "") + "." + (msgName ? msgName : "");
  char* type = nullptr;
  XrmValue value{0, nullptr};
  if (!XrmGetResource(WcErrorDatabase, key.c_str(), key.c_str(), &type, &value))
    return nullptr;
  return static_cast<char*>(value.addr);
}

void WcWarning0(Widget, const char* func, const char* msgName,
                const char* defaultText) {
  WarnByKey(func, msgName, defaultText, 0, nullptr);
}

void WcWarning1(Widget, const char* func, const char* msgName,
                const char* defaultText, const char* a1) {
  const char* args[] = {a1};
  WarnByKey(func, msgName, defaultText, 1, args);
}

void WcWarning2(Widget, const char* func, const char* msgName,
                const char* defaultText, const char* a1, const char* a2) {
  const char* args[] = {a1, a2};
  WarnByKey(func, msgName, defaultText, 2, args);
}

void WcWarning3(Widget, const char* func, const char* msgName,
                const char* defaultText, const char* a1, const char* a2,
                const char* a3) {
  const char* args[] = {a1, a2, a3};
  WarnByKey(func, msgName, defaultText, 3, args);
}

void WcFormatWarning(int nargs, const char* defaultText, const char* dbText, ...) {
  if (nargs < 0) nargs = 0;
  std::vector<const char*> args(size_t(nargs), nullptr);
  va_list ap;
  va_start(ap, dbText);
  for (auto& a : args) a = va_arg(ap, const char*);
  va_end(ap);
  FormatWarning(nargs, defaultText, dbText, args.data());
}

int WcCountStringDirectives(const char* t) { return t ? wcl::CountDirectives(t) : 0; }

// ---- WcBuffer ------------------------------------------------------------

WcBuffer* WcBuffer_New(void) {
  auto* b = static_cast<WcBuffer*>(std::calloc(1, sizeof(WcBuffer)));
  if (!b) {
    WarnWithNumber(kCouldNotAllocate, sizeof(WcBuffer));
    return nullptr;
  }
  b->text = static_cast<char*>(std::calloc(WcBuffer_InitialSize, 1));
  if (!b->text) {
    WarnWithNumber(kCouldNotAllocateBuffer, WcBuffer_InitialSize);
    return b;
  }
  b->size = WcBuffer_InitialSize;
  return b;
}

void WcBuffer_Append(WcBuffer* b, const char* s, ...) {
  if (!b || !b->text || !s) return;
  va_list ap;
  va_start(ap, s);
  for (const char* p = s; p; p = va_arg(ap, const char*)) {
    size_t n = std::strlen(p);
    size_t need = b->length + n;
    if (need >= b->size) {
      size_t grown = b->size * 2 > need ? b->size * 2 : need + 1;
      // Appending the buffer's own text: growing would move it.
      bool own = p >= b->text && p < b->text + b->size;
      size_t offset = own ? size_t(p - b->text) : 0;
      char* text = static_cast<char*>(std::realloc(b->text, grown));
      if (!text) {
        WarnWithNumber(kCouldNotGrowBuffer, grown);
        break;
      }
      b->text = text;
      b->size = grown;
      if (own) p = text + offset;
    }
    std::memmove(b->text + b->length, p, n + 1);
    b->length = need;
  }
  va_end(ap);
}

const char* WcBuffer_Text(const WcBuffer* b) {
  return b && b->text ? b->text : "";
}

void WcBuffer_Free(WcBuffer* b) {
  if (!b) return;
  std::free(b->text);
  std::free(b);
}
