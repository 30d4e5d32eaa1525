// LineMarks: marks moved and taken off as their text changes.
#include "support/LineMarks.h"

#include <algorithm>

std::vector<size_t> LineMarks::Changed(size_t pos, size_t removed, size_t inserted) {
  std::vector<size_t> touched;
  size_t to = pos + removed;
  // The first mark whose newline is at or after the change.
  auto first = std::lower_bound(marks_.begin(), marks_.end(), pos,
                                [](const Mark& m, size_t p) { return m.end < p; });
  for (auto m = first; m != marks_.end(); ++m) {
    if (m->begin <= to) {
      // The change reaches into this line: it moves with the text around
      // it as far as it can and is no longer shown.
      if (m->shown) touched.push_back(size_t(m - marks_.begin()));
      m->shown = false;
      if (m->begin > pos) m->begin = pos;
      m->end = m->end >= to ? m->end - removed + inserted : pos + inserted;
      continue;
    }
    m->begin = m->begin - removed + inserted;
    m->end = m->end - removed + inserted;
  }
  return touched;
}
