#include "app/win/InstanceProtocol.h"

#include "script/win/CompanionWindows.h"

namespace pelo::app {

UINT RegisterPeloCommMessage() { return RegisterWindowMessageA(kPeloCommMessageName); }

HWND LearnWindowHandle(const std::wstring& name) { return script::companion::WindowOfSemaphore(name); }

void HandOverToRunningInstance(HWND running, UINT msg, StartupCommand command) {
    PostMessageW(running, msg, kCmdActivate.wParam, kCmdActivate.lParam);
    SetWindowPos(running, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    SetWindowPos(running, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
    SetForegroundWindow(running);
    const CommandPair* pair = nullptr;
    switch (command) {
        case StartupCommand::Attach: pair = &kCmdAttach; break;
        case StartupCommand::Detach: pair = &kCmdDetach; break;
        case StartupCommand::Test: pair = &kCmdTest; break;
        case StartupCommand::Reset: pair = &kCmdReset; break;
        case StartupCommand::None: break;
    }
    if (pair) PostMessageW(running, msg, pair->wParam, pair->lParam);
}

bool CreateInstanceSemaphore(const std::wstring& name, HWND mainWindow) {
    return script::companion::CreateWindowSemaphore(name, mainWindow);
}

void NotifyEditor(const std::wstring& editorSemaphoreName, UINT msg, bool scriptAttached) {
    if (HWND editor = LearnWindowHandle(editorSemaphoreName))
        PostMessageW(editor, msg, kScriptStateCode, scriptAttached ? 1 : 0);
}

void OpenScriptEditor(const std::wstring& editorSemaphoreName, const std::wstring& programDir) {
    if (HWND editor = LearnWindowHandle(editorSemaphoreName)) {
        if (IsIconic(editor)) ShowWindow(editor, SW_RESTORE);
        SetForegroundWindow(editor);
        return;
    }
    std::wstring path = programDir;
    if (!path.empty() && path.back() != L'\\') path += L'\\';
    path += L"Glossel.exe";
    STARTUPINFOW startup{};
    GetStartupInfoW(&startup);
    startup.cb = sizeof startup;
    startup.lpTitle = nullptr;
    PROCESS_INFORMATION process{};
    std::wstring commandLine = L"\"" + path + L"\"";
    // A failure to start is not reported, and nobody waits for the editor.
    if (CreateProcessW(path.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                       &process)) {
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
}

PeloCommand CommandOf(WPARAM wp, LPARAM lp) {
    auto is = [wp, lp](const CommandPair& p) { return wp == p.wParam && lp == p.lParam; };
    if (wp == kNewsNotification) return PeloCommand::News;
    if (is(kCmdAttach)) return PeloCommand::Attach;
    if (is(kCmdDetach)) return PeloCommand::Detach;
    if (is(kCmdTest)) return PeloCommand::Test;
    if (is(kCmdReset)) return PeloCommand::Reset;
    if (is(kCmdActivate)) return PeloCommand::Activate;
    return PeloCommand::None;
}

}  // namespace pelo::app
