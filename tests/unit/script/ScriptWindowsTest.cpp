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
#include "script/ScriptClassCatalog.h"
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
    void SetParentWindow(ScriptWindow* p) override {
        parent_ = p;
        if (auto* f = dynamic_cast<FakeWindow*>(p)) f->children.push_back(this);
    }
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
    int32_t Position() const override { return position; }
    void SetPosition(int32_t p) override { position = p; }
    ScriptCanvas* Canvas() override { return nullptr; }
    int32_t ShapeType() const override { return 0; }
    void SetShapeType(int32_t) override {}
    ScriptBounds ClientArea() const override { return bounds_; }
    void SetClientSize(int32_t w, int32_t h) override { bounds_.Width = w, bounds_.Height = h; }
    void Invalidate() override {}
    void ToFront(bool) override {}
    int32_t BorderStyle() const override { return 2; }
    void SetBorderStyle(int32_t) override {}
    std::vector<ScriptWindow*> ChildWindows() const override { return children; }
    intptr_t Perform(uint32_t message, intptr_t wParam, intptr_t lParam) override {
        performed.push_back({message, wParam, lParam});
        return answer;
    }
    ScriptPoint ClientToScreen(ScriptPoint p) const override { return {p.X + bounds_.Left, p.Y + bounds_.Top}; }
    ScriptPoint ScreenToClient(ScriptPoint p) const override { return {p.X - bounds_.Left, p.Y - bounds_.Top}; }
    ScriptBounds ItemBounds(int32_t index) const override { return {0, index * 13, bounds_.Width, 13}; }
    void SettingChanged(const std::string& name) override { settings.push_back(name); }

    CountingList& List() { return *items_; }
    struct Sent {
        uint32_t message;
        intptr_t wParam, lParam;
    };
    std::vector<Sent> performed;
    intptr_t answer = 0;
    std::vector<ScriptWindow*> children;
    std::vector<std::string> settings;
    int32_t position = 0;

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
    intptr_t answer = 0;  // what the windows answer every message

    ScriptWindow* NewWindow(WindowKind kind, const lang::HostClass* cls, lang::ScriptObject*) override {
        made.emplace_back(cls, classes->Font, strings, kind);
        made.back()->answer = answer;
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

// A use of a catalogue member: a variable for each parameter or index, the member read, written or called.
std::string UseOf(const std::string& cls, const std::string& decl) {
    std::string vars = "var x: " + cls + ";\n", body;
    auto declareParams = [&vars](std::string params) {
        std::vector<std::string> names;
        size_t start = 0;
        while (start < params.size()) {
            size_t end = params.find(';', start);
            if (end == std::string::npos) end = params.size();
            std::string group = params.substr(start, end - start);
            start = end + 1;
            for (const char* modifier : {"const ", "var ", "out "})
                if (group.find(modifier) != std::string::npos) group.erase(0, group.find(modifier) + std::string(modifier).size());
            const size_t colon = group.find(':');
            const std::string type = group.substr(colon + 1);
            std::string list = group.substr(0, colon);
            size_t from = 0;
            while (from <= list.size()) {
                size_t comma = list.find(',', from);
                if (comma == std::string::npos) comma = list.size();
                const std::string name = "a" + std::to_string(names.size());
                vars += "  " + name + ": " + type + ";\n";
                names.push_back(name);
                from = comma + 1;
            }
        }
        std::string args;
        for (const std::string& n : names) args += (args.empty() ? "" : ", ") + n;
        return args;
    };
    const size_t open = decl.find_first_of("([");
    const size_t nameStart = decl.find(' ') + 1;
    const size_t nameEnd = std::min({decl.find_first_of("([:", nameStart), decl.size()});
    const std::string name = decl.substr(nameStart, nameEnd - nameStart);
    std::string args;
    if (open != std::string::npos && open == nameEnd)
        args = declareParams(decl.substr(open + 1, decl.find_first_of(")]", open) - open - 1));
    if (decl.rfind("property ", 0) == 0) {
        const size_t colon = decl.find(':', decl.find_first_of("]", nameEnd) == std::string::npos ? nameEnd : decl.find(']'));
        const std::string type = decl.substr(colon + 2, decl.find(' ', colon + 2) - colon - 2);
        vars += "  v: " + type + ";\n";
        const std::string member = "x." + name + (args.empty() ? "" : "[" + args + "]");
        if (decl.find(" read") != std::string::npos) body += "  v := " + member + ";\n";
        if (decl.find(" write") != std::string::npos) body += "  " + member + " := v;\n";
    } else {
        const std::string call = name + (args.empty() ? "" : "(" + args + ")");
        const size_t close = decl.rfind(')');
        const size_t result = decl.find(':', close == std::string::npos ? nameEnd : close);
        if (decl.rfind("constructor ", 0) == 0) {
            body += "  x := " + cls + "." + call + ";\n";
        } else if (decl.rfind("function ", 0) == 0 && result != std::string::npos) {
            vars += "  r: " + decl.substr(result + 2) + ";\n";
            body += "  r := x." + call + ";\n";
        } else {
            body += "  x." + call + ";\n";
        }
    }
    return vars + "begin\n" + body + "end.\n";
}

TEST_F(WindowsFixture, EveryMemberTheClassLibrariesDeclareCompiles) {
    std::vector<std::string> refused;
    size_t members = 0;
    for (const CatalogClass& cls : StandardClassCatalog()) {
        std::vector<const char*> decls = cls.members;
        for (const std::vector<const char*>* shared : cls.shared) decls.insert(decls.end(), shared->begin(), shared->end());
        for (const char* decl : decls) {
            ++members;
            const std::string source = UseOf(cls.name, decl);
            lang::CompileResult r = lang::compileScript(source, table);
            if (!r.ok) refused.push_back(std::string(cls.name) + ": " + decl + " -> " + r.messages[0].toString());
        }
    }
    EXPECT_GT(members, 700u);
    EXPECT_TRUE(refused.empty()) << refused.size() << " refused, the first: " << refused[0];
}

constexpr const char* kKeptAndBound = R"(
var f: TForm; e: TEdit; l: TListBox; bm: TBitmap; p: TPoint; r: TRect;
procedure Down(Sender: TObject; Button: TMouseButton; Shift: TShiftState; X, Y: Integer);
begin
  if (Button = mbRight) and (ssCtrl in Shift) then WriteLn('down ' + IntToStr(X) + ',' + IntToStr(Y));
end;
procedure Query(Sender: TObject; var CanClose: Boolean); begin CanClose := False; WriteLn('asked'); end;
procedure Changed(Sender: TObject); begin end;
begin
  f := TForm.CreateNew(nil, 0);
  e := TEdit.Create(f); e.Parent := f; e.SetBounds(10, 20, 100, 21);
  l := TListBox.Create(f); l.Parent := f;
  e.Hint := 'price'; e.ShowHint := True; e.Cursor := crHandPoint; e.Anchors := [akLeft, akRight];
  if (e.Hint = 'price') and e.ShowHint and (e.Cursor = crHandPoint) and (akRight in e.Anchors) and not (akTop in e.Anchors) then
    WriteLn('kept');
  if e.DragMode = dmManual then WriteLn('unset reads empty');
  WriteLn('children ' + IntToStr(f.ControlCount) + ' ' + TControl(f.Controls[1]).ClassName);
  e.PasswordChar := '*';
  e.Text := 'EURUSD';
  WriteLn('selected ' + e.SelText);
  e.SelText := 'xx';
  WriteLn('now ' + e.Text);
  p.X := 1; p.Y := 2; p := e.ClientToScreen(p);
  WriteLn('screen ' + IntToStr(p.X) + ',' + IntToStr(p.Y));
  r := l.ItemRect(2);
  WriteLn('item ' + IntToStr(r.Top) + '-' + IntToStr(r.Bottom));
  f.OnCloseQuery := @Query;
  if not f.CloseQuery then WriteLn('form kept');
  e.OnMouseDown := @Down;
  bm := TBitmap.Create; bm.Width := 5; bm.OnChange := @Changed;
  if (bm.Width = 5) and (bm.OnChange <> nil) then WriteLn('bitmap keeps');
  try bm.LoadFromFile('a.bmp'); except WriteLn(ExceptionParam); end;
  try WriteLn(TControl(f.Controls[2]).Name); except WriteLn(ExceptionParam); end;
end.
)";

TEST_F(WindowsFixture, MembersAreBoundToTheWindowsOrKeptOnTheObject) {
    Load(kKeptAndBound);
    ASSERT_EQ(factory.made.size(), 3u);
    FakeWindow& edit = *factory.made[1];
    EXPECT_EQ(services.lines[0], "kept");
    EXPECT_EQ(services.lines[1], "unset reads empty");
    EXPECT_EQ(services.lines[2], "children 2 TListBox");
    ASSERT_FALSE(edit.performed.empty());
    EXPECT_EQ(edit.performed[0].message, 0x00CCu);  // EM_SETPASSWORDCHAR
    EXPECT_EQ(edit.performed[0].wParam, '*');
    // No selection was answered (0): nothing selected, and the text went in at the start.
    EXPECT_EQ(services.lines[3], "selected ");
    EXPECT_EQ(services.lines[4], "now xxEURUSD");
    EXPECT_EQ(services.lines[5], "screen 11,22");
    EXPECT_EQ(services.lines[6], "item 26-39");
    EXPECT_EQ(services.lines[7], "asked");
    EXPECT_EQ(services.lines[8], "form kept");
    EXPECT_EQ(services.lines[9], "bitmap keeps");
    EXPECT_EQ(services.lines[10], "Images cannot be loaded or saved by scripts");
    EXPECT_EQ(services.lines[11], "List index out of bounds (2)");
    // The script's mouse handler gets the button, the keys held and the position.
    FireScriptEvent(edit.On(ScriptEvent::MouseDown),
                    {lang::objectValue(&edit), lang::Value::ofInt(1), SetOfBits(1u << 2), lang::Value::ofInt(3), lang::Value::ofInt(4)},
                    [this](const std::string& text) { errors.push_back(text); });
    EXPECT_EQ(services.lines.back(), "down 3,4");
    EXPECT_TRUE(errors.empty());
}

TEST_F(WindowsFixture, TheSelectionIsReadAndReplacedAsTheControlReportsIt) {
    factory.answer = 2 | (4 << 16);  // what EM_GETSEL answers: from 2 to 4
    Load("var e: TEdit;\nbegin\n  e := TEdit.Create(nil);\n  e.Text := 'EURUSD';\n"
         "  WriteLn(e.SelText + ' ' + IntToStr(e.SelStart) + ' ' + IntToStr(e.SelLength));\n  e.SelText := '/';\n"
         "  e.SelLength := 3;\nend.");
    EXPECT_EQ(services.lines, (std::vector<std::string>{"RU 2 2"}));
    FakeWindow& edit = *factory.made[0];
    EXPECT_EQ(edit.Text(), "EU/SD");
    // the caret after the inserted text, then a selection of 3 from where the control says it starts (2)
    ASSERT_EQ(edit.performed.size(), 7u);  // each use asks for the selection first
    EXPECT_EQ(edit.performed[4].message, 0x00B1u);  // EM_SETSEL
    EXPECT_EQ(edit.performed[4].wParam, 3);
    EXPECT_EQ(edit.performed[4].lParam, 3);
    EXPECT_EQ(edit.performed.back().wParam, 2);
    EXPECT_EQ(edit.performed.back().lParam, 5);
}

// Delphi's TScrollBar: the range must not end before it starts, and the position is always inside it.
TEST_F(WindowsFixture, AScrollBarKeepsItsPositionInsideAWholeRange) {
    Load(R"(var b: TScrollBar;
begin
  b := TScrollBar.Create(nil);
  WriteLn(IntToStr(b.Min) + '..' + IntToStr(b.Max));
  b.Position := 150;
  b.SetParams(-5, -10, 10);
  WriteLn(IntToStr(b.Position) + ' in ' + IntToStr(b.Min) + '..' + IntToStr(b.Max));
  try b.Max := -11; except WriteLn(ExceptionToString(ExceptionType, ExceptionParam)); end;
  try b.SetParams(0, 3, 2); except WriteLn('refused'); end;
  b.Min := 5;
  WriteLn(IntToStr(b.Position) + ' in ' + IntToStr(b.Min) + '..' + IntToStr(b.Max));
end.)");
    EXPECT_EQ(services.lines, (std::vector<std::string>{"0..100", "-5 in -10..10",
                                                        "Exception: Scrollbar property out of range", "refused",
                                                        "5 in 5..10"}));
    // The window heard of each new range, not of the refused ones.
    EXPECT_EQ(factory.made[0]->settings, (std::vector<std::string>{"MAX", "MAX"}));
}

}  // namespace
}  // namespace pelo::script
