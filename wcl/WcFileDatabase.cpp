// WcFileDatabase.cpp: resource files read only when they are regular files.
#include "wcl/WcFileDatabase.h"

#include <sys/stat.h>

XrmDatabase WcReadFileDatabase(const char* fileName) {
  struct stat st;
  if (!fileName || ::stat(fileName, &st) != 0 || !S_ISREG(st.st_mode)) return nullptr;
  return XrmGetFileDatabase(fileName);
}
