// Console.h: diagnostics on standard output in a fixed layout: a severity
// column twelve characters wide, then the text, continuation lines indented
// to the text column.
//
//   Messenger.Error("Cannot read %s", path);
//   ***ERROR    Cannot read /tmp/x
//
// The format forms substitute only "%s" (one string argument each, in order)
// and "%%"; any other directive is printed as it stands.
#pragma once

enum ConsoleSeverity {
  ConsoleContinue = 0,  // twelve blanks
  ConsoleError = 1,     // "***ERROR    "
  ConsoleWarning = 2,   // " **WARNING  "
  ConsoleInfo = 3,      // "  *INFO     "
  ConsolePlain = 4,     // no prefix
};

class ConsoleMessenger {
 public:
  constexpr ConsoleMessenger() = default;

  // The prefix for a severity; "UNKNOWN" for values outside the table.
  static const char* Prefix(int severity);

  // Prefix, then the text with each newline followed by twelve blanks and
  // carriage returns dropped, then a newline. A null text prints nothing.
  void Print(int severity, const char* text) const;

  void Error(const char* text) const;
  void Error(const char* format, const char* a1) const;
  void Error(const char* format, const char* a1, const char* a2) const;
  void Error(const char* format, const char* a1, const char* a2,
             const char* a3) const;
  void Warning(const char* text) const;
  void Warning(const char* format, const char* a1) const;
  void Warning(const char* format, const char* a1, const char* a2) const;
  void Warning(const char* format, const char* a1, const char* a2,
               const char* a3) const;
  void Info(const char* text) const;
  void Info(const char* format, const char* a1) const;
  void Info(const char* format, const char* a1, const char* a2) const;
  void Info(const char* format, const char* a1, const char* a2,
            const char* a3) const;

  // "  *INFO     Creating: NAME"; nothing for the name "-NEW-".
  void Creating(const char* name) const;

  // The header on an error line, the text indented beneath it; only when
  // both are given.
  void ErrorWithHeader(const char* header, const char* text) const;
};

// The one messenger of the process, usable during static initialisation.
extern const ConsoleMessenger Messenger;
