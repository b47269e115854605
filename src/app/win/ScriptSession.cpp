#include "app/win/ScriptSession.h"

#include "app/TextFileDecoding.h"
#include "app/win/AppWindow.h"
#include "app/win/InstanceProtocol.h"
#include "app/win/Registry.h"
#include "app/win/WinCodePage.h"
#include "ffi/win/WinLibraryLoader.h"
#include "headlines/TimeStamps.h"
#include "headlines/win/WinClock.h"
#include "ui/win/MessageBoxes.h"
#include "ui/win/WinText.h"

namespace pelo::app {
namespace {

// A script that never ends its loop is stopped with an error after this many steps (backward jumps, calls, large
// values built) in one call from the program; the program goes on reading news.
constexpr int64_t kScriptStepBudget = 50'000'000;

lang::VmLimits ScriptLimits() {
    lang::VmLimits limits;
    limits.maxLoopSteps = kScriptStepBudget;
    return limits;
}

// APPLICATION: the program's application window, whose title is the one the taskbar shows.
class WinScriptApplication final : public script::ScriptApplication {
public:
    WinScriptApplication(const lang::HostClass* cls, AppWindow* window, HWND main)
        : ScriptApplication(cls), window_(window), main_(main) {
        hostOwned = true;
    }
    // Through the main window's own system commands: the same as the user's minimize and restore.
    void Minimize() override {
        if (main_) SendMessageW(main_, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    }
    void Restore() override {
        if (main_) SendMessageW(main_, WM_SYSCOMMAND, SC_RESTORE, 0);
    }
    void BringToFront() override {
        if (main_ && IsWindowVisible(main_)) SetForegroundWindow(main_);
    }
    std::string Title() const override { return window_ ? window_->TextA() : std::string(); }
    void SetTitle(std::string_view title) override {
        if (window_) window_->SetTitle(ui::AnsiToWide(title));
    }
    std::string ExeName() const override {
        char path[MAX_PATH] = {};
        const DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
        return std::string(path, n < MAX_PATH ? n : 0);
    }
    intptr_t Handle() const override { return window_ ? reinterpret_cast<intptr_t>(window_->hwnd()) : 0; }
    void ProcessMessages() override {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) {
                PostQuitMessage(static_cast<int>(msg.wParam));  // for the real message loop
                break;
            }
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }

private:
    AppWindow* window_;
    HWND main_;
};

std::vector<std::string> SplitLines(const std::string& text) {
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t k = 0; k < text.size(); ++k) {
        if (text[k] != '\r' && text[k] != '\n') continue;
        lines.push_back(text.substr(start, k - start));
        if (text[k] == '\r' && k + 1 < text.size() && text[k + 1] == '\n') ++k;
        start = k + 1;
    }
    if (start < text.size()) lines.push_back(text.substr(start));
    return lines;
}

}  // namespace

ScriptSession::ScriptSession(AppState& state, headlines::THeadlineCore& core, script::TScriptState& scriptState)
    : state_(state), core_(core), scriptState_(scriptState) {
    scriptWindows_ = std::make_unique<script::WinScriptWindows>(script::WinScriptWindows::Setup{});
    services_.ScriptWindows = scriptWindows_.get();
    classes_ = script::RegisterScriptInterface(table_, services_);
    script::WinScriptWindows::Setup& windows = scriptWindows_->Settings();
    windows.FontClass = classes_.Font;
    windows.StringsClass = table_.findClass("TStrings");
    windows.CanvasClass = table_.findClass("TCanvas");
    windows.PenClass = table_.findClass("TPen");
    windows.BrushClass = table_.findClass("TBrush");
    windows.BitmapClass = table_.findClass("TBitmap");
    windows.PictureClass = table_.findClass("TPicture");
    windows.OnEventError = [this](const std::string& text) {
        ShowErrorBox("Exception in script event handler: " + text);
    };
    host_ = std::make_unique<script::TPSScriptWrapper>(table_, classes_, ScriptLimits());
    host_->BeforeUnload = [this] { scriptWindows_->ReleaseAll(); };
    host_->ForeignCallsFactory = [] {
        return std::make_shared<ffi::LibraryCalls>(std::make_unique<ffi::WinLibraryLoader>());
    };
    services_.PostHBoxLine = [this](const std::string& line) { core_.HBox.PostHBoxLine(line); };
    services_.WriteScriptLogLine = [this](const std::string& text) {
        headlines::TWinClock clock;
        core_.Log.WriteScriptLogLine(ReadingActive(), clock.LocalNow(), text);
    };
}

ScriptSession::~ScriptSession() {
    // Nothing of the script runs at exit, DeInit included.
    lifecycle_.reset();
    host_.reset();
    scriptWindows_.reset();
}

void ScriptSession::Connect(WindowSide window, const script::PanelControls& panels) {
    window_ = std::move(window);
    services_.DialogOwner = window_.Window;
    scriptWindows_->Settings().MainWindow = window_.Window;
    panels_ = std::make_unique<script::TScriptPanels>(panels, classes_);
    services_.Panels = panels_.get();
    services_.ExecuteTradeClicks = window_.ExecuteTradeClicks;
    application_ = lang::objectValue(new WinScriptApplication(classes_.Application, state_.Application, window_.Window));
    // SELF offers scripts nothing beyond a plain object.
    auto* self = new lang::ScriptObject(classes_.Object);
    self->hostOwned = true;
    self_ = lang::objectValue(self);
    script::ScriptBindings& b = host_->Bindings;
    b.Application = static_cast<script::ScriptApplication*>(application_.o);
    b.Self = self_.o;
    for (int k = 0; k < script::kIndicatorLabelCount; ++k) b.Labels[k] = &panels_->IndicatorLabel(k);
    b.ResPanel = &panels_->ResPanelObject();
    lifecycle_ = std::make_unique<script::TScriptLifecycle>(*host_, scriptState_, core_.Log, *this);
}

bool ScriptSession::OpenScriptKey() {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, kRegistryKey, 0, KEY_QUERY_VALUE | KEY_SET_VALUE, &key) != ERROR_SUCCESS)
        return false;
    RegCloseKey(key);
    return true;
}

std::u16string ScriptSession::AttachedScript() { return ui::ToU16(ReadRegistryString(L"AttachedScript")); }

void ScriptSession::SetAttachedScript(const std::u16string& path) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, kRegistryKey, 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS) return;
    const std::wstring value = ui::ToWide(path);
    RegSetValueExW(key, L"AttachedScript", 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                   static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(key);
}

bool ScriptSession::IsFile(const std::u16string& path) {
    const DWORD attributes = GetFileAttributesW(ui::ToWide(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

std::optional<std::string> ScriptSession::ReadCompiledScript(const std::u16string& path) {
    if (path.empty()) return std::nullopt;
    // Opened for reading and writing with others only reading: a file that is still being written, or a
    // read-only one, is not loaded.
    HANDLE file = CreateFileW(ui::ToWide(path).c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return std::nullopt;
    std::optional<std::string> result;
    LARGE_INTEGER size{};
    if (GetFileSizeEx(file, &size) && size.QuadPart < (static_cast<LONGLONG>(1) << 32)) {
        std::string bytes(static_cast<size_t>(size.QuadPart), '\0');
        DWORD read = 0;
        if (bytes.empty() || (ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr) &&
                              read == bytes.size()))
            result = std::move(bytes);
    }
    CloseHandle(file);
    return result;
}

std::wstring ScriptSession::TestHeadlinesPath() const { return state_.Folders.AppDataDir + L"\\TestHeadlines.txt"; }

bool ScriptSession::TestHeadlinesExist() { return IsFile(ui::ToU16(TestHeadlinesPath())); }

std::optional<std::vector<std::string>> ScriptSession::ReadTestHeadlines() {
    HANDLE file = CreateFileW(TestHeadlinesPath().c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return std::nullopt;
    std::optional<std::vector<std::string>> lines;
    LARGE_INTEGER size{};
    if (GetFileSizeEx(file, &size) && size.QuadPart < (static_cast<LONGLONG>(64) << 20)) {
        std::vector<uint8_t> bytes(static_cast<size_t>(size.QuadPart));
        DWORD read = 0;
        if (bytes.empty() || (ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr) &&
                              read == bytes.size())) {
            const WinCodePage codePage;
            lines = SplitLines(codePage.FromWide(DecodeTextFileBytes(bytes, codePage)));
        }
    }
    CloseHandle(file);
    return lines;
}

void ScriptSession::DeleteTestHeadlines() { DeleteFileW(TestHeadlinesPath().c_str()); }

void ScriptSession::ShowErrorBox(const std::string& text) { ui::ShowErrorBox(ui::AnsiToWide(text)); }

void ScriptSession::ShowPlainBox(const std::string& text) { ui::ShowPlainBox(ui::AnsiToWide(text)); }

std::string ScriptSession::BoxTimeNow() {
    headlines::TWinClock clock;
    return headlines::FormatBoxTime(clock.LocalNow(), state_.Settings.AltTimeFormat);
}

std::string ScriptSession::ToAnsi(const std::u16string& text) { return WinCodePage().FromWide(text); }

void ScriptSession::NotifyEditor(bool scriptAttached) {
    app::NotifyEditor(state_.EditorSemaphoreName, state_.PeloCommMsg, scriptAttached);
}

}  // namespace pelo::app
