// LineMarks.h: marks on lines of a text (the lines a report names) that
// follow the text as it changes: a change before a mark moves it, a change
// that touches its line takes it off. The positions are the text's own.
//
//   LineMarks marks;
//   marks.Set({{120, 140}, {900, 931}});          // ascending, apart
//   for (size_t i : marks.Changed(pos, removed, inserted)) unhighlight(marks[i]);
#pragma once

#include <cstddef>
#include <vector>

class LineMarks {
 public:
  struct Mark {
    size_t begin = 0;
    size_t end = 0;     // the line's newline (or the text's end)
    bool shown = true;  // false once its line was edited
  };

  void Set(std::vector<Mark> marks) { marks_ = std::move(marks); }
  void Clear() { marks_.clear(); }
  const std::vector<Mark>& All() const { return marks_; }
  const Mark& operator[](size_t i) const { return marks_[i]; }

  // removed units at pos were replaced by inserted units. Returns the
  // indexes of the shown marks whose line the change touched (from the
  // line's first unit to its newline, both included); they are no longer
  // shown. Marks behind the change move by the difference.
  std::vector<size_t> Changed(size_t pos, size_t removed, size_t inserted);

 private:
  std::vector<Mark> marks_;
};
