// The program's entry: the start-up sequence, the message loop and the shutdown sequence.
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>

#include <memory>
#include <string>

#include "app/StartupRules.h"
#include "app/win/AppEx.h"
#include "app/win/AppFolders.h"
#include "app/win/AppState.h"
#include "app/win/AppWindow.h"
#include "app/win/HookLibrary.h"
#include "app/win/InstanceProtocol.h"
#include "app/win/MainWindow.h"
#include "app/win/Registry.h"
#include "app/win/SettingsStore.h"
#include "app/win/SystemSetup.h"
#include "core/SystemErrors.h"
#include "ui/win/MessageBoxes.h"
#include "ui/win/TaskWindows.h"
#include "ui/win/WinText.h"

namespace pelo::app {
namespace {

int RunProgram() {
    const std::wstring commandLine = GetCommandLineW();
    const std::u16string cl16 = ui::ToU16(commandLine);
    const std::optional<std::u16string> firstArg = FirstArgument(cl16);
    const StartupCommand command = firstArg ? ParseStartupCommand(*firstArg) : StartupCommand::None;

    TAppEx appEx;
    AppState state;
    // Before any window of ours exists, the application window carries the title for plain boxes.
    AppWindow appWindow;
    appWindow.Create(ui::AnsiToWide(ProgramTitle));
    state.Application = &appWindow;

    if (!WindowsVersionAllowed()) {
        ui::ShowErrorBox(L"Sorry, this program requires Windows XP (NT 5.1) or later.");
        return 0;
    }
    state.PeloCommMsg = RegisterPeloCommMessage();

    if (!PrepareAppDataDir(state.Folders)) return 0;
    if (!PrepareLogsDir(state.Folders)) return 0;

    state.InstanceSemaphoreName = ui::ToWide(InstanceSemaphoreNameFor(cl16));
    state.EditorSemaphoreName = ui::ToWide(EditorSemaphoreNameFor(cl16));
    state.ProgramDir = ui::ToWide(ProgramFolderKey(cl16));
    for (auto& c : state.ProgramDir)
        if (c == L'/') c = L'\\';

    if (HWND running = LearnWindowHandle(state.InstanceSemaphoreName)) {
        HandOverToRunningInstance(running, state.PeloCommMsg, command);
        return 0;
    }

    RaiseTimerResolution();
    FixTextConventions();

    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&icc);

    auto mainWindow = std::make_unique<TfrmPelorant>(appWindow, state);
    if (!mainWindow->Create()) return 0;
    ui::SetMessageBoxOwner(mainWindow->hwnd());

    LoadSettings(state);
    mainWindow->ApplyLoadedSettings();
    mainWindow->AllocateHeadlineStores();
    mainWindow->Terminals().FillSelector();
    mainWindow->WriteWelcomeLines();
    mainWindow->Terminals().UpdateButtons();

    EnsureOnScreen(mainWindow->hwnd());
    EnsureOnScreen(mainWindow->Orders().CoordsDialog().hwnd());

    for (HWND w : {mainWindow->hwnd(), mainWindow->Orders().CoordsDialog().hwnd()})
        ui::SetTopMost(w, state.Settings.StayOnTop);

    mainWindow->RunStartupCommand(command);

    mainWindow->ResetShownSecond();
    mainWindow->Timer1Timer();

    CreateInstanceSemaphore(state.InstanceSemaphoreName, mainWindow->hwnd());

    state.Hook.Load(mainWindow->hwnd());
    mainWindow->InstallAppEx(appEx);

    if (!firstArg && !mainWindow->ScriptAttached())
        NotifyEditor(state.EditorSemaphoreName, state.PeloCommMsg, false);
    if (!mainWindow->ScriptAttached()) ClearAttachedScriptValue();

    ShowWindow(mainWindow->hwnd(), SW_SHOW);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (msg.message == WM_KEYDOWN || msg.message == WM_SYSKEYDOWN)
            mainWindow->PreviewKeyDown(msg.hwnd, static_cast<int>(msg.wParam));
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }

    state.Hook.Release();
    const SettingsSaveResult saved = SaveSettings(state, *mainWindow);
    if (saved.Result == SettingsSaveResult::Outcome::Failed) ui::ShowErrorBox(ui::ToWide(saved.Error));
    state.TerminalList.clear();
    mainWindow.reset();
    return 0;
}

}  // namespace
}  // namespace pelo::app

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    pelo::app::RunProgram();
    return 0;
}
