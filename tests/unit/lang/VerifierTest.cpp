// Code that hands an instruction a value of the wrong kind is refused at load time. Each module
// here would otherwise make the VM read or write memory at an address the file chose.
#include "HandBuiltModule.h"

namespace pelo::lang::test {
namespace {

// Loads the module; when the loader accepts it, runs the main block as the program would.
std::string loadAndRun(Module m) {
    ScriptHarness h;
    std::string v = loadVerdict(h, m);
    if (!v.empty()) return v;
    try {
        h.vm->runMain();
    } catch (const ScriptError& e) {
        return std::string("ran: ") + e.what();
    }
    return "ran";
}

bool refusedForKind(const std::string& verdict) {
    return verdict.find("malformed") != std::string::npos && verdict.find("wrong kind") != std::string::npos;
}

TEST(Verifier, HostVarParametersTakeOnlyReferencesToVariablesOfTheirType) {
    ScriptHarness h;
    // DecodeDate(0, <integer>, <integer>, <integer>): the integers are not addresses.
    Module m = handBuiltModule();
    int32_t decode = addImport(m, h, "DECODEDATE");
    setMain(m, {}, {op(Op::PushInt), 0, op(Op::PushInt), 0x41414141, op(Op::PushInt), 0x41414141,
                    op(Op::PushInt), 0x41414141, op(Op::CallHost), decode, op(Op::Ret)});
    EXPECT_TRUE(refusedForKind(loadAndRun(m))) << loadAndRun(m);
    // DecodeDate(0, <string variable>, ...): the year would be written over the string's pointer.
    Module s = handBuiltModule();
    decode = addImport(s, h, "DECODEDATE");
    setMain(s, {kStr, kPlain, kPlain},
            {op(Op::PushConst), 1, op(Op::StoreL), 0, op(Op::PushInt), 0, op(Op::AddrL), 0, op(Op::AddrL), 1,
             op(Op::AddrL), 2, op(Op::CallHost), decode, op(Op::Ret)});
    EXPECT_TRUE(refusedForKind(loadAndRun(s))) << loadAndRun(s);
    // The same call with integer variables is fine.
    Module ok = handBuiltModule();
    decode = addImport(ok, h, "DECODEDATE");
    setMain(ok, {kPlain, kPlain, kPlain},
            {op(Op::PushInt), 0, op(Op::AddrL), 0, op(Op::AddrL), 1, op(Op::AddrL), 2, op(Op::CallHost), decode,
             op(Op::Ret)});
    EXPECT_EQ(loadAndRun(ok), "ran");
}

TEST(Verifier, VariantsCannotRelabelPointers) {
    // A string labelled as a Currency variant and converted: the pointer would be divided.
    Module m = handBuiltModule();
    setMain(m, {}, {op(Op::PushConst), 1, op(Op::ToVariant), static_cast<int32_t>(VarType::Currency),
                    op(Op::FromVariant), static_cast<int32_t>(VarType::Int), op(Op::Pop), op(Op::Ret)});
    EXPECT_TRUE(refusedForKind(loadAndRun(m))) << loadAndRun(m);
    // A reference labelled as an Integer variant, moved by variant arithmetic and read through.
    Module r = handBuiltModule();
    setMain(r, {kPlain}, {op(Op::AddrL), 0, op(Op::ToVariant), static_cast<int32_t>(VarType::Int),
                          op(Op::PushInt), 0x41414141, op(Op::ToVariant), static_cast<int32_t>(VarType::Int),
                          op(Op::VarOp), 0, op(Op::LoadRef), op(Op::Pop), op(Op::Ret)});
    EXPECT_TRUE(refusedForKind(loadAndRun(r))) << loadAndRun(r);
    // Variant arithmetic on values that are not variants.
    Module a = handBuiltModule();
    setMain(a, {}, {op(Op::PushConst), 1, op(Op::PushInt), 4096, op(Op::VarOp), 0, op(Op::Pop), op(Op::Ret)});
    EXPECT_TRUE(refusedForKind(loadAndRun(a))) << loadAndRun(a);
    // A variant made from an object must hold an object.
    Module o = handBuiltModule();
    setMain(o, {}, {op(Op::PushInt), 0x41414141, op(Op::ToVariant), static_cast<int32_t>(VarType::Object),
                    op(Op::Pop), op(Op::Ret)});
    EXPECT_TRUE(refusedForKind(loadAndRun(o))) << loadAndRun(o);
}

TEST(Verifier, InstructionsConsumeOnlyTheirOwnKinds) {
    struct Case {
        const char* what;
        std::vector<int32_t> locals;
        std::vector<int32_t> code;
    };
    const std::vector<Case> cases = {
        {"integer stored into a string variable", {kStr},
         {op(Op::PushInt), 0x41414141, op(Op::StoreL), 0, op(Op::Ret)}},
        {"string stored into an array variable", {kIntArray},
         {op(Op::PushConst), 1, op(Op::StoreL), 0, op(Op::Ret)}},
        {"integer used as a reference", {},
         {op(Op::PushInt), 7, op(Op::PushInt), 0x41414141, op(Op::StoreRef), op(Op::Ret)}},
        {"string compared as objects", {},
         {op(Op::PushConst), 1, op(Op::PushConst), 1, op(Op::EqO), op(Op::Pop), op(Op::Ret)}},
        {"integer added to a string", {},
         {op(Op::PushConst), 1, op(Op::PushInt), 16, op(Op::AddI), 0, op(Op::Pop), op(Op::Ret)}},
        {"field of an array reference", {kIntArray},
         {op(Op::AddrL), 0, op(Op::AddrField), 0, op(Op::LoadRef), op(Op::Pop), op(Op::Ret)}},
        {"string written through a reference to an integer", {kPlain},
         {op(Op::PushConst), 1, op(Op::AddrL), 0, op(Op::StoreRef), op(Op::Ret)}},
        {"SetLength of a string array with an integer array type", {kStrArray},
         {op(Op::AddrL), 0, op(Op::PushInt), 2, op(Op::SetLen), kIntArray, op(Op::Ret)}},
        {"character set into an integer variable", {kPlain},
         {op(Op::PushInt), 65, op(Op::AddrL), 0, op(Op::PushInt), 1, op(Op::StrSetChar), op(Op::Ret)}},
        {"Length of an object", {kObj},
         {op(Op::LoadL), 0, op(Op::Length), op(Op::Pop), op(Op::Ret)}},
        {"Include into a string", {kStr},
         {op(Op::AddrL), 0, op(Op::PushInt), 3, op(Op::SetIncl), op(Op::Ret)}},
        {"conditional jump on a string", {},
         {op(Op::PushConst), 1, op(Op::JmpF), 0, op(Op::Ret)}},
    };
    for (const Case& c : cases) {
        Module m = handBuiltModule();
        setMain(m, c.locals, c.code);
        std::string v = loadAndRun(m);
        EXPECT_TRUE(refusedForKind(v)) << c.what << ": " << v;
    }
}

TEST(Verifier, CallArgumentsMatchTheCalleesParameters) {
    // procedure P(var n: Integer) called with a string variable, and with an integer value.
    auto withCallee = [](std::vector<int32_t> mainCode, std::vector<int32_t> mainLocals) {
        Module m = handBuiltModule();
        Proc p;
        p.name = "P";
        p.params.push_back(ProcParam{kPlain, true, "s32"});
        p.code = {op(Op::PushInt), 5, op(Op::StoreLRef), 0, op(Op::Ret)};
        m.procs.push_back(p);
        setMain(m, std::move(mainLocals), std::move(mainCode));
        return loadAndRun(m);
    };
    std::string v = withCallee({op(Op::AddrL), 0, op(Op::Call), 0, op(Op::Ret)}, {kStr});
    EXPECT_TRUE(refusedForKind(v)) << v;
    v = withCallee({op(Op::PushInt), 0x41414141, op(Op::Call), 0, op(Op::Ret)}, {});
    EXPECT_TRUE(refusedForKind(v)) << v;
    EXPECT_EQ(withCallee({op(Op::AddrL), 0, op(Op::Call), 0, op(Op::Ret)}, {kPlain}), "ran");
}

TEST(Verifier, PathsJoinWithTheSameKinds) {
    // One path brings a string, the other an integer, to the same Concat.
    Module m = handBuiltModule();
    setMain(m, {kPlain},
            {op(Op::LoadL), 0, op(Op::JmpF), 4,            //
             op(Op::PushConst), 1, op(Op::Jmp), 2,          //
             op(Op::PushInt), 0x41414141,                   // joins here with a different kind
             op(Op::PushConst), 1, op(Op::Concat), op(Op::Pop), op(Op::Ret)});
    std::string v = loadAndRun(m);
    EXPECT_NE(v.find("inconsistent stack"), std::string::npos) << v;
}

TEST(Verifier, TryBlocksStartAndEndWithAnEmptyOperandStack) {
    // A value pushed before the try: the handler would be entered with the stack of another state.
    Module m = handBuiltModule();
    setMain(m, {}, {op(Op::PushInt), 1, op(Op::TryExcept), 2, op(Op::PopTry), op(Op::EndExcept), op(Op::Pop),
                    op(Op::Ret)});
    std::string v = loadAndRun(m);
    EXPECT_NE(v.find("try block"), std::string::npos) << v;
    // A value pushed inside the try and left there at Leave / EndFinally.
    Module l = handBuiltModule();
    setMain(l, {}, {op(Op::TryFinally), 6, op(Op::PushInt), 1, op(Op::Leave), 0, 2, op(Op::PopTry),
                    op(Op::EndFinally), op(Op::Ret)});
    v = loadAndRun(l);
    EXPECT_NE(v.find("try block"), std::string::npos) << v;
    Module f = handBuiltModule();
    setMain(f, {}, {op(Op::TryFinally), 1, op(Op::PopTry), op(Op::PushInt), 1, op(Op::EndFinally), op(Op::Pop),
                    op(Op::Ret)});
    v = loadAndRun(f);
    EXPECT_NE(v.find("try block"), std::string::npos) << v;
}

TEST(Verifier, OperandStackIsBounded) {
    std::vector<int32_t> code;
    for (int k = 0; k < 5000; ++k) code.insert(code.end(), {op(Op::PushInt), k});
    for (int k = 0; k < 5000; ++k) code.push_back(op(Op::Pop));
    code.push_back(op(Op::Ret));
    Module m = handBuiltModule();
    setMain(m, {}, code);
    std::string v = loadAndRun(m);
    EXPECT_NE(v.find("stack too deep"), std::string::npos) << v;
}

TEST(Verifier, CompiledVarParametersRecordTheirVariablesType) {
    ScriptHarness h;
    Module m = h.compile(
        "procedure Twice(var s: string; var n: Integer); begin s := s + s; n := n * 2; end;\n"
        "var t: string; k: Integer;\n"
        "begin t := 'ab'; k := 3; Twice(t, k); WriteLn(t + IntToStr(k)); end.\n");
    const int twice = m.findProc("TWICE");
    ASSERT_GE(twice, 0);
    const Proc& p = m.procs[static_cast<size_t>(twice)];
    ASSERT_EQ(p.params.size(), 2u);
    EXPECT_EQ(m.types[static_cast<size_t>(p.params[0].type)].kind, RtKind::Str);
    EXPECT_EQ(m.types[static_cast<size_t>(p.params[1].type)].kind, RtKind::Plain);
    EXPECT_EQ(loadVerdict(h, m), "");
    h.vm->runMain();
    EXPECT_EQ(h.joined(), "abab6");
    // The same file with the parameters' types swapped: the string variable would be doubled as
    // a number. The caller's references no longer match and the file is refused.
    Module swapped = m;
    Proc& q = swapped.procs[static_cast<size_t>(twice)];
    std::swap(q.params[0].type, q.params[1].type);
    std::string v = loadVerdict(h, swapped);
    EXPECT_TRUE(refusedForKind(v)) << v;
}

}  // namespace
}  // namespace pelo::lang::test
