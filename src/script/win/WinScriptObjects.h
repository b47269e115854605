#pragma once
// The main window's labels and its indicator panel as the script objects TLabel, TPanel and TFont: what a script
// sets is what the user sees. Colours arrive as TColor and go to the panel that paints the label.
#include <windows.h>

#include <string>

#include "script/ScriptObjects.h"
#include "ui/win/Control.h"
#include "ui/win/Font.h"
#include "ui/win/Panel.h"

namespace pelo::script {

// TColor to a screen colour: system colours (high bit set) through the system's table.
COLORREF ColorFromTColor(int32_t color);

// The font of one control. Every change makes a new GDI font and gives it to the control.
class WinScriptFont final : public ScriptFont {
public:
    WinScriptFont(const lang::HostClass* cls, ui::Window& control, std::function<void()> onColorChanged);
    std::string Name() const override;
    void SetName(std::string_view name) override;
    int32_t Height() const override { return spec_.Height; }
    void SetHeight(int32_t height) override;
    int32_t Size() const override;
    void SetSize(int32_t points) override;
    int32_t Color() const override { return color_; }
    void SetColor(int32_t color) override;
    uint32_t Style() const override;
    void SetStyle(uint32_t style) override;

    // The whole description at once (the panel reset); applied once.
    void Set(const ui::FontSpec& spec, int32_t color);
    const ui::FontSpec& Spec() const { return spec_; }
    void SetQuality(BYTE quality);

private:
    void Apply();

    ui::Window& control_;
    std::function<void()> onColorChanged_;
    ui::FontSpec spec_;
    int32_t color_ = 0;
    ui::Font font_;
};

// A label on a panel: lbl1..lbl6, lblSignal, and the labels a script makes.
class WinScriptLabel final : public ScriptControl {
public:
    WinScriptLabel(const lang::HostClass* cls, const lang::HostClass* fontClass, ui::Label& label, ui::Panel& panel);
    ~WinScriptLabel() override;
    std::string Caption() const override;
    void SetCaption(std::string_view caption) override;
    ScriptBounds Bounds() const override;
    void SetBounds(const ScriptBounds& bounds) override;
    bool Visible() const override;
    void SetVisible(bool visible) override;
    int32_t Color() const override { return color_; }
    void SetColor(int32_t color) override;
    int32_t Alignment() const override { return alignment_; }
    void SetAlignment(int32_t alignment) override;
    bool AutoSize() const override { return label_.autoSize; }
    void SetAutoSize(bool autoSize) override;
    ScriptFont& Font() override { return *font_; }
    WinScriptFont& WinFont() { return *font_; }
    ui::Label& Control() { return label_; }

private:
    void ApplyColors();

    ui::Label& label_;
    ui::Panel& panel_;
    int32_t color_;          // the label's background; clNone: the panel's
    int32_t alignment_ = 0;
    WinScriptFont* font_;    // held through a reference of ours
};

// The indicator panel.
class WinScriptPanel final : public ScriptControl {
public:
    WinScriptPanel(const lang::HostClass* cls, const lang::HostClass* fontClass, ui::Panel& panel);
    ~WinScriptPanel() override;
    std::string Caption() const override { return caption_; }
    void SetCaption(std::string_view caption) override { caption_ = caption; }
    ScriptBounds Bounds() const override;
    void SetBounds(const ScriptBounds& bounds) override;
    bool Visible() const override;
    void SetVisible(bool visible) override;
    int32_t Color() const override { return color_; }
    void SetColor(int32_t color) override;
    int32_t Alignment() const override { return alignment_; }
    void SetAlignment(int32_t alignment) override { alignment_ = alignment; }
    bool AutoSize() const override { return false; }
    void SetAutoSize(bool) override {}
    ScriptFont& Font() override { return *font_; }

private:
    ui::Panel& panel_;
    std::string caption_;
    int32_t color_;
    int32_t alignment_ = 2;
    WinScriptFont* font_;
};

}  // namespace pelo::script
