#pragma once
// The headline box's model: a fixed ring of lines, newest at the top, with batched repaints.
//
// The list control is virtual: it owns no text and asks RowText(r) for each row it draws.
// Writers suspend the control's redrawing (BeginUpdate) and leave the update pending; the
// 33 ms timer (Timer2Timer) ends it with one full repaint, so a burst of lines costs one repaint.
#include <functional>
#include <string>
#include <vector>

namespace pelo::headlines {

inline constexpr int MinHeadlineCapacity = 10;
inline constexpr int MaxHeadlineCapacity = 1000;
inline constexpr int DefaultHeadlineCapacity = 100;

// A stored capacity outside the range the options dialog accepts is brought into it.
int ClampHeadlineCapacity(int capacity);

// What the model asks of the list control.
class IHBoxView {
public:
    virtual ~IHBoxView() = default;
    // Suspend redrawing of the control.
    virtual void BeginUpdate() = 0;
    // Turn redrawing back on and repaint the whole control now.
    virtual void EndUpdate() = 0;
    // The control has exactly one row per slot of the ring.
    virtual void SetRowCount(int rows) = 0;
};

class THeadlineBox {
public:
    explicit THeadlineBox(int capacity = DefaultHeadlineCapacity);
    THeadlineBox(const THeadlineBox&) = delete;
    THeadlineBox& operator=(const THeadlineBox&) = delete;

    // The view may be attached after the model exists; without one, nothing is painted.
    void SetView(IHBoxView* view) { View = view; }

    // A fresh ring of `capacity` empty lines with the newest slot at 0 (start-up).
    void AllocateHBox(int capacity);

    // Adds a line without starting a repaint; it shows with the next repaint for any reason.
    void StoreHBoxLine(std::string line);
    // Adds a line that shows at the next Timer2 tick.
    void PostHBoxLine(std::string line);
    // Adds a line and repaints at once (status lines).
    void ShowHBoxLine(std::string line);
    // Empties every line, keeping the capacity and HBoxNewest, and repaints at once.
    void ClearHBox();
    // Changes the capacity, keeping the newest lines on the same rows.
    void ResizeHBox(int capacity);

    // Suspends redrawing unless an update is already pending, and marks one pending.
    void BeginPendingUpdate();
    // The 33 ms tick: ends a pending update with one full repaint.
    void Timer2Timer();
    bool UpdatePending() const { return Pending; }

    // Runs a scroll of the control. With no update pending the scroll is wrapped in its own
    // begin/end so the control repaints once, without flicker; while one is pending the
    // control's redrawing is already off and the pending repaint will show the result.
    void RunScroll(const std::function<void()>& scroll);

    // Mouse wheel: scroll (two lines), then show everything at once, including lines that
    // were pending before the wheel turned.
    void RunWheelScroll(const std::function<void()>& scroll);

    // Puts a line into the slot that row `row` shows now, without moving HBoxNewest, so
    // later lines push it down like any other line. Rows outside the box are ignored.
    void PlaceLineAtRow(int row, std::string line);

    int Capacity() const { return static_cast<int>(HBoxLines.size()); }
    int HBoxNewest() const { return Newest; }
    // Slot shown by row r (row 0 = newest line); -1 for a row outside the box.
    int SlotOfRow(int row) const;
    // Text of row r; empty for never-written slots and rows outside the box.
    const std::string& RowText(int row) const;
    const std::string& SlotText(int slot) const;

private:
    void NotifyBeginUpdate();
    void NotifyEndUpdate();

    std::vector<std::string> HBoxLines;
    int Newest = 0;        // HBoxNewest; -1 right after a resize (maps like capacity - 1)
    bool Pending = false;  // the update-pending flag (the list box's Tag)
    IHBoxView* View = nullptr;
};

// Welcome lines of a fresh box: with no news source set up, `first` goes to row 4 and
// `second` to row 6; otherwise only `first`, at row 5.
void PlaceWelcomeLines(THeadlineBox& box, bool noSourceConfigured, const std::string& first,
                       const std::string& second);

}  // namespace pelo::headlines
