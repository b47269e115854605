// The VM's host-facing operations and its limits.
#include "ScriptHarness.h"
#include "lang/Bytecode.h"

namespace pelo::lang::test {
namespace {

TEST(Vm, FindsProceduresByNameWithoutRegardToCase) {
    ScriptHarness h;
    ASSERT_EQ(h.run("procedure Start(A, B: string); begin WriteLn(A + B); end; "
                    "function Twice(n: Integer): Integer; begin Result := n * 2; end; begin end."),
              "");
    int start = h.vm->findProc("start");
    EXPECT_GE(start, 0);
    EXPECT_EQ(h.vm->findProc("START"), start);
    EXPECT_EQ(h.vm->findProc("Missing"), -1);
    EXPECT_EQ(h.vm->findProc("!MAIN"), -1);  // the main block is not callable by name
    h.vm->call(start, {Value::ofStr("head"), Value::ofStr("line")});
    EXPECT_EQ(h.joined(), "headline");
    Value r = h.vm->call(h.vm->findProc("twice"), {Value::ofInt(21)});
    EXPECT_EQ(r.i, 42);
}

TEST(Vm, CallChecksTheArguments) {
    ScriptHarness h;
    ASSERT_EQ(h.run("procedure Start(A, B: string); begin end; begin end."), "");
    int start = h.vm->findProc("Start");
    auto err = [&](std::vector<Value> args) {
        try {
            h.vm->call(start, args);
        } catch (const ScriptError& e) {
            return std::string(e.what());
        }
        return std::string();
    };
    EXPECT_EQ(err({Value::ofStr("x")}), "Not enough parameters");
    EXPECT_EQ(err({Value::ofStr("x"), Value::ofStr("y"), Value::ofStr("z")}), "Too many parameters");
    EXPECT_EQ(err({Value::ofInt(1), Value::ofStr("y")}), "Invalid parameter");
    EXPECT_EQ(err({Value::ofStr("x"), Value::ofStr("y")}), "");
    try {
        h.vm->call(12345, {});
        FAIL() << "an unknown procedure number was called";
    } catch (const ScriptError& e) {
        EXPECT_STREQ(e.what(), "Unknown procedure");
    }
}

TEST(Vm, StateSurvivesARunTimeErrorAndNextCallsWork) {
    ScriptHarness h;
    ASSERT_EQ(h.run("var n: Integer; procedure Bad; var z: Integer; begin n := n + 1; n := n div z; end; "
                    "procedure Show; begin WriteLn(IntToStr(n)); end; begin end."),
              "");
    for (int k = 0; k < 3; ++k) EXPECT_THROW(h.vm->call(h.vm->findProc("Bad"), {}), ScriptError);
    h.vm->call(h.vm->findProc("Show"), {});
    EXPECT_EQ(h.joined(), "3");
    EXPECT_FALSE(h.vm->busy());
}

TEST(Vm, DeepRecursionEndsTheScriptWithAnError) {
    VmLimits limits;
    limits.maxFrames = 500;
    ScriptHarness h(limits);
    std::string err = h.run("function F(n: Integer): Integer; begin Result := F(n + 1); end; begin F(0); end.");
    EXPECT_EQ(err, "Out Of Stack Range");
    // The VM is usable afterwards.
    EXPECT_EQ(h.run("function Fib(k: Integer): Integer; begin if k < 2 then Result := k else "
                    "Result := Fib(k - 1) + Fib(k - 2); end; begin WriteLn(IntToStr(Fib(15))); end."),
              "");
    EXPECT_EQ(h.joined(), "610");
}

TEST(Vm, HugeStringsAndArraysAreRefused) {
    VmLimits limits;
    limits.maxStringLength = 1 << 20;
    limits.maxArrayLength = 1000;
    ScriptHarness h(limits);
    EXPECT_EQ(h.run("var s: string; begin s := 'x'; while True do s := s + s; end."), "Out Of Memory");
    EXPECT_EQ(h.run("var a: array of Integer; begin SetLength(a, 5000); end."), "Out Of Memory");
    EXPECT_EQ(h.run("var s: string; begin try SetLength(s, 2000000); except WriteLn('caught'); end; end."), "");
    EXPECT_EQ(h.joined(), "caught");
    // Library routines whose result length is an argument are held to the same limit (found by the fuzzer:
    // FloatToStrFixed with two billion digits).
    for (const char* call : {"FloatToStrFixed(2000000000, 1.5)", "FloatToStrFixedS(1048570, 1.5)",
                             "StringOfChar('a', 2000000)", "PadL('a', 2000000)", "PadZ('1', 2000000)"})
        EXPECT_EQ(h.run(std::string("var s: string; begin s := ") + call + "; end."), "Out Of Memory") << call;
    EXPECT_EQ(h.run("var s: string; begin s := FloatToStrFixed(6, 1.5); WriteLn(s); end."), "");
    EXPECT_EQ(h.joined(), "caught|1.500000");
}

TEST(Vm, StopRequestEndsAnEndlessLoopAndCannotBeCaught) {
    ScriptHarness h;
    int calls = 0;
    h.table.function("procedure Tick", [&](CallCtx& c) {
        EXPECT_TRUE(c.vm.busy());
        if (++calls == 1000) c.vm.requestStop();
    });
    h.vm = std::make_unique<Vm>(h.table, importCatalogFor(h.table));
    std::string err = h.run("begin while True do try Tick; except WriteLn('caught'); end; end.");
    EXPECT_EQ(err, "Script stopped");
    EXPECT_EQ(calls, 1000);
    EXPECT_TRUE(h.out.empty());
    EXPECT_FALSE(h.vm->busy());
    // A later run is not affected by the old request.
    EXPECT_EQ(h.run("begin WriteLn('again'); end."), "");
}

TEST(Vm, PredefinedVariablesAreReachableByName) {
    ScriptHarness h;
    ASSERT_EQ(h.run("var Threshold: Integer; Caption: string; procedure Show; begin WriteLn(Caption + IntToStr(Threshold)); end; "
                    "begin end."),
              "");
    Value* t = h.vm->global("threshold");
    ASSERT_NE(t, nullptr);
    t->i = 7;
    *h.vm->global("CAPTION") = Value::ofStr("t=");
    EXPECT_EQ(h.vm->global("nothing"), nullptr);
    h.vm->call(h.vm->findProc("Show"), {});
    EXPECT_EQ(h.joined(), "t=7");
}

TEST(Vm, ClearUnloadsEverything) {
    ScriptHarness h;
    ASSERT_EQ(h.run("procedure Start(a, b: string); begin end; begin end."), "");
    h.vm->clear();
    EXPECT_FALSE(h.vm->loaded());
    EXPECT_EQ(h.vm->findProc("Start"), -1);
    EXPECT_THROW(h.vm->runMain(), ScriptError);
}

TEST(Values, StringsShareUntilWritten) {
    Value a = Value::ofStr("abc");
    Value b = a;
    ASSERT_EQ(a.s, b.s);
    EXPECT_EQ(a.s->refs, 2);
    strUnique(b.s)->data[0] = 'X';
    EXPECT_EQ(a.str(), "abc");
    EXPECT_EQ(b.str(), "Xbc");
    EXPECT_EQ(a.s->refs, 1);
    StrRep* before = b.s;
    strUnique(b.s);
    EXPECT_EQ(b.s, before);  // already unique: no copy
}

TEST(Values, ConcatenationKeepsOperandsAndEmptyStringsAreNull) {
    Value a = Value::ofStr("ab"), e = Value::ofStr("");
    EXPECT_EQ(e.s, nullptr);
    EXPECT_EQ(e.tag, Tag::Str);
    Value c = strConcat(a, Value::ofStr("cd"));
    EXPECT_EQ(c.str(), "abcd");
    EXPECT_EQ(a.str(), "ab");
    Value d = strConcat(a, e);
    EXPECT_EQ(d.s, a.s);  // nothing to append: the same buffer, shared
    Value moved = std::move(d);
    EXPECT_EQ(d.tag, Tag::Plain);
    EXPECT_EQ(moved.str(), "ab");
}

TEST(Values, WrapToFollowsTheStaticWidth) {
    EXPECT_EQ(wrapTo(300, static_cast<int32_t>(Width::U8)), 44);
    EXPECT_EQ(wrapTo(128, static_cast<int32_t>(Width::S8)), -128);
    EXPECT_EQ(wrapTo(-1, static_cast<int32_t>(Width::U16)), 65535);
    EXPECT_EQ(wrapTo(40000, static_cast<int32_t>(Width::S16)), -25536);
    EXPECT_EQ(wrapTo(4294967297LL, static_cast<int32_t>(Width::U32)), 1);
    EXPECT_EQ(wrapTo(2147483648LL, static_cast<int32_t>(Width::S32)), -2147483648LL);
    EXPECT_EQ(wrapTo(INT64_MIN, static_cast<int32_t>(Width::I64)), INT64_MIN);
}

// A round of a loop can make or copy a million values with one jump: they count against the step budget
// (found by the structured fuzzer: a procedure with a frame of 4M values called 5,000 times), while loops over
// ordinary frames keep the budget they had.
TEST(Vm, ValuesMadeOrCopiedCountAgainstTheStepBudget) {
    VmLimits limits;
    limits.maxLoopSteps = 5000;
    ScriptHarness h(limits);
    const std::string big = "type TBig = array[0..999999] of Integer; ";
    EXPECT_EQ(h.run(big + "procedure P; var a: TBig; begin a[0] := 1; end; "
                          "var k: Integer; begin for k := 1 to 100 do P; end."),
              "Script stopped");
    EXPECT_EQ(h.run(big + "var a, b: TBig; k: Integer; begin for k := 1 to 100 do begin b := a; a[0] := k; end; end."),
              "Script stopped");
    EXPECT_EQ(h.run("var a: array of Integer; k: Integer; "
                    "begin for k := 1 to 100 do begin SetLength(a, 0); SetLength(a, 1000000); end; end."),
              "Script stopped");
    // strings count by their bytes (found by the byte loader fuzzer: a loop of concatenations near the length limit)
    EXPECT_EQ(h.run("var s, t: string; k: Integer; "
                    "begin t := StringOfChar('x', 500000); for k := 1 to 1000 do s := t + t; end."),
              "Script stopped");
    EXPECT_EQ(h.run("var s: string; k: Integer; begin for k := 1 to 2000 do s := s + 'x'; WriteLn(IntToStr(Length(s))); end."),
              "");
    EXPECT_EQ(h.run("type TSmall = array[0..99] of Integer; procedure P; var a: TSmall; begin a[0] := 1; end; "
                    "var k, n: Integer; begin for k := 1 to 2000 do begin P; n := k; end; WriteLn(IntToStr(n)); end."),
              "");
    EXPECT_EQ(h.joined(), "2000|2000");
}

}  // namespace
}  // namespace pelo::lang::test

namespace pelo::lang::test {
namespace {

TEST(Vm, HostFunctionsMayCallBackIntoTheScript) {
    ScriptHarness h;
    h.table.function("procedure Each(Name: string)", [&](CallCtx& c) {
        int p = c.vm.findProc(std::string(c.s(0)));
        for (int k = 0; k < 3; ++k) c.vm.call(p, {Value::ofInt(k)});
    });
    h.vm = std::make_unique<Vm>(h.table, importCatalogFor(h.table));
    EXPECT_EQ(h.run("var total: Integer; procedure Add(n: Integer); begin total := total + n; "
                    "if n = 2 then WriteLn('deep ' + IntToStr(total)); end; "
                    "procedure Nest(n: Integer); var s: string; begin s := IntToStr(n); Each('Add'); WriteLn(s); end; "
                    "begin Each('Nest'); end."),
              "");
    EXPECT_EQ(h.joined(), "deep 3|0|deep 6|1|deep 9|2");
}

}  // namespace
}  // namespace pelo::lang::test

namespace pelo::lang::test {
namespace {

int32_t op(Op o) { return static_cast<int32_t>(o); }

// A module of hand-written code: the main block, optionally one procedure P, and one Integer global G.
Module handBuilt(std::vector<int32_t> main, std::vector<int32_t> p = {}) {
    Module m;
    m.types.push_back(RtType{});
    m.globals.push_back(Global{"G", 0});
    Proc mp;
    mp.name = "!MAIN";
    mp.code = std::move(main);
    m.procs.push_back(mp);
    if (!p.empty()) {
        Proc pp;
        pp.name = "P";
        pp.code = std::move(p);
        m.procs.push_back(pp);
    }
    m.mainProc = 0;
    return m;
}

std::string runHandBuilt(Vm& vm, Module m) {
    vm.loadModule(std::move(m));
    try {
        vm.runMain();
    } catch (const ScriptError& e) {
        return e.what();
    }
    return "";
}

// A finally part or a leave target reached at another operand-stack depth than the one its code was
// checked at would let Pops run below the stack or pushes past its end. The loader refuses any value
// left on the stack at a try boundary, so neither file gets as far as the VM.
TEST(Vm, FinallyPartsAndLeaveTargetsAtAnotherStackDepthAreRefused) {
    HostTable table;
    table.finish();
    // The finally part is checked at the depth of TryFinally (2) but a Leave reaches it with an
    // empty stack: run at the depth of the moment, its two Pops would go below the stack.
    {
        Vm vm(table, importCatalogFor(table));
        EXPECT_THROW(vm.loadModule(handBuilt({op(Op::PushInt), 1, op(Op::PushInt), 2,  // 0
                                              op(Op::TryFinally), 5,                   // 4
                                              op(Op::Pop), op(Op::Pop),                // 6
                                              op(Op::Leave), 0, 3,                     // 8
                                              op(Op::Pop), op(Op::Pop),                // 11: finally part
                                              op(Op::EndFinally),                      // 13
                                              op(Op::PushInt), 7, op(Op::StoreG), 0,   // 14: leave target
                                              op(Op::Ret)})),
                     LoadError);
    }
    // The Leave happens three values up, the finally part is checked on an empty stack and pushes
    // three of its own: entered at the Leave's depth it would write past the end of a stack that is
    // just as large as the code needs.
    {
        VmLimits tight;
        tight.stackSlots = 4;
        Vm vm(table, importCatalogFor(table), tight);
        EXPECT_THROW(vm.loadModule(handBuilt({op(Op::TryFinally), 9,                                     // 0
                                              op(Op::PushInt), 1, op(Op::PushInt), 2, op(Op::PushInt), 3,  // 2
                                              op(Op::Leave), 0, 11,                                        // 8
                                              op(Op::PushInt), 4, op(Op::PushInt), 5, op(Op::PushInt), 6,  // 11: finally
                                              op(Op::Pop), op(Op::Pop), op(Op::Pop),                       // 17
                                              op(Op::EndFinally), op(Op::Ret),                             // 20
                                              op(Op::Pop), op(Op::Pop), op(Op::Pop),                       // 22: target
                                              op(Op::PushInt), 8, op(Op::StoreG), 0, op(Op::Ret)})),
                     LoadError);
    }
}

TEST(Vm, EndFinallyAndPopTryRefuseTheCallersEntries) {
    HostTable table;
    table.finish();
    // P ends a finally part that belongs to the main block, whose pending Leave aims at main's code.
    std::vector<int32_t> main = {op(Op::TryFinally), 3,             // 0
                                 op(Op::Leave), 0, 3,               // 2
                                 op(Op::Call), 1, op(Op::EndFinally),  // 5: finally part
                                 op(Op::PushInt), 9, op(Op::StoreG), 0, op(Op::Ret)};  // 8: target
    {
        Vm vm(table, importCatalogFor(table));
        EXPECT_NE(runHandBuilt(vm, handBuilt(main, {op(Op::EndFinally), op(Op::Ret)})), "");
        EXPECT_EQ(vm.global("G")->i, 0);
    }
    // P leaves the main block's try block
    {
        Vm vm(table, importCatalogFor(table));
        EXPECT_NE(runHandBuilt(vm, handBuilt({op(Op::TryExcept), 4, op(Op::Call), 1, op(Op::PopTry), op(Op::Ret),
                                              op(Op::PushInt), 9, op(Op::StoreG), 0, op(Op::Ret)},
                                             {op(Op::PopTry), op(Op::Ret)})),
                  "");
        EXPECT_EQ(vm.global("G")->i, 0);
    }
}

// A handler placed before its own try block makes a loop out of errors alone, with no backward
// jump or call to count: handling an error must count as a step and see a stop request.
TEST(Vm, ALoopMadeOfHandledErrorsCanBeStopped) {
    HostTable table;
    table.finish();
    VmLimits limits;
    limits.maxLoopSteps = 5000;
    Vm vm(table, importCatalogFor(table), limits);
    EXPECT_EQ(runHandBuilt(vm, handBuilt({op(Op::TryExcept), -2,                 // 0: handler is this instruction
                                          op(Op::PushInt), 1, op(Op::PushInt), 0,  // 2
                                          op(Op::DivI), static_cast<int32_t>(Width::S32), op(Op::Pop),  // 6: divide by zero
                                          op(Op::PopTry), op(Op::Ret)})),
              "Script stopped");
}

}  // namespace
}  // namespace pelo::lang::test
