// WcCallbacks.h: callback strings, late binding, bridges and converters.
#pragma once

#include <X11/Intrinsic.h>
