#pragma once
// Places, sizes and fonts of the main window's controls. The window is designed at 120 dpi and is not scaled:
// these are pixels at any screen resolution (only the autoexecute check box is adjusted, see TfrmPelorant).
#include <windows.h>

namespace pelo::app::layout {

struct Box {
    int Left, Top, Width, Height;
};

inline constexpr int ClientWidth = 610;
inline constexpr int ClientHeight = 271;
inline constexpr int MinWindowWidth = 610;
inline constexpr int MinWindowHeight = 151;

inline constexpr int TopPanelHeight = 61;
inline constexpr int BottomPanelHeight = 57;

// In TopPanel
inline constexpr Box AutoExecPanel{7, 9, 115, 17};
inline constexpr Box chbAutoExecute{2, 0, 116, 17};  // in AutoExecPanel
inline constexpr Box btnCoords{5, 34, 61, 21};
inline constexpr Box btnStartStop{74, 34, 52, 21};
inline constexpr Box ResPanel{132, -1, 330, 62};
inline constexpr Box SignalPanel{466, 4, 90, 52};
inline constexpr POINT Label5{564, 14};
inline constexpr POINT lblActiveNewsSourceCount{581, 14};
inline constexpr POINT Label1{564, 31};
inline constexpr POINT lblHeadlineCount{581, 31};

// In SignalPanel
inline constexpr POINT lblSignal{1, 16};
inline constexpr POINT lblNoSignal{19, 18};

// In ResPanel: the script's indicator labels lbl1..lbl6.
struct IndicatorLabel {
    int Left, Top;
    const wchar_t* Caption;
};
inline constexpr IndicatorLabel Indicators[6] = {
    {12, 5, L"cns: "}, {114, 5, L"act: "}, {216, 5, L" dev: "},
    {14, 33, L"pre: "}, {115, 33, L"rev: "}, {215, 33, L"rdev: "},
};

// In BottomPanel
inline constexpr Box btnScriptEditor{5, 16, 91, 26};
inline constexpr Box btnLaunchMT4s{105, 10, 92, 18};
inline constexpr Box btnCloseMT4s{105, 33, 92, 18};
inline constexpr Box btnShowAll{207, 10, 80, 18};
inline constexpr Box btnHideAll{207, 33, 80, 18};
inline constexpr Box ComboBox1{297, 20, 102, 22};
inline constexpr int ComboBox1DropDownCount = 15;
inline constexpr Box btnShow{409, 10, 81, 18};
inline constexpr Box btnHide{409, 33, 81, 18};
inline constexpr Box btnShowOptions{499, 16, 78, 26};

inline constexpr COLORREF ResPanelColor = RGB(49, 49, 49);
inline constexpr COLORREF SignalPanelColor = RGB(192, 192, 192);  // clSilver
inline constexpr COLORREF AutoExecArmedColor = RGB(0, 164, 0);

// Control identifiers (WM_COMMAND).
enum ControlId : int {
    idTopPanel = 100,
    idMiddlePanel,
    idBottomPanel,
    idAutoExecPanel,
    idResPanel,
    idSignalPanel,
    idChbAutoExecute,
    idBtnCoords,
    idBtnStartStop,
    idLabel5,
    idLblActiveNewsSourceCount,
    idLabel1,
    idLblHeadlineCount,
    idLblSignal,
    idLblNoSignal,
    idLbl1,  // .. idLbl1 + 5
    idListBox1 = idLbl1 + 6,
    idBtnScriptEditor,
    idBtnLaunchMT4s,
    idBtnCloseMT4s,
    idBtnShowAll,
    idBtnHideAll,
    idComboBox1,
    idBtnShow,
    idBtnHide,
    idBtnShowOptions,
};

// Menu item identifiers.
enum MenuId : int {
    idShowPelorant1 = 200,
    idExit1,
    idRemove1,
    idCopy1,
    idClear1,
};

}  // namespace pelo::app::layout
