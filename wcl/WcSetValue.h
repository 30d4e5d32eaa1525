// WcSetValue.h: setting resources and translations at run time.
#pragma once

#include <X11/Intrinsic.h>
