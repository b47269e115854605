#pragma once
// Everything a script may use, in one table: the standard library with its date and time functions, TRegExp, the
// classes of the program's objects (TFont, TLabel, TPanel, TApplication), the 17 host functions and the predefined
// variables. glc compiles against this table and the program runs against it, so a compiled file always finds
// what it was compiled for. What the host functions do is the caller's IScriptServices.
#include <cstdint>
#include <string>
#include <string_view>

#include "lang/HostTable.h"
#include "lang/StdLib.h"
#include "script/ScriptObjects.h"

namespace pelo::script {

// What the host functions do. The program's implementation acts on its windows; glc prints.
class IScriptWindowFactory;

class IScriptServices {
public:
    virtual ~IScriptServices() = default;
    // Buy 1, StrongBuy 2, Sell 3, StrongSell 4, NoTrade 5, CancelTrade 6. The first four click first where
    // autoexecute applies; then every one shows its signal.
    virtual void TradeSignal(int code) = 0;
    virtual void WriteLn(std::string_view text) = 0;
    // The text entered in a modal dialog titled `caption`; "" when it is cancelled.
    virtual std::string ReadLn(std::string_view caption) = 0;
    virtual void WriteLnLog(std::string_view text) = 0;
    virtual bool Signaled() = 0;
    virtual int32_t LastSignal() = 0;
    // A new label on the indicator panel; the panel keeps it until the program ends.
    virtual ScriptControl& CreateLabel(std::string_view caption, int32_t left, int32_t top) = 0;
    virtual void DisableFontSmoothing(ScriptControl& label) = 0;
    // What makes the windows and timers scripts create; none where there is no screen (glc).
    virtual IScriptWindowFactory* Windows() { return nullptr; }
};

// The classes that objects handed to scripts must be made with.
struct ScriptClasses {
    const lang::HostClass* Object = nullptr;
    const lang::HostClass* RegExp = nullptr;
    const lang::HostClass* Font = nullptr;
    const lang::HostClass* Label = nullptr;
    const lang::HostClass* Panel = nullptr;
    const lang::HostClass* Application = nullptr;
};

// The predefined variables, in the order they are bound.
inline constexpr std::string_view kApplicationVariable = "APPLICATION";
inline constexpr std::string_view kSelfVariable = "SELF";
inline constexpr int kScriptRegExpCount = 10;
inline constexpr int kIndicatorLabelCount = 6;
std::string RegExpVariable(int slot);   // slot 0: "regexp", then "regexp2" .. "regexp10"
std::string IndicatorLabelVariable(int index);  // 0: "lbl1" .. 5: "lbl6"
inline constexpr std::string_view kResPanelVariable = "ResPanel";

// The program objects that the predefined variables are bound to; null ones are left unbound.
struct ScriptBindings {
    ScriptApplication* Application = nullptr;
    lang::ScriptObject* Self = nullptr;
    ScriptControl* Labels[kIndicatorLabelCount] = {};
    ScriptControl* ResPanel = nullptr;
};

// Registers everything and finishes the table. `services` must outlive every use of the table.
ScriptClasses RegisterScriptInterface(lang::HostTable& table, IScriptServices& services,
                                      const lang::StdLibOptions& options = {});

}  // namespace pelo::script
