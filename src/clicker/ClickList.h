#pragma once
// The click list: up to 100 entries, each with the screen positions of the Buy, Sell, Buy+ and Sell+ buttons it
// presses and the wait after it. It lives in memory only; every start begins with three empty entries.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace pelo::clicker {

enum class TradeKind { Buy, Sell, StrongBuy, StrongSell };

inline constexpr int MaxClicks = 100;
inline constexpr int InitialClickCount = 3;
inline constexpr int32_t Unset = -1;

struct ClickPoint {
    int32_t X = Unset, Y = Unset;
    // A position counts only when both coordinates are known.
    bool IsSet() const { return X != Unset && Y != Unset; }
    friend bool operator==(const ClickPoint&, const ClickPoint&) = default;
};

struct TManualClick {
    int32_t BuyX = Unset, BuyY = Unset;
    int32_t SellX = Unset, SellY = Unset;
    int32_t StrongBuyX = Unset, StrongBuyY = Unset;
    int32_t StrongSellX = Unset, StrongSellY = Unset;
    int32_t DelayMs = 0;

    // The kind's own position, without falling back.
    ClickPoint Own(TradeKind kind) const;
    void SetOwn(TradeKind kind, ClickPoint point);
    // The position a trade of this kind presses: Buy+ and Sell+ fall back to Buy and Sell when unset.
    ClickPoint For(TradeKind kind) const;
    bool AnyPairSet() const;
    void ClearCoordinates();
};

struct TClickList {
    std::array<TManualClick, MaxClicks> ClickList{};
    int ClickCount = 0;
    int SelectedClick = -1;

    // Over the entries in use.
    bool AnyPairSet() const;
    bool AnyOwnPairSet(TradeKind kind) const;
    // Back to three entries with no positions and no waits.
    void ClearAll();
};

// Texts of the coordinate labels.
inline constexpr const char* UnsetPointText = "(- , -)";
std::string PointText(ClickPoint point);  // "(512, 300)"
// The kind's name in messages: "Buy", "Sell", "Buy+", "Sell+".
const char* KindName(TradeKind kind);

// A wait typed into a delay field: a whole number of 0 or more, read as every numeric field is.
bool ParseDelayText(std::string_view text, int32_t& delayMs);

}  // namespace pelo::clicker
