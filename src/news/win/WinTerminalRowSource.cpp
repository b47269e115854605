#include "news/win/WinTerminalRowSource.h"

#include "news/win/WinListViewMessages.h"

namespace pelo::news {

namespace {

// Closes our duplicate in the terminal. Needs nothing of the terminal's thread, so it cannot wait on a hung one.
void CloseInTerminal(HANDLE process, HANDLE handle)
{
    DuplicateHandle(process, handle, nullptr, nullptr, 0, FALSE, DUPLICATE_CLOSE_SOURCE);
}

}  // namespace

WinTerminalRowSource::WinTerminalRowSource(HWND listView, UINT peloCommMsg)
    : listView_(listView), peloCommMsg_(peloCommMsg)
{
    // Reading inside the terminal is an addition: whatever is missing for it leaves reading from outside in place.
    state_ = State::Unavailable;
    DWORD processId = 0;
    GetWindowThreadProcessId(listView, &processId);
    if (processId == 0 || peloCommMsg == 0)
        return;
    process_ = OpenProcess(PROCESS_DUP_HANDLE, FALSE, processId);
    if (process_ == nullptr)
        return;
    section_ = CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, rows::AreaSize, nullptr);
    if (section_ == nullptr)
        return;
    view_ = static_cast<std::uint8_t*>(MapViewOfFile(section_, FILE_MAP_READ | FILE_MAP_WRITE, 0, 0, rows::AreaSize));
    if (view_ == nullptr)
        return;
    InitRowArea(std::span(view_, rows::AreaSize));
    // Numbers that an earlier reader of the same list (whose area the terminal may still hold) did not use.
    sequence_ = GetTickCount() * 2654435761u;
    state_ = State::NotAttached;
}

WinTerminalRowSource::~WinTerminalRowSource()
{
    if (view_ != nullptr)
        UnmapViewOfFile(view_);
    if (section_ != nullptr)
        CloseHandle(section_);
    if (process_ != nullptr)
        CloseHandle(process_);
}

bool WinTerminalRowSource::Attach()
{
    HANDLE inTerminal = nullptr;
    if (!DuplicateHandle(GetCurrentProcess(), section_, process_, &inTerminal, 0, FALSE, DUPLICATE_SAME_ACCESS)) {
        state_ = State::Unavailable;
        return false;
    }
    try {
        SendToTerminal(listView_, peloCommMsg_, rows::AttachAreaCode, reinterpret_cast<LPARAM>(inTerminal));
    } catch (...) {
        CloseInTerminal(process_, inTerminal);
        throw;
    }
    CloseInTerminal(process_, inTerminal);
    state_ = rows::LoadU32(view_, rows::AttachedField) == rows::Version ? State::Attached : State::Unavailable;
    return state_ == State::Attached;
}

std::optional<TRowSnapshot> WinTerminalRowSource::ReadRows(const TRowRequest& request)
{
    if (state_ == State::Unavailable || (state_ == State::NotAttached && !Attach()))
        return std::nullopt;
    if (++sequence_ == 0)
        ++sequence_;
    const std::uint32_t sequence = sequence_;
    WriteRowRequest(std::span(view_, rows::AreaSize), sequence, request);
    SendToTerminal(listView_, peloCommMsg_, rows::ReadRowsCode, static_cast<LPARAM>(sequence));
    // One copy, then only the copy is looked at: the terminal can still write into the area meanwhile.
    const std::uint32_t used = UsedAreaSize(view_);
    copy_.assign(view_, view_ + used);
    std::optional<TRowSnapshot> snapshot = DecodeRowSnapshot(copy_, sequence, request);
    // No answer at all: the library there no longer reads into this area (the list re-armed by another reader).
    // The next pass hands the area over again.
    if (!snapshot && rows::LoadU32(view_, rows::AnswerSequenceField) != sequence)
        state_ = State::NotAttached;
    return snapshot;
}

}  // namespace pelo::news
