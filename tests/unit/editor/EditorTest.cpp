// The editor's decisions that need no window: compiling, the error list's lines, the hand-over's order, the
// command line and what completion offers.
#include <gtest/gtest.h>

#include "editor/CommandLine.h"
#include "editor/Completion.h"
#include "editor/HandOver.h"
#include "editor/ScriptBuild.h"

using namespace pelo::editor;

namespace {

TEST(ScriptBuildTest, ErrorsComeWithTheirPlaceAndTheErrorListReadsItBack)
{
    const TBuildResult good = BuildScript("procedure Start(Headline, Source: string);\nbegin\n  WriteLn(Headline);\nend;\n"
                                          "begin\nend.\n");
    EXPECT_TRUE(good.Ok);
    EXPECT_TRUE(IsCompiledFile(good.Code));

    const TBuildResult bad = BuildScript("begin\n  x := 1;\nend.\n");
    ASSERT_FALSE(bad.Ok);
    EXPECT_TRUE(bad.Code.empty());
    ASSERT_FALSE(bad.Messages.empty());
    EXPECT_EQ(bad.Messages[0].Line, 2);
    EXPECT_EQ(bad.Messages[0].Column, 3);

    const std::string line = FormatBuildMessage("C:\\My Scripts (old)\\rates.pas", bad.Messages[0]);
    EXPECT_EQ(line, "C:\\My Scripts (old)\\rates.pas(2,3): " + bad.Messages[0].Text);
    EXPECT_EQ(ParseMessagePlace(line), (TMessagePlace{"C:\\My Scripts (old)\\rates.pas", 2, 3}));
    // A message whose text holds "(x,y): " of its own still points at its own place.
    EXPECT_EQ(ParseMessagePlace("a.pas(10,7): Identifier expected (1,2): here"), (TMessagePlace{"a.pas", 10, 7}));
    for (const char* other : {"", "compiled 12:00:01, 340 bytes", "a.pas(1): x", "a.pas(x,2): y", "a.pas(1,-2): y"})
        EXPECT_EQ(ParseMessagePlace(other), std::nullopt) << other;
}

TEST(ScriptBuildTest, CompanionFilesLieBesideTheSource)
{
    EXPECT_EQ(CompiledPathFor("C:\\s\\rates.pas"), "C:\\s\\rates.exn");
    EXPECT_EQ(TestHeadlinesPathFor("C:\\s\\rates.pas"), "C:\\s\\rates.headlines.txt");
    EXPECT_EQ(CompiledPathFor("C:\\v1.2\\rates"), "C:\\v1.2\\rates.exn") << "a dot in a folder is no extension";
}

// Records every step of a hand-over, in order.
class RecordingSystem final : public IHandOverSystem {
public:
    bool WriteFileAndClose(const std::string& path, std::string_view bytes) override
    {
        steps.push_back("write " + path + " " + std::string(bytes));
        return writeWorks;
    }
    bool StoreAttachedScript(const std::string& fullPath) override
    {
        steps.push_back("store " + fullPath);
        return true;
    }
    bool WriteTestHeadlines(const std::vector<std::string>& lines) override
    {
        steps.push_back("headlines " + std::to_string(lines.size()));
        return true;
    }
    bool PostToProgram(pelo::script::companion::CommandCode command) override
    {
        steps.push_back("post " + std::to_string(command.WParam) + "," + std::to_string(command.LParam));
        return programRuns;
    }
    bool StartProgram(std::string_view commandSwitch) override
    {
        steps.push_back("start " + std::string(commandSwitch));
        return true;
    }

    std::vector<std::string> steps;
    bool writeWorks = true;
    bool programRuns = true;
};

TEST(HandOverTest, TheFileIsCompleteAndNamedBeforeTheProgramHearsTheCommand)
{
    const TCompiledScript script{"C:\\s\\rates.exn", "GLSC..."};
    RecordingSystem attach;
    EXPECT_EQ(HandOver(attach, THandOverCommand::Attach, &script), "");
    EXPECT_EQ(attach.steps, (std::vector<std::string>{"write C:\\s\\rates.exn GLSC...", "store C:\\s\\rates.exn",
                                                      "post 1982137,1819273"}));

    RecordingSystem test;
    EXPECT_EQ(HandOver(test, THandOverCommand::Test, &script, {"Fed cuts", "ECB holds"}), "");
    EXPECT_EQ(test.steps, (std::vector<std::string>{"write C:\\s\\rates.exn GLSC...", "headlines 2",
                                                    "store C:\\s\\rates.exn", "post 2982137,2819273"}));

    // No program running: a fresh start carries the command as its switch.
    RecordingSystem fresh;
    fresh.programRuns = false;
    EXPECT_EQ(HandOver(fresh, THandOverCommand::Attach, &script), "");
    EXPECT_EQ(fresh.steps.back(), "start -attach");

    // A file that cannot be written is reported and nothing else happens: the program would load an old one.
    RecordingSystem full;
    full.writeWorks = false;
    EXPECT_NE(HandOver(full, THandOverCommand::Attach, &script), "");
    EXPECT_EQ(full.steps.size(), 1u);

    // Detach and reset carry no script.
    RecordingSystem detach;
    EXPECT_EQ(HandOver(detach, THandOverCommand::Detach, nullptr), "");
    EXPECT_EQ(detach.steps, (std::vector<std::string>{"post 1819273,1982137"}));
    RecordingSystem none;
    EXPECT_NE(HandOver(none, THandOverCommand::Test, nullptr), "");
    EXPECT_TRUE(none.steps.empty());
}

TEST(CommandLineTest, SwitchesMakeJobsAndAnythingElseOpensTheEditor)
{
    struct Case {
        std::vector<std::string> args;
        TRunMode mode;
        std::string input, output;
        bool error;
    };
    const Case cases[] = {
        {{}, TRunMode::Editor, "", "", false},
        {{"C:\\s\\a.pas"}, TRunMode::Editor, "C:\\s\\a.pas", "", false},
        {{"/compile", "a.pas"}, TRunMode::Compile, "a.pas", "", false},
        {{"-COMPILE", "a.pas", "b.exn"}, TRunMode::Compile, "a.pas", "b.exn", false},
        {{"/compile"}, TRunMode::Compile, "", "", true},
        {{"/attach", "a.exn"}, TRunMode::Attach, "a.exn", "", false},
        {{"/test"}, TRunMode::Test, "", "", true},
        {{"/detach"}, TRunMode::Detach, "", "", false},
        {{"/reset", "a.pas", "b"}, TRunMode::Reset, "a.pas", "", true},
        {{"/frobnicate"}, TRunMode::Editor, "", "", true},
    };
    for (const Case& c : cases) {
        const TCommandLine line = ParseCommandLine(c.args);
        const std::string what = c.args.empty() ? "(none)" : c.args[0];
        EXPECT_EQ(line.Mode, c.mode) << what;
        EXPECT_EQ(line.Input, c.input) << what;
        EXPECT_EQ(line.Output, c.output) << what;
        EXPECT_EQ(!line.Error.empty(), c.error) << what << ": " << line.Error;
    }
}

TEST(CompletionTest, OffersEveryDeclaredNameOnceAndTheDeclarationAsTip)
{
    const std::vector<std::string> names = CompletionNames(ScriptDeclarations());
    for (const char* expected : {"WriteLn", "Buy", "TRegExp", "regexp", "lbl1", "APPLICATION"})
        EXPECT_NE(std::find(names.begin(), names.end(), expected), names.end()) << expected;
    EXPECT_TRUE(std::is_sorted(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
        return pelo::lang::upperAscii(a) < pelo::lang::upperAscii(b);
    }));
    EXPECT_EQ(std::adjacent_find(names.begin(), names.end(),
                                 [](const std::string& a, const std::string& b) {
                                     return pelo::lang::equalsNoCase(a, b);
                                 }),
              names.end());

    EXPECT_EQ(CallTipFor(ScriptDeclarations(), "writeln"), "procedure WriteLn(S: string)");
    EXPECT_EQ(CallTipFor(ScriptDeclarations(), "NoSuchRoutine"), std::nullopt);
    EXPECT_EQ(DeclaredName("property Strings[Index: Integer]: string read write"), "Strings");
    EXPECT_EQ(DeclaredName("MaxInt = 2147483647"), "MaxInt");
}

}  // namespace
