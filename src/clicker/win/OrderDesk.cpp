#include "clicker/win/OrderDesk.h"

#include "ui/win/MessageBoxes.h"
#include "ui/win/WinText.h"

namespace pelo::clicker {

TOrderDesk::TOrderDesk(AppSettings& settings, MainWindowSide side)
    : side_(std::move(side)), orders_(settings, *this, windows_, pointer_), coords_(orders_) {}

TOrderDesk::~TOrderDesk() = default;

void TOrderDesk::ExecuteTradeClicks(int signalCode) {
    switch (signalCode) {
        case 1: orders_.ExecuteTradeClicks(TradeKind::Buy); break;
        case 2: orders_.ExecuteTradeClicks(TradeKind::StrongBuy); break;
        case 3: orders_.ExecuteTradeClicks(TradeKind::Sell); break;
        case 4: orders_.ExecuteTradeClicks(TradeKind::StrongSell); break;
        default: break;
    }
}

void TOrderDesk::ShowErrorBox(const std::string& text, bool topMost) {
    ui::ShowErrorBox(ui::AnsiToWide(text), topMost ? ui::BoxLayer::TopMost : ui::BoxLayer::Normal);
}

}  // namespace pelo::clicker
