// WcStandard.cpp: registration of the standard callbacks and actions.
#include "wcl/WcStandard.h"

void WcRegisterStandardCallbacks(XtAppContext) {}

void WcRegisterStandardActions(XtAppContext) {}
