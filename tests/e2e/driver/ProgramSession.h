#pragma once
// Steps most end-to-end tests share: the settings file written before a start, the program started with its
// first-start note about the logs folder answered, and an edit found by the label beside it.
#include <string>

#include "driver/Driver.h"

namespace pelo::e2e {

// Pelorant.ini as the program reads it, in the test's prefix.
inline void WriteSettingsFile(const std::wstring& text) {
    CreateDirectoryW((LocalAppDataDir() + L"\\Quorvel Software").c_str(), nullptr);
    CreateDirectoryW(AppDataDir().c_str(), nullptr);
    WriteFileBytes(AppDataDir() + L"\\Pelorant.ini", Utf16LeWithBom(text));
}

// Starts the program installed in C:\<folder>; answers the note a first start shows about the new logs folder
// (any other box is left for the test). Returns the main window, or null when none came in time.
inline HWND StartProgramWindow(Process& process, const std::wstring& folder = L"Pelo", DWORD timeoutMs = 20000) {
    process = Process::Start(InstallProgram(folder));
    HWND main = nullptr;
    WaitUntil(
        [&] {
            if (auto box = WaitForMessageBox(process.Id(), 0)) {
                if (box->text.find(L"Pelorant Logs") == std::wstring::npos) return false;
                AnswerMessageBox(*box, L"OK");
            }
            main = WaitForTopLevel(process.Id(), L"TfrmPelorant", 0);
            return main != nullptr;
        },
        timeoutMs, 100);
    return main;
}

// The edit on the same line as the label, to its right, in the label's container.
inline HWND EditBeside(HWND dialog, const std::wstring& label) {
    HWND l = FindDescendant(dialog, L"Static", label);
    if (!l) return nullptr;
    const RECT at = RectInParent(l);
    for (HWND w : Children(GetParent(l))) {
        if (GetParent(w) != GetParent(l) || _wcsicmp(ClassOf(w).c_str(), L"Edit") != 0) continue;
        const RECT r = RectInParent(w);
        if (r.left > at.left && r.top <= at.bottom && r.bottom >= at.top) return w;
    }
    return nullptr;
}

inline void SetEditText(HWND edit, const wchar_t* text) {
    SendWithTimeout(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
}

}  // namespace pelo::e2e
