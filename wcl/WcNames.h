// WcNames.h: widget name resolution, full names and name lists.
#pragma once

#include <X11/Intrinsic.h>
