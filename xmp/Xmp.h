// Xmp.h: the Motif support set in one include: registration of every Motif
// class and constructor, Motif-specific callbacks and actions, the message
// widget and the table widget.
//
//   #include "xmp/Xmp.h"
//   XmpRegisterAll(app);   // before WcWidgetCreation
#pragma once

#include <X11/Intrinsic.h>

#include "xmp/Table.h"
#include "xmp/XmpMessage.h"
#include "xmp/XmpRegister.h"
#include "xmp/XmpSupport.h"
#include "xmp/XmpText.h"
