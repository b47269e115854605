#include "editor/win/EditorWindow.h"

#include <Scintilla.h>
#include <commctrl.h>

#include <ctime>

#include "editor/win/CommandJobs.h"
#include "editor/win/WinHandOverSystem.h"
#include "script/CompanionProtocol.h"
#include "script/win/CompanionWindows.h"
#include "ui/win/WinText.h"

namespace pelo::editor {

namespace {

const wchar_t* const WindowClass = L"TGlosselEditor";
const wchar_t* const Title = L"Glossel";
const wchar_t* const RecentKey = L"Software\\Quorvel Software\\Glossel\\Recent";
constexpr int MaxRecent = 8;

enum Id : int {
    IdView = 100,
    IdMessages,
    IdHeadlines,
    IdToolbar,
    IdStatus,
    // The commands' numbers are what the toolbar and menu send (and what the end-to-end tests post): keep them.
    CmdNew = 1000,
    CmdOpen,
    CmdSave,
    CmdSaveAs,
    CmdExit,
    CmdUndo,
    CmdRedo,
    CmdFind,
    CmdFindNext,
    CmdReplace,
    CmdComplete,
    CmdCompile,
    CmdNextMessage,
    CmdAttach,
    CmdTest,
    CmdReset,
    CmdRemove = 1016,
    CmdRecent0 = 1100,
};

constexpr int MessagesHeight = 130;
constexpr int HeadlinesWidth = 320;
constexpr int LabelHeight = 18;

std::wstring FileNameOf(const std::wstring& path) {
    const auto cut = path.find_last_of(L"\\/");
    return cut == std::wstring::npos ? path : path.substr(cut + 1);
}

EditorWindow* Self(HWND hwnd) { return reinterpret_cast<EditorWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA)); }

}  // namespace

bool EditorWindow::RegisterClass(HINSTANCE instance) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = Procedure;
    wc.hInstance = instance;
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hIcon = LoadIcon(nullptr, IDI_APPLICATION);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = WindowClass;
    return RegisterClassExW(&wc) != 0 && ScintillaView::RegisterClasses(instance);
}

bool EditorWindow::Create(HINSTANCE instance, const std::wstring& fileToOpen) {
    instance_ = instance;
    peloCommMsg_ = RegisterWindowMessageA(script::companion::PeloCommMessageName);
    findMsg_ = RegisterWindowMessageW(FINDMSGSTRINGW);

    HMENU file = CreatePopupMenu();
    AppendMenuW(file, MF_STRING, CmdNew, L"&New\tCtrl+N");
    AppendMenuW(file, MF_STRING, CmdOpen, L"&Open...\tCtrl+O");
    AppendMenuW(file, MF_STRING, CmdSave, L"&Save\tCtrl+S");
    AppendMenuW(file, MF_STRING, CmdSaveAs, L"Save &As...\tCtrl+Shift+S");
    recentMenu_ = CreatePopupMenu();
    AppendMenuW(file, MF_POPUP, reinterpret_cast<UINT_PTR>(recentMenu_), L"&Recent Files");
    AppendMenuW(file, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(file, MF_STRING, CmdExit, L"E&xit");
    HMENU edit = CreatePopupMenu();
    AppendMenuW(edit, MF_STRING, CmdUndo, L"&Undo\tCtrl+Z");
    AppendMenuW(edit, MF_STRING, CmdRedo, L"&Redo\tCtrl+Y");
    AppendMenuW(edit, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(edit, MF_STRING, CmdFind, L"&Find...\tCtrl+F");
    AppendMenuW(edit, MF_STRING, CmdFindNext, L"Find &Next\tF3");
    AppendMenuW(edit, MF_STRING, CmdReplace, L"R&eplace...\tCtrl+H");
    AppendMenuW(edit, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(edit, MF_STRING, CmdComplete, L"&Complete Word\tCtrl+Space");
    HMENU scriptMenu = CreatePopupMenu();
    AppendMenuW(scriptMenu, MF_STRING, CmdCompile, L"&Compile\tF7");
    AppendMenuW(scriptMenu, MF_STRING, CmdNextMessage, L"&Next Error\tF8");
    AppendMenuW(scriptMenu, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(scriptMenu, MF_STRING, CmdAttach, L"&Attach\tF9");
    AppendMenuW(scriptMenu, MF_STRING, CmdTest, L"&Test\tF5");
    AppendMenuW(scriptMenu, MF_STRING, CmdReset, L"R&eset\tF6");
    AppendMenuW(scriptMenu, MF_STRING, CmdRemove, L"&Remove\tShift+F9");
    HMENU bar = CreateMenu();
    AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(file), L"&File");
    AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(edit), L"&Edit");
    AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(scriptMenu), L"&Script");

    ACCEL keys[] = {
        {FCONTROL | FVIRTKEY, 'N', CmdNew},          {FCONTROL | FVIRTKEY, 'O', CmdOpen},
        {FCONTROL | FVIRTKEY, 'S', CmdSave},         {FCONTROL | FSHIFT | FVIRTKEY, 'S', CmdSaveAs},
        {FCONTROL | FVIRTKEY, 'F', CmdFind},         {FVIRTKEY, VK_F3, CmdFindNext},
        {FCONTROL | FVIRTKEY, 'H', CmdReplace},      {FCONTROL | FVIRTKEY, VK_SPACE, CmdComplete},
        {FVIRTKEY, VK_F7, CmdCompile},               {FVIRTKEY, VK_F8, CmdNextMessage},
        {FVIRTKEY, VK_F9, CmdAttach},                {FVIRTKEY, VK_F5, CmdTest},
        {FVIRTKEY, VK_F6, CmdReset},                 {FSHIFT | FVIRTKEY, VK_F9, CmdRemove},
    };
    accelerators_ = CreateAcceleratorTableW(keys, static_cast<int>(std::size(keys)));

    window_ = CreateWindowExW(0, WindowClass, Title, WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, CW_USEDEFAULT,
                              CW_USEDEFAULT, 1000, 720, nullptr, bar, instance, this);
    if (window_ == nullptr) return false;
    // The program finds this window through the semaphore: to bring it to the front and to tell it the script state.
    script::companion::CreateWindowSemaphore(
        ui::ToWide(script::companion::EditorSemaphoreNameFor(ui::ToU16(ThisProgramPath()))), window_);

    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, RecentKey, 0, KEY_QUERY_VALUE, &key) == ERROR_SUCCESS) {
        for (int i = 0; i < MaxRecent; ++i) {
            wchar_t value[MAX_PATH * 2] = {};
            DWORD size = sizeof value - sizeof(wchar_t);
            const std::wstring name = L"File" + std::to_wstring(i + 1);
            if (RegQueryValueExW(key, name.c_str(), nullptr, nullptr, reinterpret_cast<BYTE*>(value), &size) ==
                    ERROR_SUCCESS &&
                value[0] != 0)
                recent_.push_back(value);
        }
        RegCloseKey(key);
    }
    RebuildRecentMenu();
    if (!fileToOpen.empty())
        OpenFile(FullPathOf(fileToOpen));
    else
        NewFile();
    SetScriptState(false);
    ShowWindow(window_, SW_SHOWDEFAULT);
    UpdateWindow(window_);
    SetFocus(view_.Window());
    return true;
}

bool EditorWindow::PreTranslate(MSG& msg) {
    if (findDialog_ != nullptr && IsDialogMessageW(findDialog_, &msg)) return true;
    return TranslateAcceleratorW(window_, accelerators_, &msg) != 0;
}

LRESULT CALLBACK EditorWindow::Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* self = static_cast<EditorWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        self->window_ = hwnd;
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    if (EditorWindow* self = Self(hwnd)) return self->Handle(message, wParam, lParam);
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

void EditorWindow::CreateChildren() {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
    uiFont_ = CreateFontIndirectW(&metrics.lfMessageFont);
    monoFont_ = CreateFontW(-13, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                            CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, FIXED_PITCH | FF_MODERN, L"Courier New");

    toolbar_ = CreateWindowExW(0, TOOLBARCLASSNAMEW, nullptr,
                               WS_CHILD | WS_VISIBLE | TBSTYLE_FLAT | TBSTYLE_LIST | CCS_TOP | TBSTYLE_TOOLTIPS, 0, 0,
                               0, 0, window_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(IdToolbar)), instance_,
                               nullptr);
    SendMessageW(toolbar_, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    SendMessageW(toolbar_, TB_SETBITMAPSIZE, 0, MAKELPARAM(0, 0));
    const struct {
        int command;
        const wchar_t* text;
    } buttons[] = {{CmdNew, L"New"},         {CmdOpen, L"Open"},  {CmdSave, L"Save"},   {0, nullptr},
                   {CmdCompile, L"Compile"}, {0, nullptr},        {CmdAttach, L"Attach"}, {CmdTest, L"Test"},
                   {CmdReset, L"Reset"},     {CmdRemove, L"Remove"}};
    std::vector<TBBUTTON> tb;
    for (const auto& b : buttons) {
        TBBUTTON button{};
        if (b.text == nullptr) {
            button.fsStyle = BTNS_SEP;
            button.iBitmap = 8;
        } else {
            button.iBitmap = I_IMAGENONE;
            button.idCommand = b.command;
            button.fsState = TBSTATE_ENABLED;
            button.fsStyle = BTNS_BUTTON | BTNS_AUTOSIZE | BTNS_SHOWTEXT;
            button.iString = reinterpret_cast<INT_PTR>(b.text);
        }
        tb.push_back(button);
    }
    SendMessageW(toolbar_, TB_ADDBUTTONSW, tb.size(), reinterpret_cast<LPARAM>(tb.data()));
    SendMessageW(toolbar_, TB_AUTOSIZE, 0, 0);

    status_ = CreateWindowExW(0, STATUSCLASSNAMEW, nullptr, WS_CHILD | WS_VISIBLE | SBARS_SIZEGRIP, 0, 0, 0, 0,
                              window_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(IdStatus)), instance_, nullptr);
    view_.Create(window_, IdView);
    messagesLabel_ = CreateWindowExW(0, L"STATIC", L"Messages (double click to go there)", WS_CHILD | WS_VISIBLE, 0, 0,
                                     0, 0, window_, nullptr, instance_, nullptr);
    messages_ = CreateWindowExW(WS_EX_CLIENTEDGE, L"LISTBOX", nullptr,
                                WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT |
                                    WS_TABSTOP,
                                0, 0, 0, 0, window_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(IdMessages)),
                                instance_, nullptr);
    SendMessageW(messages_, LB_SETHORIZONTALEXTENT, 3000, 0);
    headlinesLabel_ = CreateWindowExW(0, L"STATIC", L"Test headlines (one per line)", WS_CHILD | WS_VISIBLE, 0, 0, 0,
                                      0, window_, nullptr, instance_, nullptr);
    headlines_ = CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", nullptr,
                                 WS_CHILD | WS_VISIBLE | WS_VSCROLL | ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN |
                                     WS_TABSTOP,
                                 0, 0, 0, 0, window_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(IdHeadlines)),
                                 instance_, nullptr);
    for (HWND w : {toolbar_, status_, messagesLabel_, headlinesLabel_})
        SendMessageW(w, WM_SETFONT, reinterpret_cast<WPARAM>(uiFont_), FALSE);
    for (HWND w : {messages_, headlines_}) SendMessageW(w, WM_SETFONT, reinterpret_cast<WPARAM>(monoFont_), FALSE);
    const int parts[] = {560, -1};
    SendMessageW(status_, SB_SETPARTS, 2, reinterpret_cast<LPARAM>(parts));
}

void EditorWindow::Layout() {
    RECT client{};
    GetClientRect(window_, &client);
    SendMessageW(toolbar_, TB_AUTOSIZE, 0, 0);
    SendMessageW(status_, WM_SIZE, 0, 0);
    RECT bar{}, stat{};
    GetWindowRect(toolbar_, &bar);
    GetWindowRect(status_, &stat);
    const int top = bar.bottom - bar.top;
    const int bottom = client.bottom - (stat.bottom - stat.top);
    const int width = client.right;
    const int paneTop = std::max(top + 60, bottom - MessagesHeight - LabelHeight);
    MoveWindow(view_.Window(), 0, top, width, paneTop - top, TRUE);
    const int headlinesWidth = std::min(HeadlinesWidth, width / 2);
    const int messagesWidth = width - headlinesWidth - 4;
    MoveWindow(messagesLabel_, 4, paneTop + 2, messagesWidth - 4, LabelHeight - 2, TRUE);
    MoveWindow(messages_, 0, paneTop + LabelHeight, messagesWidth, bottom - paneTop - LabelHeight, TRUE);
    MoveWindow(headlinesLabel_, messagesWidth + 8, paneTop + 2, headlinesWidth - 8, LabelHeight - 2, TRUE);
    MoveWindow(headlines_, messagesWidth + 4, paneTop + LabelHeight, headlinesWidth, bottom - paneTop - LabelHeight,
               TRUE);
}

LRESULT EditorWindow::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == peloCommMsg_ && peloCommMsg_ != 0) {
        if (wParam == script::companion::ScriptStateCode) SetScriptState(lParam == 1);
        return 0;
    }
    if (message == findMsg_ && findMsg_ != 0) {
        OnFindMessage(*reinterpret_cast<const FINDREPLACEW*>(lParam));
        return 0;
    }
    switch (message) {
        case WM_CREATE:
            CreateChildren();
            return 0;
        case WM_SIZE:
            Layout();
            return 0;
        case WM_SETFOCUS:
            SetFocus(view_.Window());
            return 0;
        case WM_COMMAND:
            if (LOWORD(wParam) == IdMessages && HIWORD(wParam) == LBN_DBLCLK) {
                GoToMessage(static_cast<int>(SendMessageW(messages_, LB_GETCURSEL, 0, 0)));
                return 0;
            }
            if (LOWORD(wParam) == IdView && HIWORD(wParam) == SCEN_CHANGE) {
                compiledCurrent_ = false;
                return 0;
            }
            if (lParam == 0 || reinterpret_cast<HWND>(lParam) == toolbar_) OnCommand(LOWORD(wParam));
            return 0;
        case WM_NOTIFY: {
            const auto* header = reinterpret_cast<const NMHDR*>(lParam);
            if (header->hwndFrom == view_.Window()) {
                const auto& n = *reinterpret_cast<const SCNotification*>(lParam);
                view_.OnNotify(n);
                if (n.nmhdr.code == SCN_SAVEPOINTREACHED || n.nmhdr.code == SCN_SAVEPOINTLEFT) UpdateTitle();
            }
            return 0;
        }
        case WM_CLOSE:
            if (ConfirmDiscard()) {
                SaveTestHeadlines();
                DestroyWindow(window_);
            }
            return 0;
        case WM_DESTROY:
            if (findDialog_ != nullptr) DestroyWindow(findDialog_);
            if (uiFont_ != nullptr) DeleteObject(uiFont_);
            if (monoFont_ != nullptr) DeleteObject(monoFont_);
            PostQuitMessage(0);
            return 0;
        default:
            return DefWindowProcW(window_, message, wParam, lParam);
    }
}

void EditorWindow::OnCommand(int id) {
    if (id >= CmdRecent0 && id < CmdRecent0 + MaxRecent) {
        const std::size_t index = static_cast<std::size_t>(id - CmdRecent0);
        if (index < recent_.size() && ConfirmDiscard()) OpenFile(std::wstring(recent_[index]));
        return;
    }
    switch (id) {
        case CmdNew:
            if (ConfirmDiscard()) NewFile();
            break;
        case CmdOpen:
            if (ConfirmDiscard()) OpenWithDialog();
            break;
        case CmdSave: Save(); break;
        case CmdSaveAs: SaveAs(); break;
        case CmdExit: PostMessageW(window_, WM_CLOSE, 0, 0); break;
        case CmdUndo: view_.Send(SCI_UNDO); break;
        case CmdRedo: view_.Send(SCI_REDO); break;
        case CmdFind: ShowFind(false); break;
        case CmdReplace: ShowFind(true); break;
        case CmdFindNext:
            if (findWhat_[0] == 0)
                ShowFind(false);
            else if (!view_.Find(ui::WideToAnsi(findWhat_), true, (find_.Flags & FR_MATCHCASE) != 0,
                                 (find_.Flags & FR_WHOLEWORD) != 0))
                SetStatus(L"\"" + std::wstring(findWhat_) + L"\" not found");
            break;
        case CmdComplete: view_.ShowCompletion(); break;
        case CmdCompile: Compile(); break;
        case CmdNextMessage: NextMessage(); break;
        case CmdAttach: RunHandOver(THandOverCommand::Attach); break;
        case CmdTest: RunHandOver(THandOverCommand::Test); break;
        case CmdReset: RunHandOver(THandOverCommand::Reset); break;
        case CmdRemove: RunHandOver(THandOverCommand::Detach); break;
        default: break;
    }
}

// ---- Files -------------------------------------------------------------------------------------------------------

void EditorWindow::NewFile() {
    path_.clear();
    view_.SetText("procedure Init;\r\nbegin\r\nend;\r\n\r\nprocedure Start(Headline, Source: string);\r\nbegin\r\n"
                  "  WriteLn(Source + ': ' + Headline);\r\nend;\r\n\r\nbegin\r\nend.\r\n");
    SetWindowTextW(headlines_, L"");
    SendMessageW(messages_, LB_RESETCONTENT, 0, 0);
    shownMessages_.clear();
    compiledCurrent_ = false;
    UpdateTitle();
    SetStatus(L"New script");
}

void EditorWindow::OpenFile(const std::wstring& path) {
    std::string bytes;
    if (!ReadWholeFile(path, bytes)) {
        MessageBoxW(window_, (L"Cannot open \"" + path + L"\".").c_str(), Title, MB_ICONERROR | MB_OK);
        return;
    }
    if (IsCompiledFile(bytes)) {
        MessageBoxW(window_, (L"\"" + path + L"\" is a compiled script; open its source (.pas) instead.").c_str(),
                    Title, MB_ICONWARNING | MB_OK);
        return;
    }
    path_ = path;
    view_.SetText(bytes);
    SendMessageW(messages_, LB_RESETCONTENT, 0, 0);
    shownMessages_.clear();
    compiledCurrent_ = false;
    LoadTestHeadlines();
    RememberRecent(path);
    UpdateTitle();
    SetStatus(L"Opened " + FileNameOf(path));
}

void EditorWindow::OpenWithDialog() {
    wchar_t file[MAX_PATH * 2] = {};
    OPENFILENAMEW ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = window_;
    ofn.lpstrFilter = L"Scripts (*.pas)\0*.pas\0All files (*.*)\0*.*\0";
    ofn.lpstrFile = file;
    ofn.nMaxFile = static_cast<DWORD>(std::size(file));
    ofn.Flags = OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY;
    ofn.lpstrDefExt = L"pas";
    if (GetOpenFileNameW(&ofn)) OpenFile(file);
}

bool EditorWindow::Save() { return path_.empty() ? SaveAs() : SaveTo(path_); }

bool EditorWindow::SaveAs() {
    wchar_t file[MAX_PATH * 2] = {};
    if (!path_.empty()) wcsncpy(file, path_.c_str(), std::size(file) - 1);
    OPENFILENAMEW ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = window_;
    ofn.lpstrFilter = L"Scripts (*.pas)\0*.pas\0All files (*.*)\0*.*\0";
    ofn.lpstrFile = file;
    ofn.nMaxFile = static_cast<DWORD>(std::size(file));
    ofn.Flags = OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY;
    ofn.lpstrDefExt = L"pas";
    if (!GetSaveFileNameW(&ofn)) return false;
    return SaveTo(file);
}

bool EditorWindow::SaveTo(const std::wstring& path) {
    if (!WriteWholeFile(path, view_.Text())) {
        MessageBoxW(window_, (L"Cannot save \"" + path + L"\".").c_str(), Title, MB_ICONERROR | MB_OK);
        return false;
    }
    path_ = path;
    view_.SetSavePoint();
    SaveTestHeadlines();
    RememberRecent(path);
    UpdateTitle();
    SetStatus(L"Saved " + FileNameOf(path));
    return true;
}

bool EditorWindow::ConfirmDiscard() {
    if (!view_.Modified()) return true;
    const std::wstring name = path_.empty() ? L"Untitled" : FileNameOf(path_);
    const int answer = MessageBoxW(window_, (L"Save changes to " + name + L"?").c_str(), Title,
                                   MB_ICONQUESTION | MB_YESNOCANCEL);
    if (answer == IDCANCEL) return false;
    return answer == IDNO || Save();
}

void EditorWindow::UpdateTitle() {
    std::wstring title = path_.empty() ? L"Untitled" : FileNameOf(path_);
    if (view_.Modified()) title += L" *";
    title += L" - ";
    title += Title;
    if (attached_) title += L" (script attached)";
    SetWindowTextW(window_, title.c_str());
}

void EditorWindow::RememberRecent(const std::wstring& path) {
    std::erase_if(recent_, [&](const std::wstring& p) { return _wcsicmp(p.c_str(), path.c_str()) == 0; });
    recent_.insert(recent_.begin(), path);
    if (recent_.size() > MaxRecent) recent_.resize(MaxRecent);
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, RecentKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr) ==
        ERROR_SUCCESS) {
        for (std::size_t i = 0; i < recent_.size(); ++i) {
            const std::wstring name = L"File" + std::to_wstring(i + 1);
            RegSetValueExW(key, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(recent_[i].c_str()),
                           static_cast<DWORD>((recent_[i].size() + 1) * sizeof(wchar_t)));
        }
        RegCloseKey(key);
    }
    RebuildRecentMenu();
}

void EditorWindow::RebuildRecentMenu() {
    while (GetMenuItemCount(recentMenu_) > 0) DeleteMenu(recentMenu_, 0, MF_BYPOSITION);
    if (recent_.empty()) AppendMenuW(recentMenu_, MF_STRING | MF_GRAYED, 0, L"(none)");
    for (std::size_t i = 0; i < recent_.size(); ++i) {
        const std::wstring text = L"&" + std::to_wstring(i + 1) + L" " + recent_[i];
        AppendMenuW(recentMenu_, MF_STRING, CmdRecent0 + static_cast<UINT>(i), text.c_str());
    }
}

// ---- Compiling and the hand-over ---------------------------------------------------------------------------------

bool EditorWindow::Compile() {
    const TBuildResult result = BuildScript(view_.Text());
    ShowMessages(result);
    compiledCurrent_ = result.Ok;
    compiledCode_ = result.Ok ? result.Code : std::string();
    if (result.Ok) {
        const std::time_t now = std::time(nullptr);
        wchar_t clock[16] = {};
        wcsftime(clock, std::size(clock), L"%H:%M:%S", std::localtime(&now));
        SetStatus(L"Compiled " + std::wstring(clock) + L", " + std::to_wstring(result.Code.size()) + L" bytes");
        view_.ClearMarks();
    } else {
        SetStatus(std::to_wstring(result.Messages.size()) + L" error(s): not compiled");
        GoToMessage(0);
    }
    return result.Ok;
}

void EditorWindow::ShowMessages(const TBuildResult& result) {
    SendMessageW(messages_, LB_RESETCONTENT, 0, 0);
    shownMessages_ = result.Messages;
    const std::string file = ui::WideToAnsi(path_.empty() ? L"Untitled" : FileNameOf(path_));
    for (const TBuildMessage& m : shownMessages_) {
        const std::wstring line = ui::AnsiToWide(FormatBuildMessage(file, m));
        SendMessageW(messages_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line.c_str()));
    }
}

void EditorWindow::GoToMessage(int index) {
    if (index < 0 || index >= static_cast<int>(shownMessages_.size())) return;
    SendMessageW(messages_, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
    // The line as listed is what counts: the place is read back from it.
    const int length = static_cast<int>(SendMessageW(messages_, LB_GETTEXTLEN, static_cast<WPARAM>(index), 0));
    std::wstring text(static_cast<std::size_t>(std::max(length, 0)) + 1, L'\0');
    SendMessageW(messages_, LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<std::size_t>(std::max(length, 0)));
    if (const auto place = ParseMessagePlace(ui::WideToAnsi(text))) view_.GoToPlace(place->Line, place->Column);
}

void EditorWindow::NextMessage() {
    if (shownMessages_.empty()) return;
    const int current = static_cast<int>(SendMessageW(messages_, LB_GETCURSEL, 0, 0));
    GoToMessage((current + 1) % static_cast<int>(shownMessages_.size()));
}

std::vector<std::string> EditorWindow::TestHeadlines() const {
    std::vector<std::string> lines;
    for (std::string& line : SplitLines(ui::GetWindowTextA(headlines_)))
        if (!line.empty()) lines.push_back(std::move(line));
    return lines;
}

void EditorWindow::LoadTestHeadlines() {
    std::string text;
    if (path_.empty() || !ReadWholeFile(ui::AnsiToWide(TestHeadlinesPathFor(ui::WideToAnsi(path_))), text)) text.clear();
    SetWindowTextW(headlines_, ui::AnsiToWide(text).c_str());
}

void EditorWindow::SaveTestHeadlines() {
    if (path_.empty()) return;
    const std::string text = ui::GetWindowTextA(headlines_);
    const std::wstring file = ui::AnsiToWide(TestHeadlinesPathFor(ui::WideToAnsi(path_)));
    if (text.empty() && GetFileAttributesW(file.c_str()) == INVALID_FILE_ATTRIBUTES) return;
    WriteWholeFile(file, text);
}

void EditorWindow::RunHandOver(THandOverCommand command) {
    TCompiledScript script;
    const bool carriesScript = command == THandOverCommand::Attach || command == THandOverCommand::Test;
    if (carriesScript) {
        // The compiled file lies beside the source and takes its name, which the program shows.
        if ((path_.empty() || view_.Modified()) && !Save()) return;
        if (!compiledCurrent_ && !Compile()) {
            SetStatus(L"Not handed over: the script has errors");
            return;
        }
        script.Path = CompiledPathFor(ui::WideToAnsi(path_));
        script.Code = compiledCode_;
    }
    SaveTestHeadlines();
    WinHandOverSystem system;
    const std::string failure = HandOver(system, command, carriesScript ? &script : nullptr, TestHeadlines());
    if (!failure.empty()) {
        MessageBoxW(window_, ui::AnsiToWide(failure).c_str(), Title, MB_ICONERROR | MB_OK);
        return;
    }
    static const wchar_t* const done[] = {L"Attach sent to the program", L"Remove sent to the program",
                                          L"Test sent to the program", L"Reset sent to the program"};
    SetStatus(done[static_cast<int>(command)]);
}

// ---- Find and replace --------------------------------------------------------------------------------------------

void EditorWindow::ShowFind(bool replace) {
    if (findDialog_ != nullptr) DestroyWindow(findDialog_);
    find_ = FINDREPLACEW{};
    find_.lStructSize = sizeof find_;
    find_.hwndOwner = window_;
    find_.Flags = FR_DOWN;
    find_.lpstrFindWhat = findWhat_;
    find_.wFindWhatLen = static_cast<WORD>(std::size(findWhat_));
    find_.lpstrReplaceWith = replaceWith_;
    find_.wReplaceWithLen = static_cast<WORD>(std::size(replaceWith_));
    findDialog_ = replace ? ReplaceTextW(&find_) : FindTextW(&find_);
}

void EditorWindow::OnFindMessage(const FINDREPLACEW& request) {
    if (request.Flags & FR_DIALOGTERM) {
        findDialog_ = nullptr;
        return;
    }
    const std::string what = ui::WideToAnsi(request.lpstrFindWhat);
    const std::string with = ui::WideToAnsi(request.lpstrReplaceWith ? request.lpstrReplaceWith : L"");
    const bool matchCase = (request.Flags & FR_MATCHCASE) != 0, wholeWord = (request.Flags & FR_WHOLEWORD) != 0;
    bool found = true;
    if (request.Flags & FR_REPLACEALL)
        SetStatus(std::to_wstring(view_.ReplaceAll(what, with, matchCase, wholeWord)) + L" replaced");
    else if (request.Flags & FR_REPLACE)
        found = view_.ReplaceAndFind(what, with, matchCase, wholeWord);
    else if (request.Flags & FR_FINDNEXT)
        found = view_.Find(what, (request.Flags & FR_DOWN) != 0, matchCase, wholeWord);
    if (!found) SetStatus(L"\"" + std::wstring(request.lpstrFindWhat) + L"\" not found");
}

void EditorWindow::SetStatus(const std::wstring& text) {
    SendMessageW(status_, SB_SETTEXTW, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

void EditorWindow::SetScriptState(bool attached) {
    attached_ = attached;
    UpdateTitle();
    SendMessageW(status_, SB_SETTEXTW, 1,
                 reinterpret_cast<LPARAM>(attached ? L"Script attached in Pelorant" : L"No script attached"));
}

}  // namespace pelo::editor
