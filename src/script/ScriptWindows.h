#pragma once
// Windows a script makes for itself: forms with edits, buttons, check boxes, list boxes and the like, and timers,
// with script procedures as their event handlers. The classes scripts see are registered here over these
// interfaces; the program implements them with real windows (script/win/WinScriptWindows.h). Without a factory
// (glc, the tests of the engine) a script can declare such objects but not make them.
#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "lang/HostTable.h"
#include "lang/StdLib.h"
#include "lang/Vm.h"
#include "script/ScriptObjects.h"

namespace pelo::script {

class ScriptBitmap;
class ScriptPicture;

// A script procedure assigned to an event property, with the code it belongs to. Firing it after that code was
// unloaded (or replaced) does nothing.
struct ScriptEventHandler {
    lang::Vm* vm = nullptr;
    int proc = -1;
    uint64_t generation = 0;

    bool Assigned() const { return vm && proc >= 0; }
    bool Live() const { return Assigned() && vm->loaded() && vm->loadGeneration() == generation; }
    // The value the script reads back: the procedure's number + 1, 0 for none.
    int64_t ScriptValue() const { return Live() ? proc + 1 : 0; }
};

// The handler a script assigns to an event property (argument k: its procedure's number + 1, 0 for nil).
inline ScriptEventHandler ScriptHandlerArg(lang::CallCtx& c, int k) {
    const int64_t v = c.i(k);
    return v > 0 ? ScriptEventHandler{&c.vm, static_cast<int>(v - 1), c.vm.loadGeneration()} : ScriptEventHandler{};
}

// Calls the handler with the arguments; an error inside it goes to `onError` with the engine's text. `varOut`
// receives what the handler left in its var parameters (an event's Action or Key).
void FireScriptEvent(const ScriptEventHandler& handler, const std::vector<lang::Value>& args,
                     const std::function<void(const std::string&)>& onError, std::vector<lang::Value>* varOut = nullptr);

enum class WindowKind : uint8_t {
    Form, Edit, Memo, Button, CheckBox, RadioButton, ListBox, ComboBox, GroupBox, RadioGroup, Label, Panel, ScrollBar,
    PaintBox, Shape, Image, Plain
};

enum class ScriptEvent : uint8_t {
    Click, DblClick, Change, Show, Hide, Activate, Paint, Close, KeyPress,
    Enter, Exit, KeyDown, KeyUp, MouseDown, MouseUp, MouseMove, Resize, CloseQuery, Deactivate, Scroll, Count_
};

// The event a property name stands for ("OnMouseDown"), if the windows fire it.
std::optional<ScriptEvent> ScriptEventNamed(std::string_view propertyName);

struct ScriptPoint {
    int32_t X = 0;
    int32_t Y = 0;
};

// What a canvas draws lines and fills with: plain settings the canvas reads at each drawing call.
class ScriptPen final : public lang::ScriptObject {
public:
    using ScriptObject::ScriptObject;
    int32_t Color = 0;  // TColor
    int32_t Width = 1;
    int32_t Style = 0;  // TPenStyle
};

class ScriptBrush final : public lang::ScriptObject {
public:
    using ScriptObject::ScriptObject;
    int32_t Color = 0xFFFFFF;
    int32_t Style = 0;  // TBrushStyle
};

// A paint box's drawing surface, in the box's client coordinates.
class ScriptCanvas : public lang::ScriptObject {
public:
    using ScriptObject::ScriptObject;
    virtual ScriptPen& Pen() = 0;
    virtual ScriptBrush& Brush() = 0;
    virtual ScriptFont& Font() = 0;
    virtual void MoveTo(int32_t x, int32_t y) = 0;
    virtual void LineTo(int32_t x, int32_t y) = 0;
    virtual void Rectangle(int32_t x1, int32_t y1, int32_t x2, int32_t y2) = 0;
    virtual void Ellipse(int32_t x1, int32_t y1, int32_t x2, int32_t y2) = 0;
    virtual void RoundRect(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t w, int32_t h) = 0;
    virtual void FillRect(int32_t left, int32_t top, int32_t right, int32_t bottom) = 0;
    virtual void TextOut(int32_t x, int32_t y, std::string_view text) = 0;
    virtual int32_t TextWidth(std::string_view text) = 0;
    virtual int32_t TextHeight(std::string_view text) = 0;
    virtual int32_t Pixel(int32_t x, int32_t y) = 0;
    virtual void SetPixel(int32_t x, int32_t y, int32_t color) = 0;
    enum class Curve : uint8_t { Arc, Chord, Pie };
    // The part of the ellipse in (x1, y1)-(x2, y2) from the ray towards (x3, y3) to the one towards (x4, y4),
    // counter-clockwise.
    virtual void DrawCurve(Curve curve, const std::array<int32_t, 8>& points) = 0;
    // Fills outwards from (x, y): over pixels of `color` (style 1, fsSurface) or up to a border of it (0, fsBorder).
    virtual void FloodFill(int32_t x, int32_t y, int32_t color, int32_t style) = 0;
};

// One window of a script: every control class and TForm. What a kind does not have answers as Delphi's base
// classes would (no items, not checked).
class ScriptWindow : public ScriptControl {
public:
    using ScriptControl::ScriptControl;
    virtual WindowKind Kind() const = 0;

    virtual std::string Text() const = 0;  // an edit's or combo box's text, a memo's whole text; else the caption
    virtual void SetText(std::string_view text) = 0;
    virtual bool Enabled() const = 0;
    virtual void SetEnabled(bool enabled) = 0;
    virtual bool Checked() const = 0;
    virtual void SetChecked(bool checked) = 0;
    // TCheckBoxState: cbUnchecked, cbChecked, cbGrayed (only a check box that allows it shows the third)
    virtual int32_t CheckState() const { return Checked() ? 1 : 0; }
    virtual void SetCheckState(int32_t state) { SetChecked(state == 1); }
    virtual int32_t ItemIndex() const = 0;
    virtual void SetItemIndex(int32_t index) = 0;
    // A list or combo box's or radio group's Items, a memo's Lines; nullptr for the other kinds.
    virtual lang::StringListObject* Items() = 0;
    virtual ScriptWindow* ParentWindow() const = 0;
    // nullptr takes the window off its parent (it is then not shown).
    virtual void SetParentWindow(ScriptWindow* parent) = 0;
    virtual int32_t ModalResult() const = 0;  // forms: the result of ShowModal; buttons: what a click sets it to
    virtual void SetModalResult(int32_t result) = 0;
    virtual int32_t ShowModal() = 0;
    virtual void Close() = 0;
    virtual void SetFocus() = 0;
    virtual bool Focused() const = 0;
    virtual int32_t MaxLength() const = 0;
    virtual void SetMaxLength(int32_t length) = 0;
    virtual bool ReadOnly() const = 0;
    virtual void SetReadOnly(bool readOnly) = 0;
    virtual void SelectAll() = 0;
    virtual intptr_t Handle() const = 0;
    virtual int32_t Position() const = 0;  // forms: TPosition; scroll bars: the position (see SetScrollParams)
    virtual void SetPosition(int32_t position) = 0;
    virtual ScriptCanvas* Canvas() = 0;    // paint boxes and shapes; nullptr for the other kinds
    virtual int32_t ShapeType() const = 0;  // shapes: TShapeType
    virtual void SetShapeType(int32_t shape) = 0;
    // The inside of the window, without frame and caption.
    virtual ScriptBounds ClientArea() const = 0;
    virtual void SetClientSize(int32_t width, int32_t height) = 0;
    virtual void Invalidate() = 0;           // painted anew at the next chance
    virtual void ToFront(bool front) = 0;    // BringToFront, SendToBack among its siblings
    virtual int32_t BorderStyle() const = 0;  // forms: TFormBorderStyle
    virtual void SetBorderStyle(int32_t style) = 0;
    // The script windows placed on this one, in the order they were placed.
    virtual std::vector<ScriptWindow*> ChildWindows() const = 0;
    // A window message to the window itself, answered at once.
    virtual intptr_t Perform(uint32_t message, intptr_t wParam, intptr_t lParam) = 0;
    virtual ScriptPoint ClientToScreen(ScriptPoint point) const = 0;
    virtual ScriptPoint ScreenToClient(ScriptPoint point) const = 0;
    // A list box's item, in the box's client coordinates; empty when there is no such item.
    virtual ScriptBounds ItemBounds(int32_t index) const = 0;
    // An image's picture; nullptr for the other kinds.
    virtual ScriptPicture* Picture() { return nullptr; }
    // A setting the script keeps on the window (KeptSetting) was set: the window applies the ones it can (cursor,
    // alignment and anchors, tab stops, form style, border icons, window state).
    virtual void SettingChanged(const std::string& name) = 0;

    ScriptEventHandler Events[static_cast<int>(ScriptEvent::Count_)];
    ScriptEventHandler& On(ScriptEvent e) { return Events[static_cast<int>(e)]; }
};

class ScriptTimer : public lang::ScriptObject {
public:
    using ScriptObject::ScriptObject;
    virtual bool Enabled() const = 0;
    virtual void SetEnabled(bool enabled) = 0;
    virtual int32_t Interval() const = 0;  // milliseconds
    virtual void SetInterval(int32_t ms) = 0;

    ScriptEventHandler OnTimer;
};

// Makes the script's windows and timers, and shows its message boxes. It keeps what it made until the script
// frees it or is unloaded.
class IScriptWindowFactory {
public:
    virtual ~IScriptWindowFactory() = default;
    // `owner` is the TComponent given to the constructor (may be nil or not a window).
    virtual ScriptWindow* NewWindow(WindowKind kind, const lang::HostClass* cls, lang::ScriptObject* owner) = 0;
    virtual ScriptTimer* NewTimer(const lang::HostClass* cls) = 0;
    // A bitmap of 0 x 0 pixels; nullptr where bitmaps cannot be made.
    virtual ScriptBitmap* NewBitmap(const lang::HostClass* /*cls*/) { return nullptr; }
    // Application.MessageBox: the system's box over the program's window; the button pressed (IDOK...).
    virtual int32_t ShowMessageBox(std::string_view text, std::string_view caption, int32_t flags) = 0;
};

// A setting kept on a script object by its upper-case name; nullptr while the script has not set it.
inline const lang::Value* KeptSetting(const lang::ScriptObject& object, const std::string& name) {
    const lang::ScriptObject::StoredMember* kept = object.storedMember(name);
    return kept ? &kept->value : nullptr;
}

// A scroll bar's range and position set together, as its Min, Max, Position and SetParams do: a range whose end
// lies before its start is refused, and the position is brought into the range (its OnChange fires when it moved).
void SetScrollParams(ScriptWindow& bar, int64_t position, int64_t min, int64_t max);
// A scroll bar's range ends, as set or as a new bar has them (0 to 100).
int64_t ScrollMin(const ScriptWindow& bar);
int64_t ScrollMax(const ScriptWindow& bar);

// The classes of the script windows, registered after the program's own controls (TControl ... TPanel) and
// TApplication. `factory` may be null.
void RegisterScriptWindowClasses(lang::HostTable& t, IScriptWindowFactory* factory);

}  // namespace pelo::script
