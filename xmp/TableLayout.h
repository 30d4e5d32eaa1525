// TableLayout.h: the arithmetic of the table widget, free of X so that it is
// tested without a display. One vector describes the columns (or the rows)
// of a table; the same routines serve both axes.
//
//   std::vector<xmp::table::Span> cols = {{0, 1, false, 50, 50}, {1, 1, false, 150, 150}};
//   xmp::table::Vector v = xmp::table::BuildVector(cols, /*spacing=*/0);
//   xmp::table::Fit(v, /*length=*/300, 0, /*frame=*/0, /*forceShrink=*/true);
//   // v[0].size == 75, v[1].size == 225
//   xmp::table::Place(v, /*start=*/0, 0);
//
// Sizes are plain pixels in a wide integer type: the toolkit's 16-bit
// dimensions are widened here so that sums over large tables never wrap.
#pragma once

#include <span>
#include <vector>

namespace xmp::table {

using Px = long;

// One column or row.
struct Slot {
  bool noStretch = false;  // spanned by a child with option 'w' ('h' for rows)
  Px size = 0;             // current size
  Px pref = 0;             // preferred size
  Px pos = 0;              // offset of its first pixel in the table
};
using Vector = std::vector<Slot>;

// A child seen along one axis.
struct Span {
  int start = 0;           // first column (row); negative counts as 0
  int count = 1;           // columns (rows) covered; below 1 counts as 1
  bool noStretch = false;  // the child's 'w' ('h') option
  Px pref = 0;             // preferred outer size, borders included
  Px rigid = 0;            // outer size used when every spanned slot is noStretch
};

// Makes one slot per column up to the furthest span end, marks no-stretch
// slots and computes the preferred sizes: single spans first, then wider
// ones, each spreading what its slots lack over its stretchable slots (all
// of them when none stretches), the first slots taking the odd pixels.
// Size and preferred size are equal afterwards. No spans give no slots.
Vector BuildVector(std::span<const Span> spans, Px spacing);

// frame + sizes + spacing between slots, at least 1; `frame` is the space
// around the cells (twice shadow plus margin).
Px Total(const Vector& v, Px spacing, Px frame);
Px PreferredTotal(const Vector& v, Px spacing, Px frame);

// Grows (delta > 0) or shrinks (delta < 0) the slots by exactly |delta|
// pixels where possible: first towards their preferred sizes, then in
// proportion to the preferred sizes. Growth goes to stretchable slots only
// (to all when none stretches); no slot shrinks below 1 pixel, so a shrink
// may stop short.
void Adjust(Vector& v, Px delta);

// Adjusts the slots so that Total() becomes `length`. Without forceShrink
// the slots never go below their preferred sizes (the table is clipped).
void Fit(Vector& v, Px length, Px spacing, Px frame, bool forceShrink);

// Sets the slot positions: the first at `start`, each next one after the
// previous size plus spacing.
void Place(Vector& v, Px start, Px spacing);

// The size of `count` slots from `start` including the spacing between them.
Px CellSize(const Vector& v, int start, int count, Px spacing);

// Option bits as in the table's options strings.
enum Option : int {
  kLeft = 1,
  kRight = 2,
  kTop = 4,
  kBottom = 8,
  kKeepWidth = 16,
  kKeepHeight = 32,
  kNoStretchCols = 64,
  kNoStretchRows = 128,
};

// A child's placement for ChildGeometry.
struct Cell {
  int col = 0, row = 0, hSpan = 1, vSpan = 1;
  int options = 0;
  Px prefWidth = 0, prefHeight = 0;  // outer preferred sizes ('W', 'H')
};

struct Box {
  Px x = 0, y = 0, width = 1, height = 1;  // width and height exclude borders
};

// Where a child goes in its cells (after Place on both vectors). A given
// width or height above 0 is used as it is; otherwise the child fills its
// cells, or with 'W'/'H' keeps its preferred size when the cells are
// larger. It is then justified by 'l'/'r' ('l' wins) and 't'/'b' ('t'
// wins), centred otherwise. Width and height are at least 1.
Box ChildGeometry(const Vector& cols, const Vector& rows, Px colSpacing, Px rowSpacing,
                  const Cell& cell, Px givenWidth, Px givenHeight, Px border);

// Same-size groups: for each item the largest value among the items whose
// name is in a group with its own, or 0 when its name is in no group. A
// later group that names an item overrides an earlier one.
using Name = int;
std::vector<Px> SameSize(std::span<const std::vector<Name>> groups, std::span<const Name> names,
                         std::span<const Px> values);

}  // namespace xmp::table
