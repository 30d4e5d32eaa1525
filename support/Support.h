// Support.h: the support library in one include: strings, string arrays,
// character sets, allocation, console messages and file utilities.
#pragma once
