// WcCreate.h: the public C surface of the resource-driven widget creation
// layer. Include this one header to register classes, constructors,
// callbacks and actions, and to build a widget tree from the resource
// database:
//
//   WcRegisterCallback(app, "myQuitCB", MyQuit, nullptr);
//   WcWidgetCreation(appShell);   // builds what the resources describe
#pragma once

#include "wcl/WcWarnings.h"            // warnings, message database, WcBuffer
#include "wcl/WcLibraryResources.h"    // the library resources (settings)
#include "wcl/WcRegistry.h"            // classes, constructors, callbacks, actions
#include "wcl/WcIntrinsicClasses.h"    // the Intrinsics' classes and shells
#include "wcl/WcNames.h"               // widget names and name lists
#include "wcl/WcCallbacks.h"           // callback strings and bridges
#include "wcl/WcConverters.h"          // the layer's resource converters
#include "wcl/WcNameConverters.h"      // widget-name converters
#include "wcl/WcFileDatabase.h"        // reading one resource file
#include "wcl/WcResFiles.h"            // resource files
#include "wcl/WcTemplates.h"           // creation templates
#include "wcl/WcCreation.h"            // widget tree creation
#include "wcl/WcInitialize.h"          // start-up and WcWidgetCreation
#include "wcl/WcDump.h"                // traces and resource dumps
#include "wcl/WcStandard.h"            // standard callbacks and actions
#include "wcl/WcStdWidgets.h"          //   acting on widgets
#include "wcl/WcStdCreate.h"           //   creating widgets and processes
#include "wcl/WcStdCallbacks.h"        //   callbacks and translations
#include "wcl/WcSetValue.h"            // setting resources at run time
