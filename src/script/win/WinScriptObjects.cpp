#include "script/win/WinScriptObjects.h"

#include <cmath>

#include "ui/win/Controls.h"
#include "ui/win/WinText.h"

namespace pelo::script {
namespace {

constexpr int32_t kClNone = 0x1FFFFFFF;
constexpr int32_t kClDefault = 0x20000000;

int32_t TColorOf(COLORREF c) { return static_cast<int32_t>(c & 0xFFFFFF); }

}  // namespace

COLORREF ColorFromTColor(int32_t color) {
    if (color < 0) return GetSysColor(color & 0xFF);
    return static_cast<COLORREF>(color) & 0xFFFFFF;
}

// ---------------------------------------------------------------------------------------------------------------

WinScriptFont::WinScriptFont(const lang::HostClass* cls, ui::Window& control, std::function<void()> onColorChanged)
    : ScriptFont(cls), control_(control), onColorChanged_(std::move(onColorChanged)) {
    hostOwned = true;
    // Start from the control's own font.
    LOGFONTW lf{};
    if (HFONT f = control.Font(); f && GetObjectW(f, sizeof lf, &lf) == sizeof lf) {
        spec_.Name = lf.lfFaceName;
        spec_.Height = lf.lfHeight;
        spec_.Bold = lf.lfWeight >= FW_BOLD;
        spec_.Italic = lf.lfItalic != 0;
        spec_.Underline = lf.lfUnderline != 0;
        spec_.Strikeout = lf.lfStrikeOut != 0;
        spec_.FixedPitch = (lf.lfPitchAndFamily & 3) == FIXED_PITCH;
        spec_.Quality = lf.lfQuality;
    }
}

std::string WinScriptFont::Name() const { return ui::WideToAnsi(spec_.Name); }
void WinScriptFont::SetName(std::string_view name) {
    spec_.Name = ui::AnsiToWide(name);
    Apply();
}
void WinScriptFont::SetHeight(int32_t height) {
    spec_.Height = height;
    Apply();
}
// Points at the screen's resolution, as Delphi converts them.
int32_t WinScriptFont::Size() const {
    return static_cast<int32_t>(std::lround(-static_cast<double>(spec_.Height) * 72 / ui::ScreenDpi()));
}
void WinScriptFont::SetSize(int32_t points) {
    spec_.Height = -static_cast<int32_t>(std::lround(static_cast<double>(points) * ui::ScreenDpi() / 72));
    Apply();
}
void WinScriptFont::SetColor(int32_t color) {
    color_ = color;
    if (onColorChanged_) onColorChanged_();
}
uint32_t WinScriptFont::Style() const {
    return (spec_.Bold ? fsBold : 0u) | (spec_.Italic ? fsItalic : 0u) | (spec_.Underline ? fsUnderline : 0u) |
           (spec_.Strikeout ? fsStrikeOut : 0u);
}
void WinScriptFont::SetStyle(uint32_t style) {
    spec_.Bold = (style & fsBold) != 0;
    spec_.Italic = (style & fsItalic) != 0;
    spec_.Underline = (style & fsUnderline) != 0;
    spec_.Strikeout = (style & fsStrikeOut) != 0;
    Apply();
}
void WinScriptFont::Set(const ui::FontSpec& spec, int32_t color) {
    spec_ = spec;
    color_ = color;
    Apply();
    if (onColorChanged_) onColorChanged_();
}
void WinScriptFont::SetQuality(BYTE quality) {
    spec_.Quality = quality;
    Apply();
}
void WinScriptFont::Apply() {
    ui::Font next(spec_);
    control_.SetFont(next);
    font_ = std::move(next);
    if (auto* label = dynamic_cast<ui::Label*>(&control_); label && label->autoSize) label->FitToText();
    InvalidateRect(control_.hwnd(), nullptr, TRUE);
}

// ---------------------------------------------------------------------------------------------------------------

WinScriptLabel::WinScriptLabel(const lang::HostClass* cls, const lang::HostClass* fontClass, ui::Label& label,
                               ui::Panel& panel)
    : ScriptControl(cls), label_(label), panel_(panel), color_(kClNone) {
    hostOwned = true;
    font_ = Hold(new WinScriptFont(fontClass, label, [this] { ApplyColors(); }));
}
WinScriptLabel::~WinScriptLabel() { Drop(font_); }

std::string WinScriptLabel::Caption() const { return label_.TextA(); }
void WinScriptLabel::SetCaption(std::string_view caption) { label_.SetText(ui::AnsiToWide(caption)); }
ScriptBounds WinScriptLabel::Bounds() const {
    const ui::Rect r = label_.RectInParent();
    return {r.Left, r.Top, r.Width, r.Height};
}
void WinScriptLabel::SetBounds(const ScriptBounds& b) {
    label_.Move({b.Left, b.Top, b.Width, b.Height});
    InvalidateRect(label_.hwnd(), nullptr, TRUE);
}
bool WinScriptLabel::Visible() const { return IsWindowVisible(label_.hwnd()) != FALSE; }
void WinScriptLabel::SetVisible(bool visible) { ShowWindow(label_.hwnd(), visible ? SW_SHOWNA : SW_HIDE); }
void WinScriptLabel::SetColor(int32_t color) {
    color_ = color;
    ApplyColors();
}
void WinScriptLabel::SetAlignment(int32_t alignment) {
    alignment_ = alignment;
    LONG style = GetWindowLongW(label_.hwnd(), GWL_STYLE) & ~(SS_LEFT | SS_RIGHT | SS_CENTER);
    style |= alignment == 1 ? SS_RIGHT : alignment == 2 ? SS_CENTER : SS_LEFT;
    SetWindowLongW(label_.hwnd(), GWL_STYLE, style);
    InvalidateRect(label_.hwnd(), nullptr, TRUE);
}
void WinScriptLabel::SetAutoSize(bool autoSize) {
    label_.autoSize = autoSize;
    if (autoSize) label_.FitToText();
}
void WinScriptLabel::ApplyColors() {
    const COLORREF text = ColorFromTColor(font_->Color());
    if (color_ == kClNone || color_ == kClDefault) panel_.SetChildColors(label_, text);
    else panel_.SetChildColors(label_, text, ColorFromTColor(color_));
}

// ---------------------------------------------------------------------------------------------------------------

WinScriptPanel::WinScriptPanel(const lang::HostClass* cls, const lang::HostClass* fontClass, ui::Panel& panel)
    : ScriptControl(cls), panel_(panel), color_(TColorOf(panel.Color())) {
    hostOwned = true;
    font_ = Hold(new WinScriptFont(fontClass, panel, nullptr));
}
WinScriptPanel::~WinScriptPanel() { Drop(font_); }

ScriptBounds WinScriptPanel::Bounds() const {
    const ui::Rect r = panel_.RectInParent();
    return {r.Left, r.Top, r.Width, r.Height};
}
void WinScriptPanel::SetBounds(const ScriptBounds& b) { panel_.Move({b.Left, b.Top, b.Width, b.Height}); }
bool WinScriptPanel::Visible() const { return IsWindowVisible(panel_.hwnd()) != FALSE; }
void WinScriptPanel::SetVisible(bool visible) { ShowWindow(panel_.hwnd(), visible ? SW_SHOWNA : SW_HIDE); }
void WinScriptPanel::SetColor(int32_t color) {
    color_ = color;
    panel_.SetColor(ColorFromTColor(color));
}

}  // namespace pelo::script
