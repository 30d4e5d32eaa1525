// WcLibraryResources.h: the creation layer's own settings, the library
// resources (wclResFiles, wclVerboseWarnings, ...), read from the root
// widget at start-up and consulted by every module that behaves by them:
//
//   if (WcGetLibraryResources()->wclVerboseWarnings) ...warn early
//
// A leaf: it depends on the toolkit alone, so any module may read the
// settings without depending on the start-up that fills them.
#pragma once

#include <X11/Intrinsic.h>

// Representation type of wclDynamicLibs (its converter fills the
// dynamic-library registry).
#define WcRDynamicLibs "DynamicLibs"

#ifdef __cplusplus
extern "C" {
#endif

// The library resources, read from the root widget by WcInitialize (so
// they may be given on the command line with -xrm). Before the first
// start-up every field holds its default.
typedef struct {
  String wclInitResFile;          // first name: a file loaded first
  String wclResFiles;             // files to load (name list)
  Boolean wclTraceResFiles;       // print "Wcl loaded:" lines
  String wclErrorDatabaseFile;    // message database file
  String wclWidgetResourceFiles;  // read, no further effect
  String wclTemplateFiles;        // template files (name list)
  Boolean wclTraceTemplateDef;    // dump each template when it is loaded
  Boolean wclVerboseWarnings;     // warn about unregistered callbacks early
  String wclDynamicLibs;          // converted into the dynamic-library registry
  Boolean wclSlowTightNames;      // name search through ancestors
  String wclAppClassName;         // class of shells made by WcCreateRoot
} WcLibraryResources;

// The values of the latest start-up (defaults before the first). Never null.
const WcLibraryResources* WcGetLibraryResources(void);

#ifdef __cplusplus
}

namespace wcl {

// The start-up reads the settings in three groups, as each may change what
// the next one finds: the first file, the chained files, then the rest.
enum class LibraryResourceGroup { InitFile, ResFiles, Others };

// Reads one group from root into the settings; String values are copied,
// as a later merge into the database may free what they point to.
void FetchLibraryResources(Widget root, LibraryResourceGroup group);

}  // namespace wcl
#endif
