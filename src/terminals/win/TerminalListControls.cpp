#include "terminals/win/TerminalListControls.h"

#include <vector>

#include "ui/win/WinText.h"

namespace pelo::terminals {
namespace {

int SendInt(HWND hwnd, UINT msg, WPARAM wp = 0, LPARAM lp = 0)
{
    return hwnd ? static_cast<int>(SendMessageW(hwnd, msg, wp, lp)) : -1;
}

std::string ItemTextOf(HWND hwnd, UINT lengthMsg, UINT textMsg, int index)
{
    const int length = SendInt(hwnd, lengthMsg, static_cast<WPARAM>(index));
    if (length < 0)
        return {};
    std::vector<wchar_t> buffer(static_cast<std::size_t>(length) + 1);
    const int got = SendInt(hwnd, textMsg, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(buffer.data()));
    return got < 0 ? std::string() : ui::WideToAnsi(std::wstring_view(buffer.data(), static_cast<std::size_t>(got)));
}

void InsertText(HWND hwnd, UINT msg, int index, const std::string& text)
{
    const std::wstring wide = ui::AnsiToWide(text);
    SendInt(hwnd, msg, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(wide.c_str()));
}

}  // namespace

int ListBoxItems::Count() { return hwnd_ ? SendInt(hwnd_, LB_GETCOUNT) : 0; }
std::string ListBoxItems::ItemText(int index) { return ItemTextOf(hwnd_, LB_GETTEXTLEN, LB_GETTEXT, index); }
void ListBoxItems::InsertItem(int index, const std::string& text) { InsertText(hwnd_, LB_INSERTSTRING, index, text); }
void ListBoxItems::DeleteItem(int index) { SendInt(hwnd_, LB_DELETESTRING, static_cast<WPARAM>(index)); }
int ListBoxItems::Selected() { return SendInt(hwnd_, LB_GETCURSEL); }
void ListBoxItems::Select(int index) { SendInt(hwnd_, LB_SETCURSEL, static_cast<WPARAM>(index)); }

int ComboBoxItems::Count() { return hwnd_ ? SendInt(hwnd_, CB_GETCOUNT) : 0; }
std::string ComboBoxItems::ItemText(int index) { return ItemTextOf(hwnd_, CB_GETLBTEXTLEN, CB_GETLBTEXT, index); }
void ComboBoxItems::InsertItem(int index, const std::string& text) { InsertText(hwnd_, CB_INSERTSTRING, index, text); }
void ComboBoxItems::DeleteItem(int index) { SendInt(hwnd_, CB_DELETESTRING, static_cast<WPARAM>(index)); }
int ComboBoxItems::Selected() { return SendInt(hwnd_, CB_GETCURSEL); }
void ComboBoxItems::Select(int index) { SendInt(hwnd_, CB_SETCURSEL, static_cast<WPARAM>(index)); }

}  // namespace pelo::terminals
