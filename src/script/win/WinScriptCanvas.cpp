#include "script/win/WinScriptCanvas.h"

#include "script/win/WinScriptObjects.h"
#include "ui/win/WinText.h"

namespace pelo::script {

WinScriptCanvas::WinScriptCanvas(const WinScriptWindows::Setup& s, CanvasSurface& surface)
    : ScriptCanvas(s.CanvasClass), surface_(surface), pen_(Hold(new ScriptPen(s.PenClass))),
      brush_(Hold(new ScriptBrush(s.BrushClass))) {
    hostOwned = true;
    pen_->hostOwned = true;
    brush_->hostOwned = true;
}

WinScriptCanvas::~WinScriptCanvas() {
    Drop(pen_);
    Drop(brush_);
}

WinScriptCanvas::Drawing::Drawing(WinScriptCanvas& canvas, bool draws)
    : canvas_(canvas), own_(canvas.paintDc_ == nullptr), draws_(draws) {
    dc = own_ ? canvas.surface_.BeginDrawing() : canvas.paintDc_;
    static constexpr int kPenStyles[] = {PS_SOLID, PS_DASH, PS_DOT, PS_DASHDOT, PS_DASHDOTDOT, PS_NULL, PS_INSIDEFRAME};
    const ScriptPen& p = *canvas.pen_;
    const int style = p.Style >= 0 && p.Style < 7 ? kPenStyles[p.Style] : PS_SOLID;
    pen_ = CreatePen(style, p.Width, ColorFromTColor(p.Color));
    const ScriptBrush& b = *canvas.brush_;
    static constexpr int kHatches[] = {HS_HORIZONTAL, HS_VERTICAL, HS_FDIAGONAL, HS_BDIAGONAL, HS_CROSS, HS_DIAGCROSS};
    if (b.Style == 1) brush_ = static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
    else if (b.Style >= 2 && b.Style < 8) brush_ = CreateHatchBrush(kHatches[b.Style - 2], ColorFromTColor(b.Color));
    else brush_ = CreateSolidBrush(ColorFromTColor(b.Color));
    oldPen_ = SelectObject(dc, pen_);
    oldBrush_ = SelectObject(dc, brush_);
    oldFont_ = SelectObject(dc, canvas.surface_.SurfaceFontHandle());
    SetTextColor(dc, canvas.surface_.SurfaceTextColor());
    SetBkMode(dc, b.Style == 1 ? TRANSPARENT : OPAQUE);
    SetBkColor(dc, ColorFromTColor(b.Color));
}

WinScriptCanvas::Drawing::~Drawing() {
    SelectObject(dc, oldPen_);
    SelectObject(dc, oldBrush_);
    SelectObject(dc, oldFont_);
    DeleteObject(pen_);
    if (canvas_.brush_->Style != 1) DeleteObject(brush_);
    if (own_) canvas_.surface_.EndDrawing(dc, draws_);
}

void WinScriptCanvas::LineTo(int32_t x, int32_t y) {
    Drawing d(*this);
    MoveToEx(d.dc, penAt_.x, penAt_.y, nullptr);
    ::LineTo(d.dc, x, y);
    penAt_ = {x, y};
}

void WinScriptCanvas::Rectangle(int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
    Drawing d(*this);
    ::Rectangle(d.dc, x1, y1, x2, y2);
}

void WinScriptCanvas::Ellipse(int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
    Drawing d(*this);
    ::Ellipse(d.dc, x1, y1, x2, y2);
}

void WinScriptCanvas::RoundRect(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t w, int32_t h) {
    Drawing d(*this);
    ::RoundRect(d.dc, x1, y1, x2, y2, w, h);
}

void WinScriptCanvas::FillRect(int32_t left, int32_t top, int32_t right, int32_t bottom) {
    Drawing d(*this);
    const RECT r{left, top, right, bottom};
    ::FillRect(d.dc, &r, static_cast<HBRUSH>(GetCurrentObject(d.dc, OBJ_BRUSH)));
}

void WinScriptCanvas::TextOut(int32_t x, int32_t y, std::string_view text) {
    Drawing d(*this);
    const std::wstring w = ui::AnsiToWide(text);
    ::TextOutW(d.dc, x, y, w.c_str(), static_cast<int>(w.size()));
}

SIZE WinScriptCanvas::Extent(std::string_view text) {
    Drawing d(*this, false);
    const std::wstring w = ui::AnsiToWide(text);
    SIZE size{0, 0};
    GetTextExtentPoint32W(d.dc, w.c_str(), static_cast<int>(w.size()), &size);
    return size;
}

int32_t WinScriptCanvas::Pixel(int32_t x, int32_t y) {
    Drawing d(*this, false);
    return static_cast<int32_t>(GetPixel(d.dc, x, y) & 0xFFFFFF);
}

void WinScriptCanvas::SetPixel(int32_t x, int32_t y, int32_t color) {
    Drawing d(*this);
    ::SetPixel(d.dc, x, y, ColorFromTColor(color));
}

void WinScriptCanvas::DrawCurve(Curve curve, const std::array<int32_t, 8>& p) {
    Drawing d(*this);
    switch (curve) {
        case Curve::Arc: ::Arc(d.dc, p[0], p[1], p[2], p[3], p[4], p[5], p[6], p[7]); break;
        case Curve::Chord: ::Chord(d.dc, p[0], p[1], p[2], p[3], p[4], p[5], p[6], p[7]); break;
        case Curve::Pie: ::Pie(d.dc, p[0], p[1], p[2], p[3], p[4], p[5], p[6], p[7]); break;
    }
}

void WinScriptCanvas::FloodFill(int32_t x, int32_t y, int32_t color, int32_t style) {
    Drawing d(*this);
    ::ExtFloodFill(d.dc, x, y, ColorFromTColor(color), style == 1 ? FLOODFILLSURFACE : FLOODFILLBORDER);
}

}  // namespace pelo::script
