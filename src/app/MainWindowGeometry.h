#pragma once
// Where the main window's top row goes when the script resizes ResPanel, and the window's minimum size that
// follows from it.
namespace pelo::app {

// The designed sizes the rules start from (the layout table uses the same).
inline constexpr int DesignTopPanelHeight = 61;
inline constexpr int DesignResPanelWidth = 330;
inline constexpr int DesignMinWindowWidth = 610;

struct TopRowPlaces {
    int TopPanelHeight = 0;
    int SignalPanelLeft = 0;
    int LabelLeft = 0;  // Label1 and Label5
    int CountLeft = 0;  // lblActiveNewsSourceCount and lblHeadlineCount
    int MinWidth = 0;
    int MinHeight = 0;

    friend bool operator==(const TopRowPlaces&, const TopRowPlaces&) = default;
};

struct ResPanelBox {
    int Left = 0, Width = 0, Height = 0;
};

// `signalWidth` and `label1Width`: the current widths of SignalPanel and Label1.
TopRowPlaces PlaceTopRow(ResPanelBox res, int signalWidth, int label1Width);

// The minimum height for a given top panel height (the rule every window size change applies).
constexpr int MinWindowHeightFor(int topPanelHeight) { return topPanelHeight + 90; }

}  // namespace pelo::app
