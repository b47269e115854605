#pragma once
// The source view: a Scintilla control set up for the script language (the Pascal lexer of Lexilla, colours,
// line numbers, folding, brace matching, indentation kept on new lines, completion lists and call tips).
#include <windows.h>

#include <string>
#include <string_view>

struct SCNotification;

namespace pelo::editor {

class ScintillaView {
public:
    // Registers the control's window class once per process.
    static bool RegisterClasses(HINSTANCE instance);

    // Creates the control as a child of `parent` with `id`.
    bool Create(HWND parent, int id);
    HWND Window() const { return window_; }

    LRESULT Send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;

    std::string Text() const;
    void SetText(std::string_view text);
    bool Modified() const;
    void SetSavePoint();

    // Caret to LINE and COLUMN (1-based, columns counted as the compiler counts characters), the line marked.
    void GoToPlace(int line, int column);
    void ClearMarks();

    // Shows the completion list for the word before the caret.
    void ShowCompletion();
    // Finds `text` from the selection on (or backwards); selects it and returns true when found.
    bool Find(std::string_view text, bool down, bool matchCase, bool wholeWord);
    // Replaces the selection when it is `text`, then finds the next one; ReplaceAll returns how many.
    bool ReplaceAndFind(std::string_view text, std::string_view with, bool matchCase, bool wholeWord);
    int ReplaceAll(std::string_view text, std::string_view with, bool matchCase, bool wholeWord);

    // The parent passes the control's WM_NOTIFY here.
    void OnNotify(const SCNotification& notification);

private:
    void Configure();
    void OnCharAdded(int ch);
    void MatchBraces();
    std::string WordBefore(long position) const;

    HWND window_ = nullptr;
};

}  // namespace pelo::editor
