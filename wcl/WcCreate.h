// WcCreate.h: the public C surface of the resource-driven widget creation
// layer. Include this one header to register classes, constructors,
// callbacks and actions, and to build a widget tree from the resource
// database:
//
//   WcRegisterCallback(app, "myQuitCB", MyQuit, nullptr);
//   WcWidgetCreation(appShell);   // builds what the resources describe
#pragma once

#include "wcl/WcWarnings.h"    // warnings, message database, WcBuffer
#include "wcl/WcRegistry.h"    // classes, constructors, callbacks, actions
#include "wcl/WcNames.h"       // widget names and name lists
#include "wcl/WcCallbacks.h"   // callback strings, bridges, converters
#include "wcl/WcResFiles.h"    // resource files and start-up
#include "wcl/WcCreation.h"    // widget tree creation
#include "wcl/WcDump.h"        // traces and resource dumps
#include "wcl/WcStandard.h"    // standard callbacks and actions
#include "wcl/WcSetValue.h"    // setting resources at run time
