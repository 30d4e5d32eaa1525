// Xmp.h: the Motif support set in one include: registration of every Motif
// class and constructor, Motif-specific callbacks and actions, the message
// widget and the table widget.
#pragma once

#include <X11/Intrinsic.h>
