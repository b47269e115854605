// Compiler messages: texts and positions as the reference engine reports them.
#include "ScriptHarness.h"
#include "lang/ForeignDeclaration.h"

namespace pelo::lang::test {
namespace {

std::string err(const std::string& src) {
    ScriptHarness h;
    return h.compileError(src);
}

TEST(CompilerMessages, UnknownIdentifierPointsAtTheIdentifier) {
    EXPECT_EQ(err("var s: string;\nbegin\n  s := Undeclared + 'x';\nend."), "[Error] (3:8): Unknown identifier 'Undeclared'");
    EXPECT_EQ(err("uses Classes;\nbegin end."), "[Error] (1:6): Unknown identifier 'CLASSES'");
}

TEST(CompilerMessages, TypeMismatchPointsAfterTheOperand) {
    EXPECT_EQ(err("var s: string; n: Integer;\nbegin\n  s := 'n=' + n;\nend."), "[Error] (3:16): Type mismatch");
    EXPECT_EQ(err("var n: Integer;\nbegin\n  n := 'five';\nend."), "[Error] (3:14): Type mismatch");
    EXPECT_EQ(err("begin\n  if 'abc' < 'abd' then WriteLn('less');\nend."), "[Error] (2:20): Type mismatch");
    EXPECT_EQ(err("var i: Integer;\nbegin\n  i := Ord(True);\nend."), "[Error] (3:17): Type mismatch");
    EXPECT_EQ(err("var c: Char;\nbegin\n  c := Succ(c);\nend."), "[Error] (3:14): Type mismatch");
    EXPECT_EQ(err("var a, b: Boolean;\nbegin\n  if b < a then WriteLn('x');\nend."), "[Error] (3:12): Type mismatch");
    EXPECT_EQ(err("type T = (a1, a2);\nvar l: T;\nbegin\n  if l > a1 then WriteLn('x');\nend."),
              "[Error] (4:13): Type mismatch");
    // Case labels: a string is no Char label, neither alone nor as a range's bound (found by the fuzzer: the
    // bound used to be compiled as a number and its text leaked).
    EXPECT_EQ(err("var c: Char;\nbegin\n  case c of\n    'XYZ': WriteLn('x');\n  end;\nend."),
              "[Error] (4:10): Type mismatch");
    EXPECT_EQ(err("var c: Char;\nbegin\n  case c of\n    'A'..'XYZ': WriteLn('x');\n  end;\nend."),
              "[Error] (4:15): Type mismatch");
    EXPECT_EQ(err("var i: Integer;\nbegin\n  case i of\n    1..'9': WriteLn('x');\n  end;\nend."),
              "[Error] (4:11): Type mismatch");
}

TEST(CompilerMessages, ParameterCountIsCheckedAfterTheWholeCall) {
    EXPECT_EQ(err("function Add(a, b: Integer): Integer; begin Result := a + b; end;\n"
                  "begin\n  WriteLn(IntToStr(Add(1, 2, 3)));\nend."),
              "[Error] (3:32): Invalid number of parameters");
    EXPECT_EQ(err("var i: Integer;\nbegin\n  Dec(i, 5);\nend."), "[Error] (3:12): Invalid number of parameters");
}

// A mismatched argument is reported once the statement's expression is complete, wherever the call
// stands inside it; errors found later in the same expression still come first.
TEST(CompilerMessages, ArgumentMismatchPointsAfterTheStatementsExpression) {
    const std::string decl = "var i: Integer; s: string; a: array of Integer;\n"
                             "function F(x: Integer): Integer; begin Result := x; end;\n"
                             "procedure V(var x: Integer); begin end;\nbegin\n";
    auto at = [&](const std::string& stmt) { return err(decl + stmt + "\nend."); };
    EXPECT_EQ(at("  WriteLn('a' + IntToStr(Abs(-5)) + 'b'   )   ;"), "[Error] (5:47): Type mismatch");
    EXPECT_EQ(at("  i := Round(1.5) + F(1.5) + Trunc(2.5)  ;"), "[Error] (5:42): Type mismatch");
    EXPECT_EQ(at("  a[F(1.5)] := 3   ;"), "[Error] (5:20): Type mismatch");
    EXPECT_EQ(at("  V(s)   ;"), "[Error] (5:10): Type mismatch");
    EXPECT_EQ(at("  SetLength(a, 1.5)  ;"), "[Error] (5:22): Type mismatch");
    EXPECT_EQ(at("  if True then i := F(1.5) else i := 2;"), "[Error] (5:28): Type mismatch");
    // conditions: at THEN / DO; for and case: at the token after DO / OF
    EXPECT_EQ(at("  if F(1.5) = 1 then WriteLn('x');"), "[Error] (5:17): Type mismatch");
    EXPECT_EQ(at("  while F(1.5) = 1 do WriteLn('x');"), "[Error] (5:20): Type mismatch");
    EXPECT_EQ(at("  for i := F(1.5) to 3 do WriteLn('x');"), "[Error] (5:27): Type mismatch");
    EXPECT_EQ(at("  case F(1.5) of 1: WriteLn('x'); end;"), "[Error] (5:18): Type mismatch");
    EXPECT_EQ(at("  repeat WriteLn('x') until F(1.5) = 1   ;"), "[Error] (5:42): Type mismatch");
    // later errors of the same expression win
    EXPECT_EQ(at("  i := F(1.5) + F(  'a' = 1 )   ;"), "[Error] (5:29): Type mismatch");
    EXPECT_EQ(at("  i := F(1.5) + Undefined  ;"), "[Error] (5:17): Unknown identifier 'Undefined'");
    EXPECT_EQ(at("  i := F(1.5, 2)   ;"), "[Error] (5:20): Invalid number of parameters");
}

TEST(CompilerMessages, SyntaxErrors) {
    EXPECT_EQ(err("begin\n  WriteLn('x')\nend"), "[Error] (3:4): period ('.') expected");
    EXPECT_EQ(err("var x: Integer\nbegin end."), "[Error] (2:1): Semicolon (';') expected");
    EXPECT_EQ(err("begin\n  if True WriteLn('x');\nend."), "[Error] (2:11): 'THEN' expected");
    EXPECT_EQ(err("var s: string;\nbegin\n  s := 'open;\nend."), "[Error] (3:8): String error");
    EXPECT_EQ(err("begin { never closed\nend."), "[Error] (1:7): Comment error");
    EXPECT_EQ(err("procedure P; forward;\nbegin end."), "[Error] (1:1): Unsatisfied Forward P");
    EXPECT_EQ(err("var a: Integer; a: string;\nbegin end."), "[Error] (1:17): Duplicate identifier 'a'");
    EXPECT_EQ(err("begin\n  Break;\nend."), "[Error] (2:3): Not in a loop");
    EXPECT_EQ(err("var i: Integer;\nbegin\n  i := 1 div 0;\nend."), "[Error] (3:15): Divide by Zero");
}

TEST(CompilerMessages, ExternalDeclarationsAreReadAsTheyComeAndCheckedAfterTheirSemicolon) {
    auto ext = [](const std::string& clause) { return err("procedure P; external " + clause + ";\nbegin end."); };
    EXPECT_EQ(ext("'P@lib.dll stdcall'"), "");
    EXPECT_EQ(ext("'P@lib.dll'"), "");
    EXPECT_EQ(ext("'P@\"my lib.dll\" cdecl delayload loadwithalteredsearchpath'"), "");
    EXPECT_EQ(ext("12"), "[Error] (1:23): String expected");
    EXPECT_EQ(ext("'P@lib.dll' P"), "[Error] (1:35): Semicolon (';') expected");
    EXPECT_EQ(ext("'lib.dll'"), "[Error] (2:1): Invalid External");
    EXPECT_EQ(ext("'P@lib.dll fastcall'"), "[Error] (2:1): Invalid Calling Convention");
    EXPECT_EQ(ext("'P@lib.dll stdcall preload'"), "[Error] (2:1): Invalid External");
    // A routine declared forward gets its body later; `external` is no body.
    EXPECT_EQ(err("procedure P; forward;\nprocedure P; external 'P@lib.dll';\nbegin end."),
              "[Error] (2:14): 'BEGIN' expected");
}

TEST(ExternalTargets, NameLibraryConventionAndOptionsAreSplitAsTheEngineDoes) {
    struct Case {
        const char* text;
        const char* entry;
        const char* library;
        CallConvention convention;
        bool delayLoad, altered;
    };
    const Case cases[] = {
        {"GetTickCount@kernel32.dll stdcall", "GetTickCount", "kernel32.dll", CallConvention::Stdcall, false, false},
        {"f@lib.dll", "f", "lib.dll", CallConvention::Register, false, false},
        {"f@\"lib.dll\"", "f", "lib.dll", CallConvention::Register, false, false},
        {"_Sum@8@calc.dll CDECL", "_Sum@8", "calc.dll", CallConvention::Cdecl, false, false},
        {"f@\"C:\\My Tools\\t.dll\" pascal delayload", "f", "C:\\My Tools\\t.dll", CallConvention::Pascal, true, false},
        {"f@t.dll register LoadWithAlteredSearchPath delayload ", "f", "t.dll", CallConvention::Register, true, true},
    };
    for (const Case& c : cases) {
        const ForeignTargetText r = parseForeignTarget(c.text);
        ASSERT_TRUE(r.ok) << c.text << ": " << r.error;
        EXPECT_EQ(r.target.entry, c.entry) << c.text;
        EXPECT_EQ(r.target.library, c.library) << c.text;
        EXPECT_EQ(r.target.convention, c.convention) << c.text;
        EXPECT_EQ(r.target.delayLoad, c.delayLoad) << c.text;
        EXPECT_EQ(r.target.alteredSearchPath, c.altered) << c.text;
    }
    // a quoted name with a space needs a convention; a second space makes an empty option word
    EXPECT_EQ(parseForeignTarget("f@\"my lib.dll\"").error, "Invalid Calling Convention");
    EXPECT_EQ(parseForeignTarget("f@\"my lib.dll\"  cdecl").error, "Invalid External");
    EXPECT_EQ(parseForeignTarget("f@t.dll cdecl  delayload").error, "Invalid External");
    EXPECT_EQ(parseForeignTarget("").error, "Invalid External");
}

// END or ELSE where a statement list ends otherwise: the compiler went round on them for ever (found by the fuzzer).
TEST(CompilerMessages, AStrayEndOrElseInAStatementListNamesWhatIsMissing) {
    EXPECT_EQ(err("var i: Integer;\nbegin\n  try i := 1; end;\nend."), "[Error] (3:15): 'EXCEPT' expected");
    EXPECT_EQ(err("var i: Integer;\nbegin\n  repeat i := 1 end;\nend."), "[Error] (3:17): 'UNTIL' expected");
    EXPECT_EQ(err("var i: Integer;\nbegin\n  i := 1 else i := 2;\nend."), "[Error] (3:10): 'END' expected");
    EXPECT_EQ(err("var i: Integer;\nbegin\n  try i := 1; finally else end;\nend."), "[Error] (3:23): 'END' expected");
}

TEST(CompilerMessages, AScriptCutOffBeforeItsEndSaysSo) {
    EXPECT_EQ(err("begin WriteLn('x');"), "[Error] (1:20): Unexpected end of file");
    EXPECT_EQ(err("var i: Integer; begin repeat i := 1;"), "[Error] (1:37): Unexpected end of file");
    EXPECT_EQ(err("var i: Integer; begin try i := 1; except"), "[Error] (1:41): Unexpected end of file");
    EXPECT_EQ(err("var i: Integer; begin if i = 1 then"), "[Error] (1:36): Unexpected end of file");
    EXPECT_EQ(err("procedure P; begin"), "[Error] (1:19): Unexpected end of file");
    // A case list is not a statement list: there the reference says no more than this.
    EXPECT_EQ(err("var i: Integer; begin case i of 1: i := 2;"), "[Error] (1:43): Syntax error");
}

TEST(CompilerMessages, ConstructsTheDialectRejects) {
    EXPECT_NE(err("var c: Char;\nbegin\n  for c := 'a' to 'e' do WriteLn(c);\nend."), "");
    EXPECT_NE(err("type TS = set of Char; var s: TS;\nbegin\n  s := ['a'..'z'];\nend."), "");
    EXPECT_EQ(err("function F: Integer;\nbegin\n  Exit(3);\nend;\nbegin end."),
              "[Error] (3:10): Exit takes no value; assign Result and then call Exit");
    EXPECT_EQ(err("begin\n  raise Exception.Create('boom');\nend."), "[Error] (2:3): Unknown identifier 'raise'");
    // bounds whose distance does not fit Int64 are too many elements, not an overflow
    EXPECT_EQ(err("var a: array[-9223372036854775807 - 1..9223372036854775807] of Byte;\nbegin end."),
              "[Error] (1:8): Invalid Type");
}

TEST(CompilerMessages, AbsurdNestingFailsInsteadOfExhaustingTheStack) {
    std::string deep = "var i: Integer;\nbegin\n  i := " + std::string(100000, '(') + "1;\nend.";
    EXPECT_NE(err(deep).find("Syntax error"), std::string::npos);
    std::string blocks;
    for (int k = 0; k < 50000; ++k) blocks += "begin ";
    EXPECT_NE(err(blocks).find("Syntax error"), std::string::npos);
    EXPECT_EQ(err("var i: Integer;\nbegin\n  i := " + std::string(100, '(') + "1" + std::string(100, ')') + ";\nend."), "");
}

TEST(CompilerMessages, ValidProgramsCompile) {
    EXPECT_EQ(err("program Demo;\nconst N = 3;\ntype TR = record A: Integer; end;\nvar r: TR;\n"
                  "procedure P(var x: TR; const s: string); begin x.A := Length(s); end;\n"
                  "begin P(r, 'abc') WriteLn(IntToStr(r.A)) end."),
              "");
}

TEST(CompilerOutput, SemicolonsBetweenStatementsAreOptional) {
    ScriptHarness h;
    EXPECT_EQ(h.run("begin WriteLn('a') WriteLn('b') end."), "");
    EXPECT_EQ(h.joined(), "a|b");
}

TEST(CompilerOutput, ConstantExpressionsAreFolded) {
    ScriptHarness h;
    EXPECT_EQ(h.run("const Base = 3 * 4 + 1; Neg = -Base; Greeting = 'abc' + 'd'; Ratio = 1 / 3; Letter = #65;\n"
                    "begin WriteLn(IntToStr(Base) + IntToStr(Neg) + Greeting + IntToStr(Ratio) + Letter); end."),
              "");
    EXPECT_EQ(h.joined(), "13-13abcd0A");
}

TEST(CompilerOutput, AnyStringRoutinesReturnTheArgumentsType) {
    ScriptHarness h;
    EXPECT_EQ(h.run("var s: string; begin s := '7'; WriteLn(PadZ(s, 3) + ' ' + PadZ('7', 3) + ' [' + PadL('x', 3) + ']'); end."),
              "");
    EXPECT_EQ(h.joined(), "007 0 [ ]");
}

}  // namespace
}  // namespace pelo::lang::test
