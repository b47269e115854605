#pragma once
// The hidden application window: it carries the application title (the caption of plain message boxes) and owns
// the program's dialogs.
#include <functional>
#include <string>

#include "ui/win/Window.h"

namespace pelo::app {

class AppWindow : public ui::Window {
public:
    bool Create(const std::wstring& title);
    void SetTitle(const std::wstring& title);
    // WM_ACTIVATEAPP, after the default handling: true when the program is being activated.
    std::function<void(bool active)> onActivateApp;

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
};

}  // namespace pelo::app
