// Statements, routines and types beyond the basics, each run through compile, load and VM.
#include "ScriptHarness.h"

namespace pelo::lang::test {
namespace {

std::string runOut(const std::string& src) {
    ScriptHarness h;
    std::string err = h.run(src);
    return err.empty() ? h.joined() : h.joined() + (h.out.empty() ? "" : "|") + "ERROR " + err;
}

TEST(Routines, VarConstAndOutParametersAndForwardDeclarations) {
    EXPECT_EQ(runOut("procedure Later(k: Integer); forward;\n"
                     "procedure Split(const src: string; out left, right: string);\n"
                     "var p: Integer; begin p := Pos('=', src); left := Copy(src, 1, p - 1); right := Copy(src, p + 1, 99); end;\n"
                     "procedure Later(k: Integer); begin WriteLn('later ' + IntToStr(k)); end;\n"
                     "var a, b: string; begin Split('key=value', a, b); WriteLn(a + '|' + b); Later(7); end."),
              "key|value|later 7");
    EXPECT_NE(runOut("procedure P(k: Integer); forward;\nprocedure P(k: string); begin end;\nbegin end.").find("Forward Parameter Mismatch"),
              std::string::npos);
}

TEST(Routines, RecursionAndLocalsStartEmpty) {
    EXPECT_EQ(runOut("function Fact(n: Int64): Int64; begin if n <= 1 then Result := 1 else Result := n * Fact(n - 1); end;\n"
                     "function Fresh: string; var s: string; i: Integer; b: Boolean; begin "
                     "Result := '[' + s + ']' + IntToStr(i); if not b then Result := Result + 'f'; s := 'dirty'; i := 9; end;\n"
                     "begin WriteLn(IntToStr(Fact(20))); WriteLn(Fresh); WriteLn(Fresh); end."),
              "2432902008176640000|[]0f|[]0f");
}

TEST(Routines, FunctionsWithoutParenthesesAndIgnoredResults) {
    EXPECT_EQ(runOut("var n: Integer; function Next: Integer; begin n := n + 1; Result := n; end;\n"
                     "begin Next; Next(); WriteLn(IntToStr(Next * 10)); end."),
              "30");
}

TEST(Loops, WhileRepeatAndNestedBreak) {
    EXPECT_EQ(runOut("var n, j, i, k: Integer; s: string; begin n := 100; while n > 1 do begin n := n div 3; j := j + 1; end;\n"
                     "repeat n := n + 5 until n > 12;\n"
                     "for i := 1 to 3 do for k := 1 to 3 do begin if k = 2 then Break; s := s + IntToStr(i) + IntToStr(k); end;\n"
                     "WriteLn(IntToStr(n) + ' ' + IntToStr(j) + ' ' + s); end."),
              "16 4 112131");
}

TEST(Loops, EnumerationCounters) {
    EXPECT_EQ(runOut("type TDay = (dMon, dTue, dWed); var d: TDay; n: Integer; begin for d := dMon to dWed do n := n + Ord(d) + 1;\n"
                     "d := dTue; Inc(d); if d = dWed then WriteLn('inc'); WriteLn(IntToStr(n)); end."),
              "inc|6");
}

TEST(Case, CharSelectorsAndElseBranches) {
    EXPECT_EQ(runOut("var s, r: string; i: Integer; begin s := 'a1-'; for i := 1 to Length(s) do case s[i] of\n"
                     "'a'..'z': r := r + 'L'; '0'..'9': r := r + 'D'; else r := r + '?'; end; WriteLn(r); end."),
              "LD?");
}

TEST(With, RecordPathsAndObjects) {
    EXPECT_EQ(runOut("type TP = record X, Y: Integer; end; TQ = record Name: string; Pos: TP; end;\n"
                     "var q: TQ; L: TStringList; begin with q do begin Name := 'n'; Pos.X := 2; end; with q.Pos do Y := X * 3;\n"
                     "L := TStringList.Create; with L do begin Add('a'); Add('b'); end;\n"
                     "WriteLn(q.Name + IntToStr(q.Pos.X) + IntToStr(q.Pos.Y) + IntToStr(L.Count)); L.Free; end."),
              "n262");
}

TEST(Arrays, MultiDimensionalAndArraysOfRecords) {
    EXPECT_EQ(runOut("type TR = record S: string; end; var m: array[1..2, 0..1] of Integer; r: array of TR; i, j: Integer;\n"
                     "begin for i := 1 to 2 do for j := 0 to 1 do m[i, j] := i * 10 + j; SetLength(r, 2); r[1].S := 'x';\n"
                     "WriteLn(IntToStr(m[2, 1] + m[1][0]) + r[1].S + IntToStr(Length(r[0].S))); end."),
              "31x0");
}

TEST(Arrays, DynamicArraysAreSharedStaticOnesCopied) {
    EXPECT_EQ(runOut("type TA = array of Integer; TS = array[0..1] of Integer; var a, b: TA; s, t: TS;\n"
                     "begin SetLength(a, 1); b := a; b[0] := 5; s[0] := 1; t := s; t[0] := 2;\n"
                     "WriteLn(IntToStr(a[0]) + IntToStr(s[0]) + IntToStr(t[0])); end."),
              "512");
}

TEST(Strings, RoutinesWithVarStringArgumentsAndCharResults) {
    EXPECT_EQ(runOut("var s: string; c: Char; begin s := 'abcdef'; Delete(s, 2, 2); Insert('XY', s, 1); c := UpperCase('q');\n"
                     "WriteLn(s + ' ' + c + ' ' + Copy(s, 3, 100) + ' ' + IntToStr(Pos('d', s))); end."),
              "XYadef Q adef 4");
    EXPECT_EQ(runOut("var s: string; begin SetLength(s, 3); s[1] := 'a'; s[2] := 'b'; s[3] := 'c'; WriteLn(s + IntToStr(Length(s))); end."),
              "abc3");
}

TEST(Numbers, CardinalInt64AndConversions) {
    EXPECT_EQ(runOut("var c: Cardinal; j: Int64; i: Integer; begin c := 0; c := c - 1; j := 1; j := j shl 40; i := Round(2.5) + Round(3.5);\n"
                     "WriteLn(IntToStr(c) + ' ' + IntToStr(j) + ' ' + IntToStr(i) + ' ' + IntToStr(Trunc(-2.7))); end."),
              "4294967295 1099511627776 6 -2");
    EXPECT_EQ(runOut("var x: Double; c: Currency; begin x := 7 / 2.0; c := 2.5; c := c * 3; WriteLn(FloatToStr(x) + ' ' + FloatToStr(c)); end."),
              "3.500000000000 7.500000000000");
}

TEST(Objects, StringListKeepsObjectsAlive) {
    EXPECT_EQ(runOut("var L, Inner: TStringList; begin L := TStringList.Create; Inner := TStringList.Create; Inner.Add('deep');\n"
                     "L.AddObject('k', Inner); Inner := nil; Inner := TStringList(L.Objects[0]); WriteLn(Inner[0]); L.Free; end."),
              "deep");
}

}  // namespace
}  // namespace pelo::lang::test
