#include "script/win/WinScriptServices.h"

#include "ui/win/InputBox.h"
#include "ui/win/WinText.h"

namespace pelo::script {

void TWinScriptServices::TradeSignal(int code) {
    if (code >= 1 && code <= 4 && ExecuteTradeClicks) ExecuteTradeClicks(code);
    if (Panels) Panels->ShowSignal(code);
}

void TWinScriptServices::WriteLn(std::string_view text) {
    if (PostHBoxLine) PostHBoxLine(std::string(text));
}

std::string TWinScriptServices::ReadLn(std::string_view caption) {
    const std::optional<std::wstring> text = ui::ShowInputBox(DialogOwner, ui::AnsiToWide(caption), L"", 255);
    return text ? ui::WideToAnsi(*text) : std::string();
}

void TWinScriptServices::WriteLnLog(std::string_view text) {
    if (WriteScriptLogLine) WriteScriptLogLine(std::string(text));
}

ScriptControl& TWinScriptServices::CreateLabel(std::string_view caption, int32_t left, int32_t top) {
    if (!Panels) throw lang::hostException("The indicator panel does not exist yet");
    return Panels->CreateLabel(caption, left, top);
}

}  // namespace pelo::script
