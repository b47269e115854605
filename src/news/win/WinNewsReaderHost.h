#pragma once
// What creating and ending a news reader needs from the system: the terminal finder, the news-list search, the
// reading interface through the terminal's memory, the hook library and the warning boxes.
//
// NewsIntake owns one, made from the main window's NewsIntakeConfig once the hook library is loaded; its readers
// remove their hooks through it, so it outlives them.
#include <windows.h>

#include <functional>

#include "news/NewsReaders.h"
#include "news/win/NewsIntake.h"
#include "news/win/WinWindows.h"

namespace pelo::news {

class WinNewsReaderHost final : public INewsReaderHost {
public:
    explicit WinNewsReaderHost(const NewsIntakeConfig& config) : config_(config) {}

    std::function<void(int count)> OnActiveSourceCount;

    WindowHandle FindTerminalWindow(const std::string& pattern) override;
    bool CanAccessTerminal(WindowHandle terminalWindow) override;
    TNewsListMatch FindNewsList(WindowHandle terminalWindow) override;
    std::unique_ptr<INewsList> OpenNewsList(WindowHandle listView, int headlineColumn) override;
    // Throws EOSError when the library is there but the system refuses the hook.
    HookHandle InstallNewsHook(WindowHandle listView) override;
    void RemoveNewsHook(HookHandle hook) noexcept override;
    void ShowWarning(const std::string& text) override;
    void ShowActiveSourceCount(int count) override;

private:
    NewsIntakeConfig config_;
    WinWindowTree tree_;
};

}  // namespace pelo::news
