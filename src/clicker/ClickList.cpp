#include "clicker/ClickList.h"

#include "core/IntegerText.h"

namespace pelo::clicker {

ClickPoint TManualClick::Own(TradeKind kind) const {
    switch (kind) {
        case TradeKind::Buy: return {BuyX, BuyY};
        case TradeKind::Sell: return {SellX, SellY};
        case TradeKind::StrongBuy: return {StrongBuyX, StrongBuyY};
        case TradeKind::StrongSell: return {StrongSellX, StrongSellY};
    }
    return {};
}

void TManualClick::SetOwn(TradeKind kind, ClickPoint point) {
    switch (kind) {
        case TradeKind::Buy: BuyX = point.X, BuyY = point.Y; break;
        case TradeKind::Sell: SellX = point.X, SellY = point.Y; break;
        case TradeKind::StrongBuy: StrongBuyX = point.X, StrongBuyY = point.Y; break;
        case TradeKind::StrongSell: StrongSellX = point.X, StrongSellY = point.Y; break;
    }
}

ClickPoint TManualClick::For(TradeKind kind) const {
    const ClickPoint own = Own(kind);
    if (own.IsSet()) return own;
    if (kind == TradeKind::StrongBuy) return Own(TradeKind::Buy);
    if (kind == TradeKind::StrongSell) return Own(TradeKind::Sell);
    return own;
}

bool TManualClick::AnyPairSet() const {
    for (TradeKind kind : {TradeKind::Buy, TradeKind::Sell, TradeKind::StrongBuy, TradeKind::StrongSell})
        if (Own(kind).IsSet()) return true;
    return false;
}

void TManualClick::ClearCoordinates() {
    const int32_t delay = DelayMs;
    *this = TManualClick{};
    DelayMs = delay;
}

bool TClickList::AnyPairSet() const {
    for (int i = 0; i < ClickCount; ++i)
        if (ClickList[static_cast<size_t>(i)].AnyPairSet()) return true;
    return false;
}

bool TClickList::AnyOwnPairSet(TradeKind kind) const {
    for (int i = 0; i < ClickCount; ++i)
        if (ClickList[static_cast<size_t>(i)].Own(kind).IsSet()) return true;
    return false;
}

void TClickList::ClearAll() {
    for (auto& entry : ClickList) entry = TManualClick{};
    ClickCount = InitialClickCount;
    SelectedClick = 0;
}

std::string PointText(ClickPoint point) {
    return "(" + std::to_string(point.X) + ", " + std::to_string(point.Y) + ")";
}

const char* KindName(TradeKind kind) {
    switch (kind) {
        case TradeKind::Buy: return "Buy";
        case TradeKind::Sell: return "Sell";
        case TradeKind::StrongBuy: return "Buy+";
        case TradeKind::StrongSell: return "Sell+";
    }
    return "";
}

bool ParseDelayText(std::string_view text, int32_t& delayMs) {
    int32_t value = 0;
    if (!ParseIntegerText(text, value) || value < 0) return false;
    delayMs = value;
    return true;
}

}  // namespace pelo::clicker
