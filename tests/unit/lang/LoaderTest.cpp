// The compiled-file loader: every malformed input is refused with a message, never a crash.
#include <random>

#include "ScriptHarness.h"
#include "lang/Bytecode.h"

namespace pelo::lang::test {
namespace {

const char* kScript =
    "var Total: Integer; Names: TStringList;\n"
    "procedure Init; begin Total := 0; Names := TStringList.Create; end;\n"
    "procedure Start(Headline, Source: string);\n"
    "var i: Integer;\n"
    "begin\n"
    "  for i := 1 to Length(Headline) do if Headline[i] = 'a' then Total := Total + 1;\n"
    "  try Names.Add(UpperCase(Source)); except WriteLn('x'); end;\n"
    "  WriteLn(Source + '=' + IntToStr(Total));\n"
    "end;\n"
    "begin WriteLn('main'); end.\n";

std::string compiled(ScriptHarness& h, const char* src = kScript) { return serializeModule(h.compile(src)); }

// Rewrites the header's length and checksum so that a changed payload gets past them.
std::string resealed(std::string bytes) {
    std::string_view payload(bytes.data() + 16, bytes.size() - 16);
    uint32_t len = static_cast<uint32_t>(payload.size());
    uint32_t crc = crc32(payload);
    for (int k = 0; k < 4; ++k) {
        bytes[8 + static_cast<size_t>(k)] = static_cast<char>((len >> (8 * k)) & 0xFF);
        bytes[12 + static_cast<size_t>(k)] = static_cast<char>((crc >> (8 * k)) & 0xFF);
    }
    return bytes;
}

std::string loadError(Vm& vm, const std::string& bytes) {
    try {
        vm.loadFile(bytes);
    } catch (const LoadError& e) {
        return e.what();
    }
    return "";
}

TEST(Loader, RoundTripRunsLikeTheCompiledModule) {
    ScriptHarness h;
    std::string bytes = compiled(h);
    ASSERT_EQ(loadError(*h.vm, bytes), "");
    h.vm->runMain();
    h.vm->call(h.vm->findProc("init"), {});
    h.vm->call(h.vm->findProc("START"), {Value::ofStr("banana"), Value::ofStr("rss")});
    EXPECT_EQ(h.joined(), "main|rss=3");
    // Serializing the loaded module again gives the same bytes: nothing is lost or reinterpreted.
    EXPECT_EQ(serializeModule(h.vm->module()), bytes);
}

TEST(Loader, ExternalFunctionsKeepTheirTargetAndAForgedSignatureIsRefused) {
    ScriptHarness h;
    Module m = h.compile(
        "type TR = record a: Integer; d: Double; end;\n"
        "function F(var r: TR; s: string; x: Extended): Cardinal; external 'F@\"my lib.dll\" pascal delayload';\n"
        "var r: TR;\nbegin F(r, 'x', 1); end.");
    const std::string bytes = serializeModule(m);
    ASSERT_EQ(loadError(*h.vm, bytes), "");
    const Import& im = h.vm->module().imports.at(0);
    EXPECT_TRUE(im.external);
    EXPECT_EQ(im.name, "DLL:F");
    EXPECT_EQ(im.signature, "(var rec{s32;double;},string,ext):u32");
    EXPECT_EQ(im.target.library, "my lib.dll");
    EXPECT_EQ(im.target.convention, CallConvention::Pascal);
    EXPECT_TRUE(im.target.delayLoad);

    // What the loader refuses in the foreign signature: anything that is not one, nesting without end, a result
    // that needs memory of its own, and a signature that does not agree with the call's argument count.
    for (const char* forged : {"(var rec{s32;double;},string,ext):u32x", "(var rec{s32;double;,string,ext):u32",
                               "(var rec{rec{rec{rec{rec{rec{rec{rec{rec{rec{rec{rec{rec{rec{rec{rec{rec{s32;};};};};};};};"
                               "};};};};};};};};};};},string,ext):u32",
                               "(var rec{s32;double;},string,ext):rec{s32;}", "(var arr99999999s32,string,ext):u32",
                               "(var rec{s32;double;},string):u32"}) {
        Module forgedModule = m;
        forgedModule.imports.at(0).signature = forged;
        EXPECT_NE(loadError(*h.vm, serializeModule(forgedModule)).find("malformed"), std::string::npos) << forged;
    }
}

// A procedure value is a number the file chose: a call through it checks, when it is made, that the procedure
// it names takes and returns what the call passes and expects.
TEST(Loader, ACallThroughAProcedureValueOfAnotherShapeIsRefusedWhenMade) {
    ScriptHarness h;
    Module m = h.compile(
        "type TIntFn = function(a: Integer): Integer;\n"
        "procedure Hello(const s: string); begin WriteLn('hello ' + s); end;\n"
        "function Twice(a: Integer): Integer; begin Result := a * 2; end;\n"
        "var f: TIntFn;\nbegin\n  f := @Twice;\n"
        "  try WriteLn(IntToStr(f(21))); except WriteLn(ExceptionToString(ExceptionType, ExceptionParam)); end;\nend.");
    const int hello = m.findProc("HELLO"), twice = m.findProc("TWICE");
    ASSERT_GE(hello, 0);
    ASSERT_GE(twice, 0);
    ASSERT_TRUE(loadError(*h.vm, serializeModule(m)).empty());
    h.vm->runMain();
    EXPECT_EQ(h.joined(), "42");

    // The module with each push of Twice's number changed by `patch`, loaded and run: what it printed.
    auto runForged = [&](auto patch) {
        Module bad = m;
        Proc& main = bad.procs.at(static_cast<size_t>(bad.mainProc));
        bool patched = false;
        for (size_t pc = 0; pc + 1 < main.code.size(); ++pc)
            if (main.code[pc] == static_cast<int32_t>(Op::PushInt) && main.code[pc + 1] == twice + 1) {
                patch(bad, main.code[pc], main.code[pc + 1]);
                patched = true;
            }
        EXPECT_TRUE(patched);
        h.out.clear();
        EXPECT_EQ(loadError(*h.vm, serializeModule(bad)), "");
        h.vm->runMain();
        return h.joined();
    };
    for (int32_t forged : {hello + 1, 999, -5, m.mainProc + 1})
        EXPECT_EQ(runForged([&](Module&, int32_t&, int32_t& operand) { operand = forged; }), "Out of Proc Range") << forged;
    // A number no procedure count reaches, as a constant of the file (it overflowed on the way to an index).
    for (int64_t forged : {INT64_MIN, INT64_MAX, int64_t{1} << 32 | static_cast<int64_t>(twice + 1)}) {
        const auto k = static_cast<int32_t>(m.constants.size());
        auto pushConstant = [&](Module& bad, int32_t& op, int32_t& operand) {
            if (bad.constants.size() == m.constants.size()) bad.constants.push_back(Value::ofInt(forged));
            op = static_cast<int32_t>(Op::PushConst);
            operand = k;
        };
        EXPECT_EQ(runForged(pushConstant), "Out of Proc Range") << forged;
    }
}

TEST(Loader, RefusesForeignAndNewerFiles) {
    ScriptHarness h;
    std::string ifps = std::string("IFPS") + std::string(24, '\0');
    EXPECT_NE(loadError(*h.vm, ifps).find("recompile"), std::string::npos);
    EXPECT_EQ(loadError(*h.vm, "MZ this is not a script at all"), "not a compiled script");
    std::string newer = compiled(h);
    newer[4] = static_cast<char>(kFileVersion + 1);
    EXPECT_NE(loadError(*h.vm, newer).find("newer format"), std::string::npos);
    // version 1 stored reals as Doubles: such files must be compiled again
    std::string older = compiled(h);
    older[4] = static_cast<char>(kFileVersion - 1);
    EXPECT_NE(loadError(*h.vm, resealed(older)).find("older format"), std::string::npos);
    EXPECT_FALSE(h.vm->loaded());
}

TEST(Loader, RefusesEveryTruncation) {
    ScriptHarness h;
    std::string bytes = compiled(h);
    for (size_t n = 0; n < bytes.size(); ++n) {
        std::string err = loadError(*h.vm, bytes.substr(0, n));
        ASSERT_FALSE(err.empty()) << "prefix of " << n << " bytes was accepted";
    }
    EXPECT_NE(loadError(*h.vm, bytes + "x").find("malformed"), std::string::npos);
}

TEST(Loader, ChecksumCatchesAnyChangedByte) {
    ScriptHarness h;
    std::string bytes = compiled(h);
    for (size_t k = 16; k < bytes.size(); k += 7) {
        std::string bad = bytes;
        bad[k] = static_cast<char>(bad[k] ^ 0x20);
        ASSERT_NE(loadError(*h.vm, bad).find("checksum"), std::string::npos) << "byte " << k;
    }
}

TEST(Loader, ImportsMustMatchTheHostTable) {
    ScriptHarness h;
    std::string bytes = compiled(h);
    // Another host whose WriteLn takes an Integer: same name, different declaration.
    HostTable other;
    registerStandardLibrary(other);
    other.function("procedure WriteLn(n: Integer)", [](CallCtx&) {});
    other.finish();
    Vm vm(other, importCatalogFor(other));
    EXPECT_EQ(loadError(vm, bytes), "Cannot Import WRITELN (declaration changed; recompile the script)");
    // A host without WriteLn at all.
    HostTable bare;
    registerStandardLibrary(bare);
    bare.finish();
    Vm vm2(bare, importCatalogFor(bare));
    EXPECT_EQ(loadError(vm2, bytes), "Cannot Import WRITELN");
}

// Builds a module with one main procedure of the given code and returns the loader's verdict.
std::string verdict(std::vector<int32_t> code, int32_t locals = 0) {
    ScriptHarness h;
    Module m;
    m.types.push_back(RtType{});
    Proc p;
    p.name = "!MAIN";
    p.code = std::move(code);
    p.localTypes.assign(static_cast<size_t>(locals), 0);
    m.procs.push_back(p);
    m.mainProc = 0;
    m.constants.push_back(Value::ofInt(1));
    return loadError(*h.vm, serializeModule(m));
}

int32_t op(Op o) { return static_cast<int32_t>(o); }

TEST(Loader, VerifiesCodeStructure) {
    EXPECT_EQ(verdict({op(Op::PushInt), 1, op(Op::Pop), op(Op::Ret)}), "");
    EXPECT_NE(verdict({op(Op::Pop), op(Op::Ret)}).find("stack underflow"), std::string::npos);
    EXPECT_NE(verdict({op(Op::LoadL), 3, op(Op::Pop), op(Op::Ret)}, 1).find("local index"), std::string::npos);
    EXPECT_NE(verdict({op(Op::LoadG), 0, op(Op::Pop), op(Op::Ret)}).find("global index"), std::string::npos);
    EXPECT_NE(verdict({op(Op::PushConst), 5, op(Op::Pop), op(Op::Ret)}).find("constant index"), std::string::npos);
    EXPECT_NE(verdict({op(Op::Call), 0, op(Op::Ret)}).find("procedure index"), std::string::npos);
    EXPECT_NE(verdict({op(Op::CallHost), 0, op(Op::Ret)}).find("import index"), std::string::npos);
    EXPECT_NE(verdict({12345, op(Op::Ret)}).find("opcode"), std::string::npos);
    EXPECT_NE(verdict({op(Op::PushInt)}).find("truncated instruction"), std::string::npos);
    EXPECT_NE(verdict({op(Op::AddI), 99, op(Op::Ret)}).find("width"), std::string::npos);
}

TEST(Loader, VerifiesJumpsAndStackBalance) {
    // into the middle of an instruction
    EXPECT_NE(verdict({op(Op::Jmp), 1, op(Op::PushInt), 7, op(Op::Ret)}).find("target"), std::string::npos);
    // outside the code
    EXPECT_NE(verdict({op(Op::Jmp), 100, op(Op::Ret)}).find("jump target"), std::string::npos);
    EXPECT_NE(verdict({op(Op::Jmp), -10, op(Op::Ret)}).find("jump target"), std::string::npos);
    // falling off the end
    EXPECT_NE(verdict({op(Op::PushInt), 1, op(Op::Pop)}).find("target"), std::string::npos);
    // two paths that reach one point with different stack depths
    EXPECT_NE(verdict({op(Op::PushInt), 1, op(Op::JmpF), 2, op(Op::PushInt), 5, op(Op::Ret)}).find("inconsistent"),
              std::string::npos);
    // a loop that grows the stack on every pass
    EXPECT_NE(verdict({op(Op::PushInt), 1, op(Op::Jmp), -4}).find("inconsistent"), std::string::npos);
}

// A module whose only global has the given type chain: types[0] is Plain, each further entry is
// built by `make` from the one before it.
std::string globalTypeVerdict(size_t chain, RtType (*make)(int32_t prev)) {
    ScriptHarness h;
    Module m;
    m.types.push_back(RtType{});
    for (size_t k = 0; k < chain; ++k) m.types.push_back(make(static_cast<int32_t>(m.types.size() - 1)));
    m.globals.push_back(Global{"G", static_cast<int32_t>(m.types.size() - 1)});
    Proc p;
    p.name = "!MAIN";
    p.code = {static_cast<int32_t>(Op::Ret)};
    m.procs.push_back(p);
    m.mainProc = 0;
    return loadError(*h.vm, serializeModule(m));
}

RtType staticArrayOf(int32_t elem, int32_t count) {
    RtType t;
    t.kind = RtKind::StaticArr;
    t.elem = elem;
    t.count = count;
    return t;
}

TEST(Loader, BoundsTheSizeOfVariables) {
    // Each type alone is small; together a single global would hold 3000 x 3000 values.
    std::string err = globalTypeVerdict(2, [](int32_t prev) { return staticArrayOf(prev, 3000); });
    EXPECT_NE(err.find("too large"), std::string::npos) << err;
    // 2000 x 2000 values fit.
    EXPECT_EQ(globalTypeVerdict(2, [](int32_t prev) { return staticArrayOf(prev, 2000); }), "");
    // Many globals that are each small but together too large.
    ScriptHarness h;
    Module m;
    m.types.push_back(RtType{});
    m.types.push_back(staticArrayOf(0, 1000000));
    for (int k = 0; k < 5; ++k) m.globals.push_back(Global{"G" + std::to_string(k), 1});
    Proc p;
    p.name = "!MAIN";
    p.code = {static_cast<int32_t>(Op::Ret)};
    m.procs.push_back(p);
    // The same variables as locals of one procedure.
    Proc q = p;
    q.name = "BIG";
    q.localTypes.assign(5, 1);
    m.mainProc = 0;
    Module locals = m;
    locals.globals.clear();
    locals.procs.push_back(q);
    err = loadError(*h.vm, serializeModule(m));
    EXPECT_NE(err.find("too large"), std::string::npos) << err;
    err = loadError(*h.vm, serializeModule(locals));
    EXPECT_NE(err.find("too large"), std::string::npos) << err;
}

TEST(Loader, BoundsTheNestingOfTypes) {
    auto arrayOf = [](int32_t prev) { return staticArrayOf(prev, 1); };
    auto dynOf = [](int32_t prev) {
        RtType t;
        t.kind = RtKind::DynArr;
        t.elem = prev;
        return t;
    };
    auto recordOf = [](int32_t prev) {
        RtType t;
        t.kind = RtKind::Record;
        t.fields = {prev, 0};
        return t;
    };
    EXPECT_EQ(globalTypeVerdict(60, arrayOf), "");
    EXPECT_NE(globalTypeVerdict(100, arrayOf).find("nested too deeply"), std::string::npos);
    EXPECT_NE(globalTypeVerdict(100, dynOf).find("nested too deeply"), std::string::npos);
    EXPECT_NE(globalTypeVerdict(100, recordOf).find("nested too deeply"), std::string::npos);
    // A long chain is refused without walking it recursively (which would exhaust the native stack).
    EXPECT_NE(globalTypeVerdict(100000, arrayOf).find("nested too deeply"), std::string::npos);
}

TEST(Loader, RandomDamageBehindAValidChecksumNeverCrashes) {
    ScriptHarness h;
    std::string bytes = compiled(h);
    std::mt19937 rng(1234);
    int refused = 0;
    for (int round = 0; round < 3000; ++round) {
        std::string bad = bytes;
        int flips = 1 + static_cast<int>(rng() % 4);
        for (int f = 0; f < flips; ++f) {
            size_t k = 16 + rng() % (bad.size() - 16);
            bad[k] = static_cast<char>(rng());
        }
        bad = resealed(bad);
        try {
            h.vm->loadFile(bad);
        } catch (const LoadError&) {
            ++refused;
            continue;
        }
        // Accepted: running it may fail, but only with a script error.
        try {
            h.vm->runMain();
            int init = h.vm->findProc("INIT");
            if (init >= 0 && h.vm->proc(init)->params.empty()) h.vm->call(init, {});
        } catch (const ScriptError&) {
        }
    }
    EXPECT_GT(refused, 1000);
}

}  // namespace
}  // namespace pelo::lang::test
