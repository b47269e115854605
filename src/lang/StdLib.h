// Registration of the standard script library into a host table: the runtime-library routines, the
// engine's exception routines, TObject/TPersistent/TComponent and TStrings/TStringList.
#pragma once

#include <string>

#include "lang/HostTable.h"

namespace pelo::lang {

struct StdLibOptions {
    std::string lineBreak = "\r\n";  // what TStrings.Text puts after each line
};

void registerStandardLibrary(HostTable& table, const StdLibOptions& options = {});

// The host program's text helpers: IntToStrS, FloatToStrFixed, FloatToStrFixedS, StrReplace.
void registerHostHelpers(HostTable& table);

// A host object of class TStringList/TStrings as scripts see it.
class StringListObject;

}  // namespace pelo::lang
