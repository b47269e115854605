#pragma once
// Places, captions and fonts of the main window's controls, one row a control; MainWindowControls makes them in one
// loop. The window is designed at 120 dpi and is not scaled: these are pixels at any screen resolution (only the
// autoexecute check box is adjusted, see MainWindowControls).
#include <windows.h>

#include "app/MainWindowGeometry.h"
#include "ui/win/Window.h"

namespace pelo::app::layout {

using Box = ui::Rect;

inline constexpr int ClientWidth = DesignMinWindowWidth;
inline constexpr int ClientHeight = 271;
inline constexpr int MinWindowWidth = DesignMinWindowWidth;
inline constexpr int TopPanelHeight = DesignTopPanelHeight;
inline constexpr int MinWindowHeight = MinWindowHeightFor(TopPanelHeight);
inline constexpr int BottomPanelHeight = 57;

inline constexpr COLORREF ResPanelColor = RGB(49, 49, 49);
inline constexpr COLORREF SignalPanelColor = RGB(192, 192, 192);  // clSilver
inline constexpr COLORREF AutoExecArmedColor = RGB(0, 164, 0);
inline constexpr COLORREF IndicatorTextColor = RGB(255, 255, 255);
inline constexpr COLORREF SignalTextColor = RGB(0, 0, 0);

// Control identifiers.
enum ControlId : int {
    idChbAutoExecute = 106,
    idBtnCoords,
    idBtnStartStop,
    idLabel5,
    idLblActiveNewsSourceCount,
    idLabel1,
    idLblHeadlineCount,
    idLblSignal,
    idLblNoSignal,
    idLbl1,
    idLbl2,
    idLbl3,
    idLbl4,
    idLbl5,
    idLbl6,
    idListBox1,
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

// Menu item identifiers (WM_COMMAND from a menu).
enum MenuId : int {
    idShowPelorant1 = 200,
    idExit1,
    idRemove1,
    idCopy1,
    idClear1,
};

// The panels that hold controls; TopPanel, MiddlePanel and BottomPanel follow the window's size.
enum class Panel { Top, Bottom, AutoExec, Res, Signal };
inline constexpr Box AutoExecPanel{7, 9, 115, 17};  // in TopPanel
inline constexpr Box ResPanel{132, -1, DesignResPanelWidth, 62};  // in TopPanel
inline constexpr Box SignalPanel{466, 4, 90, 52};   // in TopPanel

enum class FontRole { Default, TopPanel, AutoExecute, Counters, SmallButtons, Indicators, Signal, NoSignal, Count };
struct FontRow {
    FontRole Role;
    const wchar_t* Name;
    int Height;
    bool Bold;
    bool FixedPitch;
    BYTE Quality;
};
// The script's labels are drawn without anti-aliasing: crisp digits on the dark panel.
inline constexpr FontRow Fonts[] = {
    {FontRole::Default, L"Tahoma", -12, false, false, DEFAULT_QUALITY},
    {FontRole::TopPanel, L"MS Sans Serif", -15, false, false, DEFAULT_QUALITY},
    {FontRole::AutoExecute, L"Microsoft Sans Serif", -13, false, false, DEFAULT_QUALITY},
    {FontRole::Counters, L"Tahoma", -13, false, false, DEFAULT_QUALITY},
    {FontRole::SmallButtons, L"Tahoma", -11, false, false, DEFAULT_QUALITY},
    {FontRole::Indicators, L"Microsoft Sans Serif", -16, true, true, NONANTIALIASED_QUALITY},
    {FontRole::Signal, L"Microsoft Sans Serif", -16, true, false, NONANTIALIASED_QUALITY},
    {FontRole::NoSignal, L"Microsoft Sans Serif", -13, false, false, DEFAULT_QUALITY},
};
// chbAutoExecute's font at 144 dpi and more.
inline constexpr FontRow LargeAutoExecuteFont{FontRole::AutoExecute, L"Tahoma", -15, false, false, DEFAULT_QUALITY};

struct ButtonRow {
    ControlId Id;
    Panel Parent;
    Box Place;
    const wchar_t* Caption;
    FontRole Font;
};
inline constexpr ButtonRow Buttons[] = {
    {idBtnCoords, Panel::Top, {5, 34, 61, 21}, L"Coords", FontRole::TopPanel},
    {idBtnStartStop, Panel::Top, {74, 34, 52, 21}, L"Start", FontRole::TopPanel},
    {idBtnScriptEditor, Panel::Bottom, {5, 16, 91, 26}, L"Script Editor", FontRole::Default},
    {idBtnLaunchMT4s, Panel::Bottom, {105, 10, 92, 18}, L"Launch MT4s", FontRole::SmallButtons},
    {idBtnCloseMT4s, Panel::Bottom, {105, 33, 92, 18}, L"Close MT4s", FontRole::SmallButtons},
    {idBtnShowAll, Panel::Bottom, {207, 10, 80, 18}, L"Show All", FontRole::SmallButtons},
    {idBtnHideAll, Panel::Bottom, {207, 33, 80, 18}, L"Hide All", FontRole::SmallButtons},
    {idBtnShow, Panel::Bottom, {409, 10, 81, 18}, L"Show", FontRole::SmallButtons},
    {idBtnHide, Panel::Bottom, {409, 33, 81, 18}, L"Hide", FontRole::SmallButtons},
    {idBtnShowOptions, Panel::Bottom, {499, 16, 78, 26}, L"Options", FontRole::Default},
};

inline constexpr Box chbAutoExecute{2, 0, 116, 17};  // in AutoExecPanel
inline constexpr const wchar_t* chbAutoExecuteCaption = L"autoexecute  ";

inline constexpr Box ComboBox1{297, 20, 102, 22};  // in BottomPanel
inline constexpr int ComboBox1DropDownCount = 15;

// Labels take the size of their text.
struct LabelRow {
    ControlId Id;
    Panel Parent;
    POINT At;
    const wchar_t* Caption;
    FontRole Font;
    const wchar_t* Hint;  // tool tip, or null
};
inline constexpr LabelRow Labels[] = {
    {idLabel5, Panel::Top, {564, 14}, L"S:", FontRole::Counters, L"Active news sources"},
    {idLblActiveNewsSourceCount, Panel::Top, {581, 14}, L"0", FontRole::Counters, nullptr},
    {idLabel1, Panel::Top, {564, 31}, L"H:", FontRole::Counters, L"New headlines received"},
    {idLblHeadlineCount, Panel::Top, {581, 31}, L"0", FontRole::Counters, nullptr},
    // The script's indicator labels lbl1..lbl6.
    {idLbl1, Panel::Res, {12, 5}, L"cns: ", FontRole::Indicators, nullptr},
    {idLbl2, Panel::Res, {114, 5}, L"act: ", FontRole::Indicators, nullptr},
    {idLbl3, Panel::Res, {216, 5}, L" dev: ", FontRole::Indicators, nullptr},
    {idLbl4, Panel::Res, {14, 33}, L"pre: ", FontRole::Indicators, nullptr},
    {idLbl5, Panel::Res, {115, 33}, L"rev: ", FontRole::Indicators, nullptr},
    {idLbl6, Panel::Res, {215, 33}, L"rdev: ", FontRole::Indicators, nullptr},
    {idLblNoSignal, Panel::Signal, {19, 18}, L"no signal", FontRole::NoSignal, nullptr},
};
// lblSignal starts empty, as high as a line of its font and no wider than nothing.
inline constexpr POINT lblSignal{1, 16};  // in SignalPanel

}  // namespace pelo::app::layout
