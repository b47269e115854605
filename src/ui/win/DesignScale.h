#pragma once
// Layouts drawn at one screen resolution and shown at another: every place, size and font height is multiplied by
// the ratio of the two resolutions. A right or bottom edge is scaled as an edge, so neighbours that touched at the
// design resolution still touch.
#include <windows.h>

#include "ui/win/Controls.h"
#include "ui/win/Window.h"

namespace pelo::ui {

class DesignScale {
public:
    explicit DesignScale(int designDpi, int screenDpi = ScreenDpi()) : design_(designDpi), screen_(screenDpi) {}

    int operator()(int value) const { return MulDiv(value, screen_, design_); }
    Rect operator()(const Rect& r) const
    {
        const int left = (*this)(r.Left), top = (*this)(r.Top);
        return {left, top, (*this)(r.Left + r.Width) - left, (*this)(r.Top + r.Height) - top};
    }
    // A font height scales towards zero, so that a text never outgrows the place scaled for it.
    int FontHeight(int height) const { return height * screen_ / design_; }

private:
    int design_, screen_;
};

}  // namespace pelo::ui
