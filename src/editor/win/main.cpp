// Glossel.exe: the companion script editor, or one command-line job (see editor/CommandLine.h).
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

#include <string>
#include <vector>

#include "editor/CommandLine.h"
#include "editor/win/CommandJobs.h"
#include "editor/win/EditorWindow.h"
#include "ui/win/WinText.h"

namespace {

std::vector<std::wstring> Arguments() {
    int count = 0;
    LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &count);
    std::vector<std::wstring> args;
    for (int i = 1; i < count; ++i) args.emplace_back(wide[i]);
    LocalFree(wide);
    return args;
}

// A job's output goes to whatever the caller gave as standard output, or to its console.
void Print(const std::string& line) {
    static HANDLE out = [] {
        HANDLE handle = GetStdHandle(STD_OUTPUT_HANDLE);
        if (handle == nullptr || handle == INVALID_HANDLE_VALUE) {
            if (AttachConsole(ATTACH_PARENT_PROCESS)) handle = GetStdHandle(STD_OUTPUT_HANDLE);
        }
        return handle;
    }();
    if (out == nullptr || out == INVALID_HANDLE_VALUE) return;
    const std::string text = line + "\r\n";
    DWORD written = 0;
    WriteFile(out, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR, int) {
    std::vector<std::string> arguments;
    for (const std::wstring& a : Arguments()) arguments.push_back(pelo::ui::WideToAnsi(a));
    const pelo::editor::TCommandLine line = pelo::editor::ParseCommandLine(arguments);
    if (line.Mode != pelo::editor::TRunMode::Editor || !line.Error.empty())
        return pelo::editor::RunCommandJob(line, Print);

    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_BAR_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    pelo::editor::EditorWindow editor;
    if (!pelo::editor::EditorWindow::RegisterClass(instance) ||
        !editor.Create(instance, pelo::ui::AnsiToWide(line.Input)))
        return 1;
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (editor.PreTranslate(msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return static_cast<int>(msg.wParam);
}
