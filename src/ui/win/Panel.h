#pragma once
// A plain panel: a child window that paints its own background in one colour. Notifications of its typed
// controls go to those controls; the rest (the context menu, controls of no object) to the form.
#include <windows.h>

#include <functional>
#include <map>

#include "ui/win/Window.h"

namespace pelo::ui {

class Panel : public Window {
public:
    ~Panel() override;

    struct Args {
        HWND parent = nullptr;
        HWND notify = nullptr;  // receives what the children's objects do not handle, and WM_CONTEXTMENU
        Rect rect;
        COLORREF color = 0;
        bool border = false;
        DWORD extraStyle = 0;
        // Off for a panel holding group frames, whose inside is the panel's own background.
        bool clipChildren = true;
    };
    bool Create(const Args& args);

    void SetColor(COLORREF color);
    COLORREF Color() const { return color_; }
    // Text colour of a static or check box child; its background is the panel's colour unless set apart.
    void SetChildColors(const Window& child, COLORREF text);
    void SetChildColors(const Window& child, COLORREF text, COLORREF background);
    // Back to the default colours (and no entry left for a child about to be destroyed).
    void ForgetChildColors(const Window& child);

    // Runs after every size change of the panel.
    std::function<void()> onResize;
    // A left-button click on the panel itself (not on a child).
    std::function<void()> onClick;

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
