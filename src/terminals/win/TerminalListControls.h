#pragma once
// The list controls that mirror the terminal list, as the list rules (terminals/TerminalListEditor.h) see them:
// a list box (the options dialog's ListBox3) and a drop-down list (the main window's ComboBox1). Item texts are
// 8-bit in the system code page. The control is named by its handle, which may change when its window is made anew.
#include <windows.h>

#include <functional>
#include <string>

#include "terminals/TerminalListEditor.h"

namespace pelo::terminals {

class ListBoxItems final : public IItemList {
public:
    explicit ListBoxItems(HWND listBox = nullptr) : hwnd_(listBox) {}
    void SetWindow(HWND listBox) { hwnd_ = listBox; }
    HWND Window() const { return hwnd_; }

    int Count() override;
    std::string ItemText(int index) override;
    void InsertItem(int index, const std::string& text) override;
    void DeleteItem(int index) override;
    int Selected() override;
    void Select(int index) override;

private:
    HWND hwnd_;
};

class ComboBoxItems final : public IItemList {
public:
    explicit ComboBoxItems(HWND comboBox = nullptr) : hwnd_(comboBox) {}
    void SetWindow(HWND comboBox) { hwnd_ = comboBox; }
    HWND Window() const { return hwnd_; }

    int Count() override;
    std::string ItemText(int index) override;
    void InsertItem(int index, const std::string& text) override;
    void DeleteItem(int index) override;
    int Selected() override;
    void Select(int index) override;

private:
    HWND hwnd_;
};

// The main window's terminal selector: its drop-down list, and the main window's own rule for the terminal buttons
// (TerminalButtonStates with the applied console settings), run after each added or removed terminal.
//
//   WinTerminalSelector selector(controls.comboBox1.hwnd(), [this] { UpdateButtons(); });
class WinTerminalSelector final : public ITerminalSelector {
public:
    WinTerminalSelector(HWND comboBox, std::function<void()> updateButtons)
        : items_(comboBox), updateButtons_(std::move(updateButtons))
    {
    }

    int Count() override { return items_.Count(); }
    std::string ItemText(int index) override { return items_.ItemText(index); }
    void InsertItem(int index, const std::string& text) override { items_.InsertItem(index, text); }
    void DeleteItem(int index) override { items_.DeleteItem(index); }
    int Selected() override { return items_.Selected(); }
    void Select(int index) override { items_.Select(index); }
    void UpdateButtons() override
    {
        if (updateButtons_)
            updateButtons_();
    }

private:
    ComboBoxItems items_;
    std::function<void()> updateButtons_;
};

}  // namespace pelo::terminals
