// WcFetch.h: a lean resource fetch for the creation resources, used inside
// the layer instead of XtGetSubresources / XtGetApplicationResources.
//
// It matches what those calls do (the same search list from the screen
// database, the same converters), but a resource that is absent costs one
// lookup and its default is a plain copy: no default conversions, no
// indirection tables. Creation reads two small groups for every widget, so
// this is where a big tree spends its overhead.
//
//   static wcl::FetchResource table[] = {{"wcTrace", "WcTrace", XtRBoolean,
//                                         sizeof(Boolean), offsetof(Rec, trace)}};
//   Rec rec = kDefaults;   // defaults first
//   wcl::FetchFromWidget(w, table, XtNumber(table), &rec);
#pragma once

#include <X11/Intrinsic.h>

#include <cstddef>

namespace wcl {

struct FetchResource {
  const char* name;
  const char* resourceClass;
  const char* type;
  size_t size;
  size_t offset;
  // Quarks of the three texts, filled on first use.
  XrmQuark nameQuark = NULLQUARK;
  XrmQuark classQuark = NULLQUARK;
  XrmQuark typeQuark = NULLQUARK;
};

// Reads the resources of a sub-part `name` (used as its class too) of
// parent, as XtGetSubresources(parent, base, name, name, ...) would. Fields
// whose resource is absent (or does not convert) keep their value.
void FetchSubpart(Widget parent, const char* name, FetchResource* table, size_t count,
                  void* base);

// Reads resources of w itself, with w's name and class path, as
// XtGetApplicationResources(w, base, ...) would.
void FetchFromWidget(Widget w, FetchResource* table, size_t count, void* base);

}  // namespace wcl
