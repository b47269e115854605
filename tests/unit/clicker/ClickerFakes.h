#pragma once
// Recording stand-ins for the desktop, the mouse and the main window.
#include <map>
#include <string>
#include <vector>

#include "clicker/CoordinateKeys.h"
#include "clicker/OrderExecution.h"

namespace pelo::clicker::testing {

struct FakeWindow {
    WindowHandle Handle;
    std::string ClassName, Title;
    ScreenRect Bounds;
    bool Visible = true, Minimized = false;
    bool VanishesAfterEnumeration = false;  // turns invisible once counted
};

class FakeDesktop final : public IOrderWindowSystem {
public:
    std::vector<FakeWindow> Windows;
    bool EnumerationFails = false;
    bool RectFails = false;
    bool ConversionFails = false;

    FakeWindow& Add(std::string cls, std::string title, int left, int top = 100) {
        Windows.push_back({static_cast<WindowHandle>(Windows.size() + 1) * 16, std::move(cls), std::move(title),
                           {left, top, left + 200, top + 150}});
        return Windows.back();
    }
    bool EnumerateTopLevel(const std::function<void(const TopLevel&)>& visit) override {
        if (EnumerationFails) return false;
        for (auto& w : Windows) {
            visit({w.Handle, w.ClassName, w.Title});
            if (w.VanishesAfterEnumeration) w.Visible = false;
        }
        return true;
    }
    bool IsVisible(WindowHandle h) override { return Find(h) && Find(h)->Visible; }
    bool IsMinimized(WindowHandle h) override { return Find(h) && Find(h)->Minimized; }
    std::optional<ScreenRect> WindowRect(WindowHandle h) override {
        if (RectFails || !Find(h)) return std::nullopt;
        return Find(h)->Bounds;
    }
    // A window's client origin lies 4 right and 30 below its outer corner.
    std::optional<ClickPoint> ClientToScreen(WindowHandle h, ClickPoint p) override {
        if (ConversionFails || !Find(h)) return std::nullopt;
        return ClickPoint{Find(h)->Bounds.Left + 4 + p.X, Find(h)->Bounds.Top + 30 + p.Y};
    }
    FakeWindow* Find(WindowHandle h) {
        for (auto& w : Windows)
            if (w.Handle == h) return &w;
        return nullptr;
    }
};

class FakePointer final : public IPointer {
public:
    std::vector<std::string> Events;
    ClickPoint At{0, 0};
    bool Held = false;  // another program holds the pointer: moves are refused
    bool MoveTo(ClickPoint p) override {
        if (Held) {
            Events.push_back("refused " + std::to_string(p.X) + "," + std::to_string(p.Y));
            return false;
        }
        At = p;
        Events.push_back("move " + std::to_string(p.X) + "," + std::to_string(p.Y));
        return true;
    }
    void Click() override { Events.push_back("click"); }
    ClickPoint Position() override { return At; }
    void Sleep(int32_t ms) override { Events.push_back("sleep " + std::to_string(ms)); }
};

class FakeHost final : public IOrderExecutionHost {
public:
    bool Visible = true, Armed = true, TestMode = false;
    int Disarms = 0;
    std::vector<std::string> Lines, StoredLines, Boxes;
    bool MainWindowVisible() override { return Visible; }
    bool AutoExecuteArmed() override { return Armed; }
    bool ScriptTestMode() override { return TestMode; }
    void DisarmAutoExecute() override {
        Armed = false;
        ++Disarms;
    }
    void ShowStatusLine(const std::string& line) override { Lines.push_back(line); }
    void StoreStatusLine(const std::string& line) override { StoredLines.push_back(line); }
    void ShowErrorBox(const std::string& text, bool topMost) override {
        Boxes.push_back((topMost ? "[top] " : "") + text);
    }
};

class FakeCoordinateView final : public ICoordinateView {
public:
    bool DelayFocused = false;
    bool AnswerYes = true;
    int Questions = 0;
    std::map<std::pair<int, TradeKind>, std::string> Labels;
    std::vector<int> ShownSelected;
    bool DelayEditFocused() override { return DelayFocused; }
    void ShowSelectedFromStart(int entry) override { ShownSelected.push_back(entry); }
    void SetPointLabel(int entry, TradeKind kind, const std::string& text) override { Labels[{entry, kind}] = text; }
    bool ConfirmSwitchToManual() override {
        ++Questions;
        return AnswerYes;
    }
};

// Order execution over the fakes, with the three entries every start has.
struct Desk {
    AppSettings Settings;
    FakeDesktop Desktop;
    FakePointer Pointer;
    FakeHost Host;
    TOrderExecution Orders{Settings, Host, Desktop, Pointer};
    Desk() { Orders.Clicks.ClearAll(); }
    TManualClick& Entry(int k) { return Orders.Clicks.ClickList[static_cast<size_t>(k)]; }
    void UseCustom(std::string cls, std::string pattern) {
        Settings.DiscoveryMethod = 2;
        Settings.CustomClassName = std::move(cls);
        Settings.CustomTitlePattern = std::move(pattern);
    }
};

}  // namespace pelo::clicker::testing
