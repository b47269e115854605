#include "headlines/HeadlineBox.h"

#include <algorithm>
#include <utility>

namespace pelo::headlines {
namespace {

const std::string EmptyLine;

// The ring needs at least one slot for its index arithmetic; the capacity range proper
// is the options dialog's business (ClampHeadlineCapacity).
int UsableCapacity(int capacity)
{
    return std::max(1, capacity);
}

} // namespace

int ClampHeadlineCapacity(int capacity)
{
    return std::clamp(capacity, MinHeadlineCapacity, MaxHeadlineCapacity);
}

THeadlineBox::THeadlineBox(int capacity) : HBoxLines(UsableCapacity(capacity)) {}

void THeadlineBox::AllocateHBox(int capacity)
{
    HBoxLines.assign(UsableCapacity(capacity), std::string());
    Newest = 0;
    if (View)
        View->SetRowCount(Capacity());
}

void THeadlineBox::StoreHBoxLine(std::string line)
{
    ++Newest;
    if (Newest >= Capacity())
        Newest = 0;
    HBoxLines[Newest] = std::move(line);
}

void THeadlineBox::PostHBoxLine(std::string line)
{
    BeginPendingUpdate();
    StoreHBoxLine(std::move(line));
}

void THeadlineBox::ShowHBoxLine(std::string line)
{
    PostHBoxLine(std::move(line));
    Timer2Timer();
}

void THeadlineBox::ClearHBox()
{
    BeginPendingUpdate();
    for (std::string& line : HBoxLines)
        line.clear();
    Timer2Timer();
}

void THeadlineBox::ResizeHBox(int capacity)
{
    const int n = UsableCapacity(capacity);
    const int keep = std::min(Capacity(), n);

    // Newest first: list[r] is what row r shows now.
    std::vector<std::string> list(n);
    for (int r = 0; r < keep; ++r)
        list[r] = std::move(HBoxLines[SlotOfRow(r)]);

    // With HBoxNewest at -1, row r maps to slot n - 1 - r, which receives list[r]; the
    // next stored line then lands in slot 0 and shows on row 0.
    Newest = -1;
    HBoxLines.assign(n, std::string());
    for (int i = 0; i < n; ++i)
        HBoxLines[i] = std::move(list[n - 1 - i]);

    if (View)
        View->SetRowCount(n);
}

void THeadlineBox::BeginPendingUpdate()
{
    if (Pending)
        return;
    NotifyBeginUpdate();
    Pending = true;
}

void THeadlineBox::Timer2Timer()
{
    if (!Pending)
        return;
    NotifyEndUpdate();
    Pending = false;
}

void THeadlineBox::RunScroll(const std::function<void()>& scroll)
{
    if (Pending) {
        scroll();
        return;
    }
    NotifyBeginUpdate();
    scroll();
    NotifyEndUpdate();
}

void THeadlineBox::RunWheelScroll(const std::function<void()>& scroll)
{
    BeginPendingUpdate();
    scroll();
    Timer2Timer();
}

void THeadlineBox::PlaceLineAtRow(int row, std::string line)
{
    const int slot = SlotOfRow(row);
    if (slot >= 0)
        HBoxLines[slot] = std::move(line);
}

int THeadlineBox::SlotOfRow(int row) const
{
    if (row < 0 || row >= Capacity())
        return -1;
    int slot = Newest - row;
    if (slot < 0)
        slot += Capacity();
    return slot;
}

const std::string& THeadlineBox::RowText(int row) const
{
    const int slot = SlotOfRow(row);
    return slot >= 0 ? HBoxLines[slot] : EmptyLine;
}

const std::string& THeadlineBox::SlotText(int slot) const
{
    return slot >= 0 && slot < Capacity() ? HBoxLines[slot] : EmptyLine;
}

void THeadlineBox::NotifyBeginUpdate()
{
    if (View)
        View->BeginUpdate();
}

void THeadlineBox::NotifyEndUpdate()
{
    if (View)
        View->EndUpdate();
}

void PlaceWelcomeLines(THeadlineBox& box, bool noSourceConfigured, const std::string& first,
                       const std::string& second)
{
    if (noSourceConfigured) {
        box.PlaceLineAtRow(4, first);
        box.PlaceLineAtRow(6, second);
    } else {
        box.PlaceLineAtRow(5, first);
    }
}

}  // namespace pelo::headlines
