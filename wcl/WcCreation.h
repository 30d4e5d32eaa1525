// WcCreation.h: widget tree creation from resources.
#pragma once

#include <X11/Intrinsic.h>
