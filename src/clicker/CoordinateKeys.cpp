#include "clicker/CoordinateKeys.h"

#include <optional>

namespace pelo::clicker {
namespace {

std::optional<TradeKind> RecordKey(int key) {
    switch (key) {
        case 'Q': return TradeKind::Buy;
        case 'E': return TradeKind::Sell;
        case 'T': return TradeKind::StrongBuy;
        case 'U': return TradeKind::StrongSell;
        default: return std::nullopt;
    }
}

std::optional<TradeKind> TestKey(int key) {
    switch (key) {
        case 'A': return TradeKind::Buy;
        case 'D': return TradeKind::Sell;
        case 'G': return TradeKind::StrongBuy;
        case 'J': return TradeKind::StrongSell;
        default: return std::nullopt;
    }
}

// The plain kind a strong one falls back to.
TradeKind PlainKind(TradeKind kind) {
    if (kind == TradeKind::StrongBuy) return TradeKind::Buy;
    if (kind == TradeKind::StrongSell) return TradeKind::Sell;
    return kind;
}

}  // namespace

void TCoordinateKeys::FormKeyDown(int key) {
    const bool delayFocused = view_.DelayEditFocused();
    TClickList& clicks = orders_.Clicks;
    if (key >= '1' && key <= '3') {
        if (delayFocused) return;  // digits typed into a delay field select nothing
        const int entry = key - '1';
        clicks.SelectedClick = entry;
        view_.ShowSelectedFromStart(entry);
        Status("Click " + std::to_string(entry + 1) + " selected");
        return;
    }
    const std::optional<TradeKind> record = RecordKey(key);
    const std::optional<TradeKind> test = TestKey(key);
    if (key == 'C') {
        ClearSelected();
        return;
    }
    if (!record && !test) return;
    if (clicks.SelectedClick < 0 || clicks.SelectedClick >= clicks.ClickCount) {
        if (!delayFocused) Status("Error: click number not selected!");
        return;
    }
    // Read first: the question below may take a while, and the pointer may wander meanwhile.
    const ClickPoint at = orders_.Pointer().Position();
    if (record) {
        if (!orders_.ManualMethod()) {
            if (!view_.ConfirmSwitchToManual()) return;
            orders_.Settings().DiscoveryMethod = 1;
        }
        Record(*record, at);
        return;
    }
    if (orders_.ManualMethod()) TestManual(*test);
    else TestCustom(*test);
}

void TCoordinateKeys::Record(TradeKind kind, ClickPoint at) {
    const int entry = orders_.Clicks.SelectedClick;
    TManualClick& click = Selected();
    click.SetOwn(kind, at);
    const std::string text = PointText(at);
    view_.SetPointLabel(entry, kind, text);
    const std::string line = "Click " + ClickNumber() + " " + KindName(kind) + " coordinates set " + text;
    const bool plain = kind == TradeKind::Buy || kind == TradeKind::Sell;
    const TradeKind strong = kind == TradeKind::Buy ? TradeKind::StrongBuy : TradeKind::StrongSell;
    if (plain && !click.Own(strong).IsSet()) {
        view_.SetPointLabel(entry, strong, kind == TradeKind::Buy ? "(Buy coords.)" : "(Sell coords.)");
        Status(line);
        Status(std::string("Note: if ") + KindName(strong) + " coordinates aren't set, " + KindName(strong) +
               " will use " + KindName(kind) + " coordinates");
        return;
    }
    Status(line);
}

void TCoordinateKeys::TestManual(TradeKind kind) {
    const TManualClick& click = Selected();
    const std::string testing = "Testing Click " + ClickNumber() + " " + KindName(kind) + " coordinates";
    if (click.Own(kind).IsSet()) {
        Status(testing);
        orders_.Pointer().MoveTo(click.Own(kind));
        return;
    }
    const TradeKind plain = PlainKind(kind);
    if (plain != kind && click.Own(plain).IsSet()) {
        Status(std::string("Note: since ") + KindName(kind) + " coordinates are not set, using " + KindName(plain) +
               " coordinates");
        Status(testing);
        orders_.Pointer().MoveTo(click.Own(plain));
        return;
    }
    orders_.Host().ShowErrorBox("Click " + ClickNumber() + " " + KindName(kind) + " coordinates are not set!", false);
}

void TCoordinateKeys::TestCustom(TradeKind kind) {
    if (!orders_.FindOrderWindows()) return;
    const TOrderWindowHandles& w = orders_.Discovery.Handles;
    if (kind == TradeKind::StrongBuy && w.BuyWindow == w.StrongBuyWindow)
        Status("Note: separate Buy+ order window not found, using Buy order window");
    if (kind == TradeKind::StrongSell && w.SellWindow == w.StrongSellWindow)
        Status("Note: separate Sell+ order window not found, using Sell order window");
    Status(std::string("Testing ") + KindName(kind) + " coordinates");
    // Only the pointer moves; where a conversion fails it goes where the system left the point.
    const ClickPoint client = orders_.CustomPoint(kind);
    orders_.Pointer().MoveTo(orders_.Windows().ClientToScreen(w.For(kind), client).value_or(client));
}

void TCoordinateKeys::ClearSelected() {
    TClickList& clicks = orders_.Clicks;
    if (clicks.SelectedClick < 0 || clicks.SelectedClick >= clicks.ClickCount) {
        Status("Error: Click number not selected!");
        return;
    }
    Selected().ClearCoordinates();
    for (TradeKind kind : {TradeKind::Buy, TradeKind::Sell, TradeKind::StrongBuy, TradeKind::StrongSell})
        view_.SetPointLabel(clicks.SelectedClick, kind, UnsetPointText);
    Status("Click " + ClickNumber() + " button coordinates cleared");
}

}  // namespace pelo::clicker
