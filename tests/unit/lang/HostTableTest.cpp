// Host classes, functions and variables registered by table, as the program registers its own.
#include "ScriptHarness.h"

namespace pelo::lang::test {
namespace {

class Counter : public ScriptObject {
public:
    using ScriptObject::ScriptObject;
    int64_t value = 0;
    std::string label;
    static int alive;
    Counter(const HostClass* c, int64_t v) : ScriptObject(c), value(v) { ++alive; }
    ~Counter() override { --alive; }
};
int Counter::alive = 0;

Counter& counterOf(CallCtx& c) { return *static_cast<Counter*>(c.self()); }

struct HostFixture : ::testing::Test {
    ScriptHarness h;
    Counter* shared = nullptr;

    void SetUp() override {
        HostClass& cls = h.table.addClass("TCounter", "TObject");
        const HostClass* clsPtr = &cls;
        cls.constructor("constructor Create(Start: Integer)",
                        [clsPtr](CallCtx& c) { c.retValue(objectValue(new Counter(clsPtr, c.i(0)))); });
        cls.method("procedure Bump(By: Integer)", [](CallCtx& c) { counterOf(c).value += c.i(1); });
        cls.method("function Describe(Prefix: string): string",
                   [](CallCtx& c) { c.retStr(std::string(c.s(1)) + std::to_string(counterOf(c).value)); });
        cls.property("property Value: Integer read write", [](CallCtx& c) { c.retInt(counterOf(c).value); },
                     [](CallCtx& c) { counterOf(c).value = c.i(1); });
        cls.property("property Label: string read", [](CallCtx& c) { c.retStr(counterOf(c).label); });
        cls.property("property Digit[Index: Integer]: Integer read",
                     [](CallCtx& c) {
                         std::string d = std::to_string(counterOf(c).value);
                         int64_t k = c.i(1);
                         if (k < 0 || k >= static_cast<int64_t>(d.size())) throw hostException("Digit index out of range");
                         c.retInt(d[static_cast<size_t>(k)] - '0');
                     },
                     nullptr, true);
        h.table.function("function MakeShared: TCounter", [this](CallCtx& c) { c.retValue(objectValue(shared)); });
        h.table.variable("Shared", "TCounter");
        h.table.finish();
        h.vm = std::make_unique<Vm>(h.table, importCatalogFor(h.table));
        shared = new Counter(clsPtr, 100);
        shared->hostOwned = true;
        shared->label = "host";
        ++shared->refs;  // the host keeps its own reference
    }
    void TearDown() override {
        if (--shared->refs == 0) delete shared;
    }
};

TEST_F(HostFixture, ScriptsUseMethodsPropertiesAndTheDefaultProperty) {
    EXPECT_EQ(h.run("var c: TCounter; begin c := TCounter.Create(40); c.Bump(2); WriteLn(c.Describe('v=')); "
                    "c.Value := c.Value * 10; WriteLn(IntToStr(c[0]) + IntToStr(c.Digit[2])); c.Free; end."),
              "");
    EXPECT_EQ(h.joined(), "v=42|40");
    // Freed, but the variable still refers to the shell until the code is unloaded.
    EXPECT_EQ(Counter::alive, 2);
    h.vm->clear();
    EXPECT_EQ(Counter::alive, 1);  // only the host's object is left
}

TEST_F(HostFixture, PropertyRulesAreCheckedByTheCompiler) {
    EXPECT_NE(h.compileError("var c: TCounter; begin c.Label := 'x'; end."), "");
    EXPECT_NE(h.compileError("var c: TCounter; begin c.Nothing; end."), "");
    EXPECT_NE(h.compileError("var c: TCounter; begin c.Bump('x'); end."), "");
    EXPECT_EQ(h.compileError("var c: TCounter; o: TObject; begin o := c; end."), "");
    EXPECT_NE(h.compileError("var c: TCounter; o: TObject; begin c := o; end."), "");
}

TEST_F(HostFixture, HostErrorsFromMembersReachTheScript) {
    EXPECT_EQ(h.run("var c: TCounter; begin c := TCounter.Create(7); try WriteLn(IntToStr(c[5])); except "
                    "WriteLn(ExceptionParam); end; c.Free; end."),
              "");
    EXPECT_EQ(h.joined(), "Digit index out of range");
}

TEST_F(HostFixture, PredefinedVariablesAreBoundByTheHost) {
    ASSERT_EQ(h.run("procedure Show; begin WriteLn(Shared.Label + IntToStr(Shared.Value)); Shared.Free; end; begin end."), "");
    Value* slot = h.vm->global("SHARED");
    ASSERT_NE(slot, nullptr);
    *slot = objectValue(shared);
    h.vm->call(h.vm->findProc("Show"), {});
    h.vm->call(h.vm->findProc("Show"), {});  // Free does not destroy a host-owned object
    EXPECT_EQ(h.joined(), "host100|host100");
    EXPECT_FALSE(shared->disposed());
}

TEST_F(HostFixture, ObjectsAreReleasedWhenTheLastReferenceGoes) {
    int before = Counter::alive;
    EXPECT_EQ(h.run("var a, b: TCounter; begin a := TCounter.Create(1); b := a; a := nil; b.Bump(1); b := nil; end."), "");
    EXPECT_EQ(Counter::alive, before);  // never freed by the script, released by reference count
    EXPECT_EQ(h.run("var a: TCounter; begin a := TCounter.Create(1); a.Free; if Assigned(a) then WriteLn('still'); end."), "");
    EXPECT_TRUE(h.out.empty());
}

TEST(HostTable, EveryMemberHasACatalogEntryWithItsSignature) {
    HostTable t;
    registerStandardLibrary(t);
    t.function("function Twice(n: Integer; var Done: Boolean): Int64", [](CallCtx&) {});
    t.finish();
    ImportCatalog cat = buildImportCatalog(t);
    ASSERT_TRUE(cat.count("TWICE"));
    EXPECT_EQ(cat["TWICE"].signature, "(s32,var bool):s64");
    EXPECT_EQ(cat["TWICE"].argc, 2);
    EXPECT_TRUE(cat["TWICE"].hasResult);
    ASSERT_TRUE(cat.count("TSTRINGLIST.CREATE"));
    EXPECT_EQ(cat["TSTRINGLIST.CREATE"].self, ImportEntry::Self::None);
    EXPECT_EQ(cat["TSTRINGS.ADD"].self, ImportEntry::Self::Method);
    EXPECT_EQ(cat["TSTRINGS.COUNT.GET"].self, ImportEntry::Self::Property);
    EXPECT_FALSE(cat.count("TSTRINGS.COUNT.SET"));  // read-only
    EXPECT_TRUE(cat.count("TSTRINGS.STRINGS.SET"));
}

// Compiles share the table's declarations, read once: what one script declares must not reach the next, and a
// routine or member added to the table after a compile must reach the next one.
TEST(HostTable, CompilesShareTheDeclarationsUntilTheTableChanges) {
    HostTable t;
    registerStandardLibrary(t);
    t.finish();
    const char* plain = "var l: TStringList; d: TDateTime; begin l := TStringList.Create; d := Now; l.Add(DateToStr(d)); end.";
    CompileResult first = compileScript(plain, t);
    ASSERT_TRUE(first.ok);
    CompileResult other = compileScript("type TMine = record A: array[1..3] of TStringList; D: TDateTime; end; "
                                        "var m: TMine; begin m.D := Now; end.", t);
    ASSERT_TRUE(other.ok);
    CompileResult again = compileScript(plain, t);
    ASSERT_TRUE(again.ok);
    EXPECT_EQ(serializeModule(again.module), serializeModule(first.module));
    CompileResult unknown = compileScript("var m: TMine; begin end.", t);
    ASSERT_FALSE(unknown.ok);
    EXPECT_EQ(unknown.messages[0].text, "Unknown type 'TMine'");

    const char* added = "var l: TStringList; begin l := TStringList.Create; l.Shout(Twice(2)); end.";
    EXPECT_FALSE(compileScript(added, t).ok);
    t.function("function Twice(n: Integer): Integer", [](CallCtx& c) { c.retInt(2 * c.i(0)); });
    EXPECT_FALSE(compileScript(added, t).ok);
    t.findClass("TStringList")->method("procedure Shout(n: Integer)", [](CallCtx&) {});
    EXPECT_TRUE(compileScript(added, t).ok);
    EXPECT_TRUE(importCatalogFor(t)->count("TSTRINGLIST.SHOUT"));
}

TEST(HostTable, ABrokenDeclarationIsReported) {
    HostTable t;
    t.function("function Broken(: Integer", [](CallCtx&) {});
    t.finish();
    EXPECT_THROW(buildImportCatalog(t), std::runtime_error);
    CompileResult r = compileScript("begin end.", t);
    EXPECT_FALSE(r.ok);
}

}  // namespace
}  // namespace pelo::lang::test
