// ShellQuote: makes a value safe to paste into a /bin/sh command line.
//
// The editor, browser and printer commands are built as text and run with
// system(), so a path or page name that holds a blank, a quote, '$', ';'
// or the like would otherwise be split or even run as a command of its own.
// Ordinary words pass unchanged, so the usual command lines read as before:
//
//   ShellWord("/opt/k/doc/index.html")  -> /opt/k/doc/index.html
//   ShellWord("my file; rm x")          -> 'my file; rm x'
#pragma once

#include <string>
#include <string_view>

namespace xkest {

// The word unchanged when every character is one the shell takes literally
// (letters, digits and _ @ % + = : , . / -, not starting with '~'; an empty
// word stays empty); otherwise the word in single quotes, each single quote
// in it written as '\''.
std::string ShellWord(std::string_view word);

// ShellWord for a file name given to a program as an operand: a relative
// name that starts with '-' becomes "./-name", so the program cannot take
// it for an option.
std::string PathWord(std::string_view path);

}  // namespace xkest
