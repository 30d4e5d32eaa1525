// WcStandard.h: the standard callbacks and actions.
#pragma once

#include <X11/Intrinsic.h>
