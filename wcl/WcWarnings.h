// WcWarnings.h: warnings, the message database and the growable text buffer.
#pragma once

#include <X11/Intrinsic.h>
