// TemplateCatalogue: catalogued templates and their quick-item buttons.
//
// A template ID (a word) has three application resources: ID-file (its
// path, "$KESTHOME" allowed), ID-title (the button label) and ID-desc (a
// description). Each ID of the quick item list gets a push button, named
// ID followed by "button", that makes its template current when pressed.
//
//   Str file, title, desc;
//   if (GetTemplateInfo("cpp", file, title, desc, 1)) ...
#pragma once

#include <X11/Intrinsic.h>

#include "support/Support.h"

// Reads the three catalogue resources of id from the application shell.
// Returns 1 and fills the outputs when all three exist; otherwise returns 0,
// leaves the outputs alone and, when verbose, prints a line naming the
// first missing resource.
int GetTemplateInfo(const char* id, Str& file, Str& title, Str& desc, int verbose);

// The same, reading from the given shell.
int GetTemplateInfo(Widget shell, const char* id, Str& file, Str& title, Str& desc,
                    int verbose);

// Creates one managed push button under parent for every ID of ids (words
// separated by white space) whose catalogue is complete, in order. Without a
// parent, or when the parent is no manager widget, nothing is created.
void BuildQuickItems(Widget parent, const Str& ids);
