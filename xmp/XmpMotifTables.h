// XmpMotifTables.h: every Motif convenience constructor and widget class of
// the installed Motif (2.3), as the names a resource file may use for them.
// The registration walks these tables; tests walk them to check that each
// name reaches the right constructor or class.
//
//   for (const xmp::MotifClass& c : xmp::MotifClasses())
//     WcRegisterClass(app, c.className, *c.widgetClass);
#pragma once

#include <X11/Intrinsic.h>

#include <span>

namespace xmp {

// The convenience constructor signature every XmCreate... function shares.
using MotifCreateProc = Widget (*)(Widget parent, String name, ArgList args, Cardinal count);

struct MotifConstructor {
  const char* name;       // "XmCreateForm"
  MotifCreateProc proc;   // XmCreateForm
};

struct MotifClass {
  const char* className;    // "XmForm"
  const char* pointerName;  // "xmFormWidgetClass"
  WidgetClass* widgetClass; // &xmFormWidgetClass: read at registration time
};

// "XmCreateCheckBox" appears bound to XmCreateSimpleCheckBox: Motif's own
// check-box constructor takes no button list and resource files expect the
// simple one under that name.
std::span<const MotifConstructor> MotifConstructors();

// The print shell is absent: this Motif is built without the X print
// extension.
std::span<const MotifClass> MotifClasses();

}  // namespace xmp
