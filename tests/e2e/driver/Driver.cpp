#include "driver/Driver.h"

#include <shlobj.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include <gtest/gtest.h>
#include <utility>

namespace pelo::e2e {
namespace {

std::wstring EnvOr(const wchar_t* name, const std::wstring& fallback) {
    wchar_t buf[2048];
    const DWORD n = GetEnvironmentVariableW(name, buf, 2048);
    return n > 0 && n < 2048 ? std::wstring(buf, n) : fallback;
}

std::wstring ShellFolder(int csidl) {
    wchar_t buf[MAX_PATH + 1] = {};
    SHGetFolderPathW(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, buf);
    return buf;
}

bool CopyOne(const std::wstring& from, const std::wstring& to) { return CopyFileW(from.c_str(), to.c_str(), FALSE); }

}  // namespace

std::wstring BuildBinDir() { return EnvOr(L"PELO_BIN_DIR", L""); }
std::wstring FixturesDir() { return EnvOr(L"PELO_FIXTURES_DIR", L""); }
std::wstring ShotsDir() { return EnvOr(L"PELO_SHOTS_DIR", L""); }
std::wstring LocalAppDataDir() { return ShellFolder(CSIDL_LOCAL_APPDATA); }
std::wstring CommonDocumentsDir() { return ShellFolder(CSIDL_COMMON_DOCUMENTS); }
std::wstring AppDataDir() { return LocalAppDataDir() + L"\\Quorvel Software\\Pelorant"; }
std::wstring DefaultLogsDir() { return CommonDocumentsDir() + L"\\Pelorant Logs"; }

std::wstring InstallProgram(const std::wstring& folder, bool withHookLibrary) {
    const std::wstring dir = L"C:\\" + folder;
    CreateDirectoryW(dir.c_str(), nullptr);
    const std::wstring bin = BuildBinDir();
    CopyOne(bin + L"\\Pelorant.exe", dir + L"\\Pelorant.exe");
    if (withHookLibrary) CopyOne(bin + L"\\Pelorant.dll", dir + L"\\Pelorant.dll");
    if (FileExists(bin + L"\\Glossel.exe")) CopyOne(bin + L"\\Glossel.exe", dir + L"\\Glossel.exe");
    return dir + L"\\Pelorant.exe";
}

// ---- Process -----------------------------------------------------------------------------------------------------

Process::Process(Process&& other) noexcept
    : process_(std::exchange(other.process_, nullptr)), pid_(std::exchange(other.pid_, 0)) {}

Process& Process::operator=(Process&& other) noexcept {
    if (this != &other) {
        Kill();
        if (process_) CloseHandle(process_);
        process_ = std::exchange(other.process_, nullptr);
        pid_ = std::exchange(other.pid_, 0);
    }
    return *this;
}

Process::~Process() {
    Kill();
    if (process_) CloseHandle(process_);
}

Process Process::Start(const std::wstring& exe, const std::wstring& arguments) {
    Process p;
    std::wstring cmd = L"\"" + exe + L"\"";
    if (!arguments.empty()) cmd += L" " + arguments;
    std::wstring dir = exe.substr(0, exe.find_last_of(L'\\'));
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    if (CreateProcessW(exe.c_str(), cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, dir.c_str(), &si, &pi)) {
        CloseHandle(pi.hThread);
        p.process_ = pi.hProcess;
        p.pid_ = pi.dwProcessId;
    }
    return p;
}

bool Process::Running() const { return process_ && WaitForSingleObject(process_, 0) == WAIT_TIMEOUT; }

std::optional<DWORD> Process::WaitForExit(DWORD timeoutMs) {
    if (!process_) return std::nullopt;
    if (WaitForSingleObject(process_, timeoutMs) != WAIT_OBJECT_0) return std::nullopt;
    DWORD code = 0;
    GetExitCodeProcess(process_, &code);
    return code;
}

void Process::Kill() {
    if (Running()) {
        TerminateProcess(process_, 1);
        WaitForSingleObject(process_, 5000);
    }
}

// ---- Windows -----------------------------------------------------------------------------------------------------

namespace {
struct TopLevelScan {
    DWORD pid;
    bool visibleOnly;
    std::vector<HWND> out;
};

BOOL CALLBACK CollectTopLevel(HWND w, LPARAM lp) {
    auto* c = reinterpret_cast<TopLevelScan*>(lp);
    DWORD owner = 0;
    GetWindowThreadProcessId(w, &owner);
    if ((c->pid == 0 || owner == c->pid) && (!c->visibleOnly || IsWindowVisible(w))) c->out.push_back(w);
    return TRUE;
}

BOOL CALLBACK CollectChild(HWND w, LPARAM lp) {
    reinterpret_cast<std::vector<HWND>*>(lp)->push_back(w);
    return TRUE;
}
}  // namespace

std::vector<HWND> TopLevelWindowsOf(DWORD pid, bool visibleOnly) {
    TopLevelScan scan{pid, visibleOnly, {}};
    EnumWindows(&CollectTopLevel, reinterpret_cast<LPARAM>(&scan));
    return scan.out;
}

std::wstring ClassOf(HWND w) {
    wchar_t buf[256] = {};
    GetClassNameW(w, buf, 256);
    return buf;
}

std::wstring TextOf(HWND w) {
    // WM_GETTEXT with a timeout: a hung target must not hang the test.
    std::vector<wchar_t> buf(8192, L'\0');
    DWORD_PTR got = 0;
    if (!SendMessageTimeoutW(w, WM_GETTEXT, buf.size(), reinterpret_cast<LPARAM>(buf.data()), SMTO_ABORTIFHUNG, 5000,
                             &got))
        return {};
    return std::wstring(buf.data(), static_cast<size_t>(got));
}

std::string TextOfA(HWND w) {
    std::vector<char> buf(8192, '\0');
    DWORD_PTR got = 0;
    if (!SendMessageTimeoutA(w, WM_GETTEXT, buf.size(), reinterpret_cast<LPARAM>(buf.data()), SMTO_ABORTIFHUNG, 5000,
                             &got))
        return {};
    return std::string(buf.data(), static_cast<size_t>(got));
}

HWND WaitForTopLevel(DWORD pid, const std::wstring& className, DWORD timeoutMs, bool mustBeVisible) {
    HWND found = nullptr;
    WaitUntil(
        [&] {
            for (HWND w : TopLevelWindowsOf(pid, mustBeVisible))
                if (ClassOf(w) == className) {
                    found = w;
                    return true;
                }
            return false;
        },
        timeoutMs);
    return found;
}

std::vector<HWND> Children(HWND parent) {
    std::vector<HWND> out;
    EnumChildWindows(parent, &CollectChild, reinterpret_cast<LPARAM>(&out));
    return out;
}

HWND FindDescendant(HWND parent, const std::wstring& className, const std::wstring& text) {
    for (HWND w : Children(parent))
        if (_wcsicmp(ClassOf(w).c_str(), className.c_str()) == 0 && (text.empty() || TextOf(w) == text)) return w;
    return nullptr;
}

RECT ClientRect(HWND w) {
    RECT r{};
    GetClientRect(w, &r);
    return r;
}

RECT RectInParent(HWND child) {
    RECT r{};
    GetWindowRect(child, &r);
    MapWindowPoints(HWND_DESKTOP, GetParent(child), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

LRESULT SendWithTimeout(HWND w, UINT msg, WPARAM wp, LPARAM lp, DWORD timeoutMs) {
    DWORD_PTR result = 0;
    SendMessageTimeoutW(w, msg, wp, lp, SMTO_NORMAL, timeoutMs, &result);
    return static_cast<LRESULT>(result);
}

UINT PeloCommMessage() { return RegisterWindowMessageA("PeloComm 447A8832-D64B-4BD4-9286-BAA4F2E44B27"); }

void ClickButton(HWND button) { PostMessageW(button, BM_CLICK, 0, 0); }

bool MovePointer(POINT to, DWORD timeoutMs) {
    auto there = [&] {
        POINT at{};
        return GetCursorPos(&at) && at.x == to.x && at.y == to.y;
    };
    return WaitUntil([&] {
        if (!SetCursorPos(to.x, to.y) || !there()) return false;
        // Right after a move, Wine answers from what it was told; a little later it asks the X server, which may
        // not have taken the move. Only a position that still holds then is where the pointer is.
        Sleep(150);
        return there();
    }, timeoutMs);
}

// ---- Message boxes -----------------------------------------------------------------------------------------------

const char* ToString(BoxIcon icon) {
    switch (icon) {
        case BoxIcon::None: return "none";
        case BoxIcon::Error: return "error";
        case BoxIcon::Warning: return "warning";
        case BoxIcon::Information: return "information";
        case BoxIcon::Question: return "question";
    }
    return "?";
}

namespace {

// The box's icon is drawn by another process, whose icon handle we cannot read; so the icon's pixels on screen are
// compared with each standard icon drawn here on the same background, and the closest one wins.
BoxIcon IdentifyIcon(HWND iconStatic) {
    RECT r{};
    GetWindowRect(iconStatic, &r);
    const int w = r.right - r.left, h = r.bottom - r.top;
    if (w <= 0 || h <= 0 || !IsWindowVisible(iconStatic)) return BoxIcon::None;
    HDC screen = GetDC(nullptr);
    HDC shot = CreateCompatibleDC(screen);
    HBITMAP shotBmp = CreateCompatibleBitmap(screen, w, h);
    SelectObject(shot, shotBmp);
    BitBlt(shot, 0, 0, w, h, screen, r.left, r.top, SRCCOPY);
    const COLORREF background = GetPixel(shot, 0, 0);

    struct Candidate {
        BoxIcon icon;
        LPCWSTR id;
    } candidates[] = {{BoxIcon::Error, MAKEINTRESOURCEW(32513)},
                      {BoxIcon::Warning, MAKEINTRESOURCEW(32515)},
                      {BoxIcon::Information, MAKEINTRESOURCEW(32516)},
                      {BoxIcon::Question, MAKEINTRESOURCEW(32514)}};
    BoxIcon best = BoxIcon::None;
    long long bestScore = -1;
    // The blank area scores as "no icon": an icon that differs from the background more than a blank does.
    long long blankScore = 0;
    HDC mem = CreateCompatibleDC(screen);
    HBITMAP memBmp = CreateCompatibleBitmap(screen, w, h);
    SelectObject(mem, memBmp);
    for (const auto& c : candidates) {
        HBRUSH brush = CreateSolidBrush(background);
        RECT all{0, 0, w, h};
        FillRect(mem, &all, brush);
        DeleteObject(brush);
        DrawIconEx(mem, 0, 0, LoadIconW(nullptr, c.id), 0, 0, 0, nullptr, DI_NORMAL);
        long long score = 0, blank = 0;
        for (int y = 0; y < h; y += 2)
            for (int x = 0; x < w; x += 2) {
                const COLORREF a = GetPixel(shot, x, y), b = GetPixel(mem, x, y);
                score += std::abs(GetRValue(a) - GetRValue(b)) + std::abs(GetGValue(a) - GetGValue(b)) +
                         std::abs(GetBValue(a) - GetBValue(b));
                blank += std::abs(GetRValue(a) - GetRValue(background)) +
                         std::abs(GetGValue(a) - GetGValue(background)) + std::abs(GetBValue(a) - GetBValue(background));
            }
        blankScore = blank;
        if (bestScore < 0 || score < bestScore) {
            bestScore = score;
            best = c.icon;
        }
    }
    DeleteObject(memBmp);
    DeleteDC(mem);
    DeleteObject(shotBmp);
    DeleteDC(shot);
    ReleaseDC(nullptr, screen);
    return blankScore <= bestScore ? BoxIcon::None : best;
}

std::wstring StripAmpersand(std::wstring s) {
    s.erase(std::remove(s.begin(), s.end(), L'&'), s.end());
    return s;
}

std::optional<MessageBoxInfo> ReadMessageBox(HWND w) {
    if (ClassOf(w) != L"#32770") return std::nullopt;
    MessageBoxInfo info;
    info.hwnd = w;
    info.caption = TextOf(w);
    info.topMost = (GetWindowLongW(w, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
    GetWindowRect(w, &info.rect);
    HWND iconStatic = nullptr;
    for (HWND c : Children(w)) {
        const std::wstring cls = ClassOf(c);
        const LONG style = GetWindowLongW(c, GWL_STYLE);
        if (_wcsicmp(cls.c_str(), L"Static") == 0) {
            if ((style & SS_TYPEMASK) == SS_ICON)
                iconStatic = c;
            else if (IsWindowVisible(c) && info.text.empty())
                info.text = TextOf(c);
        } else if (_wcsicmp(cls.c_str(), L"Button") == 0 && IsWindowVisible(c)) {
            info.buttons.push_back(StripAmpersand(TextOf(c)));
        }
    }
    if (info.buttons.empty()) return std::nullopt;
    if (iconStatic) info.icon = IdentifyIcon(iconStatic);
    return info;
}

}  // namespace

std::optional<MessageBoxInfo> WaitForMessageBox(DWORD pid, DWORD timeoutMs) {
    std::optional<MessageBoxInfo> found;
    WaitUntil(
        [&] {
            for (HWND w : TopLevelWindowsOf(pid, true))
                if ((found = ReadMessageBox(w))) return true;
            return false;
        },
        timeoutMs, 50);
    if (found) {
        // Let the box finish painting before its icon is looked at again.
        Sleep(200);
        if (auto again = ReadMessageBox(found->hwnd)) found = again;
    }
    return found;
}

bool AnswerMessageBox(const MessageBoxInfo& box, const std::wstring& button, DWORD timeoutMs) {
    for (HWND c : Children(box.hwnd)) {
        if (_wcsicmp(ClassOf(c).c_str(), L"Button") == 0 && StripAmpersand(TextOf(c)) == button) {
            ClickButton(c);
            return WaitUntil([&] { return !IsWindow(box.hwnd); }, timeoutMs);
        }
    }
    return false;
}

// ---- Files and registry ------------------------------------------------------------------------------------------

bool FileExists(const std::wstring& path) {
    const DWORD a = GetFileAttributesW(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

bool DirectoryExists(const std::wstring& path) {
    const DWORD a = GetFileAttributesW(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

std::optional<std::vector<uint8_t>> ReadFileBytes(const std::wstring& path) {
    HANDLE f = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                           OPEN_EXISTING, 0, nullptr);
    if (f == INVALID_HANDLE_VALUE) return std::nullopt;
    std::vector<uint8_t> bytes;
    uint8_t buf[65536];
    DWORD got = 0;
    while (ReadFile(f, buf, sizeof buf, &got, nullptr) && got > 0) bytes.insert(bytes.end(), buf, buf + got);
    CloseHandle(f);
    return bytes;
}

bool WriteFileBytes(const std::wstring& path, const std::vector<uint8_t>& bytes) {
    HANDLE f = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (f == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    const BOOL ok = WriteFile(f, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(f);
    return ok && written == bytes.size();
}

void RemoveTree(const std::wstring& path) {
    WIN32_FIND_DATAW fd;
    HANDLE h = FindFirstFileW((path + L"\\*").c_str(), &fd);
    if (h != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring name = fd.cFileName;
            if (name == L"." || name == L"..") continue;
            const std::wstring full = path + L"\\" + name;
            if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveTree(full);
            else
                DeleteFileW(full.c_str());
        } while (FindNextFileW(h, &fd));
        FindClose(h);
    }
    RemoveDirectoryW(path.c_str());
}

std::vector<uint8_t> Utf16LeWithBom(const std::wstring& text) {
    std::vector<uint8_t> out{0xFF, 0xFE};
    for (wchar_t c : text) {
        out.push_back(static_cast<uint8_t>(c & 0xFF));
        out.push_back(static_cast<uint8_t>((c >> 8) & 0xFF));
    }
    return out;
}

std::optional<std::wstring> ReadUserRegString(const std::wstring& key, const std::wstring& value) {
    HKEY k = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, key.c_str(), 0, KEY_QUERY_VALUE, &k) != ERROR_SUCCESS) return std::nullopt;
    wchar_t buf[4096] = {};
    DWORD size = sizeof buf - sizeof(wchar_t), type = 0;
    const LONG rc = RegQueryValueExW(k, value.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(buf), &size);
    RegCloseKey(k);
    if (rc != ERROR_SUCCESS) return std::nullopt;
    return std::wstring(buf);
}

bool WriteUserRegString(const std::wstring& key, const std::wstring& value, const std::wstring& data) {
    HKEY k = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, key.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &k, nullptr) !=
        ERROR_SUCCESS)
        return false;
    const LONG rc = RegSetValueExW(k, value.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()),
                                   static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(k);
    return rc == ERROR_SUCCESS;
}

bool UserRegKeyExists(const std::wstring& key) {
    HKEY k = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, key.c_str(), 0, KEY_QUERY_VALUE, &k) != ERROR_SUCCESS) return false;
    RegCloseKey(k);
    return true;
}

// ---- Screen --------------------------------------------------------------------------------------------------------

std::wstring Screenshot(const std::wstring& name) {
    const std::wstring dir = ShotsDir();
    if (dir.empty()) return {};
    const int w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
    HDC screen = GetDC(nullptr);
    HDC mem = CreateCompatibleDC(screen);
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = w;
    bi.bmiHeader.biHeight = h;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 24;
    bi.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP dib = CreateDIBSection(screen, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    SelectObject(mem, dib);
    BitBlt(mem, 0, 0, w, h, screen, 0, 0, SRCCOPY);
    GdiFlush();
    const DWORD stride = ((static_cast<DWORD>(w) * 3 + 3) & ~3u);
    const DWORD imageSize = stride * static_cast<DWORD>(h);
    BITMAPFILEHEADER fh{};
    fh.bfType = 0x4D42;
    fh.bfOffBits = sizeof fh + sizeof bi.bmiHeader;
    fh.bfSize = fh.bfOffBits + imageSize;
    std::vector<uint8_t> file(reinterpret_cast<uint8_t*>(&fh), reinterpret_cast<uint8_t*>(&fh) + sizeof fh);
    file.insert(file.end(), reinterpret_cast<uint8_t*>(&bi.bmiHeader),
                reinterpret_cast<uint8_t*>(&bi.bmiHeader) + sizeof bi.bmiHeader);
    file.insert(file.end(), static_cast<uint8_t*>(bits), static_cast<uint8_t*>(bits) + imageSize);
    DeleteObject(dib);
    DeleteDC(mem);
    ReleaseDC(nullptr, screen);
    const std::wstring path = dir + L"\\" + name + L".bmp";
    return WriteFileBytes(path, file) ? path : std::wstring();
}

bool IsCentredOnScreen(const RECT& rect) {
    const int dx = (rect.left + rect.right) - GetSystemMetrics(SM_CXSCREEN);
    const int dy = (rect.top + rect.bottom) - GetSystemMetrics(SM_CYSCREEN);
    return dx >= -1 && dx <= 1 && dy >= -1 && dy <= 1;
}

// ---- Headline box -------------------------------------------------------------------------------------------

std::string ClipboardText() {
    std::string text;
    for (int attempt = 0; attempt < 50 && !OpenClipboard(nullptr); ++attempt) Sleep(20);
    if (HANDLE data = GetClipboardData(CF_TEXT)) {
        if (const char* s = static_cast<const char*>(GlobalLock(data))) text = s;
        GlobalUnlock(data);
    }
    CloseClipboard();
    return text;
}

void PutOnClipboard(const std::string& text) {
    for (int attempt = 0; attempt < 50 && !OpenClipboard(nullptr); ++attempt) Sleep(20);
    EmptyClipboard();
    HGLOBAL mem = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
    memcpy(GlobalLock(mem), text.c_str(), text.size() + 1);
    GlobalUnlock(mem);
    SetClipboardData(CF_TEXT, mem);
    CloseClipboard();
}

std::string HeadlineBoxRow(HWND main, HWND listBox, int row) {
    constexpr WPARAM kCopySelected = 203;
    const std::string marker = "(clipboard not written)";
    PutOnClipboard(marker);
    SendWithTimeout(listBox, LB_SETCURSEL, static_cast<WPARAM>(row), 0);
    SendWithTimeout(main, WM_COMMAND, kCopySelected, 0);
    const std::string text = ClipboardText();
    EXPECT_NE(text, marker) << "Copy selected wrote nothing for row " << row;
    return text;
}

}  // namespace pelo::e2e
