#pragma once
// Pictures of a script: a bitmap it draws on, loads and saves (TBitmap), the holder of one (TPicture), and the image
// control that shows it (TImage). The program makes the bitmaps (script/win/WinScriptBitmap.h); without it (glc, the
// engine's tests) TBitmap is an object that keeps its settings and cannot load or save.
#include <cstdint>
#include <functional>
#include <string>

#include "lang/HostTable.h"
#include "script/ScriptWindows.h"

namespace pelo::script {

class ScriptBitmap : public lang::ScriptObject {
public:
    using ScriptObject::ScriptObject;
    virtual int32_t Width() const = 0;
    virtual int32_t Height() const = 0;
    // What fits stays; new room is white. A size below 0 counts as 0.
    virtual void SetSize(int32_t width, int32_t height) = 0;
    virtual ScriptCanvas& Canvas() = 0;
    // The picture as the bytes of a .bmp file, and a picture from such bytes (false: not a bitmap this reads).
    virtual std::string ToBmp() const = 0;
    virtual bool FromBmp(const std::string& bytes) = 0;

    // Told of every change of the picture: drawing, a new size, a new picture.
    std::function<void()> onChange;
    void Changed() {
        if (onChange) onChange();
    }
};

// TPicture: an image's, or made by the script. Its bitmap is made when first asked for.
class ScriptPicture final : public lang::ScriptObject {
public:
    ScriptPicture(const lang::HostClass* cls, IScriptWindowFactory* factory, const lang::HostClass* bitmapClass);
    ~ScriptPicture() override;
    // nullptr where no bitmaps can be made.
    ScriptBitmap* Bitmap();
    ScriptBitmap* ExistingBitmap() const { return bitmap_; }
    void dispose() override;

    // Told of every change of its bitmap.
    std::function<void()> onChange;

private:
    IScriptWindowFactory* factory_;
    const lang::HostClass* bitmapClass_;
    ScriptBitmap* bitmap_ = nullptr;
};

// Copies a picture as Delphi's Assign does: nil empties it; anything but a bitmap is refused.
void AssignBitmap(ScriptBitmap& to, const lang::Value& from);

// TGraphic, TBitmap and TPicture with their members, and TImage's Picture and Canvas.
void RegisterImageClasses(lang::HostTable& t, IScriptWindowFactory* factory);

}  // namespace pelo::script
