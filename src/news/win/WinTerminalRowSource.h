#pragma once
// The rows of a terminal's news list, read inside the terminal by the hook library (see RowSnapshotLayout.h).
//
// The area is an unnamed section: no other process can open it by name. Its handle is duplicated into the terminal
// only for the one message that hands it over and closed there again right after; from then on the terminal holds a
// view and no handle. Writing into the area therefore takes the rights to write into this program's or the
// terminal's memory, which already allow changing the terminal's list itself. What the area holds is still checked
// in full before use: an answer that does not check out makes the pass read the list from outside.
#include <windows.h>

#include <cstdint>
#include <optional>
#include <vector>

#include "news/SnapshotNewsList.h"

namespace pelo::news {

class WinTerminalRowSource final : public IRowSnapshotSource {
public:
    WinTerminalRowSource(HWND listView, UINT peloCommMsg);
    ~WinTerminalRowSource() override;
    WinTerminalRowSource(const WinTerminalRowSource&) = delete;
    WinTerminalRowSource& operator=(const WinTerminalRowSource&) = delete;

    std::optional<TRowSnapshot> ReadRows(const TRowRequest& request) override;

private:
    // Hands the terminal the area; false when its library did not take it (not loaded there, an older release).
    bool Attach();

    HWND listView_;
    UINT peloCommMsg_;
    HANDLE process_ = nullptr;  // the terminal, opened to duplicate the section's handle into it
    HANDLE section_ = nullptr;
    std::uint8_t* view_ = nullptr;
    enum class State { NotAttached, Attached, Unavailable } state_ = State::NotAttached;
    std::uint32_t sequence_ = 0;
    std::vector<std::uint8_t> copy_;
};

}  // namespace pelo::news
