// try..except, try..finally and the way errors unwind frames, handlers and leave instructions.
#include "ScriptHarness.h"

namespace pelo::lang::test {
namespace {

std::string runOut(const std::string& src) {
    ScriptHarness h;
    std::string err = h.run(src);
    return err.empty() ? h.joined() : h.joined() + (h.out.empty() ? "" : "|") + "ERROR " + err;
}

TEST(Exceptions, ErrorsUnwindThroughCalledProcedures) {
    EXPECT_EQ(runOut("procedure Inner; var s: string; z: Integer; begin s := 'local'; z := 1 div z; WriteLn('no'); end; "
                     "procedure Outer; begin try Inner; finally WriteLn('outer finally'); end; WriteLn('no'); end; "
                     "begin try Outer; except WriteLn('main caught'); end; WriteLn('main goes on'); end."),
              "outer finally|main caught|main goes on");
}

TEST(Exceptions, AnErrorInsideAHandlerPropagates) {
    EXPECT_EQ(runOut("var z: Integer; begin try try z := 1 div z; except WriteLn('first'); "
                     "RaiseException(erCustomError, 'second'); end; except WriteLn('outer ' + ExceptionParam); end; end."),
              "first|outer second");
}

TEST(Exceptions, AnErrorInFinallyReplacesThePendingOne) {
    EXPECT_EQ(runOut("var z: Integer; begin try try z := 1 div z; finally RaiseException(erCustomError, 'from finally'); end; "
                     "except WriteLn(ExceptionParam); end; end."),
              "from finally");
}

TEST(Exceptions, UncaughtErrorStillRunsEveryFinallyOnTheWay) {
    EXPECT_EQ(runOut("procedure P; begin try RaiseException(erCustomError, 'boom'); finally WriteLn('p'); end; end; "
                     "begin try P; finally WriteLn('main'); end; end."),
              "p|main|ERROR boom");
}

TEST(Exceptions, BreakOutOfNestedFinallyBlocksRunsThemInnermostFirst) {
    EXPECT_EQ(runOut("var i: Integer; begin for i := 1 to 3 do begin try try if i = 2 then Break; WriteLn('body'); "
                     "finally WriteLn('inner'); end; finally WriteLn('outer'); end; end; WriteLn('i=' + IntToStr(i)); end."),
              "body|inner|outer|inner|outer|i=2");
}

TEST(Exceptions, ExitFromAFunctionThroughFinallyThatCallsAProcedure) {
    // the reference engine does not exit here; the sound behaviour leaves the function
    EXPECT_EQ(runOut("procedure Log(s: string); begin WriteLn(s); end; "
                     "function F: Integer; begin Result := 1; try Exit; finally Log('cleanup'); end; Result := 2; end; "
                     "begin WriteLn(IntToStr(F)); end."),
              "cleanup|1");
}

TEST(Exceptions, ContinueInsideTryExceptKeepsLooping) {
    EXPECT_EQ(runOut("var i, n: Integer; begin for i := 1 to 4 do try if i mod 2 = 0 then Continue; n := n + i; "
                     "except end; WriteLn(IntToStr(n)); end."),
              "4");
}

TEST(Exceptions, HandlersAreGoneAfterTheirBlock) {
    // a try block left by Exit must not catch errors raised later by the caller
    EXPECT_EQ(runOut("procedure P; begin try Exit; except WriteLn('wrong handler'); end; end; "
                     "begin P; RaiseException(erCustomError, 'late'); end."),
              "ERROR late");
}

TEST(Exceptions, ExceptionTextsFollowTheEngine) {
    EXPECT_EQ(runOut("begin RaiseException(erDivideByZero, ''); end."), "ERROR divide by Zero");
    EXPECT_EQ(runOut("begin RaiseException(erException, 'x'); end."), "ERROR Exception: x");
    EXPECT_EQ(runOut("begin WriteLn(ExceptionToString(erCouldNotCallProc, '') + '/' + ExceptionToString(erOutOfRange, '')); end."),
              "Could not call proc/Out Of Range");
    EXPECT_EQ(runOut("var d: Double; begin d := 1e300; d := d * 1e300; end."), "ERROR Math error");
    EXPECT_EQ(runOut("var s: string; begin s := IntToStr(StrToInt64('12x')); end."),
              "ERROR Exception: \"12x\" is an invalid integer");
}

TEST(Exceptions, LoopsWithAByteCounterNeverEndByThemselves) {
    // "for b := 0 to 255" wraps the Byte counter; the step budget ends the run instead of hanging
    VmLimits limits;
    limits.maxLoopSteps = 5000;
    ScriptHarness h(limits);
    EXPECT_EQ(h.run("var b: Byte; n: Integer; begin for b := 250 to 255 do n := n + 1; end."), "Script stopped");
    EXPECT_EQ(h.run("var b: Byte; n: Integer; begin for b := 250 to 254 do n := n + 1; WriteLn(IntToStr(n) + ' ' + IntToStr(b)); end."),
              "");
    EXPECT_EQ(h.joined(), "5 255");
}

TEST(Exceptions, LoopsThatGoRoundThroughATryStatementCanBeStopped) {
    // Continue out of a try part goes back to the loop's condition through Leave, not through a jump
    VmLimits limits;
    limits.maxLoopSteps = 5000;
    ScriptHarness h(limits);
    EXPECT_EQ(h.run("var n: Integer; begin while True do try n := n + 1; Continue; finally end; end."), "Script stopped");
    EXPECT_EQ(h.run("var n: Integer; begin repeat try n := n + 1; Continue; except end; until False; end."),
              "Script stopped");
}

// An error raised and handled inside a finally part must neither lose nor leave behind the action
// that finally part was entered with.
TEST(Exceptions, ExitSurvivesAnErrorHandledInsideItsFinallyPart) {
    const char* nested =
        "procedure P; begin try WriteLn('body'); Exit; finally "
        "try try WriteLn('inner'); finally RaiseException(erCustomError, 'x'); end; "
        "except WriteLn('handled ' + ExceptionParam); end; end; WriteLn('after try: Buy'); end; "
        "begin P; WriteLn('done'); end.";
    EXPECT_EQ(runOut(nested), "body|inner|handled x|done");
    // the error raised in the try part of the inner statement
    EXPECT_EQ(runOut("procedure P; begin try Exit; finally try try RaiseException(erCustomError, 'y'); "
                     "finally WriteLn('inner fin'); end; except WriteLn('handled'); end; end; WriteLn('after'); end; "
                     "begin P; WriteLn('done'); end."),
              "inner fin|handled|done");
    // Break pending in the finally part of a loop body
    EXPECT_EQ(runOut("var i: Integer; begin for i := 1 to 3 do try if i = 2 then Break; finally "
                     "try try WriteLn('f' + IntToStr(i)); finally RaiseException(erCustomError, 'z'); end; except end; end; "
                     "WriteLn('i=' + IntToStr(i)); end."),
              "f1|f2|i=2");
}

TEST(Exceptions, AnErrorInAFinallyPartSupersedesItsBreak) {
    // the callee's pending Break is dropped by the error; the caller's finally part must not pick it up
    EXPECT_EQ(runOut("procedure Q; var i: Integer; begin for i := 1 to 2 do try try Break; finally "
                     "RaiseException(erCustomError, 'q'); end; except WriteLn('q' + IntToStr(i)); end; WriteLn('q end'); end; "
                     "procedure P; begin try WriteLn('p body'); finally Q; WriteLn('p fin'); end; WriteLn('p after'); end; "
                     "begin P; WriteLn('done'); end."),
              "p body|q1|q2|q end|p fin|p after|done");
    EXPECT_EQ(runOut("procedure Q; var i: Integer; begin for i := 1 to 2 do try try Break; finally "
                     "RaiseException(erCustomError, 'q'); end; except WriteLn('q' + IntToStr(i)); end; end; "
                     "procedure P; begin try Exit; finally Q; end; WriteLn('p after'); end; "
                     "begin P; WriteLn('done'); end."),
              "q1|q2|done");
}

TEST(Exceptions, LeavingAFinallyPartDropsItsPendingAction) {
    // Break out of a finally part inside the outer finally part: the outer Exit still holds
    EXPECT_EQ(runOut("procedure P; var i: Integer; begin try Exit; finally for i := 1 to 3 do try WriteLn('b' + IntToStr(i)); "
                     "finally if i = 2 then Break; end; end; WriteLn('after'); end; begin P; WriteLn('done'); end."),
              "b1|b2|done");
    EXPECT_EQ(runOut("procedure P; var i: Integer; begin try Exit; finally for i := 1 to 3 do try WriteLn('c' + IntToStr(i)); "
                     "finally Continue; end; end; WriteLn('after'); end; begin P; WriteLn('done'); end."),
              "c1|c2|c3|done");
    // Exit from a finally part entered by an error ends the error too
    EXPECT_EQ(runOut("procedure P; begin try RaiseException(erCustomError, 'lost'); finally WriteLn('fin'); Exit; end; end; "
                     "begin P; WriteLn('done'); end."),
              "fin|done");
    // and leaves no pending action behind for the caller's finally part
    EXPECT_EQ(runOut("procedure P; begin try WriteLn('p'); finally Exit; end; end; "
                     "procedure Q; begin try Exit; finally P; end; WriteLn('q after'); end; begin Q; WriteLn('done'); end."),
              "p|done");
}

}  // namespace
}  // namespace pelo::lang::test
