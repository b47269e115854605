#pragma once
// The program's objects as scripts see them: a font, a control (the indicator labels, the indicator panel, labels
// made by CreateLabel) and the application. The main window's controls implement them; glc and the tests use the
// stand-ins of StandInObjects.h. Values are Delphi's: colours as TColor (0x00BBGGRR), font styles as a set of
// TFontStyle, alignment as TAlignment.
#include <cstdint>
#include <string>
#include <string_view>

#include "lang/HostTable.h"
#include "lang/Value.h"

namespace pelo::script {

// A reference of the program's own to a script object: the object lives while the program holds it, whatever a
// script does with its variables.
template <class T>
T* Hold(T* object) {
    ++object->refs;
    return object;
}
template <class T>
void Drop(T* object) {
    if (--object->refs == 0) delete object;
}

// The object a member was called on, as the class its registration expects. Scripts can reach an object of another
// class through a constructor or a cast of a base class's name: refuse it rather than misread it.
template <class T>
T& SelfAs(lang::CallCtx& c) {
    auto* o = dynamic_cast<T*>(c.self());
    if (!o) throw lang::hostException("Invalid class type");
    return *o;
}

// An Integer argument of a host routine.
inline int32_t I32(lang::CallCtx& c, int k) { return static_cast<int32_t>(c.i(k)); }

enum FontStyleBit : uint32_t { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };

// A set value of a script (elements 0..63) with these elements' bits.
inline lang::Value SetOfBits(uint64_t bits) {
    lang::Value v;
    v.tag = lang::Tag::Set;
    v.set = bits ? new lang::SetRep{1, {bits, 0, 0, 0}} : nullptr;
    return v;
}

struct ScriptBounds {
    int32_t Left = 0, Top = 0, Width = 0, Height = 0;
};

class ScriptFont : public lang::ScriptObject {
public:
    using ScriptObject::ScriptObject;
    virtual std::string Name() const = 0;
    virtual void SetName(std::string_view name) = 0;
    // Height in pixels: negative for a character height, positive for a cell height. Size is in points.
    virtual int32_t Height() const = 0;
    virtual void SetHeight(int32_t height) = 0;
    virtual int32_t Size() const = 0;
    virtual void SetSize(int32_t points) = 0;
    virtual int32_t Color() const = 0;
    virtual void SetColor(int32_t color) = 0;
    virtual uint32_t Style() const = 0;  // FontStyleBit flags
    virtual void SetStyle(uint32_t style) = 0;
};

// Assigning a font copies its description, as Delphi's TFont.Assign does; nil or a freed font is refused.
inline void AssignFont(ScriptFont& to, const lang::Value& fromValue) {
    auto* from = fromValue.tag == lang::Tag::Obj ? dynamic_cast<ScriptFont*>(fromValue.o) : nullptr;
    if (!from || from->disposed()) throw lang::ScriptError(lang::ErrorCode::NullPointerException, "");
    to.SetName(from->Name());
    to.SetHeight(from->Height());
    to.SetColor(from->Color());
    to.SetStyle(from->Style());
}

class ScriptControl : public lang::ScriptObject {
public:
    using ScriptObject::ScriptObject;
    virtual std::string Caption() const = 0;
    virtual void SetCaption(std::string_view caption) = 0;
    virtual ScriptBounds Bounds() const = 0;
    virtual void SetBounds(const ScriptBounds& bounds) = 0;
    virtual bool Visible() const = 0;
    virtual void SetVisible(bool visible) = 0;
    virtual int32_t Color() const = 0;
    virtual void SetColor(int32_t color) = 0;
    virtual int32_t Alignment() const = 0;  // 0 left, 1 right, 2 centre
    virtual void SetAlignment(int32_t alignment) = 0;
    virtual bool AutoSize() const = 0;
    virtual void SetAutoSize(bool autoSize) = 0;
    virtual ScriptFont& Font() = 0;
};

class ScriptApplication : public lang::ScriptObject {
public:
    using ScriptObject::ScriptObject;
    virtual std::string Title() const = 0;
    virtual void SetTitle(std::string_view title) = 0;
    // Delivers the messages waiting in the program's queue, as a long script may do to keep the window alive.
    virtual void ProcessMessages() = 0;
    // The program's file, with its folder: scripts find their own files beside it.
    virtual std::string ExeName() const = 0;
    virtual intptr_t Handle() const = 0;  // the application window's
    // The program's window minimized as the user minimizes it (autoexecute disarms), restored, or brought to the
    // front; nothing where there is no window.
    virtual void Minimize() {}
    virtual void Restore() {}
    virtual void BringToFront() {}
};

}  // namespace pelo::script
