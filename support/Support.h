// Support.h: the support library in one include: strings, string arrays,
// character sets, allocation, console messages and file utilities.
#pragma once

#include "support/CharSet.h"
#include "support/Console.h"
#include "support/FileUtil.h"
#include "support/Memory.h"
#include "support/Str.h"
#include "support/StrArray.h"
#include "support/StrUtil.h"
