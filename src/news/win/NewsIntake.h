#pragma once
// News intake as the main window sees it: one object, owned by the main window for its whole life.
//
// Wiring (main window):
//   NewsIntake intake(dispatch, {hwndMain, PeloCommMsg, HookLibrary, HookProcAddress});
//   intake.OnActiveSourceCount = [&](int n) { SetWindowTextA(lblActiveNewsSourceCount, to_string(n)); };
//   Start button:   (reset the duplicate cache and counter, open the log, switch the button to Stop, then)
//                   intake.StartReading(state.TerminalList);      // may throw: EOSError, EProcessMemMgr
//   Stop button:    intake.StopReading();
//   PeloCommMsg with wParam == NewsNotificationCode:  intake.OnNewsNotification(lParam);   // may throw
//   WM_DESTROY:     intake.StopReading();
//
// Exceptions that come out of StartReading and OnNewsNotification are the operating system's error (EOSError,
// e.g. a terminal that ended while it was being read) or the memory manager's (EProcessMemMgr): the general
// error handling shows what() in an error box and the program goes on. A list view that is gone or whose terminal
// does not answer within 2 s raises EListLost (an EOSError); its reader has ended by then, so it is reported once. A StartReading that throws has still
// tried every terminal; the readers created stay in place until StopReading.
//
// The dispatch of a batch (INewsDispatch) is the main window's: it hands each batch to its headline core with the
// settings of the moment.
#include <windows.h>

#include <functional>
#include <memory>

#include "terminals/TerminalInfo.h"
#include "news/NewsReader.h"
#include "news/NewsReaders.h"

namespace pelo::news {

class WinNewsReaderHost;

struct NewsIntakeConfig {
    HWND MainWindow = nullptr;       // the window the hook library notifies (named in each arming message)
    UINT PeloCommMsg = 0;            // the registered "PeloComm ..." message (the arming message)
    HMODULE HookLibrary = nullptr;   // Pelorant.dll; null when it failed to load
    FARPROC HookProcAddress = nullptr;  // its SysListView32HookProc; null without the library
    // Have the hook library read each pass's rows inside the terminal where it can (off: every row is asked for
    // from outside, as a benchmark compares).
    bool ReadRowsInTerminal = true;
};

class NewsIntake {
public:
    NewsIntake(INewsDispatch& dispatch, const NewsIntakeConfig& config);
    ~NewsIntake();
    NewsIntake(const NewsIntake&) = delete;
    NewsIntake& operator=(const NewsIntake&) = delete;

    // Called with the new number of active readers whenever it changes (label lblActiveNewsSourceCount).
    std::function<void(int count)> OnActiveSourceCount;

    // Ends any reading still running, then creates one reader per terminal, in list order, each running its
    // first pass before the next is created. Terminals that cannot be read are reported in warning boxes and
    // stay inactive.
    void StartReading(const terminals::TTerminalList& terminals);
    // Ends every reader (hooks removed, remote memory released). Safe to call when nothing runs.
    void StopReading();
    // PeloCommMsg with wParam NewsNotificationCode: the first reader of list view `lParam` runs a pass.
    void OnNewsNotification(LPARAM lParam);

    int ActiveSourceCount() const;
    // Readers exist (between StartReading and StopReading), active or not.
    bool Reading() const;
    const TNewsReaders& Readers() const { return *readers_; }
    // Passes of all readers so far, read inside the terminals and read from outside.
    int InTerminalPasses() const;
    int RemotePasses() const;

private:
    std::unique_ptr<WinNewsReaderHost> host_;
    std::unique_ptr<TNewsReaders> readers_;
};

}  // namespace pelo::news
