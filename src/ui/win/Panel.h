#pragma once
// A plain panel: a child window that paints its own background in one colour and passes its children's
// notifications on to the window that handles them (the form), as a form's controls expect.
#include <windows.h>

#include <functional>
#include <map>

#include "ui/win/Window.h"

namespace pelo::ui {

class Panel : public Window {
public:
    ~Panel() override;

    // `notify`: the window that receives WM_COMMAND, WM_NOTIFY and WM_CONTEXTMENU of the children.
    bool Create(HWND parent, HWND notify, int x, int y, int w, int h, COLORREF color, bool border = false);

    void SetColor(COLORREF color);
    COLORREF Color() const { return color_; }
    // Text colour of a static or check box child; its background is the panel's colour unless set apart.
    void SetChildColors(HWND child, COLORREF text);
    void SetChildColors(HWND child, COLORREF text, COLORREF background);

    // Runs after every size change of the panel.
    std::function<void()> onResize;

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    struct ChildColors {
        COLORREF text;
        bool ownBackground;
        COLORREF background;
        HBRUSH brush;
    };
    HBRUSH BrushFor(HWND child, HDC dc);

    HWND notify_ = nullptr;
    COLORREF color_ = 0;
    HBRUSH brush_ = nullptr;
    std::map<HWND, ChildColors> childColors_;
};

// Messages a panel reflects to the control that asked for owner drawing.
inline constexpr UINT WM_REFLECT_DRAWITEM = WM_APP + 0x301;
inline constexpr UINT WM_REFLECT_MEASUREITEM = WM_APP + 0x302;

}  // namespace pelo::ui
