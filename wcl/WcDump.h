// WcDump.h: creation traces and resource dumps.
#pragma once

#include <X11/Intrinsic.h>
