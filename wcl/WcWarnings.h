// WcWarnings.h: warnings, the message database and the growable text buffer.
//
// Every diagnostic of the creation layer and the Motif support set names the
// operation and a short message name, and gives a default text (with its own
// "Wcl Warning: " style prefix) holding one %s per string argument. Each is
// written once, as a constant whose type carries its argument count; a text
// whose %s count differs, or a call with another number of arguments, does
// not compile:
//
//   constexpr wcl::Message<1> kNotRegistered{
//       "WcCreate", "notRegistered",
//       "Wcl Warning: Could not convert %s to Class or Constructor."};
//   wcl::Warn(parent, kNotRegistered, className);
//
// A message database (an X resource file with entries "func.msgName") may
// replace the text. The result goes to WcWarningPrinter, which writes to
// standard error unless someone (the message widget) replaces it. Messages
// given a toolkit class go to the toolkit's own warning or error handler
// instead, under the toolkit's (name, type, class) key.
#pragma once

#include <X11/Intrinsic.h>
#include <X11/Xresource.h>

#include <cstddef>

#include "wcl/WcMessage.h"

#define WC_SENTINEL __attribute__((sentinel))

// A printer takes string pieces ended by a null piece and emits them as one
// message.
typedef void (*WcWarningPrinterProc)(const char* piece, ...);

// The process-wide printer, initially WcPrintToStderr. Replace it to take
// over all warnings, traces and dumps; restore the saved one afterwards.
extern WcWarningPrinterProc WcWarningPrinter;

// Writes the pieces and a newline to standard error. A null or empty first
// piece prints only the newline.
void WcPrintToStderr(const char* piece, ...) WC_SENTINEL;

// The message database, none until WcLoadErrorDatabase finds a file.
extern XrmDatabase WcErrorDatabase;

// Reads fileName as the message database; a missing or unreadable file
// silently leaves no database. A null fileName changes nothing.
void WcLoadErrorDatabase(XtAppContext app, const char* fileName);

// The database text for "func.msgName", or null (no database, no entry, or
// a key too long, which is reported).
char* WcErrorDatabaseText(Widget w, const char* func, const char* msgName);

// The warnings with 0 to 3 string arguments. w may be null.
void WcWarning0(Widget w, const char* func, const char* msgName,
                const char* defaultText);
void WcWarning1(Widget w, const char* func, const char* msgName,
                const char* defaultText, const char* a1);
void WcWarning2(Widget w, const char* func, const char* msgName,
                const char* defaultText, const char* a1, const char* a2);
void WcWarning3(Widget w, const char* func, const char* msgName,
                const char* defaultText, const char* a1, const char* a2,
                const char* a3);

// The common core: picks dbText (when non-empty) or defaultText, checks that
// it holds exactly nargs %s directives, formats and prints it. A mismatch
// prints an explanation instead. Takes nargs const char* arguments.
void WcFormatWarning(int nargs, const char* defaultText, const char* dbText,
                     ...);

// Number of %s directives in a printf-style text; 0 when any directive is
// not a string directive or uses a '*' width or precision.
int WcCountStringDirectives(const char* text);

// A growable NUL-terminated text that multi-line output is collected in.
typedef struct WcBuffer {
  size_t size;    // bytes allocated for text
  size_t length;  // bytes in use, without the terminating NUL
  char* text;     // owned; null when its allocation failed
} WcBuffer;

enum { WcBuffer_InitialSize = 8192 };

WcBuffer* WcBuffer_New(void);
// Appends the strings in order up to a null one.
void WcBuffer_Append(WcBuffer* b, const char* s, ...) WC_SENTINEL;
// The text, or "" when b or its text is null.
const char* WcBuffer_Text(const WcBuffer* b);
// Frees the text and the object; accepts null.
void WcBuffer_Free(WcBuffer* b);

#ifdef __cplusplus
namespace wcl {

// Raises a message through the database and WcWarningPrinter, or, for one
// with a toolkit class, as a toolkit warning. w may be null.
void RaiseWarning(Widget w, const MessageText& m, const char* const* args, int nargs);

// A toolkit error (a message with a toolkit class): the toolkit's error
// handler ends the program.
void RaiseError(Widget w, const MessageText& m, const char* const* args, int nargs);

template <int N, class... Args>
  requires(sizeof...(Args) == N)
void Warn(Widget w, const Message<N>& m, const Args&... args) {
  const char* list[N + 1] = {args...};
  RaiseWarning(w, m, list, N);
}

template <int N, class... Args>
  requires(sizeof...(Args) == N)
void Fail(Widget w, const Message<N>& m, const Args&... args) {
  const char* list[N + 1] = {args...};
  RaiseError(w, m, list, N);
}

}  // namespace wcl
#endif
