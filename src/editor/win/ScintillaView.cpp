#include "editor/win/ScintillaView.h"

#include <Scintilla.h>
#include <ILexer.h>
#include <Lexilla.h>
#include <SciLexer.h>

#include <cctype>
#include <vector>

#include "editor/Completion.h"
#include "editor/ScriptBuild.h"

namespace pelo::editor {

namespace {

constexpr int LineNumberMargin = 0;
constexpr int MarkMargin = 1;
constexpr int FoldMargin = 2;
constexpr int ErrorMarker = 0;       // the line's background
constexpr int ErrorArrowMarker = 1;  // an arrow in the mark margin

// The reserved words of the script language (the lexer colours them; it compares in lower case).
const char* const Keywords =
    "and array as begin case class const constructor destructor div do downto else end except exit export external "
    "finally for forward function goto if implementation in inherited interface is label mod nil not object of on "
    "or out packed private procedure program property protected public published raise record repeat set shl shr "
    "string then to try type unit until uses var while with xor true false";

COLORREF Rgb(int r, int g, int b) { return RGB(r, g, b); }

bool IsWordChar(int c) { return std::isalnum(c) || c == '_'; }

int CALLBACK FontFound(const LOGFONTA*, const TEXTMETRICA*, DWORD, LPARAM found) {
    *reinterpret_cast<bool*>(found) = true;
    return 0;
}

// The first monospaced face of a few common ones that this system has (a bare Wine has no Courier New).
const char* MonospacedFace() {
    static const char* const face = [] {
        HDC dc = GetDC(nullptr);
        const char* chosen = "Courier New";
        for (const char* candidate : {"Consolas", "Courier New", "Liberation Mono", "DejaVu Sans Mono"}) {
            LOGFONTA wanted{};
            wanted.lfCharSet = DEFAULT_CHARSET;
            lstrcpynA(wanted.lfFaceName, candidate, LF_FACESIZE);
            bool found = false;
            EnumFontFamiliesExA(dc, &wanted, FontFound, reinterpret_cast<LPARAM>(&found), 0);
            if (found) {
                chosen = candidate;
                break;
            }
        }
        ReleaseDC(nullptr, dc);
        return chosen;
    }();
    return face;
}

}  // namespace

bool ScintillaView::RegisterClasses(HINSTANCE instance) { return Scintilla_RegisterClasses(instance) != 0; }

bool ScintillaView::Create(HWND parent, int id) {
    window_ = CreateWindowExW(WS_EX_CLIENTEDGE, L"Scintilla", L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP, 0, 0, 100, 100,
                              parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr),
                              nullptr);
    if (window_ == nullptr) return false;
    Configure();
    return true;
}

LRESULT ScintillaView::Send(UINT message, WPARAM wParam, LPARAM lParam) const {
    return SendMessageW(window_, message, wParam, lParam);
}

void ScintillaView::Configure() {
    // Bytes as they are: scripts and headlines are 8-bit text in the system's code page.
    Send(SCI_SETCODEPAGE, 0);
    Send(SCI_SETILEXER, 0, reinterpret_cast<LPARAM>(CreateLexer("pascal")));
    Send(SCI_SETKEYWORDS, 0, reinterpret_cast<LPARAM>(Keywords));

    Send(SCI_STYLESETFONT, STYLE_DEFAULT, reinterpret_cast<LPARAM>(MonospacedFace()));
    Send(SCI_STYLESETSIZE, STYLE_DEFAULT, 10);
    Send(SCI_STYLECLEARALL);
    const struct {
        int style;
        COLORREF colour;
        bool bold;
    } styles[] = {
        {SCE_PAS_COMMENT, Rgb(0, 128, 0), false},      {SCE_PAS_COMMENT2, Rgb(0, 128, 0), false},
        {SCE_PAS_COMMENTLINE, Rgb(0, 128, 0), false},  {SCE_PAS_PREPROCESSOR, Rgb(128, 0, 128), false},
        {SCE_PAS_PREPROCESSOR2, Rgb(128, 0, 128), false}, {SCE_PAS_NUMBER, Rgb(0, 0, 192), false},
        {SCE_PAS_HEXNUMBER, Rgb(0, 0, 192), false},    {SCE_PAS_WORD, Rgb(0, 0, 128), true},
        {SCE_PAS_STRING, Rgb(163, 21, 21), false},     {SCE_PAS_STRINGEOL, Rgb(163, 21, 21), false},
        {SCE_PAS_CHARACTER, Rgb(163, 21, 21), false},  {SCE_PAS_OPERATOR, Rgb(0, 0, 0), false},
    };
    for (const auto& s : styles) {
        Send(SCI_STYLESETFORE, s.style, static_cast<LPARAM>(s.colour));
        Send(SCI_STYLESETBOLD, s.style, s.bold);
    }
    Send(SCI_STYLESETBACK, STYLE_BRACELIGHT, Rgb(200, 230, 255));
    Send(SCI_STYLESETBOLD, STYLE_BRACELIGHT, 1);
    Send(SCI_STYLESETFORE, STYLE_BRACEBAD, Rgb(255, 0, 0));
    Send(SCI_STYLESETBOLD, STYLE_BRACEBAD, 1);

    // Line numbers, the error mark, the fold margin.
    Send(SCI_SETMARGINTYPEN, LineNumberMargin, SC_MARGIN_NUMBER);
    Send(SCI_SETMARGINWIDTHN, LineNumberMargin, Send(SCI_TEXTWIDTH, STYLE_LINENUMBER, reinterpret_cast<LPARAM>("_99999")));
    Send(SCI_SETMARGINTYPEN, MarkMargin, SC_MARGIN_SYMBOL);
    Send(SCI_SETMARGINWIDTHN, MarkMargin, 12);
    // A background marker colours the text only when no margin shows it.
    Send(SCI_SETMARGINMASKN, MarkMargin, 1 << ErrorArrowMarker);
    Send(SCI_MARKERDEFINE, ErrorMarker, SC_MARK_BACKGROUND);
    Send(SCI_MARKERSETBACK, ErrorMarker, Rgb(255, 210, 210));
    Send(SCI_MARKERDEFINE, ErrorArrowMarker, SC_MARK_SHORTARROW);
    Send(SCI_MARKERSETBACK, ErrorArrowMarker, Rgb(220, 0, 0));
    Send(SCI_MARKERSETFORE, ErrorArrowMarker, Rgb(128, 0, 0));
    Send(SCI_SETPROPERTY, reinterpret_cast<WPARAM>("fold"), reinterpret_cast<LPARAM>("1"));
    Send(SCI_SETPROPERTY, reinterpret_cast<WPARAM>("fold.comment"), reinterpret_cast<LPARAM>("1"));
    Send(SCI_SETPROPERTY, reinterpret_cast<WPARAM>("fold.compact"), reinterpret_cast<LPARAM>("0"));
    Send(SCI_SETMARGINTYPEN, FoldMargin, SC_MARGIN_SYMBOL);
    Send(SCI_SETMARGINMASKN, FoldMargin, static_cast<LPARAM>(SC_MASK_FOLDERS));
    Send(SCI_SETMARGINWIDTHN, FoldMargin, 14);
    Send(SCI_SETMARGINSENSITIVEN, FoldMargin, 1);
    const int folderMarkers[][2] = {{SC_MARKNUM_FOLDEROPEN, SC_MARK_BOXMINUS},  {SC_MARKNUM_FOLDER, SC_MARK_BOXPLUS},
                                    {SC_MARKNUM_FOLDERSUB, SC_MARK_VLINE},      {SC_MARKNUM_FOLDERTAIL, SC_MARK_LCORNER},
                                    {SC_MARKNUM_FOLDEREND, SC_MARK_BOXPLUSCONNECTED},
                                    {SC_MARKNUM_FOLDEROPENMID, SC_MARK_BOXMINUSCONNECTED},
                                    {SC_MARKNUM_FOLDERMIDTAIL, SC_MARK_TCORNER}};
    for (const auto& m : folderMarkers) {
        Send(SCI_MARKERDEFINE, m[0], m[1]);
        Send(SCI_MARKERSETFORE, m[0], Rgb(255, 255, 255));
        Send(SCI_MARKERSETBACK, m[0], Rgb(128, 128, 128));
    }
    Send(SCI_SETAUTOMATICFOLD, SC_AUTOMATICFOLD_SHOW | SC_AUTOMATICFOLD_CLICK | SC_AUTOMATICFOLD_CHANGE);

    Send(SCI_SETTABWIDTH, 2);
    Send(SCI_SETINDENT, 2);
    Send(SCI_SETUSETABS, 0);
    Send(SCI_SETCARETLINEVISIBLE, 1);
    Send(SCI_SETCARETLINEBACK, Rgb(230, 230, 200));
    Send(SCI_SETCARETLINEBACKALPHA, 90);  // an error line keeps its colour under the caret
    Send(SCI_AUTOCSETIGNORECASE, 1);
    Send(SCI_AUTOCSETORDER, SC_ORDER_PERFORMSORT);
    Send(SCI_AUTOCSETMAXHEIGHT, 12);
}

std::string ScintillaView::Text() const {
    const auto length = static_cast<std::size_t>(Send(SCI_GETLENGTH));
    std::string text(length + 1, '\0');
    Send(SCI_GETTEXT, length + 1, reinterpret_cast<LPARAM>(text.data()));
    text.resize(length);
    return text;
}

void ScintillaView::SetText(std::string_view text) {
    Send(SCI_CLEARALL);
    Send(SCI_APPENDTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
    Send(SCI_EMPTYUNDOBUFFER);
    Send(SCI_SETSAVEPOINT);
    Send(SCI_GOTOPOS, 0);
    ClearMarks();
}

bool ScintillaView::Modified() const { return Send(SCI_GETMODIFY) != 0; }

void ScintillaView::SetSavePoint() { Send(SCI_SETSAVEPOINT); }

void ScintillaView::ClearMarks() {
    Send(SCI_MARKERDELETEALL, ErrorMarker);
    Send(SCI_MARKERDELETEALL, ErrorArrowMarker);
}

void ScintillaView::GoToPlace(int line, int column) {
    if (line < 1) return;
    ClearMarks();
    const WPARAM lineIndex = static_cast<WPARAM>(line - 1);
    Send(SCI_ENSUREVISIBLEENFORCEPOLICY, lineIndex);
    const LRESULT lineStart = Send(SCI_POSITIONFROMLINE, lineIndex);
    const LRESULT lineEnd = Send(SCI_GETLINEENDPOSITION, lineIndex);
    // The compiler counts bytes from 1; a tab is one of them.
    const LRESULT position = std::min<LRESULT>(lineStart + std::max(column, 1) - 1, lineEnd);
    Send(SCI_GOTOPOS, static_cast<WPARAM>(position));
    Send(SCI_MARKERADD, lineIndex, ErrorMarker);
    Send(SCI_MARKERADD, lineIndex, ErrorArrowMarker);
    Send(SCI_SCROLLCARET);
    SetFocus(window_);
}

std::string ScintillaView::WordBefore(long position) const {
    long start = position;
    while (start > 0 && IsWordChar(static_cast<int>(Send(SCI_GETCHARAT, static_cast<WPARAM>(start - 1))))) --start;
    std::string word;
    for (long k = start; k < position; ++k) word += static_cast<char>(Send(SCI_GETCHARAT, static_cast<WPARAM>(k)));
    return word;
}

void ScintillaView::ShowCompletion() {
    static const std::string list = [] {
        std::string joined;
        for (const std::string& name : CompletionNames(ScriptDeclarations())) joined += (joined.empty() ? "" : " ") + name;
        return joined;
    }();
    const auto caret = static_cast<long>(Send(SCI_GETCURRENTPOS));
    const std::string word = WordBefore(caret);
    Send(SCI_AUTOCSHOW, word.size(), reinterpret_cast<LPARAM>(list.c_str()));
}

void ScintillaView::OnCharAdded(int ch) {
    const auto caret = static_cast<long>(Send(SCI_GETCURRENTPOS));
    if (ch == '\r' || ch == '\n') {
        // A new line starts where the one above started.
        const auto line = static_cast<WPARAM>(Send(SCI_LINEFROMPOSITION, static_cast<WPARAM>(caret)));
        if (line > 0 && Send(SCI_GETLINEENDPOSITION, line) == caret) {
            const LRESULT indent = Send(SCI_GETLINEINDENTATION, line - 1);
            Send(SCI_SETLINEINDENTATION, line, indent);
            Send(SCI_GOTOPOS, static_cast<WPARAM>(Send(SCI_GETLINEINDENTPOSITION, line)));
        }
    } else if (ch == '(') {
        if (const auto tip = CallTipFor(ScriptDeclarations(), WordBefore(caret - 1)))
            Send(SCI_CALLTIPSHOW, static_cast<WPARAM>(caret - 1), reinterpret_cast<LPARAM>(tip->c_str()));
    } else if (ch == ')') {
        Send(SCI_CALLTIPCANCEL);
    }
}

void ScintillaView::MatchBraces() {
    const auto caret = static_cast<long>(Send(SCI_GETCURRENTPOS));
    long at = -1;
    for (const long candidate : {caret - 1, caret}) {
        if (candidate < 0) continue;
        const int c = static_cast<int>(Send(SCI_GETCHARAT, static_cast<WPARAM>(candidate)));
        if (c == '(' || c == ')' || c == '[' || c == ']') {
            at = candidate;
            break;
        }
    }
    if (at < 0) {
        Send(SCI_BRACEHIGHLIGHT, static_cast<WPARAM>(-1), -1);
        return;
    }
    const LRESULT match = Send(SCI_BRACEMATCH, static_cast<WPARAM>(at), 0);
    if (match < 0)
        Send(SCI_BRACEBADLIGHT, static_cast<WPARAM>(at));
    else
        Send(SCI_BRACEHIGHLIGHT, static_cast<WPARAM>(at), match);
}

void ScintillaView::OnNotify(const SCNotification& n) {
    switch (n.nmhdr.code) {
        case SCN_CHARADDED: OnCharAdded(n.ch); break;
        case SCN_UPDATEUI: MatchBraces(); break;
        default: break;
    }
}

bool ScintillaView::Find(std::string_view text, bool down, bool matchCase, bool wholeWord) {
    if (text.empty()) return false;
    const int flags = (matchCase ? SCFIND_MATCHCASE : 0) | (wholeWord ? SCFIND_WHOLEWORD : 0);
    Send(SCI_SETSEARCHFLAGS, static_cast<WPARAM>(flags));
    const LRESULT length = Send(SCI_GETLENGTH);
    const LRESULT from = down ? Send(SCI_GETSELECTIONEND) : Send(SCI_GETSELECTIONSTART);
    const auto search = [&](LRESULT start, LRESULT end) {
        Send(SCI_SETTARGETRANGE, static_cast<WPARAM>(start), end);
        return Send(SCI_SEARCHINTARGET, text.size(), reinterpret_cast<LPARAM>(text.data()));
    };
    LRESULT found = down ? search(from, length) : search(from, 0);
    if (found < 0) found = down ? search(0, from) : search(length, from);  // wrap round once
    if (found < 0) return false;
    Send(SCI_SETSEL, static_cast<WPARAM>(Send(SCI_GETTARGETSTART)), Send(SCI_GETTARGETEND));
    Send(SCI_SCROLLCARET);
    return true;
}

bool ScintillaView::ReplaceAndFind(std::string_view text, std::string_view with, bool matchCase, bool wholeWord) {
    const LRESULT start = Send(SCI_GETSELECTIONSTART), end = Send(SCI_GETSELECTIONEND);
    std::string selected(static_cast<std::size_t>(end - start), '\0');
    if (end > start) {
        Send(SCI_SETTARGETRANGE, static_cast<WPARAM>(start), end);
        Send(SCI_GETTARGETTEXT, 0, reinterpret_cast<LPARAM>(selected.data()));
    }
    const bool same = matchCase ? selected == text : lang::equalsNoCase(selected, text);
    if (same && !selected.empty()) {
        Send(SCI_TARGETFROMSELECTION);
        Send(SCI_REPLACETARGET, with.size(), reinterpret_cast<LPARAM>(with.data()));
        Send(SCI_SETSEL, static_cast<WPARAM>(Send(SCI_GETTARGETEND)), Send(SCI_GETTARGETEND));
    }
    return Find(text, true, matchCase, wholeWord);
}

int ScintillaView::ReplaceAll(std::string_view text, std::string_view with, bool matchCase, bool wholeWord) {
    if (text.empty()) return 0;
    Send(SCI_SETSEARCHFLAGS, static_cast<WPARAM>((matchCase ? SCFIND_MATCHCASE : 0) | (wholeWord ? SCFIND_WHOLEWORD : 0)));
    int count = 0;
    LRESULT from = 0;
    Send(SCI_BEGINUNDOACTION);
    for (;;) {
        Send(SCI_SETTARGETRANGE, static_cast<WPARAM>(from), Send(SCI_GETLENGTH));
        if (Send(SCI_SEARCHINTARGET, text.size(), reinterpret_cast<LPARAM>(text.data())) < 0) break;
        Send(SCI_REPLACETARGET, with.size(), reinterpret_cast<LPARAM>(with.data()));
        from = Send(SCI_GETTARGETEND);
        ++count;
    }
    Send(SCI_ENDUNDOACTION);
    return count;
}

}  // namespace pelo::editor
