#pragma once
// ListBox1, the headline box on screen: a virtual owner-drawn list box over the THeadlineBox ring. The control
// holds no text; every row is drawn from the ring by the row mapping, and repaints come in batches (the model
// suspends redrawing, Timer2 ends it).
#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>

#include "headlines/HeadlineBox.h"
#include "ui/win/Control.h"
#include "ui/win/Controls.h"

namespace pelo::headlines {

class THeadlineListBox final : public ui::ListBox, public IHBoxView {
public:
    explicit THeadlineListBox(THeadlineBox& box);
    ~THeadlineListBox() override;

    // Creates the control and connects it to the ring.
    HWND Create(HWND parent, int id, int x, int y, int w, int h);

    // The font of the rows (the caller decides the quality) and its colour in the settings' encoding; the row
    // height follows the font: the height of "0" plus one pixel.
    void ApplyFont(const ui::FontSpec& spec, std::uint32_t color);
    HFONT Font() const { return font_; }
    int ItemHeight() const { return itemHeight_; }

    // IHBoxView
    void BeginUpdate() override;
    void EndUpdate() override;
    void SetRowCount(int rows) override;

    // The selected row, or -1.
    int SelectedRow() const;
    // Puts the selected row's text on the clipboard as plain text. False when no row is selected.
    bool CopySelectedToClipboard(HWND owner);

    // Full repaints of the control (each EndUpdate and each paint the system asks for).
    std::uint64_t PaintCount() const { return paintCount_; }

    // Errors thrown while a message is handled; the main window shows them.
    std::function<void()> onException;

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    LRESULT Dispatch(UINT msg, WPARAM wp, LPARAM lp);
    void DrawRow(HDC dc, int row, const RECT& rect, bool selected) const;
    void Paint();
    void ResetScrollBar();
    void ScrollTwoRows(bool up);

    THeadlineBox& box_;
    HFONT font_ = nullptr;
    COLORREF textColor_ = 0;
    std::uint32_t color_ = 0xFF000008u;  // clWindowText
    int itemHeight_ = 15;
    bool doubleBuffered_ = true;
    std::uint64_t paintCount_ = 0;
};

}  // namespace pelo::headlines
