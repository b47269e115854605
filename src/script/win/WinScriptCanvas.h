#pragma once
// The canvas a script draws on with pen, brush and font: a paint box's, a form's, a shape's, or a bitmap's in
// memory. What it draws on is a surface, which hands out the device context for each drawing call.
#include <windows.h>

#include <array>
#include <string_view>

#include "script/ScriptWindows.h"
#include "script/win/WinScriptWindows.h"

namespace pelo::script {

class CanvasSurface {
public:
    virtual ~CanvasSurface() = default;
    // The device context for one drawing call, and its return; `drawn` tells whether the call changed anything.
    virtual HDC BeginDrawing() = 0;
    virtual void EndDrawing(HDC dc, bool drawn) = 0;
    virtual ScriptFont& SurfaceFont() = 0;
    virtual HFONT SurfaceFontHandle() = 0;
    virtual COLORREF SurfaceTextColor() const = 0;
};

// A window's drawing goes to its paint DC while OnPaint runs, else straight to the screen (and is gone at the next
// paint, as in Delphi); a bitmap's stays in the bitmap.
class WinScriptCanvas final : public ScriptCanvas {
public:
    WinScriptCanvas(const WinScriptWindows::Setup& s, CanvasSurface& surface);
    ~WinScriptCanvas() override;
    ScriptPen& Pen() override { return *pen_; }
    ScriptBrush& Brush() override { return *brush_; }
    ScriptFont& Font() override { return surface_.SurfaceFont(); }
    void MoveTo(int32_t x, int32_t y) override { penAt_ = {x, y}; }
    void LineTo(int32_t x, int32_t y) override;
    void Rectangle(int32_t x1, int32_t y1, int32_t x2, int32_t y2) override;
    void Ellipse(int32_t x1, int32_t y1, int32_t x2, int32_t y2) override;
    void RoundRect(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t w, int32_t h) override;
    void FillRect(int32_t left, int32_t top, int32_t right, int32_t bottom) override;
    void TextOut(int32_t x, int32_t y, std::string_view text) override;
    int32_t TextWidth(std::string_view text) override { return Extent(text).cx; }
    int32_t TextHeight(std::string_view text) override { return Extent(text).cy; }
    int32_t Pixel(int32_t x, int32_t y) override;
    void SetPixel(int32_t x, int32_t y, int32_t color) override;
    void DrawCurve(Curve curve, const std::array<int32_t, 8>& p) override;
    void FloodFill(int32_t x, int32_t y, int32_t color, int32_t style) override;

    // A window's paint DC while its paint message runs; nullptr after.
    void Painting(HDC dc) { paintDc_ = dc; }

private:
    // A DC with the canvas's pen, brush and font selected, for one drawing call.
    class Drawing {
    public:
        Drawing(WinScriptCanvas& canvas, bool draws = true);
        ~Drawing();
        HDC dc;

    private:
        WinScriptCanvas& canvas_;
        bool own_;
        bool draws_;
        HPEN pen_;
        HBRUSH brush_;
        HGDIOBJ oldPen_, oldBrush_, oldFont_;
    };
    SIZE Extent(std::string_view text);

    CanvasSurface& surface_;
    ScriptPen* pen_;
    ScriptBrush* brush_;
    POINT penAt_{0, 0};
    HDC paintDc_ = nullptr;
};

}  // namespace pelo::script
