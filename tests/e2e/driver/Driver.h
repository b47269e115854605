#pragma once
// The end-to-end test driver: starts the program in the test's Wine prefix and looks at it from outside through
// the same window, file and registry interfaces a user's tools would use.
#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace pelo::e2e {

// ---- Locations -------------------------------------------------------------------------------------------------
// Folder holding the freshly built Pelorant.exe / Pelorant.dll (environment PELO_BIN_DIR, a Windows path).
std::wstring BuildBinDir();
// Folder holding test fixtures such as terminal.exe (environment PELO_FIXTURES_DIR).
std::wstring FixturesDir();
// Where screenshots go (environment PELO_SHOTS_DIR); empty when not set.
std::wstring ShotsDir();
std::wstring LocalAppDataDir();      // C:\users\<user>\AppData\Local
std::wstring CommonDocumentsDir();   // C:\users\Public\Documents
std::wstring AppDataDir();           // LocalAppDataDir() + "\Quorvel Software\Pelorant"
std::wstring DefaultLogsDir();       // CommonDocumentsDir() + "\Pelorant Logs"

// Copies the program into C:\<folder> (with the hook library unless told otherwise) and returns Pelorant.exe's path.
std::wstring InstallProgram(const std::wstring& folder = L"Pelo", bool withHookLibrary = true);

// ---- Processes -------------------------------------------------------------------------------------------------
class Process {
public:
    Process() = default;
    Process(Process&& other) noexcept;
    Process& operator=(Process&& other) noexcept;
    ~Process();   // kills a process that is still running

    static Process Start(const std::wstring& exe, const std::wstring& arguments = L"");
    bool Running() const;
    // Waits for the end; returns the exit code, or nothing on timeout.
    std::optional<DWORD> WaitForExit(DWORD timeoutMs);
    void Kill();
    DWORD Id() const { return pid_; }

private:
    HANDLE process_ = nullptr;
    DWORD pid_ = 0;
};

// ---- Windows ---------------------------------------------------------------------------------------------------
// A visible or hidden top-level window of the process (pid 0: any process) with that class; nullptr on timeout.
HWND WaitForTopLevel(DWORD pid, const std::wstring& className, DWORD timeoutMs, bool mustBeVisible = true);
std::vector<HWND> TopLevelWindowsOf(DWORD pid, bool visibleOnly = true);
std::wstring ClassOf(HWND w);
std::wstring TextOf(HWND w);
std::string TextOfA(HWND w);
std::vector<HWND> Children(HWND parent);   // all descendants, depth first
HWND FindDescendant(HWND parent, const std::wstring& className, const std::wstring& text);
RECT ClientRect(HWND w);
// Rectangle of a child in its parent's client coordinates.
RECT RectInParent(HWND child);
// Sends a message and waits for the answer (with a timeout, so a hung program fails the test instead of hanging it).
LRESULT SendWithTimeout(HWND w, UINT msg, WPARAM wp, LPARAM lp, DWORD timeoutMs = 5000);
UINT PeloCommMessage();
// The text of row `row` of the main window's headline box, read as a user gets it: the row selected, then
// "Copy selected" from its menu, then the clipboard. A marker is left there first, so a copy that wrote nothing
// fails the test.
std::string HeadlineBoxRow(HWND main, HWND listBox, int row);
std::string ClipboardText();
void PutOnClipboard(const std::string& text);
// Clicks a button through its BM_CLICK message (no mouse needed).
void ClickButton(HWND button);
// Puts the pointer at a screen point and says whether it got there. Under X a move is refused while another
// client holds a pointer grab, so a refused move is tried again for up to `timeoutMs`.
bool MovePointer(POINT to, DWORD timeoutMs = 3000);

// ---- Message boxes ---------------------------------------------------------------------------------------------
enum class BoxIcon { None, Error, Warning, Information, Question };
const char* ToString(BoxIcon icon);

struct MessageBoxInfo {
    HWND hwnd = nullptr;
    std::wstring caption;
    std::wstring text;
    BoxIcon icon = BoxIcon::None;
    std::vector<std::wstring> buttons;   // captions without "&"
    bool topMost = false;
    RECT rect{};   // screen coordinates
};
// The middle of the rectangle is the middle of the screen (to a pixel, for odd sizes).
bool IsCentredOnScreen(const RECT& rect);

// The first message box (dialog class #32770 with static text and push buttons) of the process; nothing on timeout.
std::optional<MessageBoxInfo> WaitForMessageBox(DWORD pid, DWORD timeoutMs);
// Presses the button with that caption ("OK", "Cancel", "Yes", ...) and waits until the box is gone.
bool AnswerMessageBox(const MessageBoxInfo& box, const std::wstring& button, DWORD timeoutMs = 5000);

// ---- Files and registry ----------------------------------------------------------------------------------------
bool FileExists(const std::wstring& path);
bool DirectoryExists(const std::wstring& path);
std::optional<std::vector<uint8_t>> ReadFileBytes(const std::wstring& path);
bool WriteFileBytes(const std::wstring& path, const std::vector<uint8_t>& bytes);
void RemoveTree(const std::wstring& path);
// Text as the settings file is written: UTF-16LE with a byte-order mark.
std::vector<uint8_t> Utf16LeWithBom(const std::wstring& text);

// Values under HKEY_CURRENT_USER; nothing when the key or value is missing.
std::optional<std::wstring> ReadUserRegString(const std::wstring& key, const std::wstring& value);
bool WriteUserRegString(const std::wstring& key, const std::wstring& value, const std::wstring& data);
bool UserRegKeyExists(const std::wstring& key);
inline const std::wstring kPeloRegKey = L"Software\\Quorvel Software\\Pelorant";

// ---- Screen ----------------------------------------------------------------------------------------------------
// Saves the whole screen as ShotsDir()\<name>.bmp (the runner converts it to PNG). Returns the path or "".
std::wstring Screenshot(const std::wstring& name);

// Pumps nothing; just sleeps in small steps until the predicate holds or the time is up.
template <class Pred>
bool WaitUntil(Pred pred, DWORD timeoutMs, DWORD stepMs = 20) {
    const DWORD start = GetTickCount();
    for (;;) {
        if (pred()) return true;
        if (GetTickCount() - start >= timeoutMs) return false;
        Sleep(stepMs);
    }
}

}  // namespace pelo::e2e
