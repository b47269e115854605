#pragma once
// One tool tip window for a form: hints shown over its controls.
#include <windows.h>

#include "ui/win/Window.h"

namespace pelo::ui {

class ToolTips {
public:
    ToolTips() = default;
    ToolTips(const ToolTips&) = delete;
    ToolTips& operator=(const ToolTips&) = delete;
    ~ToolTips();

    bool Create(HWND owner);
    // The hint over `control` (a static control needs SS_NOTIFY to see the mouse). `text` must outlive the window.
    void Add(const Window& control, const wchar_t* text);
    void Remove(const Window& control);

private:
    HWND hwnd_ = nullptr;
};

}  // namespace pelo::ui
