#pragma once
// The keys of the coordinate setup: 1-3 select a click, Q E T U record the pointer position as the selected
// click's Buy, Sell, Buy+ or Sell+ position, A D G J move the pointer to a stored position for checking, C clears
// the selected click. The main window passes its key presses here too, so positions can be recorded while the
// pointer rests over another program's button.
#include <string>

#include "clicker/OrderExecution.h"

namespace pelo::clicker {

// What the keys need of the dialog's controls.
class ICoordinateView {
public:
    virtual ~ICoordinateView() = default;
    virtual bool DelayEditFocused() = 0;
    // Checks the entry's radio button (the others uncheck) and scrolls the list back to its start.
    virtual void ShowSelectedFromStart(int entry) = 0;
    virtual void SetPointLabel(int entry, TradeKind kind, const std::string& text) = 0;
    virtual bool ConfirmSwitchToManual() = 0;
};

inline constexpr const char* SwitchToManualQuestion =
    "Button location method is currently set to custom method! Change to manual setup?";

class TCoordinateKeys {
public:
    TCoordinateKeys(TOrderExecution& orders, ICoordinateView& view) : orders_(orders), view_(view) {}

    // A virtual-key code; the shift state plays no part.
    void FormKeyDown(int key);
    void ClearSelected();  // btnClearSelectedClick and key C

private:
    void Record(TradeKind kind, ClickPoint at);
    void TestManual(TradeKind kind);
    void TestCustom(TradeKind kind);
    void Status(const std::string& line) { orders_.Host().ShowStatusLine(line); }
    std::string ClickNumber() const { return std::to_string(orders_.Clicks.SelectedClick + 1); }
    TManualClick& Selected() { return orders_.Clicks.ClickList[static_cast<size_t>(orders_.Clicks.SelectedClick)]; }

    TOrderExecution& orders_;
    ICoordinateView& view_;
};

}  // namespace pelo::clicker
