#include "script/ScriptImages.h"

#include "lang/StdStreams.h"
#include "script/ScriptObjects.h"

namespace pelo::script {

using lang::CallCtx;
using lang::HostClass;

ScriptPicture::ScriptPicture(const HostClass* cls, IScriptWindowFactory* factory, const HostClass* bitmapClass)
    : ScriptObject(cls), factory_(factory), bitmapClass_(bitmapClass) {}

ScriptPicture::~ScriptPicture() {
    if (bitmap_) {
        bitmap_->onChange = nullptr;
        Drop(bitmap_);
    }
}

ScriptBitmap* ScriptPicture::Bitmap() {
    if (!bitmap_ && factory_ && !disposed()) {
        if (ScriptBitmap* made = factory_->NewBitmap(bitmapClass_)) {
            bitmap_ = Hold(made);
            bitmap_->onChange = [this] {
                if (onChange) onChange();
            };
        }
    }
    return bitmap_;
}

void ScriptPicture::dispose() {
    onChange = nullptr;
    if (bitmap_) bitmap_->onChange = nullptr;
    ScriptObject::dispose();
}

void AssignBitmap(ScriptBitmap& to, const lang::Value& from) {
    if (from.tag != lang::Tag::Obj || !from.o) {
        to.SetSize(0, 0);
        return;
    }
    auto* source = dynamic_cast<ScriptBitmap*>(from.o);
    if (!source || source->disposed()) throw lang::hostException("Invalid class type");
    if (source != &to && !to.FromBmp(source->ToBmp())) throw lang::hostException("Bitmap image is not valid");
}

namespace {

// A picture's bitmap, or an error where none can be made (no program to make it).
ScriptBitmap& BitmapOf(ScriptPicture& picture) {
    ScriptBitmap* b = picture.Bitmap();
    if (!b) throw lang::hostException("Images cannot be loaded or saved by scripts");
    return *b;
}

ScriptPicture& PictureOf(CallCtx& c) {
    auto* w = dynamic_cast<ScriptWindow*>(c.self());
    ScriptPicture* p = w && !w->disposed() ? w->Picture() : nullptr;
    if (!p) throw lang::hostException("Invalid class type");
    return *p;
}

}  // namespace

void RegisterImageClasses(lang::HostTable& t, IScriptWindowFactory* f) {
    t.addClass("TGraphic", "TPersistent");
    HostClass& bitmap = t.addClass("TBitmap", "TGraphic");
    HostClass& picture = t.addClass("TPicture", "TPersistent");
    const HostClass* bitmapClass = &bitmap;
    const HostClass* pictureClass = &picture;

    // Without the program's bitmaps a TBitmap keeps what is set on it, as the other classes made without windows.
    bitmap.constructor("constructor Create", [f, bitmapClass](CallCtx& c) {
        ScriptBitmap* made = f ? f->NewBitmap(bitmapClass) : nullptr;
        c.retValue(lang::objectValue(made ? made : new lang::ScriptObject(bitmapClass)));
    });
    picture.constructor("constructor Create", [f, pictureClass, bitmapClass](CallCtx& c) {
        c.retValue(lang::objectValue(new ScriptPicture(pictureClass, f, bitmapClass)));
    });
    // Reading makes the bitmap; assigning copies the other one's picture.
    picture.property(
        "property Bitmap: TBitmap read write",
        [](CallCtx& c) {
            if (ScriptBitmap* b = SelfAs<ScriptPicture>(c).Bitmap()) c.retValue(lang::objectValue(b));
        },
        [](CallCtx& c) { AssignBitmap(BitmapOf(SelfAs<ScriptPicture>(c)), c.arg(1)); });

    if (HostClass* image = t.findClass("TImage")) {
        image->property(
            "property Picture: TPicture read write", [](CallCtx& c) { c.retValue(lang::objectValue(&PictureOf(c))); },
            [](CallCtx& c) {
                const lang::Value& v = c.arg(1);
                auto* from = v.tag == lang::Tag::Obj ? dynamic_cast<ScriptPicture*>(v.o) : nullptr;
                if (v.tag == lang::Tag::Obj && v.o && !from) throw lang::hostException("Invalid class type");
                ScriptBitmap& to = BitmapOf(PictureOf(c));
                ScriptBitmap* source = from ? from->ExistingBitmap() : nullptr;
                AssignBitmap(to, source ? lang::objectValue(source) : lang::Value{});
            });
        // An image without a picture gets a bitmap of its own size to draw on, as Delphi's does.
        image->property("property Canvas: TCanvas read", [](CallCtx& c) {
            ScriptWindow& w = SelfAs<ScriptWindow>(c);
            ScriptBitmap& b = BitmapOf(PictureOf(c));
            if (b.Width() == 0 || b.Height() == 0) {
                const ScriptBounds inside = w.ClientArea();
                b.SetSize(inside.Width, inside.Height);
            }
            c.retValue(lang::objectValue(&b.Canvas()));
        });
    }
}

}  // namespace pelo::script
