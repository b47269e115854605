// The windows a script makes, seen from the engine's side: event properties take script procedures and give them
// back, the program fires them with the sender, an error inside one is reported instead of escaping, nothing of an
// unloaded script runs, and a list shown by a control hears of the script's changes.
#include "script/ScriptWindows.h"

#include <gtest/gtest.h>

#include <deque>
#include <string>
#include <vector>

#include "lang/Compiler.h"
#include "lang/Loader.h"
#include "script/ScriptHost.h"
#include "script/StandInObjects.h"

namespace pelo::script {
namespace {

class CountingList final : public lang::StringListObject {
public:
    using StringListObject::StringListObject;
    void changed() override { ++changes; }
    int changes = 0;
};

// A window that only remembers: enough for the engine's side of every class.
class FakeWindow final : public ScriptWindow {
public:
    FakeWindow(const lang::HostClass* cls, const lang::HostClass* fontClass, const lang::HostClass* stringsClass,
               WindowKind kind)
        : ScriptWindow(cls), kind_(kind), font_(Hold(new StandInFont(fontClass))),
          items_(Hold(new CountingList(stringsClass, "\n"))) {}
    ~FakeWindow() override {
        Drop(font_);
        Drop(items_);
    }
    WindowKind Kind() const override { return kind_; }
    std::string Caption() const override { return text_; }
    void SetCaption(std::string_view c) override { text_ = c; }
    ScriptBounds Bounds() const override { return bounds_; }
    void SetBounds(const ScriptBounds& b) override { bounds_ = b; }
    bool Visible() const override { return true; }
    void SetVisible(bool) override {}
    int32_t Color() const override { return 0; }
    void SetColor(int32_t) override {}
    int32_t Alignment() const override { return 0; }
    void SetAlignment(int32_t) override {}
    bool AutoSize() const override { return false; }
    void SetAutoSize(bool) override {}
    ScriptFont& Font() override { return *font_; }
    std::string Text() const override { return text_; }
    void SetText(std::string_view t) override { text_ = t; }
    bool Enabled() const override { return true; }
    void SetEnabled(bool) override {}
    bool Checked() const override { return false; }
    void SetChecked(bool) override {}
    int32_t ItemIndex() const override { return -1; }
    void SetItemIndex(int32_t) override {}
    lang::StringListObject* Items() override { return items_; }
    ScriptWindow* ParentWindow() const override { return parent_; }
    void SetParentWindow(ScriptWindow* p) override { parent_ = p; }
    int32_t ModalResult() const override { return 0; }
    void SetModalResult(int32_t) override {}
    int32_t ShowModal() override { return 0; }
    void Close() override {}
    void SetFocus() override {}
    bool Focused() const override { return false; }
    int32_t MaxLength() const override { return 0; }
    void SetMaxLength(int32_t) override {}
    bool ReadOnly() const override { return false; }
    void SetReadOnly(bool) override {}
    void SelectAll() override {}
    intptr_t Handle() const override { return 0; }
    int32_t Position() const override { return 0; }
    void SetPosition(int32_t) override {}
    ScriptCanvas* Canvas() override { return nullptr; }
    int32_t ShapeType() const override { return 0; }
    void SetShapeType(int32_t) override {}
    ScriptBounds ClientArea() const override { return bounds_; }
    void SetClientSize(int32_t w, int32_t h) override { bounds_.Width = w, bounds_.Height = h; }
    void Invalidate() override {}
    void ToFront(bool) override {}
    int32_t BorderStyle() const override { return 2; }
    void SetBorderStyle(int32_t) override {}

    CountingList& List() { return *items_; }

private:
    WindowKind kind_;
    std::string text_;
    ScriptBounds bounds_;
    ScriptWindow* parent_ = nullptr;
    StandInFont* font_;
    CountingList* items_;
};

struct Factory final : IScriptWindowFactory {
    const ScriptClasses* classes = nullptr;
    const lang::HostClass* strings = nullptr;
    std::deque<Held<FakeWindow>> made;

    ScriptWindow* NewWindow(WindowKind kind, const lang::HostClass* cls, lang::ScriptObject*) override {
        made.emplace_back(cls, classes->Font, strings, kind);
        return &*made.back();
    }
    ScriptTimer* NewTimer(const lang::HostClass*) override { return nullptr; }
    int32_t ShowMessageBox(std::string_view, std::string_view, int32_t) override { return 1; }
};

struct Services final : IScriptServices {
    Factory* factory = nullptr;
    std::vector<std::string> lines;
    void TradeSignal(int) override {}
    void WriteLn(std::string_view text) override { lines.emplace_back(text); }
    std::string ReadLn(std::string_view) override { return ""; }
    void WriteLnLog(std::string_view) override {}
    bool Signaled() override { return false; }
    int32_t LastSignal() override { return 0; }
    ScriptControl& CreateLabel(std::string_view, int32_t, int32_t) override { throw lang::hostException("no labels"); }
    void DisableFontSmoothing(ScriptControl&) override {}
    IScriptWindowFactory* Windows() override { return factory; }
};

struct WindowsFixture : ::testing::Test {
    Factory factory;
    Services services;
    lang::HostTable table;
    ScriptClasses classes;
    std::unique_ptr<TPSScriptWrapper> host;
    std::vector<std::string> errors;

    WindowsFixture() {
        services.factory = &factory;
        classes = RegisterScriptInterface(table, services);
        factory.classes = &classes;
        factory.strings = table.findClass("TStrings");
        host = std::make_unique<TPSScriptWrapper>(table, classes);
    }
    void Load(const std::string& source) {
        lang::CompileResult r = lang::compileScript(source, table);
        ASSERT_TRUE(r.ok) << (r.messages.empty() ? "" : r.messages[0].toString());
        host->LoadScriptCode(lang::serializeModule(r.module));
        ASSERT_TRUE(host->RunScriptMain()) << host->LastError();
    }
    void Fire(FakeWindow& w, ScriptEvent e) {
        FireScriptEvent(w.On(e), {lang::objectValue(&w)}, [this](const std::string& text) { errors.push_back(text); });
    }
};

constexpr const char* kButtons = R"(
var ok, bad: TButton; list: TListBox;
procedure Clicked(Sender: TObject);
begin
  WriteLn('clicked ' + TButton(Sender).Caption);
end;
procedure Fails(Sender: TObject);
begin
  RaiseException(erCustomError, 'handler failed');
end;
begin
  ok := TButton.Create(nil); ok.Caption := 'OK'; ok.OnClick := @Clicked;
  bad := TButton.Create(nil); bad.Caption := 'Bad'; bad.OnClick := @Fails;
  if ok.OnClick <> nil then WriteLn('assigned');
  list := TListBox.Create(nil); list.OnDblClick := nil;
  list.Items.Add('EURUSD'); list.Items.Add('GBPUSD');
  if list.Items.IndexOf('GBPUSD') = 1 then WriteLn('found');
end.
)";

TEST_F(WindowsFixture, EventPropertiesCallTheScriptsProceduresWithTheSender) {
    Load(kButtons);
    ASSERT_EQ(factory.made.size(), 3u);
    FakeWindow& ok = *factory.made[0];
    FakeWindow& bad = *factory.made[1];
    Fire(ok, ScriptEvent::Click);
    Fire(ok, ScriptEvent::DblClick);  // none assigned: nothing happens
    Fire(bad, ScriptEvent::Click);
    EXPECT_EQ(services.lines, (std::vector<std::string>{"assigned", "found", "clicked OK"}));
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_NE(errors[0].find("handler failed"), std::string::npos) << errors[0];
    // The list heard of the two additions, not of the search.
    EXPECT_EQ(factory.made[2]->List().changes, 2);
    EXPECT_EQ(factory.made[2]->List().list.Count(), 2);
}

TEST_F(WindowsFixture, NothingOfAnUnloadedScriptRuns) {
    Load(kButtons);
    FakeWindow& ok = *factory.made[0];
    host->ClearScriptCode();
    Fire(ok, ScriptEvent::Click);
    // A new script in its place, with a procedure of the same number: the old handler still does nothing.
    Load("procedure Clicked(Sender: TObject); begin WriteLn('the new script'); end;\nbegin end.");
    Fire(ok, ScriptEvent::Click);
    EXPECT_EQ(services.lines, (std::vector<std::string>{"assigned", "found"}));
    EXPECT_TRUE(errors.empty());
}

TEST_F(WindowsFixture, WithoutAFactoryScriptsCompileButCannotMakeWindows) {
    services.factory = nullptr;
    lang::HostTable bare;
    Services noWindows;
    ScriptClasses bareClasses = RegisterScriptInterface(bare, noWindows);
    TPSScriptWrapper bareHost(bare, bareClasses);
    lang::CompileResult r = lang::compileScript(
        "var f: TForm;\nbegin\n  try f := TForm.Create(nil); except WriteLn(ExceptionParam); end;\nend.", bare);
    ASSERT_TRUE(r.ok);
    bareHost.LoadScriptCode(lang::serializeModule(r.module));
    ASSERT_TRUE(bareHost.RunScriptMain()) << bareHost.LastError();
    EXPECT_EQ(noWindows.lines, (std::vector<std::string>{"Windows cannot be made here"}));
}

}  // namespace
}  // namespace pelo::script
