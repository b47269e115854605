#pragma once
// A panel whose children can lie beyond its right edge: a horizontal scroll bar appears when they do, and moving
// it (also while the thumb is dragged) moves the children. Children are placed in unscrolled coordinates when the
// box is at position 0.
#include "ui/win/Panel.h"

namespace pelo::ui {

class ScrollBox : public Panel {
public:
    bool Create(const Args& args);

    int Position() const { return position_; }
    void ScrollTo(int position);
    void ScrollToEnd();
    // Recomputes the range from the children's extent; call after adding or removing children.
    void UpdateRange();

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    int ContentWidth() const;
    int MaxPosition() const;

    int position_ = 0;
};

}  // namespace pelo::ui
