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

// What every message holds: the operation and message name that key the
// message database, the default text, and for a message that goes to the
// toolkit's own handler its class (the toolkit keys it by name, type
// `func` and class).
struct MessageText {
  const char* func;
  const char* name;
  const char* text;
  const char* toolkitClass;
};

// A message with N string arguments.
template <int N>
struct Message : MessageText {
  consteval Message(const char* f, const char* n, const char* t, const char* cls = nullptr)
      : MessageText{f, n, t, cls} {
    if (CountDirectives(t) != N) throw "the %s directives of the text differ from N";
  }

 private:
  template <int>
  friend struct SharedMessage;
  constexpr explicit Message(const MessageText& m) : MessageText(m) {}
};

// A message that several operations share; each raises it under its own
// name, which keys the database:
//
//   wcl::Warn(w, kNotFound.For("WcManage"), "WcManage", name);
template <int N>
struct SharedMessage {
  const char* name;
  const char* text;

  consteval SharedMessage(const char* n, const char* t) : name(n), text(t) {
    if (CountDirectives(t) != N) throw "the %s directives of the text differ from N";
  }

  constexpr Message<N> For(const char* func) const {
    return Message<N>(MessageText{func, name, text, nullptr});
  }
};

}  // namespace wcl
