#pragma once
// The news readers of all configured terminals while news reading runs, in the order of the terminal list.
#include <cstdint>
#include <exception>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "terminals/TerminalInfo.h"
#include "news/NewsReader.h"

namespace pelo::news {

// What creating and ending a reader needs from the system.
class INewsReaderHost {
public:
    virtual ~INewsReaderHost() = default;
    // The terminal's main window by title pattern, or 0.
    virtual WindowHandle FindTerminalWindow(const std::string& pattern) = 0;
    virtual bool CanAccessTerminal(WindowHandle terminalWindow) = 0;
    // FindNewsList over the terminal's window tree with a CheckNewsColumns per list view.
    virtual TNewsListMatch FindNewsList(WindowHandle terminalWindow) = 0;
    // The reading interface to the list: a memory manager for its process, the remote text buffer and item
    // record (TListViewNewsList). Errors of the memory manager propagate.
    virtual std::unique_ptr<INewsList> OpenNewsList(WindowHandle listView, int headlineColumn) = 0;
    // Installs the hook library's procedure on the list view's thread and sends the arming message.
    // Returns 0 when there is no hook library: the reader is active all the same.
    virtual HookHandle InstallNewsHook(WindowHandle listView) = 0;
    virtual void RemoveNewsHook(HookHandle hook) noexcept = 0;
    // Modal warning box (warning icon, OK).
    virtual void ShowWarning(const std::string& text) = 0;
    // The number of active readers, for the main window's label.
    virtual void ShowActiveSourceCount(int count) = 0;
};

std::string AccessWarningText(std::string_view fullName);
std::string NewsTabWarningText(std::string_view fullName);

// Value of wParam with which the hook library reports a changed news list (lParam: the list view).
inline constexpr std::uintptr_t NewsNotificationCode = 12345;

class TNewsReaders {
public:
    TNewsReaders(INewsReaderHost& host, INewsDispatch& dispatch);
    ~TNewsReaders();
    TNewsReaders(const TNewsReaders&) = delete;
    TNewsReaders& operator=(const TNewsReaders&) = delete;

    // Start of news reading: ActiveSourceCount goes to 0, then each terminal in order gets its reader, whose
    // first pass runs before the next reader is created. A terminal whose reader fails with an error does not
    // keep the others from being read: the first error is raised once every terminal has been tried.
    void StartReading(const terminals::TTerminalList& terminals);

    // One reader, created and added; inactive when its terminal cannot be read (after the user was warned).
    TNewsReader& CreateReader(const terminals::TMT4TermInfo& terminal);

    // The hook library's notification (wParam NewsNotificationCode): the first reader of that list view reads.
    // A reader whose list is lost (EListLost: window gone, terminal not answering) ends before the error goes on.
    void HandleNewsNotification(std::intptr_t listView);

    // Stop of news reading and the main window's end: every reader ends, in order, and the list empties.
    void Clear();

    std::size_t Count() const { return readers_.size(); }
    const TNewsReader& Reader(std::size_t index) const { return *readers_.at(index); }
    TNewsReader& Reader(std::size_t index) { return *readers_.at(index); }
    int ActiveSourceCount() const { return activeSourceCount_; }

private:
    void RunPass(const std::shared_ptr<TNewsReader>& reader);
    // Closes the reader; an active one also loses its hook and its place in the active count.
    void EndReader(TNewsReader& reader);
    void SetActiveSourceCount(int count);

    INewsReaderHost& host_;
    INewsDispatch& dispatch_;
    // Shared so that a reader ended from a nested message loop outlives the pass it is still in.
    std::vector<std::shared_ptr<TNewsReader>> readers_;
    int activeSourceCount_ = 0;
    unsigned clearCount_ = 0;
};

}  // namespace pelo::news
