#include "news/win/WinNewsReaderHost.h"

#include "news/NewsColumnTitles.h"
#include "news/NewsList.h"
#include "news/SnapshotNewsList.h"
#include "news/win/WinListViewMessages.h"
#include "core/win/WinOSError.h"
#include "news/win/WinRemoteMemory.h"
#include "news/win/WinTerminalRowSource.h"
#include "terminals/win/TerminalControl.h"
#include "ui/win/MessageBoxes.h"
#include "ui/win/WinText.h"

namespace pelo::news {

WindowHandle WinNewsReaderHost::FindTerminalWindow(const std::string& pattern)
{
    return ToHandle(terminals::FindTerminalWindow(pattern));
}

bool WinNewsReaderHost::CanAccessTerminal(WindowHandle terminalWindow)
{
    return terminals::CanAccessTerminal(ToHwnd(terminalWindow));
}

TNewsListMatch WinNewsReaderHost::FindNewsList(WindowHandle terminalWindow)
{
    return news::FindNewsList(tree_, terminalWindow, [](WindowHandle listView) {
        // One manager per list view examined: its regions go as soon as the titles are read.
        std::unique_ptr<TProcessMemMgr> memory = CreateProcessMemMgr(ToHwnd(listView));
        WinListViewMessages messages(ToHwnd(listView), *memory);
        return CheckNewsColumns(*memory, messages);
    });
}

std::unique_ptr<INewsList> WinNewsReaderHost::OpenNewsList(WindowHandle listView, int headlineColumn)
{
    std::unique_ptr<TProcessMemMgr> memory = CreateProcessMemMgr(ToHwnd(listView));
    // The messages refer to the manager, which the news list owns and destroys after them.
    auto messages = std::make_unique<WinListViewMessages>(ToHwnd(listView), *memory);
    auto remote = std::make_unique<TListViewNewsList>(std::move(memory), std::move(messages), headlineColumn);
    if (!config_.ReadRowsInTerminal)
        return remote;
    return std::make_unique<TSnapshotNewsList>(
        std::move(remote), std::make_unique<WinTerminalRowSource>(ToHwnd(listView), config_.PeloCommMsg), headlineColumn);
}

HookHandle WinNewsReaderHost::InstallNewsHook(WindowHandle listView)
{
    if (config_.HookLibrary == nullptr || config_.HookProcAddress == nullptr)
        return 0;
    const DWORD thread = GetWindowThreadProcessId(ToHwnd(listView), nullptr);
    HHOOK hook = SetWindowsHookExA(WH_CALLWNDPROC,
                                   reinterpret_cast<HOOKPROC>(reinterpret_cast<void*>(config_.HookProcAddress)),
                                   config_.HookLibrary, thread);
    if (hook == nullptr)
        RaiseLastOSError();
    // The arming message: from now on the library reports new rows of this list view, to the window named here.
    try {
        SendToTerminal(ToHwnd(listView), config_.PeloCommMsg, NewsNotificationCode,
                       reinterpret_cast<LPARAM>(config_.MainWindow));
    } catch (...) {
        UnhookWindowsHookEx(hook);
        throw;
    }
    return reinterpret_cast<HookHandle>(hook);
}

void WinNewsReaderHost::RemoveNewsHook(HookHandle hook) noexcept
{
    UnhookWindowsHookEx(reinterpret_cast<HHOOK>(hook));
}

void WinNewsReaderHost::ShowWarning(const std::string& text) { ui::ShowWarningBox(ui::AnsiToWide(text)); }

void WinNewsReaderHost::ShowActiveSourceCount(int count)
{
    if (OnActiveSourceCount)
        OnActiveSourceCount(count);
}

}  // namespace pelo::news
