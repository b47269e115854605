#include "ui/win/InputBox.h"

#include <vector>

namespace pelo::ui {
namespace {

constexpr WORD kPromptId = 100;
constexpr WORD kEditId = 101;

struct BoxState {
    int maxLength;
    std::wstring text;
};

// DLGTEMPLATE and its items are a packed sequence of WORDs; each item starts on a DWORD boundary.
class TemplateWriter {
public:
    void Word(WORD w) { words_.push_back(w); }
    void Dword(DWORD d) {
        Word(LOWORD(d));
        Word(HIWORD(d));
    }
    void Text(const std::wstring& s) {
        for (wchar_t c : s) Word(static_cast<WORD>(c));
        Word(0);
    }
    void Align() {
        if (words_.size() % 2) Word(0);
    }
    void Item(DWORD style, short x, short y, short cx, short cy, WORD id, WORD atom, const std::wstring& text) {
        Align();
        Dword(style | WS_CHILD | WS_VISIBLE);
        Dword(0);  // extended style
        Word(static_cast<WORD>(x));
        Word(static_cast<WORD>(y));
        Word(static_cast<WORD>(cx));
        Word(static_cast<WORD>(cy));
        Word(id);
        Word(0xFFFF);
        Word(atom);  // 0x0080 button, 0x0081 edit, 0x0082 static
        Text(text);
        Word(0);  // no creation data
    }
    const DLGTEMPLATE* get() const { return reinterpret_cast<const DLGTEMPLATE*>(words_.data()); }
    std::vector<WORD>& words() { return words_; }

private:
    std::vector<WORD> words_;
};

INT_PTR CALLBACK BoxProc(HWND dlg, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_INITDIALOG: {
            auto* state = reinterpret_cast<BoxState*>(lp);
            SetWindowLongPtrW(dlg, DWLP_USER, lp);
            SendDlgItemMessageW(dlg, kEditId, EM_LIMITTEXT, static_cast<WPARAM>(state->maxLength), 0);
            RECT r;
            GetWindowRect(dlg, &r);
            const int w = r.right - r.left, h = r.bottom - r.top;
            SetWindowPos(dlg, nullptr, (GetSystemMetrics(SM_CXSCREEN) - w) / 2, (GetSystemMetrics(SM_CYSCREEN) - h) / 2,
                         0, 0, SWP_NOSIZE | SWP_NOZORDER);
            return TRUE;  // the focus goes to the edit field, the first tab stop
        }
        case WM_COMMAND:
            if (LOWORD(wp) == IDOK) {
                auto* state = reinterpret_cast<BoxState*>(GetWindowLongPtrW(dlg, DWLP_USER));
                const int n = GetWindowTextLengthW(GetDlgItem(dlg, kEditId));
                state->text.assign(static_cast<size_t>(n) + 1, L'\0');
                GetDlgItemTextW(dlg, kEditId, state->text.data(), n + 1);
                state->text.resize(static_cast<size_t>(n));
                EndDialog(dlg, IDOK);
                return TRUE;
            }
            if (LOWORD(wp) == IDCANCEL) {
                EndDialog(dlg, IDCANCEL);
                return TRUE;
            }
            break;
    }
    return FALSE;
}

}  // namespace

std::optional<std::wstring> ShowInputBox(HWND owner, const std::wstring& title, const std::wstring& prompt,
                                         int maxLength) {
    TemplateWriter t;
    // Dialog units; the font line follows the caption because of DS_SETFONT.
    t.Dword(WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT | DS_CENTER);
    t.Dword(0);
    t.Word(4);  // items
    t.Word(0);
    t.Word(0);
    t.Word(180);
    t.Word(62);
    t.Word(0);  // no menu
    t.Word(0);  // the standard dialog class
    t.Text(title);
    t.Word(8);
    t.Text(L"MS Shell Dlg");
    t.Item(SS_LEFT, 7, 5, 166, 9, kPromptId, 0x0082, prompt);
    t.Item(WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL, 7, 16, 166, 12, kEditId, 0x0081, L"");
    t.Item(WS_TABSTOP | BS_DEFPUSHBUTTON, 68, 38, 50, 14, IDOK, 0x0080, L"OK");
    t.Item(WS_TABSTOP | BS_PUSHBUTTON, 123, 38, 50, 14, IDCANCEL, 0x0080, L"Cancel");

    BoxState state{maxLength, {}};
    const INT_PTR result = DialogBoxIndirectParamW(GetModuleHandleW(nullptr), t.get(), owner, &BoxProc,
                                                   reinterpret_cast<LPARAM>(&state));
    if (result != IDOK) return std::nullopt;
    return state.text;
}

}  // namespace pelo::ui
