#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "terminals/TerminalListEditor.h"

using namespace pelo::terminals;

namespace {

// Behaves like a Win32 list box or drop-down list: the selection follows its item when items are inserted or
// deleted before it, and is lost when its own item is deleted.
class FakeList : public ITerminalSelector {
public:
    std::vector<std::string> items;
    int selected = -1;
    int buttonUpdates = 0;

    int Count() override { return static_cast<int>(items.size()); }
    std::string ItemText(int index) override { return items.at(static_cast<std::size_t>(index)); }
    void InsertItem(int index, const std::string& text) override
    {
        ASSERT_TRUE(index >= 0 && index <= Count());
        items.insert(items.begin() + index, text);
        if (selected >= index)
            ++selected;
    }
    void DeleteItem(int index) override
    {
        ASSERT_TRUE(index >= 0 && index < Count());
        items.erase(items.begin() + index);
        if (selected == index)
            selected = -1;
        else if (selected > index)
            --selected;
    }
    int Selected() override { return selected; }
    void Select(int index) override { selected = index >= 0 && index < Count() ? index : -1; }
    void UpdateButtons() override { ++buttonUpdates; }
};

class FakeDialog final : public ITerminalDialog {
public:
    bool open = false;
    std::vector<std::string> shown;

    bool IsOpen() override { return open; }
    void ShowForAdd() override { shown.push_back("add"); }
    void ShowForEdit(int index, const TMT4TermInfo& t) override
    {
        shown.push_back("edit " + std::to_string(index) + " " + t.FullName + "|" + t.ShortName + "|" + t.Path + "|" +
                        t.WindowPattern);
    }
};

class FakeHost final : public ITerminalListHost {
public:
    bool readersRunning = false;
    bool answerYes = true;
    std::vector<std::string> errors;
    std::vector<std::string> questions;

    bool NewsReadersRunning() override { return readersRunning; }
    void ShowError(std::string_view text) override { errors.emplace_back(text); }
    bool Confirm(std::string_view question) override
    {
        questions.emplace_back(question);
        return answerYes;
    }
};

struct Fixture : ::testing::Test {
    TTerminalList terminals{{"Alpha Markets", "AM", "C:\\Alpha", "alpha"},
                            {"Beta Trading", "BT", "C:\\Beta", "beta"},
                            {"Gamma FX", "GF", "C:\\Gamma", "gamma"}};
    FakeList listBox3;
    FakeList selector;
    FakeDialog dialog;
    FakeHost host;
    TTerminalListEditor editor{terminals, listBox3, selector, dialog, host};

    void SetUp() override
    {
        editor.FillListBox();
        selector.items = {"AM", "BT", "GF"};
        selector.selected = 0;
    }
    std::vector<std::string> FullNames() const
    {
        std::vector<std::string> names;
        for (const TMT4TermInfo& t : terminals)
            names.push_back(t.FullName);
        return names;
    }
    // Nothing of the list, its two mirrors or the dialog changed.
    void ExpectUnchanged()
    {
        EXPECT_EQ(FullNames(), (std::vector<std::string>{"Alpha Markets", "Beta Trading", "Gamma FX"}));
        EXPECT_EQ(listBox3.items, FullNames());
        EXPECT_EQ(selector.items, (std::vector<std::string>{"AM", "BT", "GF"}));
        EXPECT_EQ(selector.buttonUpdates, 0);
        EXPECT_TRUE(dialog.shown.empty());
    }
};

using Vec = std::vector<std::string>;

}  // namespace

TEST(TerminalFieldsTest, FirstFailureInFieldOrder)
{
    EXPECT_EQ(CheckTerminalFields({"", "", "", ""}), FullNameMissingText);
    EXPECT_EQ(CheckTerminalFields({"A", "", "", ""}), ShortNameMissingText);
    EXPECT_EQ(CheckTerminalFields({"A", "Console", "", ""}), ShortNameReservedText);
    EXPECT_EQ(CheckTerminalFields({"A", "S", "", ""}), PathMissingText);
    EXPECT_EQ(CheckTerminalFields({"A", "S", "C:\\MT4", ""}), PatternMissingText);
    EXPECT_EQ(CheckTerminalFields({"A", "S", "C:\\MT4", "p"}), std::nullopt);
    // A later field's fault is not reported while an earlier one fails.
    EXPECT_EQ(CheckTerminalFields({"", "Console", "", ""}), FullNameMissingText);
}

TEST(TerminalFieldsTest, OnlyTheExactConsoleIsReservedAndBlanksCountAsText)
{
    EXPECT_EQ(CheckTerminalFields({"A", "console", "C:\\MT4", "p"}), std::nullopt);
    EXPECT_EQ(CheckTerminalFields({"A", "Console ", "C:\\MT4", "p"}), std::nullopt);
    EXPECT_EQ(CheckTerminalFields({"A", " ", " ", " "}), std::nullopt);
    // The same names may serve several entries: nothing here knows the list.
    EXPECT_EQ(CheckTerminalFields({" A", "S", "C:\\MT4", "p"}), std::nullopt);
}

TEST(TerminalFieldsTest, FullNameOfBlanksOnlyIsRefusedAsEmpty)
{
    EXPECT_EQ(CheckTerminalFields({" ", "S", "C:\\MT4", "p"}), FullNameMissingText);
    EXPECT_EQ(CheckTerminalFields({" \t  ", "S", "C:\\MT4", "p"}), FullNameMissingText);
    // Code-page letters above the blank are text (0xA0 is a no-break space in most code pages, kept by the reader).
    EXPECT_EQ(CheckTerminalFields({"\xA0", "S", "C:\\MT4", "p"}), std::nullopt);
}

TEST(TerminalFieldsTest, AcceptedEntryKeepsTheFolderOfAPastedProgramPath)
{
    const TMT4TermInfo accepted =
        AcceptedTerminal({"Alpha", "AM", "\"C:\\Program Files\\Alpha MT4\\Terminal.EXE\"", "Alpha - "});
    EXPECT_EQ(accepted, (TMT4TermInfo{"Alpha", "AM", "C:\\Program Files\\Alpha MT4", "Alpha - "}));
    EXPECT_EQ(AcceptedTerminal({"A", "S", "D:\\MT4 Beta", "b"}).Path, "D:\\MT4 Beta");
}

TEST_F(Fixture, AddShowsTheEmptyDialogUnlessTheReadersRun)
{
    editor.btnAddBrokerClick();
    EXPECT_EQ(dialog.shown, Vec{"add"});
    EXPECT_TRUE(host.errors.empty());

    dialog.shown.clear();
    host.readersRunning = true;
    editor.btnAddBrokerClick();
    EXPECT_EQ(host.errors, Vec{std::string(ReaderActiveText)});
    ExpectUnchanged();
}

TEST_F(Fixture, ReaderActiveBoxHasTwoLinesSplitByALoneCarriageReturn)
{
    EXPECT_EQ(ReaderActiveText,
              "Sorry, can't do this while the news reader is active.\rClick 'Stop' in the main window first.");
}

TEST_F(Fixture, StoringANewTerminalAppendsItEverywhere)
{
    editor.StoreTerminal(AddingTerminal, {"Delta", "DL", "C:\\Delta", "delta"});
    EXPECT_EQ(terminals.back(), (TMT4TermInfo{"Delta", "DL", "C:\\Delta", "delta"}));
    EXPECT_EQ(listBox3.items, (Vec{"Alpha Markets", "Beta Trading", "Gamma FX", "Delta"}));
    EXPECT_EQ(selector.items, (Vec{"AM", "BT", "GF", "DL"}));
    EXPECT_EQ(selector.selected, 0);
    EXPECT_EQ(selector.buttonUpdates, 1);
}

TEST_F(Fixture, NewShortNameGoesBeforeTheConsoleItem)
{
    selector.items = {"AM", "BT", "GF", "Console"};
    selector.selected = 3;
    editor.StoreTerminal(AddingTerminal, {"Delta", "DL", "C:\\Delta", "delta"});
    EXPECT_EQ(selector.items, (Vec{"AM", "BT", "GF", "DL", "Console"}));
    EXPECT_EQ(selector.ItemText(selector.selected), "Console");  // the user's choice stays
}

TEST_F(Fixture, FirstTerminalIntoAnEmptyOrConsoleOnlySelectorGetsSelected)
{
    terminals.clear();
    editor.FillListBox();
    EXPECT_TRUE(listBox3.items.empty());

    selector.items = {};
    selector.selected = -1;
    editor.StoreTerminal(AddingTerminal, {"Delta", "DL", "C:\\Delta", "delta"});
    EXPECT_EQ(selector.items, Vec{"DL"});
    EXPECT_EQ(selector.selected, 0);
    EXPECT_EQ(selector.buttonUpdates, 1);

    FakeList consoleOnly;
    consoleOnly.items = {"Console"};
    SelectorTerminalAdded(consoleOnly, "EP");
    EXPECT_EQ(consoleOnly.items, (Vec{"EP", "Console"}));
    EXPECT_EQ(consoleOnly.selected, 0);
}

TEST_F(Fixture, EditAsksAboutTheReadersBeforeTheSelection)
{
    host.readersRunning = true;
    editor.btnEditBrokerClick();
    EXPECT_EQ(host.errors, Vec{std::string(ReaderActiveText)});

    host.errors.clear();
    host.readersRunning = false;
    editor.btnEditBrokerClick();
    EXPECT_EQ(host.errors, Vec{std::string(EditNotSelectedText)});
    ExpectUnchanged();

    listBox3.selected = 1;
    editor.btnEditBrokerClick();
    EXPECT_EQ(dialog.shown, Vec{"edit 1 Beta Trading|BT|C:\\Beta|beta"});
}

TEST_F(Fixture, EditingKeepsPlacesAndTheSelectorSelection)
{
    selector.selected = 2;  // the edited entry is the one the main window shows
    listBox3.selected = 2;
    editor.StoreTerminal(2, {"Gamma FX Pro", "GP", "C:\\GammaPro", "gamma pro"});
    EXPECT_EQ(terminals[2], (TMT4TermInfo{"Gamma FX Pro", "GP", "C:\\GammaPro", "gamma pro"}));
    EXPECT_EQ(terminals.size(), 3u);
    EXPECT_EQ(listBox3.items, (Vec{"Alpha Markets", "Beta Trading", "Gamma FX Pro"}));
    EXPECT_EQ(listBox3.selected, 2);
    EXPECT_EQ(selector.items, (Vec{"AM", "BT", "GP"}));
    EXPECT_EQ(selector.selected, 2);

    selector.selected = 0;
    editor.StoreTerminal(1, {"Beta", "B2", "C:\\B", "b"});
    EXPECT_EQ(selector.items, (Vec{"AM", "B2", "GP"}));
    EXPECT_EQ(selector.selected, 0);
    EXPECT_EQ(selector.buttonUpdates, 0);
}

TEST_F(Fixture, RemoveTestsReadersThenSelectionThenOpenDialog)
{
    host.readersRunning = true;
    dialog.open = true;
    editor.btnRemoveBrokerClick();
    EXPECT_EQ(host.errors, Vec{std::string(ReaderActiveText)});

    host.errors.clear();
    host.readersRunning = false;
    editor.btnRemoveBrokerClick();
    EXPECT_EQ(host.errors, Vec{std::string(RemoveNotSelectedText)});

    host.errors.clear();
    listBox3.selected = 1;
    editor.btnRemoveBrokerClick();
    EXPECT_EQ(host.errors, Vec{std::string(RemoveWhileDialogOpenText)});
    EXPECT_TRUE(host.questions.empty());
    ExpectUnchanged();
}

TEST_F(Fixture, RemoveAsksAndOnlyYesRemoves)
{
    listBox3.selected = 1;
    host.answerYes = false;
    editor.btnRemoveBrokerClick();
    EXPECT_EQ(host.questions, Vec{"Remove \"Beta Trading\"?"});
    ExpectUnchanged();

    host.answerYes = true;
    selector.selected = 2;
    editor.btnRemoveBrokerClick();
    EXPECT_EQ(FullNames(), (Vec{"Alpha Markets", "Gamma FX"}));
    EXPECT_EQ(terminals[1].ShortName, "GF");
    EXPECT_EQ(listBox3.items, FullNames());
    EXPECT_EQ(selector.items, (Vec{"AM", "GF"}));
    EXPECT_EQ(selector.selected, 0);
    EXPECT_EQ(selector.buttonUpdates, 1);
    EXPECT_TRUE(host.errors.empty());
}

TEST_F(Fixture, RemovingTheLastTerminalLeavesTheConsoleItem)
{
    terminals.resize(1);
    editor.FillListBox();
    selector.items = {"AM", "Console"};
    listBox3.selected = 0;
    editor.btnRemoveBrokerClick();
    EXPECT_TRUE(terminals.empty());
    EXPECT_TRUE(listBox3.items.empty());
    EXPECT_EQ(selector.items, Vec{"Console"});
    EXPECT_EQ(selector.selected, 0);
    EXPECT_EQ(selector.buttonUpdates, 1);
}

TEST_F(Fixture, MoveButtonsTestTheOpenDialogBeforeTheReaders)
{
    listBox3.selected = 1;
    dialog.open = true;
    host.readersRunning = true;
    editor.SpeedButton1Click();
    editor.SpeedButton2Click();
    EXPECT_EQ(host.errors, (Vec{std::string(MoveWhileDialogOpenText), std::string(MoveWhileDialogOpenText)}));

    host.errors.clear();
    dialog.open = false;
    editor.SpeedButton2Click();
    EXPECT_EQ(host.errors, Vec{std::string(ReaderActiveText)});
    ExpectUnchanged();
}

TEST_F(Fixture, MovesPastTheEndsOrWithoutSelectionDoNothingSilently)
{
    editor.SpeedButton1Click();
    editor.SpeedButton2Click();
    listBox3.selected = 0;
    editor.SpeedButton1Click();
    listBox3.selected = 2;
    editor.SpeedButton2Click();
    EXPECT_TRUE(host.errors.empty());
    EXPECT_EQ(listBox3.selected, 2);
    ExpectUnchanged();
}

TEST_F(Fixture, MoveSwapsEntriesAndMovesBothMirrors)
{
    selector.items = {"AM", "BT", "GF", "Console"};
    selector.selected = 2;
    listBox3.selected = 1;
    editor.SpeedButton2Click();
    EXPECT_EQ(FullNames(), (Vec{"Alpha Markets", "Gamma FX", "Beta Trading"}));
    EXPECT_EQ(terminals[2], (TMT4TermInfo{"Beta Trading", "BT", "C:\\Beta", "beta"}));
    EXPECT_EQ(listBox3.items, FullNames());
    EXPECT_EQ(listBox3.selected, 2);
    EXPECT_EQ(selector.items, (Vec{"AM", "GF", "BT", "Console"}));
    EXPECT_EQ(selector.selected, 0);

    editor.SpeedButton1Click();
    editor.SpeedButton1Click();
    EXPECT_EQ(FullNames(), (Vec{"Beta Trading", "Alpha Markets", "Gamma FX"}));
    EXPECT_EQ(listBox3.items, FullNames());
    EXPECT_EQ(listBox3.selected, 0);
    EXPECT_EQ(selector.items, (Vec{"BT", "AM", "GF", "Console"}));
    EXPECT_EQ(selector.buttonUpdates, 0);
}
