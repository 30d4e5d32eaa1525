// XmTextWrap: how many character cells of a Motif text widget's widest
// character fit between its margins, so a caller can tell whether word
// wrap would change a text at all. Motif lays out a word-wrapping text by
// measuring every character of it (seconds for a report of megabytes),
// while without word wrap it only looks for newlines; a text whose lines
// all fit looks the same either way.
//
//   size_t tail = 0;
//   if (textlines::WidestLineCells(report, tail) > XmTextCellsAcross(text)) wrap on
#pragma once

#include <X11/Intrinsic.h>

#include <cstddef>

// Whole cells of the widest character of the widget's fonts that fit
// across its text area; 0 when no font of it can be measured (then
// nothing is known to fit).
size_t XmTextCellsAcross(Widget text);
