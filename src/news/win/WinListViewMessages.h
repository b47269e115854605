#pragma once
// The list-view messages of the news intake, sent to a terminal's list view.
//
// The request records live in the terminal's memory and must have the terminal's own layout. The reading code
// writes the 32-bit layout (40-byte item record, 32-byte column record) that the shipped program and the
// terminals use, and on a 32-bit build those bytes go to the list view as they are. A 64-bit build talks to
// 64-bit list views (the test twin under Wine): there each request is copied into a record of the 64-bit layout
// in the terminal's memory, and a column answer is copied back into the 32-bit record the caller reads.
//
// No message waits for long: a terminal whose thread does not answer within ListAnswerTimeoutMs (or is known to
// hang), and a list view that no longer exists, raise EListLost. Waiting longer would freeze the program and
// every other terminal's reading with it.
#include <windows.h>

#include "news/ListViewMessages.h"
#include "news/ProcessMemMgr.h"

namespace pelo::news {

inline constexpr UINT ListAnswerTimeoutMs = 2000;

// SendMessageTimeout with SMTO_ABORTIFHUNG and ListAnswerTimeoutMs; the answer, or EListLost.
LRESULT SendToTerminal(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

class WinListViewMessages final : public IListViewMessages {
public:
    // `memory` is the manager for the list view's process; it must outlive this object.
    WinListViewMessages(HWND listView, TProcessMemMgr& memory) : listView_(listView), memory_(memory) {}

    int GetNextItem(int start) override;
    void GetItemText(int row, RemoteAddress itemRecord) override;
    bool GetColumn(int index, RemoteAddress columnRecord) override;

private:
    HWND listView_;
    TProcessMemMgr& memory_;
#if UINTPTR_MAX > 0xFFFFFFFFu
    // 64-bit copies of the requests, allocated on first use. The item request does not change between rows, so
    // it is translated once per record address.
    RemoteAddress nativeItem_ = 0;
    RemoteAddress nativeItemSource_ = 0;
    RemoteAddress nativeColumn_ = 0;
#endif
};

}  // namespace pelo::news
