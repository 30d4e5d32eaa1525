// WcTemplates.h: template expansion for widget creation (used inside the
// layer; the registration and loading entry points are in WcCreation.h).
//
//   if (wcl::ExpandTemplate(templ, parent, "okBox", trace)) ...read again
#pragma once

#include <X11/Intrinsic.h>

namespace wcl {

// Copies every entry of the template registered under `templateName` into
// the screen database below parent's path and `name` (all loosely bound),
// without overriding entries already there. With `trace`, prints the
// copied entries. False when the template is unknown or empty.
bool ExpandTemplate(XrmQuark templateName, Widget parent, const char* name, bool trace);

}  // namespace wcl
