#pragma once
// The program's order execution in one place: the click list and the order windows (TOrderExecution) on the real
// mouse and desktop, the coordinate dialog, and what they need of the main window.
#include <windows.h>

#include <functional>
#include <memory>
#include <string>

#include "clicker/OrderExecution.h"
#include "clicker/win/SetCoordsDialog.h"
#include "clicker/win/WinOrderWindows.h"

namespace pelo::clicker {

class TOrderDesk final : public IOrderExecutionHost {
public:
    struct MainWindowSide {
        HWND Window = nullptr;
        std::function<bool()> AutoExecuteArmed;
        std::function<void()> DisarmAutoExecute;
        std::function<bool()> ScriptTestMode;
        std::function<void(const std::string&)> ShowStatusLine;   // painted at once
        std::function<void(const std::string&)> StoreStatusLine;  // painted with the next repaint
    };

    TOrderDesk(AppSettings& settings, MainWindowSide side);
    ~TOrderDesk() override;

    TOrderExecution& Orders() { return orders_; }
    TfrmSetCoords& CoordsDialog() { return coords_; }
    // Made after the main window, owned by it.
    bool CreateCoordsDialog() { return coords_.Create(side_.Window); }

    // The script's trade calls: 1 Buy, 2 StrongBuy, 3 Sell, 4 StrongSell.
    void ExecuteTradeClicks(int signalCode);

    // IOrderExecutionHost
    bool MainWindowVisible() override { return IsWindowVisible(side_.Window) != FALSE; }
    bool AutoExecuteArmed() override { return side_.AutoExecuteArmed && side_.AutoExecuteArmed(); }
    bool ScriptTestMode() override { return side_.ScriptTestMode && side_.ScriptTestMode(); }
    void DisarmAutoExecute() override {
        if (side_.DisarmAutoExecute) side_.DisarmAutoExecute();
    }
    void ShowStatusLine(const std::string& line) override {
        if (side_.ShowStatusLine) side_.ShowStatusLine(line);
    }
    void StoreStatusLine(const std::string& line) override {
        if (side_.StoreStatusLine) side_.StoreStatusLine(line);
    }
    void ShowErrorBox(const std::string& text, bool topMost) override;

private:
    MainWindowSide side_;
    WinOrderWindowSystem windows_;
    WinPointer pointer_;
    TOrderExecution orders_;
    TfrmSetCoords coords_;
};

}  // namespace pelo::clicker
