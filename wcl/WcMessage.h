// WcMessage.h: the type every diagnostic of the creation layer and the
// Motif support set is written as: the operation and message name that key
// the message database, the default text, and the number of its string
// arguments, checked when it compiles. Plain data, free of the toolkit, so
// the pure parsers can hold their messages too; WcWarnings.h raises them.
//
//   constexpr wcl::Message<2> kNotFound{"WcManage", "notFound",
//                                       "Wcl Warning: %s(%s) - Widget not found"};
//   // {"WcManage", "notFound", "... %s"} would not compile: one %s, N is 2.
#pragma once

#include <cstddef>

namespace wcl {

// The number of %s directives of a text, 0 when any directive is not a
// string directive or takes its width or precision from an argument (as
// WcCountStringDirectives counts it at run time).
constexpr int CountDirectives(const char* t) {
  auto digits = [t](std::size_t i) {
    while (t[i] >= '0' && t[i] <= '9') ++i;
    return i;
  };
  int count = 0;
  for (std::size_t i = 0; t[i];) {
    if (t[i] != '%') {
      ++i;
      continue;
    }
    if (t[i + 1] == '%') {
      i += 2;
      continue;
    }
    ++i;
    while (t[i] == '+' || t[i] == '-' || t[i] == ' ' || t[i] == '#') ++i;
    if (t[i] == '*') return 0;
    i = digits(i);
    if (t[i] == '.') {
      if (t[++i] == '*') return 0;
      i = digits(i);
    }
    if (t[i] == 'l') ++i;
    if (t[i] != 's') return 0;
    ++i;
    ++count;
  }
  return count;
}

// One message with N string arguments. `func` and `name` key the message
// database; with a toolkit class the message goes to the toolkit's handler,
// keyed the toolkit's way: name, type (`func`) and class.
template <int N>
struct Message {
  const char* func;
  const char* name;
  const char* text;
  const char* toolkitClass = nullptr;

  consteval Message(const char* f, const char* n, const char* t, const char* cls = nullptr)
      : func(f), name(n), text(t), toolkitClass(cls) {
    if (CountDirectives(t) != N) throw "the %s directives of the text differ from N";
  }
};

// A message that several operations share; each raises it under its own
// name, which keys the database.
template <int N>
struct SharedMessage {
  const char* name;
  const char* text;

  consteval SharedMessage(const char* n, const char* t) : name(n), text(t) {
    if (CountDirectives(t) != N) throw "the %s directives of the text differ from N";
  }
};

}  // namespace wcl
