// References to array elements and record fields stay valid while the storage they point into is
// freed, shrunk or grown through the variable that held it (crafted code can do all of that between
// taking the reference and writing through it).
#include "HandBuiltModule.h"

namespace pelo::lang::test {
namespace {

// Runs a main block whose slot 0 is a dynamic array of integers; returns the run-time error or "".
std::string runMain(ScriptHarness& h, Module m) {
    std::string v = loadVerdict(h, m);
    if (!v.empty()) return "load: " + v;
    try {
        h.vm->runMain();
    } catch (const ScriptError& e) {
        return e.what();
    }
    return "";
}

TEST(ElementRef, WriteAfterTheArrayIsFreedOrResized) {
    // a[0] taken by reference, then SetLength(a, n), then 7 written through the reference.
    for (int32_t n : {0, 1000}) {
        ScriptHarness h;
        Module m = handBuiltModule();
        setMain(m, {kIntArray},
                {op(Op::AddrL), 0, op(Op::PushInt), 1, op(Op::SetLen), kIntArray,  //
                 op(Op::PushInt), 7,                                                //
                 op(Op::AddrL), 0, op(Op::PushInt), 0, op(Op::AddrIndexD),          //
                 op(Op::AddrL), 0, op(Op::PushInt), n, op(Op::SetLen), kIntArray,   //
                 op(Op::StoreRef), op(Op::Ret)});
        EXPECT_EQ(runMain(h, m), "") << "new length " << n;
    }
}

TEST(ElementRef, WriteAfterTheArrayVariableIsOverwritten) {
    ScriptHarness h;
    Module m = handBuiltModule();
    setMain(m, {kIntArray},
            {op(Op::AddrL), 0, op(Op::PushInt), 3, op(Op::SetLen), kIntArray,  //
             op(Op::PushInt), 7,                                                //
             op(Op::AddrL), 0, op(Op::PushInt), 2, op(Op::AddrIndexD),          //
             op(Op::PushDefault), kIntArray, op(Op::StoreL), 0,                 // a := nil
             op(Op::StoreRef), op(Op::Ret)});
    EXPECT_EQ(runMain(h, m), "");
}

TEST(ElementRef, WriteAfterTheRecordVariableIsOverwritten) {
    ScriptHarness h;
    Module m = handBuiltModule();
    setMain(m, {kIntRecord},
            {op(Op::PushInt), 7,                                       //
             op(Op::AddrL), 0, op(Op::AddrField), 1,                   //
             op(Op::PushDefault), kIntRecord, op(Op::StoreL), 0,       // r := a fresh record
             op(Op::StoreRef), op(Op::Ret)});
    EXPECT_EQ(runMain(h, m), "");
}

TEST(ElementRef, StringElementChangedThroughAHostVarParameter) {
    // Delete(a[0], 1, 2) where a[0] is reached by reference and a is cleared before the call.
    ScriptHarness h;
    Module m = handBuiltModule();
    int32_t del = addImport(m, h, "DELETE");
    setMain(m, {kStrArray},
            {op(Op::AddrL), 0, op(Op::PushInt), 1, op(Op::SetLen), kStrArray,   //
             op(Op::PushConst), 1, op(Op::AddrL), 0, op(Op::PushInt), 0,       //
             op(Op::AddrIndexD), op(Op::StoreRef),                             // a[0] := 'some text'
             op(Op::AddrL), 0, op(Op::PushInt), 0, op(Op::AddrIndexD),         //
             op(Op::PushDefault), kStrArray, op(Op::StoreL), 0,                // a := nil
             op(Op::PushInt), 1, op(Op::PushInt), 2, op(Op::CallHost), del,    //
             op(Op::Ret)});
    EXPECT_EQ(runMain(h, m), "");
}

TEST(ElementRef, ElementsWrittenThroughReferencesLandInTheArray) {
    ScriptHarness h;
    EXPECT_EQ(h.run("type TR = record X, Y: Integer; end;\n"
                    "var a: array of TR; s: array of string; i: Integer;\n"
                    "procedure Bump(var n: Integer); begin n := n + 1; end;\n"
                    "begin SetLength(a, 3); SetLength(s, 2);\n"
                    "  for i := 0 to 2 do begin a[i].Y := i * 10; Bump(a[i].Y); end;\n"
                    "  s[1] := 'abcdef'; Delete(s[1], 2, 3); Insert('XY', s[1], 1);\n"
                    "  WriteLn(IntToStr(a[0].Y + a[1].Y + a[2].Y) + s[1]);\n"
                    "end."),
              "");
    EXPECT_EQ(h.joined(), "33XYaef");
}

}  // namespace
}  // namespace pelo::lang::test
