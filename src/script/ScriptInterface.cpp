#include "script/ScriptInterface.h"

#include <array>

#include "script/RegExpObject.h"
#include "script/ScriptWindows.h"

namespace pelo::script {
namespace {

using lang::CallCtx;
using lang::HostClass;
using lang::HostTable;

// Font styles travel as a set of TFontStyle; the program's four styles are its low bits.
uint32_t SetBits(const lang::Value& v) {
    return v.tag == lang::Tag::Set && v.set ? static_cast<uint32_t>(v.set->bits[0] & 0xF) : 0u;
}

// Control properties that are one field of the bounds.
template <int32_t ScriptBounds::*Field>
void BoundsProperty(HostClass& cls, const char* decl) {
    cls.property(
        decl, [](CallCtx& c) { c.retInt(SelfAs<ScriptControl>(c).Bounds().*Field); },
        [](CallCtx& c) {
            ScriptControl& control = SelfAs<ScriptControl>(c);
            ScriptBounds b = control.Bounds();
            b.*Field = I32(c, 1);
            control.SetBounds(b);
        });
}

void RegisterGraphics(HostTable& t, ScriptClasses& classes) {
    t.type("TColor = Integer");
    t.type("TFontStyle = (fsBold, fsItalic, fsUnderline, fsStrikeOut)");
    t.type("TFontStyles = set of TFontStyle");
    static constexpr std::array<const char*, 24> kColors = {
        "clBlack = $000000",   "clMaroon = $000080",  "clGreen = $008000",   "clOlive = $008080",
        "clNavy = $800000",    "clPurple = $800080",  "clTeal = $808000",    "clGray = $808080",
        "clSilver = $C0C0C0",  "clRed = $0000FF",     "clLime = $00FF00",    "clYellow = $00FFFF",
        "clBlue = $FF0000",    "clFuchsia = $FF00FF", "clAqua = $FFFF00",    "clWhite = $FFFFFF",
        "clLtGray = $C0C0C0",  "clDkGray = $808080",  "clNone = $1FFFFFFF",  "clDefault = $20000000",
        "clBtnFace = -16777201", "clWindow = -16777211", "clWindowText = -16777208", "clBtnText = -16777198",
    };
    for (const char* c : kColors) t.constant(c);

    HostClass& graphicsObject = t.addClass("TGraphicsObject", "TPersistent");
    (void)graphicsObject;
    HostClass& font = t.addClass("TFont", "TGraphicsObject");
    classes.Font = &font;
    font.property(
        "property Name: string read write", [](CallCtx& c) { c.retStr(SelfAs<ScriptFont>(c).Name()); },
        [](CallCtx& c) { SelfAs<ScriptFont>(c).SetName(c.s(1)); });
    font.property(
        "property Size: Integer read write", [](CallCtx& c) { c.retInt(SelfAs<ScriptFont>(c).Size()); },
        [](CallCtx& c) { SelfAs<ScriptFont>(c).SetSize(I32(c, 1)); });
    font.property(
        "property Height: Integer read write", [](CallCtx& c) { c.retInt(SelfAs<ScriptFont>(c).Height()); },
        [](CallCtx& c) { SelfAs<ScriptFont>(c).SetHeight(I32(c, 1)); });
    font.property(
        "property Color: TColor read write", [](CallCtx& c) { c.retInt(SelfAs<ScriptFont>(c).Color()); },
        [](CallCtx& c) { SelfAs<ScriptFont>(c).SetColor(I32(c, 1)); });
    font.property(
        "property Style: TFontStyles read write", [](CallCtx& c) { c.retValue(SetOfBits(SelfAs<ScriptFont>(c).Style())); },
        [](CallCtx& c) { SelfAs<ScriptFont>(c).SetStyle(SetBits(c.arg(1))); });
}

void RegisterControls(HostTable& t, ScriptClasses& classes) {
    HostClass& control = t.addClass("TControl", "TComponent");
    BoundsProperty<&ScriptBounds::Left>(control, "property Left: Integer read write");
    BoundsProperty<&ScriptBounds::Top>(control, "property Top: Integer read write");
    BoundsProperty<&ScriptBounds::Width>(control, "property Width: Integer read write");
    BoundsProperty<&ScriptBounds::Height>(control, "property Height: Integer read write");
    control.property(
        "property Visible: Boolean read write", [](CallCtx& c) { c.retBool(SelfAs<ScriptControl>(c).Visible()); },
        [](CallCtx& c) { SelfAs<ScriptControl>(c).SetVisible(c.b(1)); });
    control.method("procedure Show", [](CallCtx& c) { SelfAs<ScriptControl>(c).SetVisible(true); });
    control.method("procedure Hide", [](CallCtx& c) { SelfAs<ScriptControl>(c).SetVisible(false); });
    control.method("procedure SetBounds(ALeft, ATop, AWidth, AHeight: Integer)", [](CallCtx& c) {
        SelfAs<ScriptControl>(c).SetBounds({I32(c, 1), I32(c, 2), I32(c, 3), I32(c, 4)});
    });

    // What labels and panels publish alike.
    auto published = [](HostClass& cls) {
        cls.property(
            "property Caption: string read write", [](CallCtx& c) { c.retStr(SelfAs<ScriptControl>(c).Caption()); },
            [](CallCtx& c) { SelfAs<ScriptControl>(c).SetCaption(c.s(1)); });
        cls.property(
            "property Color: TColor read write", [](CallCtx& c) { c.retInt(SelfAs<ScriptControl>(c).Color()); },
            [](CallCtx& c) { SelfAs<ScriptControl>(c).SetColor(I32(c, 1)); });
        cls.property(
            "property Alignment: TAlignment read write",
            [](CallCtx& c) { c.retInt(SelfAs<ScriptControl>(c).Alignment()); },
            [](CallCtx& c) { SelfAs<ScriptControl>(c).SetAlignment(I32(c, 1)); });
        cls.property(
            "property Font: TFont read write",
            [](CallCtx& c) { c.retValue(lang::objectValue(&SelfAs<ScriptControl>(c).Font())); },
            [](CallCtx& c) { AssignFont(SelfAs<ScriptControl>(c).Font(), c.arg(1)); });
    };

    HostClass& graphicControl = t.addClass("TGraphicControl", "TControl");
    HostClass& customLabel = t.addClass("TCustomLabel", graphicControl.name());
    HostClass& label = t.addClass("TLabel", customLabel.name());
    classes.Label = &label;
    published(label);
    label.property(
        "property AutoSize: Boolean read write", [](CallCtx& c) { c.retBool(SelfAs<ScriptControl>(c).AutoSize()); },
        [](CallCtx& c) { SelfAs<ScriptControl>(c).SetAutoSize(c.b(1)); });

    HostClass& winControl = t.addClass("TWinControl", "TControl");
    HostClass& customControl = t.addClass("TCustomControl", winControl.name());
    HostClass& customPanel = t.addClass("TCustomPanel", customControl.name());
    HostClass& panel = t.addClass("TPanel", customPanel.name());
    classes.Panel = &panel;
    published(panel);

    HostClass& application = t.addClass("TApplication", "TComponent");
    classes.Application = &application;
    application.property(
        "property Title: string read write", [](CallCtx& c) { c.retStr(SelfAs<ScriptApplication>(c).Title()); },
        [](CallCtx& c) { SelfAs<ScriptApplication>(c).SetTitle(c.s(1)); });
    application.method("procedure ProcessMessages", [](CallCtx& c) { SelfAs<ScriptApplication>(c).ProcessMessages(); });
}

void RegisterRegExp(HostTable& t, ScriptClasses& classes) {
    HostClass& cls = t.addClass("TRegExp", "TObject");
    classes.RegExp = &cls;
    const HostClass* type = &cls;
    cls.constructor("constructor Create", [type](CallCtx& c) { c.retValue(lang::objectValue(new RegExpObject(type))); });
    cls.property(
        "property Pattern: string read write", [](CallCtx& c) { c.retStr(SelfAs<RegExpObject>(c).Engine.Pattern()); },
        [](CallCtx& c) {
            try {
                SelfAs<RegExpObject>(c).Engine.SetPattern(c.s(1));
            } catch (const std::runtime_error& e) {
                throw lang::hostException(e.what());
            }
        });
    cls.method("function Match(const Subject: string): Boolean", [](CallCtx& c) {
        try {
            c.retBool(SelfAs<RegExpObject>(c).Engine.Match(c.s(1)));
        } catch (const ERegExp& e) {
            throw lang::hostException(e.what());
        }
    });
    cls.property("property Sub[Index: Integer]: string read", [](CallCtx& c) {
        try {
            c.retStr(SelfAs<RegExpObject>(c).Engine.Sub(I32(c, 1)));
        } catch (const ERegExp& e) {
            throw lang::hostException(e.what());
        }
    });
}

void RegisterHostFunctions(HostTable& t, IScriptServices& s, const ScriptClasses& classes) {
    auto signal = [&s](int code) { return [&s, code](CallCtx&) { s.TradeSignal(code); }; };
    t.function("procedure Buy", signal(1));
    t.function("procedure Sell", signal(3));
    t.function("procedure StrongBuy", signal(2));
    t.function("procedure StrongSell", signal(4));
    t.function("procedure CancelTrade", signal(6));
    t.function("procedure NoTrade", signal(5));
    t.function("procedure WriteLn(S: string)", [&s](CallCtx& c) { s.WriteLn(c.s(0)); });
    t.function("function ReadLn(Caption: string): string", [&s](CallCtx& c) { c.retStr(s.ReadLn(c.s(0))); });
    t.function("procedure WriteLnLog(S: string)", [&s](CallCtx& c) { s.WriteLnLog(c.s(0)); });
    t.function("function CreateLabel(Caption: string; Left, Top: Integer): TLabel", [&s](CallCtx& c) {
        c.retValue(lang::objectValue(&s.CreateLabel(c.s(0), I32(c, 1), I32(c, 2))));
    });
    // FloatToStrFixed, FloatToStrFixedS, IntToStrS and StrReplace are the library's.
    lang::registerHostHelpers(t);
    t.function("function Signaled: Boolean", [&s](CallCtx& c) { c.retBool(s.Signaled()); });
    t.function("function LastSignal: Integer", [&s](CallCtx& c) { c.retInt(s.LastSignal()); });
    t.function("procedure DisableFontSmoothing(Lbl: TLabel)", [&s](CallCtx& c) {
        const lang::Value& v = c.arg(0);
        auto* label = v.tag == lang::Tag::Obj ? dynamic_cast<ScriptControl*>(v.o) : nullptr;
        if (!label || label->disposed()) throw lang::ScriptError(lang::ErrorCode::NullPointerException, "");
        s.DisableFontSmoothing(*label);
    });
    (void)classes;
}

}  // namespace

std::string RegExpVariable(int slot) { return slot == 0 ? "regexp" : "regexp" + std::to_string(slot + 1); }
std::string IndicatorLabelVariable(int index) { return "lbl" + std::to_string(index + 1); }

ScriptClasses RegisterScriptInterface(HostTable& t, IScriptServices& services, const lang::StdLibOptions& options) {
    ScriptClasses classes;
    lang::registerStandardLibrary(t, options);
    classes.Object = t.findClass("TObject");
    RegisterGraphics(t, classes);
    RegisterControls(t, classes);
    RegisterScriptWindowClasses(t, services.Windows());
    RegisterRegExp(t, classes);
    RegisterHostFunctions(t, services, classes);

    t.variable(std::string(kApplicationVariable), "TApplication");
    t.variable(std::string(kSelfVariable), "TObject");
    for (int k = 0; k < kScriptRegExpCount; ++k) t.variable(RegExpVariable(k), "TRegExp");
    for (int k = 0; k < kIndicatorLabelCount; ++k) t.variable(IndicatorLabelVariable(k), "TLabel");
    t.variable(std::string(kResPanelVariable), "TPanel");
    t.finish();
    return classes;
}

}  // namespace pelo::script
