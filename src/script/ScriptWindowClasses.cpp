#include "script/ScriptWindows.h"

#include "script/ScriptClassCatalog.h"
#include "script/ScriptImages.h"

#include <algorithm>
#include <array>
#include <optional>

namespace pelo::script {
namespace {

using lang::CallCtx;
using lang::HostClass;
using lang::HostTable;

ScriptWindow& Win(CallCtx& c) { return SelfAs<ScriptWindow>(c); }

// A window argument: nil, or one of the script's windows (anything else is refused).
ScriptWindow* WindowArg(CallCtx& c, int k) {
    const lang::Value& v = c.arg(k);
    if (v.tag != lang::Tag::Obj || !v.o) return nullptr;
    auto* w = dynamic_cast<ScriptWindow*>(v.o);
    if (!w || w->disposed()) throw lang::hostException("Invalid class type");
    return w;
}

void EventProperty(HostClass& cls, const std::string& name, ScriptEvent event, const char* type = "TNotifyEvent") {
    cls.property(
        "property " + name + ": " + type + " read write",
        [event](CallCtx& c) { c.retInt(Win(c).On(event).ScriptValue()); },
        [event](CallCtx& c) { Win(c).On(event) = ScriptHandlerArg(c, 1); });
}

lang::HostFn Constructor(IScriptWindowFactory* factory, WindowKind kind, const HostClass* cls) {
    return [factory, kind, cls](CallCtx& c) {
        if (!factory) throw lang::hostException("Windows cannot be made here");
        const lang::Value& ownerArg = c.arg(0);
        lang::ScriptObject* owner = ownerArg.tag == lang::Tag::Obj ? ownerArg.o : nullptr;
        ScriptWindow* w = factory->NewWindow(kind, cls, owner);
        lang::attachToOwner(w, owner);
        c.retValue(lang::objectValue(w));
    };
}

void TextProperty(HostClass& cls) {
    cls.property(
        "property Text: string read write", [](CallCtx& c) { c.retStr(Win(c).Text()); },
        [](CallCtx& c) { Win(c).SetText(c.s(1)); });
}
void CaptionProperty(HostClass& cls) {
    cls.property(
        "property Caption: string read write", [](CallCtx& c) { c.retStr(Win(c).Caption()); },
        [](CallCtx& c) { Win(c).SetCaption(c.s(1)); });
}
void CheckedProperty(HostClass& cls) {
    cls.property(
        "property Checked: Boolean read write", [](CallCtx& c) { c.retBool(Win(c).Checked()); },
        [](CallCtx& c) { Win(c).SetChecked(c.b(1)); });
}
void ItemIndexProperty(HostClass& cls) {
    cls.property(
        "property ItemIndex: Integer read write", [](CallCtx& c) { c.retInt(Win(c).ItemIndex()); },
        [](CallCtx& c) { Win(c).SetItemIndex(I32(c, 1)); });
}
// Items of a list or combo box, Lines of a memo: the control's own list; assigning copies the strings.
void ListProperty(HostClass& cls, const char* name) {
    cls.property(
        std::string("property ") + name + ": TStrings read write",
        [](CallCtx& c) { c.retValue(lang::objectValue(Win(c).Items())); },
        [](CallCtx& c) {
            lang::StringListObject* items = Win(c).Items();
            const lang::Value& v = c.arg(1);
            auto* from = v.tag == lang::Tag::Obj ? dynamic_cast<lang::StringListObject*>(v.o) : nullptr;
            if (!items || !from || from->disposed()) throw lang::ScriptError(lang::ErrorCode::NullPointerException, "");
            if (from == items) return;
            items->list.Clear();
            items->list.AddStrings(from->list);
            items->changed();
        });
}
void EditMembers(HostClass& cls) {
    EventProperty(cls, "OnKeyPress", ScriptEvent::KeyPress, "TKeyPressEvent");
    cls.property(
        "property MaxLength: Integer read write", [](CallCtx& c) { c.retInt(Win(c).MaxLength()); },
        [](CallCtx& c) { Win(c).SetMaxLength(I32(c, 1)); });
    cls.property(
        "property ReadOnly: Boolean read write", [](CallCtx& c) { c.retBool(Win(c).ReadOnly()); },
        [](CallCtx& c) { Win(c).SetReadOnly(c.b(1)); });
    EventProperty(cls, "OnChange", ScriptEvent::Change);
    EventProperty(cls, "OnClick", ScriptEvent::Click);
}

// Adds a class of the script windows: `kind` says what its constructor makes (none for abstract bases).
HostClass& Add(HostTable& t, IScriptWindowFactory* factory, const char* name, const char* parent,
               std::optional<WindowKind> kind) {
    HostClass* existing = t.findClass(name);
    HostClass& cls = existing ? *existing : t.addClass(name, parent);
    if (kind) cls.constructor("constructor Create(AOwner: TComponent)", Constructor(factory, *kind, &cls));
    return cls;
}

void RegisterControlMembers(HostTable& t) {
    HostClass& control = *t.findClass("TControl");
    control.property(
        "property Parent: TWinControl read write", [](CallCtx& c) { c.retValue(lang::objectValue(Win(c).ParentWindow())); },
        [](CallCtx& c) { Win(c).SetParentWindow(WindowArg(c, 1)); });
    control.property(
        "property Enabled: Boolean read write", [](CallCtx& c) { c.retBool(Win(c).Enabled()); },
        [](CallCtx& c) { Win(c).SetEnabled(c.b(1)); });
    control.property(
        "property ClientWidth: LongInt read write", [](CallCtx& c) { c.retInt(Win(c).ClientArea().Width); },
        [](CallCtx& c) { Win(c).SetClientSize(I32(c, 1), Win(c).ClientArea().Height); });
    control.property(
        "property ClientHeight: LongInt read write", [](CallCtx& c) { c.retInt(Win(c).ClientArea().Height); },
        [](CallCtx& c) { Win(c).SetClientSize(Win(c).ClientArea().Width, I32(c, 1)); });
    control.method("procedure BringToFront", [](CallCtx& c) { Win(c).ToFront(true); });
    control.method("procedure SendToBack", [](CallCtx& c) { Win(c).ToFront(false); });
    for (const char* redraw : {"procedure Invalidate", "procedure Refresh", "procedure Repaint", "procedure Update"})
        control.method(redraw, [](CallCtx& c) { Win(c).Invalidate(); });

    HostClass& winControl = *t.findClass("TWinControl");
    winControl.method("procedure SetFocus", [](CallCtx& c) { Win(c).SetFocus(); });
    winControl.method("function Focused: Boolean", [](CallCtx& c) { c.retBool(Win(c).Focused()); });
    winControl.method("function CanFocus: Boolean", [](CallCtx& c) { c.retBool(Win(c).Enabled() && Win(c).Visible()); });
    winControl.property("property Handle: LongInt read",
                        [](CallCtx& c) { c.retInt(static_cast<int32_t>(Win(c).Handle())); });
}

void RegisterStdCtrls(HostTable& t, IScriptWindowFactory* f) {
    HostClass& customGroupBox = Add(t, f, "TCustomGroupBox", "TCustomControl", std::nullopt);
    HostClass& groupBox = Add(t, f, "TGroupBox", customGroupBox.name().c_str(), WindowKind::GroupBox);
    CaptionProperty(groupBox);
    EventProperty(groupBox, "OnClick", ScriptEvent::Click);

    HostClass& label = Add(t, f, "TLabel", "TCustomLabel", WindowKind::Label);
    EventProperty(label, "OnClick", ScriptEvent::Click);

    HostClass& customEdit = Add(t, f, "TCustomEdit", "TWinControl", std::nullopt);
    TextProperty(customEdit);
    customEdit.method("procedure Clear", [](CallCtx& c) { Win(c).SetText(""); });
    customEdit.method("procedure SelectAll", [](CallCtx& c) { Win(c).SelectAll(); });
    HostClass& edit = Add(t, f, "TEdit", "TCustomEdit", WindowKind::Edit);
    EditMembers(edit);

    HostClass& customMemo = Add(t, f, "TCustomMemo", "TCustomEdit", std::nullopt);
    ListProperty(customMemo, "Lines");
    HostClass& memo = Add(t, f, "TMemo", "TCustomMemo", WindowKind::Memo);
    ListProperty(memo, "Lines");
    EditMembers(memo);

    HostClass& customCombo = Add(t, f, "TCustomComboBox", "TWinControl", std::nullopt);
    ListProperty(customCombo, "Items");
    ItemIndexProperty(customCombo);
    customCombo.method("procedure Clear", [](CallCtx& c) {
        if (lang::StringListObject* items = Win(c).Items()) {
            items->list.Clear();
            items->changed();
        }
    });
    HostClass& combo = Add(t, f, "TComboBox", "TCustomComboBox", WindowKind::ComboBox);
    TextProperty(combo);
    EventProperty(combo, "OnChange", ScriptEvent::Change);
    EventProperty(combo, "OnClick", ScriptEvent::Click);

    HostClass& buttonControl = Add(t, f, "TButtonControl", "TWinControl", std::nullopt);
    HostClass& button = Add(t, f, "TButton", buttonControl.name().c_str(), WindowKind::Button);
    CaptionProperty(button);
    button.property(
        "property ModalResult: LongInt read write", [](CallCtx& c) { c.retInt(Win(c).ModalResult()); },
        [](CallCtx& c) { Win(c).SetModalResult(I32(c, 1)); });
    EventProperty(button, "OnClick", ScriptEvent::Click);

    HostClass& customCheckBox = Add(t, f, "TCustomCheckBox", "TButtonControl", std::nullopt);
    HostClass& checkBox = Add(t, f, "TCheckBox", customCheckBox.name().c_str(), WindowKind::CheckBox);
    CaptionProperty(checkBox);
    CheckedProperty(checkBox);
    EventProperty(checkBox, "OnClick", ScriptEvent::Click);
    HostClass& radio = Add(t, f, "TRadioButton", "TButtonControl", WindowKind::RadioButton);
    CaptionProperty(radio);
    CheckedProperty(radio);
    EventProperty(radio, "OnClick", ScriptEvent::Click);

    HostClass& customList = Add(t, f, "TCustomListBox", "TWinControl", std::nullopt);
    ListProperty(customList, "Items");
    ItemIndexProperty(customList);
    customList.method("procedure Clear", [](CallCtx& c) {
        if (lang::StringListObject* items = Win(c).Items()) {
            items->list.Clear();
            items->changed();
        }
    });
    HostClass& list = Add(t, f, "TListBox", "TCustomListBox", WindowKind::ListBox);
    EventProperty(list, "OnClick", ScriptEvent::Click);
    EventProperty(list, "OnDblClick", ScriptEvent::DblClick);

    HostClass& scrollBar = Add(t, f, "TScrollBar", "TWinControl", WindowKind::ScrollBar);
    scrollBar.property(
        "property Position: Integer read write", [](CallCtx& c) { c.retInt(Win(c).Position()); },
        [](CallCtx& c) { SetScrollParams(Win(c), c.i(1), ScrollMin(Win(c)), ScrollMax(Win(c))); });
    scrollBar.property(
        "property Min: Integer read write", [](CallCtx& c) { c.retInt(ScrollMin(Win(c))); },
        [](CallCtx& c) { SetScrollParams(Win(c), Win(c).Position(), c.i(1), ScrollMax(Win(c))); });
    scrollBar.property(
        "property Max: Integer read write", [](CallCtx& c) { c.retInt(ScrollMax(Win(c))); },
        [](CallCtx& c) { SetScrollParams(Win(c), Win(c).Position(), ScrollMin(Win(c)), c.i(1)); });
    scrollBar.method("procedure SetParams(APosition, AMin, AMax: Integer)",
                     [](CallCtx& c) { SetScrollParams(Win(c), c.i(1), c.i(2), c.i(3)); });
    EventProperty(scrollBar, "OnChange", ScriptEvent::Change);
    EventProperty(scrollBar, "OnScroll", ScriptEvent::Scroll, "TScrollEvent");
}

void RegisterButtons(HostTable& t, IScriptWindowFactory* f) {
    HostClass& speed = Add(t, f, "TSpeedButton", "TGraphicControl", WindowKind::Button);
    CaptionProperty(speed);
    EventProperty(speed, "OnClick", ScriptEvent::Click);
    Add(t, f, "TBitBtn", "TButton", WindowKind::Button);
}

void RegisterForms(HostTable& t, IScriptWindowFactory* f) {
    t.type("TPosition = (poDesigned, poDefault, poDefaultPosOnly, poDefaultSizeOnly, poScreenCenter, poDesktopCenter, "
           "poMainFormCenter, poOwnerFormCenter)");
    t.type("TFormBorderStyle = (bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin)");
    static constexpr std::array<const char*, 11> kModalResults = {
        "mrNone = 0", "mrOk = 1", "mrCancel = 2", "mrAbort = 3", "mrRetry = 4", "mrIgnore = 5",
        "mrYes = 6",  "mrNo = 7", "mrAll = 8",    "mrNoToAll = 9", "mrYesToAll = 10",
    };
    for (const char* c : kModalResults) t.constant(c);

    t.addClass("TControlScrollBar", "TPersistent");
    HostClass& scrolling = Add(t, f, "TScrollingWinControl", "TWinControl", std::nullopt);
    Add(t, f, "TScrollBox", scrolling.name().c_str(), WindowKind::Panel);
    HostClass& form = Add(t, f, "TForm", scrolling.name().c_str(), WindowKind::Form);
    form.constructor("constructor CreateNew(AOwner: TComponent; Dummy: Integer)", Constructor(f, WindowKind::Form, &form));
    CaptionProperty(form);
    form.method("procedure Close", [](CallCtx& c) { Win(c).Close(); });
    form.method("function ShowModal: Integer", [](CallCtx& c) { c.retInt(Win(c).ShowModal()); });
    form.method("procedure Release", [](CallCtx& c) { Win(c).Close(); });
    form.property(
        "property ModalResult: LongInt read write", [](CallCtx& c) { c.retInt(Win(c).ModalResult()); },
        [](CallCtx& c) { Win(c).SetModalResult(I32(c, 1)); });
    form.property(
        "property Position: TPosition read write", [](CallCtx& c) { c.retInt(Win(c).Position()); },
        [](CallCtx& c) { Win(c).SetPosition(I32(c, 1)); });
    form.property(
        "property BorderStyle: TFormBorderStyle read write", [](CallCtx& c) { c.retInt(Win(c).BorderStyle()); },
        [](CallCtx& c) { Win(c).SetBorderStyle(I32(c, 1)); });
    EventProperty(form, "OnShow", ScriptEvent::Show);
    EventProperty(form, "OnClose", ScriptEvent::Close, "TCloseEvent");
    EventProperty(form, "OnHide", ScriptEvent::Hide);
    EventProperty(form, "OnActivate", ScriptEvent::Activate);
    EventProperty(form, "OnClick", ScriptEvent::Click);

    HostClass& application = *t.findClass("TApplication");
    application.method("function MessageBox(const Text, Caption: PChar; Flags: LongInt): Integer", [f](CallCtx& c) {
        if (!f) throw lang::hostException("Windows cannot be made here");
        c.self();
        c.retInt(f->ShowMessageBox(c.s(1), c.s(2), I32(c, 3)));
    });
}

// A pen's or brush's setting: plain data the canvas reads when it draws.
template <class T, int32_t T::*Field>
void SettingProperty(HostClass& cls, const char* decl) {
    cls.property(
        decl, [](CallCtx& c) { c.retInt(SelfAs<T>(c).*Field); }, [](CallCtx& c) { SelfAs<T>(c).*Field = I32(c, 1); });
}

ScriptCanvas& Canvas(CallCtx& c) { return SelfAs<ScriptCanvas>(c); }

void RegisterGraphics(HostTable& t) {
    t.type("TPenStyle = (psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame)");
    t.type("TBrushStyle = (bsSolid, bsClear, bsHorizontal, bsVertical, bsFDiagonal, bsBDiagonal, bsCross, bsDiagCross)");
    HostClass& pen = t.addClass("TPen", "TGraphicsObject");
    const HostClass* penClass = &pen;
    pen.constructor("constructor Create", [penClass](CallCtx& c) { c.retValue(lang::objectValue(new ScriptPen(penClass))); });
    SettingProperty<ScriptPen, &ScriptPen::Color>(pen, "property Color: TColor read write");
    SettingProperty<ScriptPen, &ScriptPen::Width>(pen, "property Width: Integer read write");
    SettingProperty<ScriptPen, &ScriptPen::Style>(pen, "property Style: TPenStyle read write");
    HostClass& brush = t.addClass("TBrush", "TGraphicsObject");
    const HostClass* brushClass = &brush;
    brush.constructor("constructor Create", [brushClass](CallCtx& c) { c.retValue(lang::objectValue(new ScriptBrush(brushClass))); });
    SettingProperty<ScriptBrush, &ScriptBrush::Color>(brush, "property Color: TColor read write");
    SettingProperty<ScriptBrush, &ScriptBrush::Style>(brush, "property Style: TBrushStyle read write");

    HostClass& canvas = t.addClass("TCanvas", "TPersistent");
    canvas.method("procedure MoveTo(X, Y: Integer)", [](CallCtx& c) { Canvas(c).MoveTo(I32(c, 1), I32(c, 2)); });
    canvas.method("procedure LineTo(X, Y: Integer)", [](CallCtx& c) { Canvas(c).LineTo(I32(c, 1), I32(c, 2)); });
    canvas.method("procedure Rectangle(X1, Y1, X2, Y2: Integer)",
                  [](CallCtx& c) { Canvas(c).Rectangle(I32(c, 1), I32(c, 2), I32(c, 3), I32(c, 4)); });
    canvas.method("procedure Ellipse(X1, Y1, X2, Y2: Integer)",
                  [](CallCtx& c) { Canvas(c).Ellipse(I32(c, 1), I32(c, 2), I32(c, 3), I32(c, 4)); });
    canvas.method("procedure RoundRect(X1, Y1, X2, Y2, X3, Y3: Integer)", [](CallCtx& c) {
        Canvas(c).RoundRect(I32(c, 1), I32(c, 2), I32(c, 3), I32(c, 4), I32(c, 5), I32(c, 6));
    });
    canvas.method("procedure FillRect(const Rect: TRect)", [](CallCtx& c) {
        const lang::Value& r = c.arg(1);
        if (r.tag != lang::Tag::Agg || !r.a || r.a->items->size() != 4) throw lang::ScriptError(lang::ErrorCode::TypeMismatch, "");
        const std::vector<lang::Value>& f = *r.a->items;
        Canvas(c).FillRect(static_cast<int32_t>(f[0].i), static_cast<int32_t>(f[1].i), static_cast<int32_t>(f[2].i),
                           static_cast<int32_t>(f[3].i));
    });
    canvas.method("procedure TextOut(X, Y: Integer; Text: string)",
                  [](CallCtx& c) { Canvas(c).TextOut(I32(c, 1), I32(c, 2), c.s(3)); });
    canvas.method("function TextWidth(Text: string): Integer", [](CallCtx& c) { c.retInt(Canvas(c).TextWidth(c.s(1))); });
    canvas.method("function TextHeight(Text: string): Integer", [](CallCtx& c) { c.retInt(Canvas(c).TextHeight(c.s(1))); });
    canvas.method("procedure Refresh", [](CallCtx& c) { Canvas(c); });
    canvas.property(
        "property Pixels[X, Y: Integer]: Integer read write", [](CallCtx& c) { c.retInt(Canvas(c).Pixel(I32(c, 1), I32(c, 2))); },
        [](CallCtx& c) { Canvas(c).SetPixel(I32(c, 1), I32(c, 2), I32(c, 3)); });
    canvas.property("property Pen: TPen read", [](CallCtx& c) { c.retValue(lang::objectValue(&Canvas(c).Pen())); });
    canvas.property("property Brush: TBrush read", [](CallCtx& c) { c.retValue(lang::objectValue(&Canvas(c).Brush())); });
    canvas.property("property Font: TFont read", [](CallCtx& c) { c.retValue(lang::objectValue(&Canvas(c).Font())); });
}

void RegisterExtCtrls(HostTable& t, IScriptWindowFactory* f) {
    Add(t, f, "TImage", "TGraphicControl", WindowKind::Image);
    Add(t, f, "TBevel", "TGraphicControl", WindowKind::Plain);
    t.type("TShapeType = (stRectangle, stSquare, stRoundRect, stRoundSquare, stEllipse, stCircle)");
    HostClass& shape = Add(t, f, "TShape", "TGraphicControl", WindowKind::Shape);
    auto surface = [](CallCtx& c) -> ScriptCanvas& {
        ScriptCanvas* canvas = Win(c).Canvas();
        if (!canvas) throw lang::hostException("Invalid class type");
        return *canvas;
    };
    // Assigning a pen or brush copies its settings, as Delphi's Assign does.
    shape.property(
        "property Brush: TBrush read write", [surface](CallCtx& c) { c.retValue(lang::objectValue(&surface(c).Brush())); },
        [surface](CallCtx& c) {
            const lang::Value& v = c.arg(1);
            auto* from = v.tag == lang::Tag::Obj ? dynamic_cast<ScriptBrush*>(v.o) : nullptr;
            if (!from) throw lang::ScriptError(lang::ErrorCode::NullPointerException, "");
            surface(c).Brush().Color = from->Color;
            surface(c).Brush().Style = from->Style;
            Win(c).Invalidate();
        });
    shape.property(
        "property Pen: TPen read write", [surface](CallCtx& c) { c.retValue(lang::objectValue(&surface(c).Pen())); },
        [surface](CallCtx& c) {
            const lang::Value& v = c.arg(1);
            auto* from = v.tag == lang::Tag::Obj ? dynamic_cast<ScriptPen*>(v.o) : nullptr;
            if (!from) throw lang::ScriptError(lang::ErrorCode::NullPointerException, "");
            surface(c).Pen().Color = from->Color;
            surface(c).Pen().Width = from->Width;
            surface(c).Pen().Style = from->Style;
            Win(c).Invalidate();
        });
    shape.property(
        "property Shape: TShapeType read write", [](CallCtx& c) { c.retInt(Win(c).ShapeType()); },
        [](CallCtx& c) { Win(c).SetShapeType(I32(c, 1)); });
    HostClass& paintBox = Add(t, f, "TPaintBox", "TGraphicControl", WindowKind::PaintBox);
    paintBox.property("property Canvas: TCanvas read", [](CallCtx& c) {
        ScriptCanvas* canvas = Win(c).Canvas();
        if (!canvas) throw lang::hostException("Invalid class type");
        c.retValue(lang::objectValue(canvas));
    });
    paintBox.property(
        "property Color: TColor read write", [](CallCtx& c) { c.retInt(Win(c).Color()); },
        [](CallCtx& c) { Win(c).SetColor(I32(c, 1)); });
    EventProperty(paintBox, "OnPaint", ScriptEvent::Paint);
    EventProperty(paintBox, "OnClick", ScriptEvent::Click);
    HostClass& timer = t.addClass("TTimer", "TComponent");
    const HostClass* timerClass = &timer;
    timer.constructor("constructor Create(AOwner: TComponent)", [f, timerClass](CallCtx& c) {
        if (!f) throw lang::hostException("Windows cannot be made here");
        ScriptTimer* made = f->NewTimer(timerClass);
        const lang::Value& ownerArg = c.arg(0);
        lang::attachToOwner(made, ownerArg.tag == lang::Tag::Obj ? ownerArg.o : nullptr);
        c.retValue(lang::objectValue(made));
    });
    timer.property(
        "property Enabled: Boolean read write", [](CallCtx& c) { c.retBool(SelfAs<ScriptTimer>(c).Enabled()); },
        [](CallCtx& c) { SelfAs<ScriptTimer>(c).SetEnabled(c.b(1)); });
    timer.property(
        "property Interval: Cardinal read write", [](CallCtx& c) { c.retInt(SelfAs<ScriptTimer>(c).Interval()); },
        [](CallCtx& c) { SelfAs<ScriptTimer>(c).SetInterval(I32(c, 1)); });
    timer.property(
        "property OnTimer: TNotifyEvent read write",
        [](CallCtx& c) { c.retInt(SelfAs<ScriptTimer>(c).OnTimer.ScriptValue()); },
        [](CallCtx& c) { SelfAs<ScriptTimer>(c).OnTimer = ScriptHandlerArg(c, 1); });

    HostClass& panel = Add(t, f, "TPanel", "TCustomPanel", WindowKind::Panel);
    EventProperty(panel, "OnClick", ScriptEvent::Click);
    for (const char* page : {"TPage", "TNotebook", "THeader"}) Add(t, f, page, "TCustomControl", WindowKind::Panel);
    HostClass& customRadioGroup = Add(t, f, "TCustomRadioGroup", "TCustomGroupBox", std::nullopt);
    HostClass& radioGroup = Add(t, f, "TRadioGroup", customRadioGroup.name().c_str(), WindowKind::RadioGroup);
    CaptionProperty(radioGroup);
    ListProperty(radioGroup, "Items");
    ItemIndexProperty(radioGroup);
    EventProperty(radioGroup, "OnClick", ScriptEvent::Click);
}

}  // namespace

void FireScriptEvent(const ScriptEventHandler& handler, const std::vector<lang::Value>& args,
                     const std::function<void(const std::string&)>& onError, std::vector<lang::Value>* varOut) {
    if (!handler.Live()) return;
    try {
        handler.vm->call(handler.proc, args, varOut);
    } catch (const lang::ScriptError& e) {
        if (onError) onError(e.what());
    }
}

namespace {
int64_t KeptIntOr(const ScriptWindow& w, const std::string& name, int64_t fallback) {
    const lang::Value* v = KeptSetting(w, name);
    return v && v->tag == lang::Tag::Plain ? v->i : fallback;
}
}  // namespace

int64_t ScrollMin(const ScriptWindow& bar) { return KeptIntOr(bar, "MIN", 0); }
int64_t ScrollMax(const ScriptWindow& bar) { return KeptIntOr(bar, "MAX", 100); }

void SetScrollParams(ScriptWindow& bar, int64_t position, int64_t min, int64_t max) {
    if (max < min) throw lang::hostException("Scrollbar property out of range");
    position = std::clamp(position, min, max);
    if (min != ScrollMin(bar) || max != ScrollMax(bar)) {
        bar.storeMember("MIN").value = lang::Value::ofInt(min);
        bar.storeMember("MAX").value = lang::Value::ofInt(max);
        bar.SettingChanged("MAX");
    }
    bar.SetPosition(static_cast<int32_t>(position));
}

void RegisterScriptWindowClasses(HostTable& t, IScriptWindowFactory* factory) {
    t.type("TNotifyEvent = procedure(Sender: TObject)");
    t.type("TKeyPressEvent = procedure(Sender: TObject; var Key: Char)");
    t.type("TCloseAction = (caNone, caHide, caFree, caMinimize)");
    t.type("TCloseEvent = procedure(Sender: TObject; var Action: TCloseAction)");
    t.addClass("TDragObject", "TObject");
    RegisterGraphics(t);
    RegisterControlMembers(t);
    RegisterStdCtrls(t, factory);
    RegisterButtons(t, factory);
    RegisterForms(t, factory);
    RegisterExtCtrls(t, factory);
    RegisterImageClasses(t, factory);
    RegisterCatalogMembers(t);
}

}  // namespace pelo::script
