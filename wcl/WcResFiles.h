// WcResFiles.h: resource files and the layer's start-up.
#pragma once

#include <X11/Intrinsic.h>
