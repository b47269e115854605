#include "script/StandInObjects.h"

#include <cmath>

namespace pelo::script {

StandInFont::StandInFont(const lang::HostClass* cls) : ScriptFont(cls) { hostOwned = true; }

int32_t StandInFont::Size() const {
    return static_cast<int32_t>(std::lround(-static_cast<double>(height_) * 72 / 96));
}

void StandInFont::SetSize(int32_t points) {
    height_ = -static_cast<int32_t>(std::lround(static_cast<double>(points) * 96 / 72));
}

StandInControl::StandInControl(const lang::HostClass* cls, const lang::HostClass* fontClass, std::string caption,
                               ScriptBounds bounds)
    : ScriptControl(cls), caption_(std::move(caption)), bounds_(bounds), font_(Hold(new StandInFont(fontClass))) {}

StandInControl::~StandInControl() { Drop(font_); }

namespace {
struct LabelStart {
    const char* Caption;
    int32_t Left, Top;
};
// The indicator labels as the main window makes them.
constexpr LabelStart kLabels[kIndicatorLabelCount] = {
    {"cns: ", 12, 5}, {"act: ", 114, 5}, {" dev: ", 216, 5}, {"pre: ", 14, 33}, {"rev: ", 115, 33}, {"rdev: ", 215, 33},
};

Held<StandInControl> IndicatorLabel(const ScriptClasses& classes, int k) {
    const LabelStart& l = kLabels[k];
    return Held<StandInControl>(classes.Label, classes.Font, l.Caption, ScriptBounds{l.Left, l.Top, 40, 20});
}

}  // namespace

StandInBindings::StandInBindings(const ScriptClasses& classes)
    : Application(classes.Application),
      Labels{IndicatorLabel(classes, 0), IndicatorLabel(classes, 1), IndicatorLabel(classes, 2),
             IndicatorLabel(classes, 3), IndicatorLabel(classes, 4), IndicatorLabel(classes, 5)},
      ResPanel(classes.Panel, classes.Font, "", ScriptBounds{132, -1, 330, 62}) {}

ScriptBindings StandInBindings::Bindings() const {
    ScriptBindings b;
    b.Application = Application.get();
    for (int k = 0; k < kIndicatorLabelCount; ++k) b.Labels[k] = Labels[k].get();
    b.ResPanel = ResPanel.get();
    return b;
}

}  // namespace pelo::script
