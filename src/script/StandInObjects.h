#pragma once
// Objects that hold what a script sets and give it back, without any window: the predefined variables of glc, and
// of the tests. Each is owned by whoever made it (a script's Free leaves it alone).
#include <memory>
#include <string>

#include "script/ScriptInterface.h"

namespace pelo::script {

class StandInFont final : public ScriptFont {
public:
    explicit StandInFont(const lang::HostClass* cls);
    std::string Name() const override { return name_; }
    void SetName(std::string_view name) override { name_ = name; }
    int32_t Height() const override { return height_; }
    void SetHeight(int32_t height) override { height_ = height; }
    // Points at 96 dpi, as Delphi converts them.
    int32_t Size() const override;
    void SetSize(int32_t points) override;
    int32_t Color() const override { return color_; }
    void SetColor(int32_t color) override { color_ = color; }
    uint32_t Style() const override { return style_; }
    void SetStyle(uint32_t style) override { style_ = style; }

private:
    std::string name_ = "MS Sans Serif";
    int32_t height_ = -11;
    int32_t color_ = 0;
    uint32_t style_ = 0;
};

class StandInControl final : public ScriptControl {
public:
    StandInControl(const lang::HostClass* cls, const lang::HostClass* fontClass, std::string caption = "",
                   ScriptBounds bounds = {});
    ~StandInControl() override;
    std::string Caption() const override { return caption_; }
    void SetCaption(std::string_view caption) override { caption_ = caption; }
    ScriptBounds Bounds() const override { return bounds_; }
    void SetBounds(const ScriptBounds& bounds) override { bounds_ = bounds; }
    bool Visible() const override { return visible_; }
    void SetVisible(bool visible) override { visible_ = visible; }
    int32_t Color() const override { return color_; }
    void SetColor(int32_t color) override { color_ = color; }
    int32_t Alignment() const override { return alignment_; }
    void SetAlignment(int32_t alignment) override { alignment_ = alignment; }
    bool AutoSize() const override { return autoSize_; }
    void SetAutoSize(bool autoSize) override { autoSize_ = autoSize; }
    ScriptFont& Font() override { return *font_; }

private:
    std::string caption_;
    ScriptBounds bounds_;
    bool visible_ = true;
    int32_t color_ = -16777201;  // clBtnFace
    int32_t alignment_ = 0;
    bool autoSize_ = true;
    StandInFont* font_;  // held through a reference of ours
};

class StandInApplication final : public ScriptApplication {
public:
    using ScriptApplication::ScriptApplication;
    std::string Title() const override { return title_; }
    void SetTitle(std::string_view title) override { title_ = title; }
    void ProcessMessages() override {}
    std::string ExeName() const override { return "Pelorant.exe"; }
    intptr_t Handle() const override { return 0; }

private:
    std::string title_ = "Pelorant";
};

// Keeps an object alive for as long as the holder lives, whatever scripts do with it.
template <class T>
class Held {
public:
    template <class... A>
    explicit Held(A&&... args) : value_(lang::objectValue(new T(std::forward<A>(args)...))) {
        value_.o->hostOwned = true;
    }
    T& operator*() const { return static_cast<T&>(*value_.o); }
    T* operator->() const { return static_cast<T*>(value_.o); }
    T* get() const { return static_cast<T*>(value_.o); }

private:
    lang::Value value_;
};

// Host functions that do nothing: a base for hosts that care about a few of them (the tests, the benchmark,
// compiling without running).
class NullScriptServices : public IScriptServices {
public:
    void TradeSignal(int) override {}
    void WriteLn(std::string_view) override {}
    std::string ReadLn(std::string_view) override { return {}; }
    void WriteLnLog(std::string_view) override {}
    bool Signaled() override { return false; }
    int32_t LastSignal() override { return 0; }
    ScriptControl& CreateLabel(std::string_view, int32_t, int32_t) override {
        throw lang::hostException("CreateLabel is not offered here");
    }
    void DisableFontSmoothing(ScriptControl&) override {}
};

// The program's predefined objects as stand-ins: lbl1..lbl6 with their starting captions, ResPanel, APPLICATION.
struct StandInBindings {
    explicit StandInBindings(const ScriptClasses& classes);
    ScriptBindings Bindings() const;

    Held<StandInApplication> Application;
    Held<StandInControl> Labels[kIndicatorLabelCount];
    Held<StandInControl> ResPanel;
};

}  // namespace pelo::script
