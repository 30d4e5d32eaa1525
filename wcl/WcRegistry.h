// WcRegistry.h: registries of classes, constructors, callbacks, methods and actions.
#pragma once

#include <X11/Intrinsic.h>
