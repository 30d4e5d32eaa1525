// TableLayout.cpp: preferred sizes, fitting and child placement of the table
// widget, on plain vectors.
#include "xmp/TableLayout.h"

#include <algorithm>
#include <numeric>
#include <unordered_set>

namespace xmp::table {
namespace {

int First(const Span& s) { return std::max(s.start, 0); }
int Count(const Span& s) { return std::max(s.count, 1); }

// Spreads `extra` pixels over the slots picked by `receives`, evenly, the
// first ones taking one pixel more until the remainder is used up.
template <typename Pred>
void Spread(Vector& v, int first, int count, Px extra, Pred receives) {
  int receivers = 0;
  for (int i = first; i < first + count; ++i) receivers += receives(v[i]) ? 1 : 0;
  if (receivers == 0) return;
  Px each = extra / receivers;
  Px odd = extra % receivers;
  for (int i = first; i < first + count; ++i) {
    if (!receives(v[i])) continue;
    v[i].size += each + (odd > 0 ? 1 : 0);
    if (odd > 0) --odd;
  }
}

// The share of `remaining` a slot of preferred size `pref` gets in one
// pass: in proportion to the preferred sizes, or evenly when they are all
// 0; at least 1 and never more than what is left.
Px Share(Px pref, Px remaining, Px sumPref, Px members, Px left) {
  Px share = sumPref != 0 ? pref * remaining / sumPref : remaining / std::max<Px>(members, 1);
  return std::clamp<Px>(share, 1, left);
}

void Grow(Vector& v, Px amount) {
  Px left = amount;
  Px sumAll = 0;
  for (const Slot& s : v) sumAll += s.pref;

  // Slots below their preferred size catch up first.
  for (bool again = true; again && left > 0;) {
    again = false;
    Px remaining = left;
    Px below = std::count_if(v.begin(), v.end(), [](const Slot& s) { return s.size < s.pref; });
    if (below == 0) break;
    for (Slot& s : v) {
      if (left == 0) break;
      if (s.size >= s.pref) continue;
      Px share = Share(s.pref, remaining, sumAll, below, left);
      Px grow = std::min(share, s.pref - s.size);
      s.size += grow;
      left -= grow;
      if (grow == share && s.size < s.pref) again = true;
    }
  }

  // The rest goes to the stretchable slots, or to all when none stretches.
  bool anyStretch = std::any_of(v.begin(), v.end(), [](const Slot& s) { return !s.noStretch; });
  auto takes = [anyStretch](const Slot& s) { return !anyStretch || !s.noStretch; };
  Px sumPref = 0, members = 0;
  for (const Slot& s : v) {
    if (!takes(s)) continue;
    sumPref += s.pref;
    ++members;
  }
  while (left > 0) {
    Px remaining = left;
    for (Slot& s : v) {
      if (left == 0) break;
      if (!takes(s)) continue;
      Px share = Share(s.pref, remaining, sumPref, members, left);
      s.size += share;
      left -= share;
    }
  }
}

void Shrink(Vector& v, Px amount) {
  Px left = amount;

  // Slots above their preferred size give back first, down to it.
  for (bool again = true; again && left > 0;) {
    again = false;
    Px remaining = left;
    Px sumPref = 0, above = 0;
    for (const Slot& s : v) {
      if (s.size <= s.pref) continue;
      sumPref += s.pref;
      ++above;
    }
    if (above == 0) break;
    for (Slot& s : v) {
      if (left == 0) break;
      if (s.size <= s.pref) continue;
      Px share = Share(s.pref, remaining, sumPref, above, left);
      Px take = std::min(share, s.size - s.pref);
      s.size -= take;
      left -= take;
      if (take == share) again = true;
    }
  }

  // Then every slot, in proportion, keeping at least one pixel.
  Px sumAll = 0;
  for (const Slot& s : v) sumAll += s.pref;
  Px count = static_cast<Px>(v.size());
  for (bool again = true; again && left > 0;) {
    again = false;
    Px remaining = left;
    for (Slot& s : v) {
      if (left == 0) break;
      Px share = Share(s.pref, remaining, sumAll, count, left);
      Px take = std::clamp<Px>(s.size - 1, 0, share);
      s.size -= take;
      left -= take;
      if (take == share) again = true;
    }
  }
}

// Size and offset of a child along one axis of its cells.
struct Extent {
  Px offset;
  Px size;
};

Extent PlaceInCell(Px cell, Px given, bool keep, Px pref, Px border, bool atStart, bool atEnd) {
  Px size;
  if (given > 0)
    size = given;
  else if (keep && cell > pref)
    size = pref - 2 * border;
  else
    size = cell - 2 * border;
  size = std::max<Px>(size, 1);
  Px room = cell - (2 * border + size);
  Px offset = atStart ? 0 : atEnd ? room : room / 2;
  return {offset, size};
}

}  // namespace

Vector BuildVector(std::span<const Span> spans, Px spacing) {
  int slots = 0;
  for (const Span& s : spans) slots = std::max(slots, First(s) + Count(s));
  Vector v(slots);
  if (slots == 0) return v;

  for (const Span& s : spans)
    if (s.noStretch)
      for (int i = First(s); i < First(s) + Count(s); ++i) v[i].noStretch = true;

  // Narrow spans settle the slots before wider spans top them up.
  std::vector<const Span*> order;
  order.reserve(spans.size());
  for (const Span& s : spans) order.push_back(&s);
  std::stable_sort(order.begin(), order.end(), [](const Span* a, const Span* b) {
    if (Count(*a) != Count(*b)) return Count(*a) < Count(*b);
    return First(*a) < First(*b);
  });

  for (const Span* sp : order) {
    const Span& s = *sp;
    int first = First(s), count = Count(s);
    if (count == 1) {
      v[first].size = std::max(v[first].size, s.pref);
      continue;
    }
    Px have = CellSize(v, first, count, spacing);
    int flexible = 0;
    for (int i = first; i < first + count; ++i) flexible += v[i].noStretch ? 0 : 1;
    Px need = flexible != 0 ? s.pref : s.rigid;
    if (have >= need) continue;
    if (flexible != 0)
      Spread(v, first, count, need - have, [](const Slot& slot) { return !slot.noStretch; });
    else
      Spread(v, first, count, need - have, [](const Slot&) { return true; });
  }

  for (Slot& slot : v) slot.pref = slot.size;
  return v;
}

Px Total(const Vector& v, Px spacing, Px frame) {
  Px total = frame;
  for (const Slot& s : v) total += s.size;
  if (!v.empty()) total += static_cast<Px>(v.size() - 1) * spacing;
  return std::max<Px>(total, 1);
}

Px PreferredTotal(const Vector& v, Px spacing, Px frame) {
  Px total = frame;
  for (const Slot& s : v) total += s.pref;
  if (!v.empty()) total += static_cast<Px>(v.size() - 1) * spacing;
  return std::max<Px>(total, 1);
}

void Adjust(Vector& v, Px delta) {
  if (v.empty()) return;
  if (delta > 0) Grow(v, delta);
  if (delta < 0) Shrink(v, -delta);
}

void Fit(Vector& v, Px length, Px spacing, Px frame, bool forceShrink) {
  if (v.empty()) return;
  Px current = Total(v, spacing, frame);
  Px preferred = PreferredTotal(v, spacing, frame);
  Px delta = length - current;
  if (length < preferred && !forceShrink) delta = preferred - current;
  Adjust(v, delta);
}

void Place(Vector& v, Px start, Px spacing) {
  Px pos = start;
  for (Slot& s : v) {
    s.pos = pos;
    pos += s.size + spacing;
  }
}

Px CellSize(const Vector& v, int start, int count, Px spacing) {
  int first = std::clamp(start, 0, static_cast<int>(v.size()));
  int last = std::clamp(start + std::max(count, 1), first, static_cast<int>(v.size()));
  Px size = 0;
  for (int i = first; i < last; ++i) size += v[i].size;
  return size + static_cast<Px>(std::max(count, 1) - 1) * spacing;
}

Box ChildGeometry(const Vector& cols, const Vector& rows, Px colSpacing, Px rowSpacing,
                  const Cell& cell, Px givenWidth, Px givenHeight, Px border) {
  auto origin = [](const Vector& v, int i) {
    return v.empty() ? 0 : v[std::clamp<int>(i, 0, static_cast<int>(v.size()) - 1)].pos;
  };
  int o = cell.options;
  Extent h = PlaceInCell(CellSize(cols, cell.col, cell.hSpan, colSpacing), givenWidth,
                         o & kKeepWidth, cell.prefWidth, border, o & kLeft, o & kRight);
  Extent v = PlaceInCell(CellSize(rows, cell.row, cell.vSpan, rowSpacing), givenHeight,
                         o & kKeepHeight, cell.prefHeight, border, o & kTop, o & kBottom);
  return {origin(cols, cell.col) + h.offset, origin(rows, cell.row) + v.offset, h.size, v.size};
}

std::vector<Px> SameSize(std::span<const std::vector<Name>> groups, std::span<const Name> names,
                         std::span<const Px> values) {
  std::vector<Px> forced(names.size(), 0);
  for (const std::vector<Name>& group : groups) {
    std::unordered_set<Name> members(group.begin(), group.end());
    Px largest = 0;
    for (size_t i = 0; i < names.size(); ++i)
      if (members.count(names[i])) largest = std::max(largest, values[i]);
    for (size_t i = 0; i < names.size(); ++i)
      if (members.count(names[i])) forced[i] = largest;
  }
  return forced;
}

}  // namespace xmp::table
