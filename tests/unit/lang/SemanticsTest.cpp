// Language semantics that scripts written for the reference engine rely on.
#include "ScriptHarness.h"

namespace pelo::lang::test {
namespace {

std::string runOut(const std::string& src, CompileOptions opt = {}) {
    ScriptHarness h;
    std::string err = h.run(src, opt);
    return err.empty() ? h.joined() : "ERROR " + err;
}

TEST(IntegerSemantics, ArithmeticTakesTheLeftOperandsType) {
    EXPECT_EQ(runOut("var b: Byte; i: Integer; begin b := 200; i := b * 2; WriteLn(IntToStr(i)); "
                     "i := 2 * b; WriteLn(IntToStr(i)); end."),
              "144|400");
    EXPECT_EQ(runOut("var w: Word; s: SmallInt; begin w := 65535; w := w + 1; s := 32767; Inc(s); "
                     "WriteLn(IntToStr(w) + ' ' + IntToStr(s)); end."),
              "0 -32768");
}

TEST(IntegerSemantics, IntegerWrapsAt32BitsAndInt64DoesNot) {
    EXPECT_EQ(runOut("var i: Integer; j: Int64; begin i := 2147483647; i := i + 1; j := 2147483647; j := j + 1; "
                     "WriteLn(IntToStr(i) + ' ' + IntToStr(j)); end."),
              "-2147483648 2147483648");
    // the lowest Int64 negated is itself, for a constant as for a variable (found by the compiler fuzzer: the
    // constant's negation overflowed while compiling)
    EXPECT_EQ(runOut("var j, k: Int64; begin j := -(4294967294 shl 62); k := 4294967294 shl 62; k := -k; "
                     "WriteLn(IntToStr(j) + ' ' + IntToStr(k)); end."),
              "-9223372036854775808 -9223372036854775808");
}

TEST(IntegerSemantics, SlashBetweenIntegersIsIntegerDivision) {
    EXPECT_EQ(runOut("var i: Integer; begin i := 7; WriteLn(IntToStr(i / 2) + ' ' + IntToStr(10 / 4) + ' ' + "
                     "IntToStr(-7 div 2) + ' ' + IntToStr(-7 mod 2)); end."),
              "3 2 -3 -1");
}

TEST(IntegerSemantics, ShiftsFollowThe32BitMachineRules) {
    // unary minus binds looser than shr; shift counts are taken modulo 32
    EXPECT_EQ(runOut("var a, b, c: Integer; n: Integer; begin n := 32; a := -1 shr 28; b := (-1) shr 28; "
                     "c := 1 shl n; WriteLn(IntToStr(a) + ' ' + IntToStr(b) + ' ' + IntToStr(c)); end."),
              "0 15 1");
    EXPECT_EQ(runOut("const A = -1 shr 28; B = 1 shl 4; begin WriteLn(IntToStr(A) + ' ' + IntToStr(B)); end."), "0 16");
}

TEST(IntegerSemantics, DivisionByZeroIsARunTimeError) {
    EXPECT_EQ(runOut("var i, z: Integer; begin z := 0; i := 5 div z; end."), "ERROR divide by Zero");
    EXPECT_EQ(runOut("var i, z: Integer; begin z := 0; i := 5 mod z; end."), "ERROR divide by Zero");
    EXPECT_EQ(runOut("var d: Double; z: Double; begin z := 0; d := 1 / z; end."), "ERROR divide by Zero");
}

TEST(Statements, ForLoopLeavesTheVariableOnePastTheEnd) {
    EXPECT_EQ(runOut("var i, n: Integer; begin for i := 1 to 4 do n := n + i; WriteLn(IntToStr(i) + ' ' + IntToStr(n)); "
                     "for i := 3 downto 1 do ; WriteLn(IntToStr(i)); end."),
              "5 10|0");
}

TEST(Statements, ForLimitIsEvaluatedOnEveryPass) {
    EXPECT_EQ(runOut("var i, lim, n: Integer; begin lim := 5; for i := 1 to lim do begin lim := 3; n := n + 1; end; "
                     "WriteLn(IntToStr(n)); end."),
              "3");
}

TEST(Statements, CaseOnIntegersRangesAndStrings) {
    EXPECT_EQ(runOut("var i: Integer; s, r: string; begin for i := 0 to 6 do case i of 0: r := r + 'z'; 1, 2: r := r + 'l'; "
                     "3..5: r := r + 'r'; else r := r + 'e'; end; s := 'SELL'; case s of 'sell': r := r + '-low'; "
                     "'SELL': r := r + '-up'; end; WriteLn(r); end."),
              "zllrrre-up");
}

TEST(Statements, BreakAndContinueInsideTryStillLeaveTheLoop) {
    // the reference engine runs the rest of the loop body here; the sound behaviour is Delphi's
    EXPECT_EQ(runOut("var i: Integer; s: string; begin for i := 1 to 5 do begin try if i = 2 then Continue; "
                     "if i = 4 then Break; s := s + IntToStr(i); finally s := s + 'f'; end; s := s + ';'; end; "
                     "WriteLn(s); end."),
              "1f;f3f;f");
}

TEST(Statements, ExitRunsFinallyAndKeepsResult) {
    EXPECT_EQ(runOut("function F: string; begin Result := 'a'; try Exit; finally WriteLn('fin'); end; Result := 'b'; end; "
                     "begin WriteLn(F); end."),
              "fin|a");
}

TEST(Evaluation, AndOrEvaluateBothSidesUnlessShortCircuitIsOn) {
    const char* src =
        "var s: string; function T(x: string): Boolean; begin WriteLn(x); Result := True; end; "
        "begin if (Length(s) > 0) and T('right') then WriteLn('both'); end.";
    EXPECT_EQ(runOut(src), "right");
    CompileOptions sc;
    sc.shortCircuit = true;
    EXPECT_EQ(runOut(src, sc), "");
}

TEST(Evaluation, StringComparisonIsByteWiseAndCaseSensitive) {
    EXPECT_EQ(runOut("var a, b: string; begin a := 'abc'; b := 'ABC'; if a <> b then WriteLn('ne'); if b < a then "
                     "WriteLn('upper first'); if a + 'x' > a then WriteLn('longer'); end."),
              "ne|upper first|longer");
}

TEST(Evaluation, IdentifiersAndKeywordsIgnoreCase) {
    EXPECT_EQ(runOut("VAR Counter: Integer; BEGIN counter := 1; COUNTER := Counter + 1; If CoUnTeR = 2 ThEn writeln('ok'); END."),
              "ok");
}

TEST(Strings, CopiesAreIndependentAfterAWrite) {
    EXPECT_EQ(runOut("var a, b: string; begin a := 'hello'; b := a; b[1] := 'J'; WriteLn(a + ' ' + b); end."),
              "hello Jello");
    EXPECT_EQ(runOut("procedure P(s: string); begin s[1] := 'X'; WriteLn(s); end; var a: string; "
                     "begin a := 'abc'; P(a); WriteLn(a); end."),
              "Xbc|abc");
    EXPECT_EQ(runOut("procedure P(var s: string); begin s[1] := 'X'; end; var a, b: string; "
                     "begin a := 'abc'; b := a; P(a); WriteLn(a + b); end."),
              "Xbcabc");
}

TEST(Strings, IndexOutOfRangeIsAnError) {
    EXPECT_EQ(runOut("var s: string; c: Char; begin s := 'abc'; c := s[4]; end."), "ERROR Out of string range");
    EXPECT_EQ(runOut("var s: string; begin s := 'abc'; s[0] := 'x'; end."), "ERROR Out of string range");
    // Inside try..except the error is caught (the reference engine cannot catch it).
    EXPECT_EQ(runOut("var s: string; begin s := 'abc'; try s := s + s[10]; except WriteLn('caught ' + "
                     "ExceptionToString(ExceptionType, ExceptionParam)); end; end."),
              "caught Out of string range");
}

TEST(Records, AssignmentCopiesAndVarParametersShare) {
    EXPECT_EQ(runOut("type TP = record X, Y: Integer; Tag: string; end; var a, b: TP; "
                     "procedure Bump(var p: TP); begin p.X := p.X + 1; end; "
                     "procedure Keep(p: TP); begin p.X := 100; end; "
                     "begin a.X := 1; a.Tag := 'a'; b := a; b.X := 2; b.Tag := 'b'; Bump(a); Keep(a); "
                     "WriteLn(IntToStr(a.X) + a.Tag + IntToStr(b.X) + b.Tag); end."),
              "2a2b");
}

TEST(Arrays, StaticAndDynamicArrays) {
    EXPECT_EQ(runOut("var f: array[1..3] of Integer; d: array of string; i: Integer; begin "
                     "for i := 1 to 3 do f[i] := i * 10; SetArrayLength(d, 2); d[0] := 'a'; d[1] := 'b'; SetLength(d, 3); "
                     "d[2] := 'c'; WriteLn(IntToStr(f[1] + f[2] + f[3]) + ' ' + IntToStr(Low(f)) + IntToStr(High(f)) + ' ' + "
                     "IntToStr(GetArrayLength(d)) + d[0] + d[1] + d[2]); end."),
              "60 13 3abc");
    EXPECT_EQ(runOut("var f: array[1..3] of Integer; i: Integer; begin i := 4; f[i] := 1; end."), "ERROR Out Of Range");
    EXPECT_EQ(runOut("var d: array of Integer; begin d[0] := 1; end."), "ERROR Out Of Range");
}

TEST(Sets, MembershipAndOperators) {
    EXPECT_EQ(runOut("type TC = (cRed, cGreen, cBlue); TCs = set of TC; var s, t: TCs; begin s := [cRed, cBlue]; "
                     "t := [cGreen]; if cRed in s then WriteLn('in'); if not (cGreen in s) then WriteLn('out'); "
                     "Include(s, cGreen); s := s - t; if s = [cRed, cBlue] then WriteLn('eq'); end."),
              "in|out|eq");
    // a constant set outside any routine (found by the compiler fuzzer: the empty one crashed the compiler)
    EXPECT_EQ(runOut("type TS = set of Byte; const E = []; var s: TS; begin s := [3]; s := E; "
                     "if not (3 in s) then WriteLn('out'); end."),
              "out");
}

TEST(Exceptions, HandlersSeeTheErrorAndFinallyAlwaysRuns) {
    EXPECT_EQ(runOut("var i, z: Integer; begin try try i := 1 div z; finally WriteLn('finally'); end; "
                     "except WriteLn(ExceptionToString(ExceptionType, ExceptionParam)); end; WriteLn('after'); end."),
              "finally|divide by Zero|after");
    EXPECT_EQ(runOut("begin try RaiseException(erCustomError, 'mine'); except WriteLn(ExceptionParam); end; end."), "mine");
    EXPECT_EQ(runOut("begin RaiseException(erCustomError, 'custom text'); end."), "ERROR custom text");
    EXPECT_EQ(runOut("begin try RaiseException(erCustomError, 'again'); except RaiseLastException; end; end."),
              "ERROR again");
}

TEST(Exceptions, HostErrorsCarryTheirMessage) {
    EXPECT_EQ(runOut("var L: TStringList; s: string; begin L := TStringList.Create; s := L[10]; end."),
              "ERROR Exception: List index (10) out of bounds");
}

TEST(Objects, NilObjectsRaiseTheEnginesErrors) {
    EXPECT_EQ(runOut("var L: TStringList; begin L.Add('x'); end."), "ERROR Null Pointer Exception");
    EXPECT_EQ(runOut("var L: TStringList; n: Integer; begin n := L.Count; end."), "ERROR Could not call proc");
    // Using an object after Free is an error, not a crash.
    EXPECT_EQ(runOut("var L: TStringList; begin L := TStringList.Create; L.Free; L.Add('x'); end."),
              "ERROR Null Pointer Exception");
}

TEST(Objects, StringListThroughPropertiesAndDefaultIndex) {
    EXPECT_EQ(runOut("var L: TStringList; begin L := TStringList.Create; L.Add('b'); L.Add('a'); L.Sorted := True; "
                     "L.Values['k'] := 'v'; WriteLn(L[0] + L.Strings[1] + IntToStr(L.Count) + L.Values['k']); L.Free; end."),
              "ab3v");
}

TEST(Variants, AssignAndConvertBack) {
    EXPECT_EQ(runOut("var v: Variant; i: Integer; s: string; begin v := 7; i := v; v := 'x'; s := v; "
                     "WriteLn(IntToStr(i) + s); end."),
              "7x");
}

TEST(Variants, AFloatNoIntegerOrCurrencyHoldsIsAnInvalidOperationNotAWrappedValue) {
    for (const char* target : {"i", "c"}) {
        for (const char* value : {"1e300", "-1e19", "9.3e18"}) {
            SCOPED_TRACE(std::string(target) + " := " + value);
            EXPECT_EQ(runOut(std::string("var v: Variant; i: Int64; c: Currency; begin v := ") + value + "; try " + target +
                             " := v; WriteLn('not reached'); except WriteLn(ExceptionParam); end; end."),
                      "Invalid floating point operation");
        }
    }
    EXPECT_EQ(runOut("var v: Variant; i: Int64; c: Currency; begin v := 2.5; i := v; v := 3.5; c := v; "
                     "WriteLn(IntToStr(i) + ' ' + IntToStr(Round(c * 2))); end."),
              "2 7");
}

}  // namespace
}  // namespace pelo::lang::test

namespace pelo::lang::test {
namespace {

TEST(VarParameters, ElementsOfContainersTheCalleeResizesAreSafe) {
    // The callee empties the array its var argument lives in: an error, never a dangling write.
    EXPECT_EQ(runOut("var a: array of Integer; procedure P(var x: Integer); begin SetLength(a, 0); x := 5; end; "
                     "begin SetLength(a, 1); P(a[0]); end."),
              "ERROR Out Of Range");
    EXPECT_EQ(runOut("type TR = record X: Integer; end; var r, o: TR; procedure P(var x: Integer); begin r := o; x := 7; end; "
                     "begin r.X := 1; P(r.X); WriteLn(IntToStr(r.X)); end."),
              "7");
    EXPECT_EQ(runOut("var a: array of string; procedure P(var s: string); begin s := s + '!'; end; "
                     "begin SetLength(a, 2); a[1] := 'hi'; P(a[1]); WriteLn(a[1]); end."),
              "hi!");
}

TEST(IntegerSemantics, AnIndexFarOutsideAStaticArraysBoundsIsOutOfRangeNotAnOverflow) {
    // Int64 indexes whose distance from the low bound does not fit 64 bits: reading and writing both refuse them.
    for (const char* access : {"a[j] := 1", "i := a[j]"}) {
        for (const char* value : {"-9223372036854775807 - 1", "9223372036854775807"}) {
            SCOPED_TRACE(std::string(access) + " with j = " + value);
            ScriptHarness h;
            const std::string error = h.run(std::string("var a: array[-5..3] of Integer; j: Int64; i: Integer; begin j := ") +
                                            value + "; a[-5] := 7; " + access + "; WriteLn('not reached'); end.");
            EXPECT_EQ(error, "Out Of Range");
            EXPECT_TRUE(h.out.empty());
        }
    }
}

}  // namespace
}  // namespace pelo::lang::test
