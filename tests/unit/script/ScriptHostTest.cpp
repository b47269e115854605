// The script host over the program's declaration table: what a compiled script sees of the program and how the
// program drives it.
#include "script/ScriptHost.h"

#include <gtest/gtest.h>

#include <deque>
#include <string>
#include <vector>

#include "lang/Compiler.h"
#include "lang/Loader.h"
#include "script/StandInObjects.h"

namespace pelo::script {
namespace {

struct RecordingServices final : IScriptServices {
    std::vector<std::string> calls;
    int signal = 0;
    std::string readLnAnswer;
    const ScriptClasses* classes = nullptr;
    std::deque<Held<StandInControl>> created;

    void TradeSignal(int code) override {
        signal = code;
        calls.push_back("signal " + std::to_string(code));
    }
    void WriteLn(std::string_view text) override { calls.push_back("writeln " + std::string(text)); }
    std::string ReadLn(std::string_view caption) override {
        calls.push_back("readln " + std::string(caption));
        return readLnAnswer;
    }
    void WriteLnLog(std::string_view text) override { calls.push_back("log " + std::string(text)); }
    bool Signaled() override { return signal != 0; }
    int32_t LastSignal() override { return signal; }
    ScriptControl& CreateLabel(std::string_view caption, int32_t left, int32_t top) override {
        created.emplace_back(classes->Label, classes->Font, std::string(caption), ScriptBounds{left, top, 10, 10});
        return *created.back();
    }
    void DisableFontSmoothing(ScriptControl& label) override { calls.push_back("smooth off " + label.Caption()); }
};

struct HostFixture : ::testing::Test {
    RecordingServices services;
    lang::HostTable table;
    ScriptClasses classes = RegisterScriptInterface(table, services);
    StandInBindings objects{classes};
    TPSScriptWrapper host{table, classes};

    HostFixture() {
        services.classes = &classes;
        host.Bindings = objects.Bindings();
    }

    std::string Compiled(const std::string& source) {
        lang::CompileResult r = lang::compileScript(source, table);
        EXPECT_TRUE(r.ok) << (r.messages.empty() ? "" : r.messages[0].toString());
        return lang::serializeModule(r.module);
    }
    void Load(const std::string& source) { host.LoadScriptCode(Compiled(source)); }
    std::string CallError(std::string_view proc, const std::vector<std::string>& args) {
        try {
            host.CallScriptProc(proc, args);
        } catch (const EScriptHost& e) {
            return e.what();
        }
        return "";
    }
};

TEST_F(HostFixture, HostFunctionsReachTheServicesInTheScriptsOrder) {
    Load("procedure Start(H, S: string); begin WriteLn(S + ': ' + H); if Pos('rate', H) > 0 then Buy else NoTrade;"
         " WriteLnLog(IntToStr(LastSignal)); if Signaled then Sell; StrongSell; CancelTrade; StrongBuy; end;"
         "begin end.");
    ASSERT_TRUE(host.RunScriptMain());
    host.CallScriptProc("start", {"rate cut", "ALP"});
    EXPECT_EQ(services.calls, (std::vector<std::string>{"writeln ALP: rate cut", "signal 1", "log 1", "signal 3",
                                                        "signal 4", "signal 6", "signal 2"}));
    services.calls.clear();
    services.readLnAnswer = "typed";
    Load("var s: string; begin s := ReadLn('Your guess'); WriteLn(s + '!'); WriteLn(IntToStrS(7) + IntToStrS(0) + "
         "FloatToStrFixed(2, 1234.5) + FloatToStrFixedS(1, 0.5) + StrReplace('aAa', 'a', 'b', True, True)); end.");
    ASSERT_TRUE(host.RunScriptMain());
    EXPECT_EQ(services.calls, (std::vector<std::string>{"readln Your guess", "writeln typed!",
                                                        "writeln +701234.50+0.5bbb"}));
}

TEST_F(HostFixture, PredefinedVariablesAreBoundAndAScriptChangesTheProgramsObjects) {
    Load("var l: TLabel; begin lbl1.Caption := 'cns: 1.5'; lbl1.Font.Color := clRed; lbl6.Visible := False;"
         " ResPanel.Width := 400; ResPanel.Color := clBlack; lbl2.Font.Style := [fsBold, fsItalic];"
         " l := CreateLabel('extra', 300, 40); l.Caption := l.Caption + '!'; DisableFontSmoothing(l);"
         " APPLICATION.Title := 'mine'; lbl3.Free; WriteLn(lbl3.Caption); end.");
    ASSERT_TRUE(host.RunScriptMain()) << host.LastError();
    EXPECT_EQ(objects.Labels[0]->Caption(), "cns: 1.5");
    EXPECT_EQ(objects.Labels[0]->Font().Color(), 0x0000FF);
    EXPECT_FALSE(objects.Labels[5]->Visible());
    EXPECT_EQ(objects.ResPanel->Bounds().Width, 400);
    EXPECT_EQ(objects.ResPanel->Bounds().Left, 132);  // the other edges stay
    EXPECT_EQ(objects.ResPanel->Color(), 0);
    EXPECT_EQ(objects.Labels[1]->Font().Style(), fsBold | fsItalic);
    ASSERT_EQ(services.created.size(), 1u);
    EXPECT_EQ(services.created[0]->Caption(), "extra!");
    EXPECT_EQ(services.created[0]->Bounds().Left, 300);
    EXPECT_EQ(objects.Application->Title(), "mine");
    // The program's own label outlives a script's Free.
    EXPECT_EQ(services.calls, (std::vector<std::string>{"smooth off extra!", "writeln  dev: "}));
}

TEST_F(HostFixture, OnlyTheVariablesAScriptDeclaresAreBound) {
    // A file compiled without the predefined variables (another table) still runs: nothing is bound.
    lang::HostTable bare;
    lang::registerStandardLibrary(bare);
    bare.function("procedure WriteLn(S: string)", [](lang::CallCtx&) {});
    bare.finish();
    lang::CompileResult r = lang::compileScript("begin WriteLn('x'); end.", bare);
    ASSERT_TRUE(r.ok);
    host.LoadScriptCode(lang::serializeModule(r.module));
    EXPECT_TRUE(host.RunScriptMain()) << host.LastError();
    // Each main block binds ten new regular expressions; they work and are separate objects.
    Load("begin regexp.Pattern := '(a)(b)?'; if regexp.Match('xa') then WriteLn(regexp.Sub[1] + '|' + regexp.Sub[2]);"
         " regexp10.Pattern := 'z'; WriteLn(regexp.Pattern + ' ' + regexp10.Pattern); end.");
    ASSERT_TRUE(host.RunScriptMain()) << host.LastError();
    EXPECT_EQ(services.calls, (std::vector<std::string>{"writeln x", "writeln a|", "writeln (a)(b)? z"}));
}

TEST_F(HostFixture, RegExpErrorsReachTheScriptWithTheirTexts) {
    Load("procedure P(Pattern, Subject: string); var n: Integer; begin regexp.Pattern := Pattern;"
         " if regexp.Match(Subject) then WriteLn('match'); WriteLn(regexp.Sub[StrToInt(Copy(Subject, 1, 1))]); end;"
         " begin end.");
    ASSERT_TRUE(host.RunScriptMain());
    EXPECT_EQ(CallError("P", {"(a)(b)?", "3a"}), "Exception: Sub index out of range");
    const std::string bad = CallError("P", {"(", "0"});
    EXPECT_EQ(bad.rfind("Exception: Error: ", 0), 0u) << bad;
    EXPECT_NE(bad.find(" at offset: 1"), std::string::npos) << bad;
    // The failed assignment left no usable pattern.
    Load("begin WriteLn(regexp.Pattern); regexp.Match('a'); end.");
    ASSERT_FALSE(host.RunScriptMain());
    EXPECT_EQ(host.LastError(), "Exception: Error -51 in pcre_exec");
}

TEST_F(HostFixture, ProceduresAreFoundAndCalledByNameOrNumber) {
    Load("var n: Integer; procedure Init; begin n := 10; end; procedure Start(H, S: string); begin n := n + 1;"
         " WriteLn(H + S + IntToStr(n)); end; procedure Boom; begin RaiseException(erCustomError, 'bad'); end;"
         " begin n := 1; end.");
    EXPECT_TRUE(host.ScriptProcExists("INIT"));
    EXPECT_FALSE(host.ScriptProcExists("DeInit"));
    EXPECT_EQ(host.FindScriptProc("DeInit"), -1);
    ASSERT_TRUE(host.RunScriptMain());
    host.CallScriptProc("Init", {});
    const int start = host.FindScriptProc("start");
    ASSERT_GE(start, 0);
    host.CallScriptProcNo(start, {"a", "b"});
    EXPECT_EQ(services.calls.back(), "writeln ab11");
    EXPECT_EQ(CallError("DeInit", {}), "Unknown procedure");
    EXPECT_EQ(CallError("Boom", {}), "bad");
    EXPECT_NE(CallError("Start", {"only one"}), "");  // arguments that do not fit the declaration
    host.ClearScriptCode();
    EXPECT_FALSE(host.ScriptProcExists("Init"));
    EXPECT_EQ(CallError("Init", {}), "Unknown procedure");
}

TEST_F(HostFixture, ARejectedFileLeavesNothingLoaded) {
    Load("procedure Init; begin end; begin end.");
    std::string damaged = Compiled("procedure Init; begin end; begin end.");
    damaged[damaged.size() / 2] ^= 0x5A;
    try {
        host.LoadScriptCode(damaged);
        FAIL() << "a damaged file was loaded";
    } catch (const EScriptHost& e) {
        EXPECT_NE(std::string(e.what()), "");
    }
    EXPECT_FALSE(host.ScriptProcExists("Init"));
    EXPECT_FALSE(host.RunScriptMain());
    EXPECT_THROW(host.LoadScriptCode(""), EScriptHost);
}

TEST_F(HostFixture, WhileAProcedureRunsTheEngineRefusesToStartOrUnload) {
    // ReadLn's dialog is where a command can arrive while a procedure runs.
    std::string seen;
    // Simulate the command arriving inside ReadLn by calling back into the host from the services.
    struct Probe final : NullScriptServices {
        TPSScriptWrapper* host = nullptr;
        std::string* seen = nullptr;
        std::string ReadLn(std::string_view) override {
            *seen += host->ScriptBusy() ? "busy;" : "idle;";
            try {
                host->RunScriptMain();
            } catch (const EScriptHost& e) {
                *seen += std::string(e.what()) + ";";
            }
            try {
                host->ClearScriptCode();
            } catch (const EScriptHost& e) {
                *seen += std::string(e.what()) + ";";
            }
            return "";
        }
    } probe;
    lang::HostTable probeTable;
    const ScriptClasses probeClasses = RegisterScriptInterface(probeTable, probe);
    TPSScriptWrapper probeHost(probeTable, probeClasses);
    probe.host = &probeHost;
    probe.seen = &seen;
    lang::CompileResult r = lang::compileScript("procedure Init; begin ReadLn('wait'); end; begin end.", probeTable);
    ASSERT_TRUE(r.ok);
    probeHost.LoadScriptCode(lang::serializeModule(r.module));
    ASSERT_TRUE(probeHost.RunScriptMain());
    probeHost.CallScriptProc("Init", {});
    EXPECT_EQ(seen, "busy;Script engine already running;Script engine already running;");
    EXPECT_TRUE(probeHost.ScriptProcExists("Init"));  // still loaded
    EXPECT_FALSE(probeHost.ScriptBusy());
}

}  // namespace
}  // namespace pelo::script
