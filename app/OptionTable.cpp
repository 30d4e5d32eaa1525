// OptionTable: the command-line options of xkest and the resources they set.
#include "app/OptionTable.h"

namespace xkest {
namespace {

// Xrm wants char* for texts it only reads.
char* S(const char* text) { return const_cast<char*>(text); }

}  // namespace

XrmOptionDescRec kOptionTable[kOptionCount] = {
    {S("-tempath"), S("*templatePath"), XrmoptionSepArg, nullptr},
    {S("-outdir"), S("*outputDir"), XrmoptionSepArg, nullptr},
    {S("-noadakw"), S("*noAdaKeywords"), XrmoptionNoArg, S("True")},
    {S("-adakw"), S("*noAdaKeywords"), XrmoptionNoArg, S("False")},
    {S("-nocxxkw"), S("*noCxxKeywords"), XrmoptionNoArg, S("True")},
    {S("-cxxkw"), S("*noCxxKeywords"), XrmoptionNoArg, S("False")},
    {S("-nofiles"), S("*showFiles"), XrmoptionNoArg, S("False")},
    {S("-files"), S("*showFiles"), XrmoptionNoArg, S("True")},
    {S("-nosummary"), S("*showSummary"), XrmoptionNoArg, S("False")},
    {S("-summary"), S("*showSummary"), XrmoptionNoArg, S("True")},
    {S("-ttrace"), S("*temTrace"), XrmoptionNoArg, S("True")},
    {S("-nobackups"), S("*makeBackups"), XrmoptionNoArg, S("False")},
    {S("-backups"), S("*makeBackups"), XrmoptionNoArg, S("True")},
    {S("-backupexts"), S("*backupExts"), XrmoptionSepArg, nullptr},
    {S("-toolhtml"), S("*toolHTMLBrowser"), XrmoptionSepArg, nullptr},
    {S("-tooleditor"), S("*toolFileEditor"), XrmoptionSepArg, nullptr},
    {S("-ResFile"), S("*wclInitResFile"), XrmoptionSepArg, nullptr},
    {S("-rf"), S("*wclInitResFile"), XrmoptionSepArg, nullptr},
    {S("-trrf"), S("*wclTraceResFiles"), XrmoptionNoArg, S("on")},
    {S("-Trace"), S("*wcTrace"), XrmoptionNoArg, S("on")},
    {S("-tr"), S("*wcTrace"), XrmoptionNoArg, S("on")},
    {S("-trtd"), S("*wclTraceTemplateDef"), XrmoptionNoArg, S("on")},
    {S("-trtx"), S("*wcTraceTemplate"), XrmoptionNoArg, S("on")},
    {S("-Warnings"), S("*wclVerboseWarnings"), XrmoptionNoArg, S("on")},
};

}  // namespace xkest
