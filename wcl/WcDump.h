// WcDump.h: creation traces and resource dumps.
//
// When a resource file does not build what its author expects, these show
// which resource specifications apply to a widget. Each dump collects its
// lines and hands the whole text to WcWarningPrinter as one message:
//
//   *main.wcPostCreateDumpResources: True     (or call it yourself:)
//   WcDumpPostCreateResources(mainWindow);
//
//   ==== Wcl PostCreate Resources: Widget xkest.main of class XmMainWindow
//   *foreground:    black
//   *main.wcManaged(Boolean):       0x55D0C2A8 points to 1 bytes.
//   ==== Wcl: Total Number of Resources: 2
//
// Values start on a column that is a multiple of 8.
#pragma once

#include <X11/Intrinsic.h>

#include "wcl/WcWarnings.h"

#ifdef __cplusplus
extern "C" {
#endif

// The specifications that will apply to a child `childName` of parent that
// is not created yet (class-only specifications cannot match it).
void WcDumpPreCreateResources(Widget parent, const char* childName);

// The specifications that apply to an existing widget.
void WcDumpPostCreateResources(Widget w);

// Every entry of a template's database, right after it was read.
void WcDumpTemplateDefinition(XrmDatabase db, const char* templateName, const char* fileName);

// The closure of WcDumpResourceLine: where the lines go, how many, and
// (when not null) the entries listed so far.
typedef struct {
  WcBuffer* buffer;
  int count;
  void* seen;  // private to the dumps; null lists every visit
} WcDumpClosure;

// The XrmEnumerateDatabase procedure of the dumps: appends one line per
// entry to the WcDumpClosure it is given and counts it. Always returns
// False, so the enumeration visits every entry. With `seen`, an entry
// visited again (through a name and through an equal class) is skipped.
Bool WcDumpResourceLine(XrmDatabase* db, XrmBindingList bindings, XrmQuarkList quarks,
                        XrmRepresentation* type, XrmValue* value, XPointer closure);

#ifdef __cplusplus
}
#endif

#ifdef __cplusplus
#include <string>
#include <string_view>

namespace wcl {

// One dump line for an entry whose name (bindings and components already
// joined, e.g. "*main.foreground") is `name`. For a String entry `type` is
// "String" and `value` its text (null: "(nil)"); for others `address` and
// `size` describe the value.
std::string FormatResourceLine(std::string_view name, std::string_view type, const char* value,
                               const void* address, unsigned size);

}  // namespace wcl
#endif
