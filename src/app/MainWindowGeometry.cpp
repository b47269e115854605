#include "app/MainWindowGeometry.h"

#include <algorithm>

namespace pelo::app {
namespace {

constexpr int WidthBesideResPanel = 280;

}  // namespace

TopRowPlaces PlaceTopRow(ResPanelBox res, int signalWidth, int label1Width)
{
    TopRowPlaces p;
    // The top panel never gets lower than designed, however small the script makes ResPanel.
    p.TopPanelHeight = std::max(DesignTopPanelHeight, res.Height - 1);
    p.SignalPanelLeft = res.Left + res.Width + 4;
    p.LabelLeft = p.SignalPanelLeft + signalWidth + 8;
    p.CountLeft = p.LabelLeft + label1Width + 4;
    p.MinHeight = MinWindowHeightFor(p.TopPanelHeight);
    p.MinWidth = res.Width >= DesignResPanelWidth ? res.Width + WidthBesideResPanel : DesignMinWindowWidth;
    return p;
}

}  // namespace pelo::app
