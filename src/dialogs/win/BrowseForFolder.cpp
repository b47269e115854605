#include "dialogs/win/BrowseForFolder.h"

#include <objbase.h>
#include <shlobj.h>

#include "ui/win/TaskWindows.h"

namespace pelo::dialogs {
namespace {

// TSelectDirCallback: one run of the browse dialog, with what its callback needs when the dialog has opened.
struct TSelectDirCallback {
    std::wstring Folder;       // selected at opening unless empty
    HWND ActiveForm = nullptr;  // the program's window that was active when the chooser was asked for
};

int CALLBACK BrowseCallback(HWND dialog, UINT msg, LPARAM /*lp*/, LPARAM data)
{
    if (msg != BFFM_INITIALIZED)
        return 0;
    const auto& run = *reinterpret_cast<const TSelectDirCallback*>(data);
    if (run.ActiveForm) {
        if (HMONITOR monitor = MonitorFromWindow(run.ActiveForm, MONITOR_DEFAULTTONULL)) {
            MONITORINFO info{};
            info.cbSize = sizeof info;
            RECT r{};
            if (GetMonitorInfoW(monitor, &info) && GetWindowRect(dialog, &r)) {
                const RECT& m = info.rcMonitor;
                const int left = m.left + ((m.right - m.left) - (r.right - r.left)) / 2;
                const int top = m.top + ((m.bottom - m.top) - (r.bottom - r.top)) / 2;
                SetWindowPos(dialog, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
            }
        }
    }
    if (!run.Folder.empty())
        SendMessageW(dialog, BFFM_SETSELECTIONW, TRUE, reinterpret_cast<LPARAM>(run.Folder.c_str()));
    return 0;
}

bool IsDirectory(const std::wstring& path)
{
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

// The shell's dialog wants COM on the calling thread; a thread that has it already keeps it as it is.
class ComForThisCall {
public:
    ComForThisCall() : initialized_(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}
    ~ComForThisCall()
    {
        if (initialized_)
            CoUninitialize();
    }
    ComForThisCall(const ComForThisCall&) = delete;
    ComForThisCall& operator=(const ComForThisCall&) = delete;

private:
    bool initialized_;
};

}  // namespace

bool BrowseForFolder(const std::wstring& title, std::wstring& folder, HWND owner)
{
    if (!IsDirectory(folder))
        folder.clear();

    IMalloc* shellMalloc = nullptr;
    if (FAILED(SHGetMalloc(&shellMalloc)) || !shellMalloc)
        return false;
    auto* path = static_cast<wchar_t*>(shellMalloc->Alloc(MAX_PATH * sizeof(wchar_t)));
    if (!path) {
        shellMalloc->Release();
        return false;
    }
    path[0] = L'\0';

    const HWND application = ui::FindApplicationWindow();
    if (!owner || !IsWindow(owner))
        owner = application;

    TSelectDirCallback callback{folder, GetActiveWindow()};
    BROWSEINFOW info{};
    info.hwndOwner = owner;
    info.pidlRoot = nullptr;  // the whole namespace
    info.pszDisplayName = path;
    info.lpszTitle = title.c_str();
    info.ulFlags = BIF_RETURNONLYFSDIRS;
    info.lpfn = &BrowseCallback;
    info.lParam = reinterpret_cast<LPARAM>(&callback);

    LPITEMIDLIST chosen = nullptr;
    {
        ComForThisCall com;
        ui::TaskWindowsDisabled disabled;
        disabled.Disable(application);
        // Empty floppy and card drives answer with silence instead of a system error box.
        const UINT errorMode = SetErrorMode(SEM_FAILCRITICALERRORS);
        chosen = SHBrowseForFolderW(&info);
        SetErrorMode(errorMode);
        disabled.Restore();
    }
    // The owner was disabled when the browse dialog went, so the activation did not come back to it by itself.
    if (owner && owner != application && IsWindowVisible(owner))
        SetActiveWindow(owner);

    bool result = false;
    if (chosen) {
        SHGetPathFromIDListW(chosen, path);
        shellMalloc->Free(chosen);
        folder = path;
        result = true;
    }
    shellMalloc->Free(path);
    shellMalloc->Release();
    return result;
}

}  // namespace pelo::dialogs
