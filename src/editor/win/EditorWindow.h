#pragma once
// Glossel's main window: the source view, the list of compile messages and the test headlines below it, a toolbar
// and a status bar; files, compiling and the hand-over to the program.
#include <windows.h>
#include <commdlg.h>

#include <string>
#include <vector>

#include "editor/ScriptBuild.h"
#include "editor/HandOver.h"
#include "editor/win/ScintillaView.h"

namespace pelo::editor {

class EditorWindow {
public:
    static bool RegisterClass(HINSTANCE instance);
    bool Create(HINSTANCE instance, const std::wstring& fileToOpen);
    HWND Window() const { return window_; }
    // Keyboard shortcuts and the find dialog take their messages first.
    bool PreTranslate(MSG& msg);

private:
    static LRESULT CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);

    void CreateChildren();
    void Layout();
    void OnCommand(int id);

    // Files.
    void NewFile();
    void OpenFile(const std::wstring& path);
    void OpenWithDialog();
    bool Save();
    bool SaveAs();
    bool SaveTo(const std::wstring& path);
    // True when the text may go (saved, or the user lets it go).
    bool ConfirmDiscard();
    void UpdateTitle();
    void RememberRecent(const std::wstring& path);
    void RebuildRecentMenu();

    // Compiling and the hand-over.
    bool Compile();
    void ShowMessages(const TBuildResult& result);
    void GoToMessage(int index);
    void NextMessage();
    void RunHandOver(THandOverCommand command);
    std::vector<std::string> TestHeadlines() const;
    void LoadTestHeadlines();
    void SaveTestHeadlines();

    // Find and replace through the system's dialogs.
    void ShowFind(bool replace);
    void OnFindMessage(const FINDREPLACEW& request);

    void SetStatus(const std::wstring& text);
    void SetScriptState(bool attached);

    HINSTANCE instance_ = nullptr;
    HWND window_ = nullptr;
    HWND toolbar_ = nullptr;
    HWND status_ = nullptr;
    HWND messages_ = nullptr;
    HWND messagesLabel_ = nullptr;
    HWND headlines_ = nullptr;
    HWND headlinesLabel_ = nullptr;
    HFONT uiFont_ = nullptr;
    HFONT monoFont_ = nullptr;
    HMENU recentMenu_ = nullptr;
    HACCEL accelerators_ = nullptr;
    ScintillaView view_;

    std::wstring path_;  // empty: not saved yet
    std::vector<std::wstring> recent_;
    bool compiledCurrent_ = false;  // the compiled code below belongs to the text as it stands
    std::string compiledCode_;
    std::vector<TBuildMessage> shownMessages_;
    bool attached_ = false;  // as the program last said

    UINT peloCommMsg_ = 0;
    UINT findMsg_ = 0;
    HWND findDialog_ = nullptr;
    FINDREPLACEW find_{};
    wchar_t findWhat_[256] = {};
    wchar_t replaceWith_[256] = {};
};

}  // namespace pelo::editor
