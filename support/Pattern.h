// Pattern.h: the small pattern language of StrArray::SplitByPattern,
// compiled to a non-deterministic automaton and run without backtracking,
// so matching time stays linear in the text for each start position.
//
//   Pattern p;
//   if (p.Compile("#+(\\.#+)%")) size_t n = p.LongestMatch("3.14 rest");  // 4
#pragma once

#include <bitset>
#include <cstddef>
#include <vector>

class Pattern {
 public:
  // False for a malformed pattern (unbalanced brackets or parentheses, a
  // dangling backslash or repetition).
  bool Compile(const char* pattern);
  // Length of the longest match starting at text, or -1 when none.
  long LongestMatch(const char* text) const;

 private:
  struct State {
    enum Kind { Char, Split, Match } kind;
    std::bitset<256> chars;  // Char: accepted bytes
    int out = -1, out2 = -1;
  };
  struct Fragment {
    int start;
    std::vector<int*> dangling;  // out pointers still to patch
  };
  class Parser;

  int Add(State s);
  void Follow(int s, std::vector<int>& set, std::vector<unsigned>& mark,
              unsigned gen) const;

  std::vector<State> states_;
  int start_ = -1;
};
