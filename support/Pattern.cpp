// Pattern.cpp: parsing the pattern language into automaton fragments
// (Thompson's construction) and running the automaton over a text.
#include "support/Pattern.h"

#include <cstring>
#include <utility>

#include "support/CharSet.h"

namespace {
using Slot = std::pair<int, int>;  // state, which exit (1 or 2)
}

// Recursive descent over the pattern text:
//   alt := concat ('|' concat)*     concat := repeat*
//   repeat := atom ('*' | '+' | '%')*
class Pattern::Parser {
 public:
  Parser(Pattern& p, const char* text) : p_(p), t_(text) {}

  bool Run() {
    Frag f = Alt();
    if (!ok_ || *t_) return false;  // a stray ')' stops Alt early
    int match = p_.Add({State::Match, {}, -1, -1});
    Patch(f, match);
    p_.start_ = f.start;
    return true;
  }

 private:
  struct Frag {
    int start = -1;
    std::vector<Slot> exits;
  };

  void Patch(const Frag& f, int to) {
    for (auto [s, which] : f.exits) (which == 1 ? p_.states_[s].out : p_.states_[s].out2) = to;
  }

  Frag Empty() {
    int s = p_.Add({State::Split, {}, -1, -1});
    return {s, {{s, 1}}};
  }

  Frag Alt() {
    Frag f = Concat();
    while (ok_ && *t_ == '|') {
      ++t_;
      Frag g = Concat();
      int s = p_.Add({State::Split, {}, f.start, g.start});
      f.start = s;
      f.exits.insert(f.exits.end(), g.exits.begin(), g.exits.end());
    }
    return f;
  }

  Frag Concat() {
    Frag f = Empty();
    while (ok_ && *t_ && *t_ != '|' && *t_ != ')') {
      Frag r = Repeat();
      Patch(f, r.start);
      f.exits = std::move(r.exits);
    }
    return f;
  }

  Frag Repeat() {
    Frag a = Atom();
    while (ok_ && *t_ && std::strchr("*+%", *t_)) {
      char op = *t_++;
      int s = p_.Add({State::Split, {}, a.start, -1});
      if (op == '*') {
        Patch(a, s);
        a = {s, {{s, 2}}};
      } else if (op == '+') {
        Patch(a, s);
        a.exits = {{s, 2}};
      } else {
        a.start = s;
        a.exits.push_back({s, 2});
      }
    }
    return a;
  }

  Frag Chars(const std::bitset<256>& set) {
    int s = p_.Add({State::Char, set, -1, -1});
    return {s, {{s, 1}}};
  }

  Frag Atom() {
    std::bitset<256> set;
    char c = *t_++;
    switch (c) {
      case '(': {
        Frag f = Alt();
        if (*t_ != ')') return Fail();
        ++t_;
        return f;
      }
      case '[': return Class();
      case '?':
        set.set();
        break;
      case '#':
        for (int d = '0'; d <= '9'; ++d) set.set(d);
        break;
      case '@':
        for (int i = 0; i < 26; ++i) set.set('a' + i).set('A' + i);
        break;
      case '$':
        set.set();
        for (int b = 1; b < 128; ++b)
          if (WhiteChars.Contains(char(b))) set.reset(b);
        break;
      case '\\':
        if (!*t_) return Fail();
        set.set(static_cast<unsigned char>(*t_++));
        break;
      case '*':
      case '+':
      case '%':
        return Fail();  // nothing to repeat
      default:
        set.set(static_cast<unsigned char>(c));
    }
    set.reset(0);
    return Chars(set);
  }

  // After '[': items up to ']', ranges a-z, backslash escapes, '^' first.
  Frag Class() {
    std::bitset<256> set;
    bool complement = *t_ == '^';
    if (complement) ++t_;
    while (*t_ && *t_ != ']') {
      int lo = Item();
      if (lo < 0) return Fail();
      int hi = lo;
      if (t_[0] == '-' && t_[1] && t_[1] != ']') {
        ++t_;
        hi = Item();
        if (hi < 0) return Fail();
      }
      for (int b = lo; b <= hi; ++b) set.set(b);
    }
    if (*t_ != ']') return Fail();
    ++t_;
    if (complement) set.flip();
    set.reset(0);
    return Chars(set);
  }

  int Item() {
    if (*t_ == '\\') {
      ++t_;
      if (!*t_) return -1;
    }
    return static_cast<unsigned char>(*t_++);
  }

  Frag Fail() {
    ok_ = false;
    return Empty();
  }

  Pattern& p_;
  const char* t_;
  bool ok_ = true;
};

int Pattern::Add(State s) {
  states_.push_back(s);
  return int(states_.size()) - 1;
}

bool Pattern::Compile(const char* pattern) {
  states_.clear();
  start_ = -1;
  if (!pattern) return false;
  Parser parser(*this, pattern);
  if (parser.Run()) return true;
  states_.clear();
  start_ = -1;
  return false;
}

// Adds s and everything reachable from it without reading a character.
void Pattern::Follow(int s, std::vector<int>& set, std::vector<unsigned>& mark,
                     unsigned gen) const {
  std::vector<int> todo{s};
  while (!todo.empty()) {
    int i = todo.back();
    todo.pop_back();
    if (i < 0 || mark[i] == gen) continue;
    mark[i] = gen;
    set.push_back(i);
    if (states_[i].kind == State::Split) {
      todo.push_back(states_[i].out2);
      todo.push_back(states_[i].out);
    }
  }
}

long Pattern::LongestMatch(const char* text) const {
  if (start_ < 0 || !text) return -1;
  std::vector<unsigned> mark(states_.size(), 0);
  unsigned gen = 1;
  std::vector<int> cur, next;
  Follow(start_, cur, mark, gen);
  auto matches = [&](const std::vector<int>& set) {
    for (int s : set)
      if (states_[s].kind == State::Match) return true;
    return false;
  };
  long best = matches(cur) ? 0 : -1;
  for (size_t i = 0; text[i] && !cur.empty(); ++i) {
    unsigned char c = static_cast<unsigned char>(text[i]);
    next.clear();
    ++gen;
    for (int s : cur)
      if (states_[s].kind == State::Char && states_[s].chars.test(c))
        Follow(states_[s].out, next, mark, gen);
    std::swap(cur, next);
    if (matches(cur)) best = long(i + 1);
  }
  return best;
}
