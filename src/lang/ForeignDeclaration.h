// Where a routine declared `external` lives: the text after `external` names the function, its library, how it is
// called and how the library is loaded, e.g. 'MessageBeep@user32.dll stdcall' or 'Log@"my tools.dll" cdecl delayload'.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace pelo::lang {

// The order is the compiled file's: the byte stored for a convention.
enum class CallConvention : uint8_t { Register = 0, Pascal, Cdecl, Stdcall };

struct ForeignTarget {
    std::string entry;    // the function's exported name, as written
    std::string library;  // the library's file name, as written (without quotes)
    CallConvention convention = CallConvention::Register;
    bool delayLoad = false;
    bool alteredSearchPath = false;  // load it with LOAD_WITH_ALTERED_SEARCH_PATH
};

struct ForeignTargetText {
    bool ok = false;
    ForeignTarget target;
    std::string error;  // "Invalid External" or "Invalid Calling Convention" when !ok
};

// Reads the text of an `external` clause. Without a convention the function is called with Register, the
// script language's own default.
ForeignTargetText parseForeignTarget(std::string_view text);

}  // namespace pelo::lang
