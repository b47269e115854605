#pragma once
// A script's bitmap: a 32-bit picture in memory with a device context of its own, so that what the script draws on
// its canvas stays; read from and written as .bmp files.
#include <windows.h>

#include <string>

#include "script/ScriptImages.h"
#include "script/StandInObjects.h"
#include "script/win/WinScriptCanvas.h"
#include "ui/win/Font.h"

namespace pelo::script {

class WinScriptBitmap final : public ScriptBitmap, public CanvasSurface {
public:
    WinScriptBitmap(const lang::HostClass* cls, const WinScriptWindows::Setup& setup);
    ~WinScriptBitmap() override;

    int32_t Width() const override { return width_; }
    int32_t Height() const override { return height_; }
    void SetSize(int32_t width, int32_t height) override;
    ScriptCanvas& Canvas() override { return *canvas_; }
    std::string ToBmp() const override;
    bool FromBmp(const std::string& bytes) override;
    void dispose() override;

    // Copies the picture into `dc` at (x, y), stretched to width x height.
    void Draw(HDC dc, int x, int y, int width, int height) const;

    HDC BeginDrawing() override { return dc_; }
    void EndDrawing(HDC, bool drawn) override {
        if (drawn) Changed();
    }
    ScriptFont& SurfaceFont() override { return *font_; }
    HFONT SurfaceFontHandle() override;
    COLORREF SurfaceTextColor() const override;

private:
    // A white picture of that size, not yet ours; then taking it in place of the old one, which goes.
    HBITMAP NewPicture(int32_t width, int32_t height, void** bits) const;
    void Adopt(HBITMAP picture, void* bits, int32_t width, int32_t height);

    HDC dc_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    void* bits_ = nullptr;  // its pixels: 32 bits each, rows top-down
    HGDIOBJ original_ = nullptr;  // what the DC held before our bitmap
    int32_t width_ = 0, height_ = 0;
    StandInFont* font_;
    WinScriptCanvas* canvas_;
    ui::FontSpec fontSpec_;
    ui::Font fontHandle_;
};

}  // namespace pelo::script
