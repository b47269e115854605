#pragma once
// The windows and timers scripts make, as real Win32 windows on the program's thread: forms, their controls and
// containers, with the script's event handlers called from the controls' notifications. Everything a script made
// lives until the script frees it or is unloaded (ReleaseAll), whatever its variables do meanwhile.
#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "script/ScriptWindows.h"

namespace pelo::script {

class WinScriptWindow;
class WinScriptTimer;

class WinScriptWindows final : public IScriptWindowFactory {
public:
    struct Setup {
        const lang::HostClass* FontClass = nullptr;
        const lang::HostClass* StringsClass = nullptr;
        const lang::HostClass* CanvasClass = nullptr;
        const lang::HostClass* PenClass = nullptr;
        const lang::HostClass* BrushClass = nullptr;
        const lang::HostClass* BitmapClass = nullptr;
        const lang::HostClass* PictureClass = nullptr;
        HWND MainWindow = nullptr;  // owns the forms; disabled while one is modal
        // An error inside an event handler, with the engine's text.
        std::function<void(const std::string&)> OnEventError;
    };
    explicit WinScriptWindows(Setup setup);
    ~WinScriptWindows() override;

    ScriptWindow* NewWindow(WindowKind kind, const lang::HostClass* cls, lang::ScriptObject* owner) override;
    ScriptTimer* NewTimer(const lang::HostClass* cls) override;
    ScriptBitmap* NewBitmap(const lang::HostClass* cls) override;
    int32_t ShowMessageBox(std::string_view text, std::string_view caption, int32_t flags) override;

    // Destroys every window and timer the script made; their objects answer as freed from then on.
    void ReleaseAll();

    // For the objects themselves.
    Setup& Settings() { return setup_; }
    HWND ParkingWindow();  // parent of the controls that have none yet
    void ReportError(const std::string& text);
    void Forget(lang::ScriptObject* object);  // the script freed it
    WinScriptTimer* TimerById(UINT_PTR id);
    HWND TimerWindow();

private:
    Setup setup_;
    std::vector<lang::ScriptObject*> made_;  // each held by one reference of ours
    HWND parking_ = nullptr;
    HWND timerWindow_ = nullptr;
    bool reporting_ = false;
};

}  // namespace pelo::script
