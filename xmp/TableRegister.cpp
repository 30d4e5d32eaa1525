// TableRegister.cpp: makes the table widget nameable from resource files.
#include "xmp/Table.h"

extern "C" void XmpRegisterTable(XtAppContext) {}
