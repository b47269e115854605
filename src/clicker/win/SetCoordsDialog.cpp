#include "clicker/win/SetCoordsDialog.h"

#include "ui/win/Controls.h"
#include "ui/win/MessageBoxes.h"
#include "ui/win/Panel.h"
#include "ui/win/WinText.h"

namespace pelo::clicker {
namespace {

constexpr int ClientWidth = 650, ClientHeight = 168;
// No WS_CLIPCHILDREN: the group frame leaves its inside to the dialog's background.
constexpr DWORD DialogStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU;
constexpr DWORD DialogExStyle = WS_EX_DLGMODALFRAME;
constexpr const wchar_t* Caption = L"Manual Buy/Sell button coordinate setup (X,Y)";

constexpr COLORREF ClickPanelColor = RGB(255, 251, 240);  // cream
constexpr COLORREF InvalidDelayColor = RGB(255, 0, 0);
constexpr int ColumnWidth = 120;

struct RowLabel {
    int Top;
    const wchar_t* Text;
};
constexpr std::array<RowLabel, 4> RowLabels{{
    {19, L"Buy   [press \"q\" to set, \"a\" to test]:"},
    {40, L"Sell   [press \"e\" to set, \"d\" to test]:"},
    {60, L"Buy+ [press \"t\" to set, \"g\" to test]:"},
    {81, L"Sell+ [press \"u\" to set, \"j\" to test]:"},
}};
constexpr int RowLabelLeft = 11;

// The group's controls are its siblings, placed at the group's origin plus their place in it.
constexpr ui::Rect GroupRect{508, 6, 133, 115};
constexpr ui::Rect InGroup(int left, int top, int width, int height) {
    return {GroupRect.Left + left, GroupRect.Top + top, width, height};
}

// Tops of an entry's four coordinate labels inside its panel, in the order of TradeKind.
constexpr std::array<int, 4> PointLabelTops{8, 29, 49, 69};

int ColumnLeft(int entry) { return ColumnWidth * entry; }

ui::Rect RadioRect(int entry) {
    const int x0 = ColumnLeft(entry);
    if (entry < 9) return {x0 + 10, 98, 60, 21};
    if (entry < 99) return {x0 + 6, 98, 67, 21};
    return {x0 + 2, 98, 74, 21};
}

}  // namespace

// A delay field: a click or the focus in it deselects the clicks, so digits typed here select nothing; Enter
// leaves it without a beep.
class TfrmSetCoords::DelayEdit : public ui::Edit {
public:
    std::function<void()> onEnter;
    HWND dialog = nullptr;

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override {
        switch (msg) {
            case WM_LBUTTONDOWN:
            case WM_SETFOCUS:
                if (onEnter) onEnter();
                break;
            case WM_KEYDOWN:
                if (wp == VK_RETURN) {
                    SetFocus(dialog);
                    return 0;
                }
                break;
            case WM_CHAR:
                if (wp == '\r') return 0;
                break;
            default:
                break;
        }
        return ui::Edit::HandleMessage(msg, wp, lp);
    }
};

struct TfrmSetCoords::EntryControls {
    std::unique_ptr<ui::Panel> ClickPanel;
    std::array<std::unique_ptr<ui::Label>, 4> PointLabels;  // Buy, Sell, Buy+, Sell+
    std::unique_ptr<ui::RadioButton> ClickRadio;
    // Between this entry and the next: the wait after this entry's click.
    std::unique_ptr<ui::Label> DelayLabel, MsLabel;
    std::unique_ptr<DelayEdit> Delay;
};

namespace {

// Controls made with Create belong to their parent window; the object only lets go of them.
template <class T>
void DestroyControl(std::unique_ptr<T>& control) {
    if (!control) return;
    HWND hwnd = control->hwnd();
    control.reset();
    if (hwnd && IsWindow(hwnd)) DestroyWindow(hwnd);
}

}  // namespace

TfrmSetCoords::TfrmSetCoords(TOrderExecution& orders) : orders_(orders), keys_(orders, *this) {}

TfrmSetCoords::~TfrmSetCoords() = default;

bool TfrmSetCoords::Create(HWND owner) {
    RECT r{0, 0, ClientWidth, ClientHeight};
    AdjustWindowRectEx(&r, DialogStyle, FALSE, DialogExStyle);
    ui::WindowArgs args;
    args.className = L"TfrmSetCoords";
    args.title = Caption;
    args.style = DialogStyle;
    args.exStyle = DialogExStyle;
    args.rect = {0, 0, r.right - r.left, r.bottom - r.top};
    args.parent = owner;
    if (!ui::Window::Create(args)) return false;
    FormCreate();
    return true;
}

void TfrmSetCoords::FormCreate() {
    // The dialog's own font follows the screen's resolution; the click columns keep their pixel fonts.
    const int dpi = ui::ScreenDpi();
    int height = -11;
    if (dpi > 120) height = -MulDiv(6, dpi, 72);
    else if (dpi == 120) height = -MulDiv(8, dpi, 72);
    dialogFont_ = ui::Font(L"Tahoma", height);
    rowFont_ = ui::Font(L"Microsoft Sans Serif", -11);
    radioFont_ = ui::Font(L"Microsoft Sans Serif", -12);
    editFont_ = ui::Font(L"Microsoft Sans Serif", -12);
    SetFont(dialogFont_);

    const HWND self = hwnd();
    for (size_t k = 0; k < RowLabels.size(); ++k)
        rowLabels_[k].Create({.parent = self, .rect = {RowLabelLeft, RowLabels[k].Top, 0, 0}, .text = RowLabels[k].Text,
                              .font = rowFont_});
    btnClearSelected.Create({.parent = self, .rect = {12, 108, 105, 21}, .text = L"Clear Selected", .font = dialogFont_});
    btnClearAll.Create({.parent = self, .rect = {12, 137, 105, 21}, .text = L"Clear All", .font = dialogFont_});
    ScrollBox1.Create({.parent = self, .notify = self, .rect = {183, 8, 315, 150}, .color = GetSysColor(COLOR_BTNFACE)});
    GroupBox1.Create({.parent = self, .rect = GroupRect, .text = L"Test All", .font = dialogFont_});
    btnTestBuy.Create({.parent = self, .rect = InGroup(13, 20, 48, 22), .text = L"Buy", .font = dialogFont_});
    btnTestSell.Create({.parent = self, .rect = InGroup(72, 20, 48, 22), .text = L"Sell", .font = dialogFont_});
    btnTestStrongBuy.Create({.parent = self, .rect = InGroup(13, 52, 48, 22), .text = L"Buy+", .font = dialogFont_});
    btnTestStrongSell.Create({.parent = self, .rect = InGroup(72, 52, 48, 22), .text = L"Sell+", .font = dialogFont_});
    cbxTestWithClicking.Create(
        {.parent = self, .rect = InGroup(16, 87, 97, 19), .text = L"with clicking", .font = dialogFont_});
    btnAddExtraClick.Create({.parent = self, .rect = {521, 133, 120, 25}, .text = L"Add Extra Click", .font = dialogFont_});
    // The group frame is drawn behind the controls placed over it.
    SetWindowPos(GroupBox1.hwnd(), HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);

    btnClearSelected.onClick = [this] { btnClearSelectedClick(); };
    btnClearAll.onClick = [this] { btnClearAllClick(); };
    btnAddExtraClick.onClick = [this] { btnAddExtraClickClick(); };
    btnTestBuy.onClick = [this] { TestClicks(TradeKind::Buy); };
    btnTestSell.onClick = [this] { TestClicks(TradeKind::Sell); };
    btnTestStrongBuy.onClick = [this] { TestClicks(TradeKind::StrongBuy); };
    btnTestStrongSell.onClick = [this] { TestClicks(TradeKind::StrongSell); };

    TClickList& clicks = orders_.Clicks;
    for (auto& entry : clicks.ClickList) entry = TManualClick{};
    clicks.ClickCount = 0;
    for (int k = 0; k < InitialClickCount; ++k) AddClick(false);
    SelectClick(0);
}

void TfrmSetCoords::Show() {
    ShowWindow(hwnd(), SW_SHOW);
    SetForegroundWindow(hwnd());
}

bool TfrmSetCoords::Owns(HWND window) const {
    return hwnd() && window && (window == hwnd() || IsChild(hwnd(), window));
}

// ---------------------------------------------------------------------------------------------------------------
// The click columns

void TfrmSetCoords::AddClick(bool byUser) {
    TClickList& clicks = orders_.Clicks;
    if (clicks.ClickCount >= MaxClicks) {
        ui::ShowErrorBox(L"Click count limit reached (100 clicks)!");
        return;
    }
    const int entry = clicks.ClickCount++;
    LockWindowUpdate(hwnd());
    // New controls are placed from the unscrolled origin.
    ScrollBox1.ScrollTo(0);
    CreateEntryControls(entry);
    if (entry >= 1) CreateDelayControls(entry - 1);
    if (byUser) SelectClick(entry);
    ScrollBox1.ScrollToEnd();
    LockWindowUpdate(nullptr);
}

void TfrmSetCoords::CreateEntryControls(int entry) {
    auto c = std::make_unique<EntryControls>();
    const HWND box = ScrollBox1.hwnd();
    const int x0 = ColumnLeft(entry);
    c->ClickPanel = std::make_unique<ui::Panel>();
    c->ClickPanel->Create({.parent = box, .notify = box, .rect = {x0, 4, 75, 92}, .color = ClickPanelColor});
    c->ClickPanel->onClick = [this, entry] { SelectClick(entry); };
    for (size_t k = 0; k < c->PointLabels.size(); ++k) {
        auto label = std::make_unique<ui::Label>();
        label->autoSize = false;
        label->Create({.parent = c->ClickPanel->hwnd(), .rect = {1, PointLabelTops[k], 72, 13}, .text = L"(- , -)",
                       .font = rowFont_, .style = SS_CENTER | SS_NOTIFY});
        label->onClick = [this, entry] { SelectClick(entry); };
        c->PointLabels[k] = std::move(label);
    }
    c->ClickRadio = std::make_unique<ui::RadioButton>();
    c->ClickRadio->Create(
        {.parent = box, .rect = RadioRect(entry), .text = L"Click " + std::to_wstring(entry + 1), .font = radioFont_});
    c->ClickRadio->onClick = [this, entry] { SelectClick(entry); };
    entries_[static_cast<size_t>(entry)] = std::move(c);
    ScrollBox1.UpdateRange();
}

void TfrmSetCoords::CreateDelayControls(int entry) {
    EntryControls& c = *entries_[static_cast<size_t>(entry)];
    const HWND box = ScrollBox1.hwnd();
    const int x = ColumnLeft(entry);
    c.DelayLabel = std::make_unique<ui::Label>();
    c.DelayLabel->Create({.parent = box, .rect = {x + 83, 25, 27, 13}, .text = L"Delay", .font = rowFont_});
    c.Delay = std::make_unique<DelayEdit>();
    c.Delay->Create(
        {.parent = box, .rect = {x + 84, 42, 25, 23}, .text = L"0", .font = editFont_, .exStyle = WS_EX_CLIENTEDGE});
    c.Delay->dialog = hwnd();
    c.Delay->onEnter = [this] { DeselectClicks(); };
    c.Delay->onChange = [this, entry] { DelayEditChange(entry); };
    c.MsLabel = std::make_unique<ui::Label>();
    c.MsLabel->Create({.parent = box, .rect = {x + 90, 67, 13, 13}, .text = L"ms", .font = rowFont_});
    ScrollBox1.UpdateRange();
}

void TfrmSetCoords::DestroyDelayControls(EntryControls& c) {
    if (c.Delay) ScrollBox1.ForgetChildColors(*c.Delay);
    DestroyControl(c.DelayLabel);
    DestroyControl(c.Delay);
    DestroyControl(c.MsLabel);
}

void TfrmSetCoords::DestroyEntryPanel(EntryControls& c) {
    for (auto& label : c.PointLabels) DestroyControl(label);
    c.ClickPanel.reset();  // a panel of ours takes its window with it
    DestroyControl(c.ClickRadio);
}

void TfrmSetCoords::SelectClick(int entry) {
    for (int k = 0; k < orders_.Clicks.ClickCount; ++k)
        if (auto& c = entries_[static_cast<size_t>(k)]; c && c->ClickRadio) c->ClickRadio->SetChecked(k == entry);
    auto& c = entries_[static_cast<size_t>(entry)];
    if (c && c->ClickRadio && IsWindowVisible(hwnd()) && IsWindowEnabled(hwnd())) SetFocus(c->ClickRadio->hwnd());
    orders_.Clicks.SelectedClick = entry;
}

void TfrmSetCoords::DeselectClicks() {
    for (int k = 0; k < orders_.Clicks.ClickCount; ++k)
        if (auto& c = entries_[static_cast<size_t>(k)]; c && c->ClickRadio) c->ClickRadio->SetChecked(false);
    orders_.Clicks.SelectedClick = -1;
}

void TfrmSetCoords::DelayEditChange(int entry) {
    DeselectClicks();
    EntryControls& c = *entries_[static_cast<size_t>(entry)];
    if (!c.Delay) return;
    int32_t delay = 0;
    const bool valid = ParseDelayText(c.Delay->TextA(), delay);
    if (valid) ScrollBox1.ForgetChildColors(*c.Delay);
    else ScrollBox1.SetChildColors(*c.Delay, GetSysColor(COLOR_WINDOWTEXT), InvalidDelayColor);
    orders_.Clicks.ClickList[static_cast<size_t>(entry)].DelayMs = valid ? delay : 0;
}

void TfrmSetCoords::btnClearAllClick() {
    LockWindowUpdate(hwnd());
    TClickList& clicks = orders_.Clicks;
    for (int i = 0; i < clicks.ClickCount; ++i) {
        clicks.ClickList[static_cast<size_t>(i)] = TManualClick{};
        EntryControls& c = *entries_[static_cast<size_t>(i)];
        if (i >= 2) DestroyDelayControls(c);
        if (c.Delay) c.Delay->SetText(L"0");
        if (i >= 3) DestroyEntryPanel(c);
        for (auto& label : c.PointLabels)
            if (label) label->SetText(L"(- , -)");
        if (i >= 3) entries_[static_cast<size_t>(i)].reset();
    }
    clicks.ClickCount = InitialClickCount;
    SelectClick(0);
    ScrollBox1.ScrollTo(0);
    ScrollBox1.UpdateRange();
    LockWindowUpdate(nullptr);
    orders_.Host().ShowStatusLine("All button coordinates cleared");
}

void TfrmSetCoords::TestClicks(TradeKind kind) {
    orders_.TestWithClicking = cbxTestWithClicking.IsChecked();
    orders_.RunTestClicks(kind);
}

// ---------------------------------------------------------------------------------------------------------------
// What the keys see

bool TfrmSetCoords::DelayEditFocused() {
    const HWND focus = GetFocus();
    if (!focus) return false;
    for (int k = 0; k < orders_.Clicks.ClickCount; ++k)
        if (auto& c = entries_[static_cast<size_t>(k)]; c && c->Delay && c->Delay->hwnd() == focus) return true;
    return false;
}

void TfrmSetCoords::ShowSelectedFromStart(int entry) {
    SelectClick(entry);
    ScrollBox1.ScrollTo(0);
}

void TfrmSetCoords::SetPointLabel(int entry, TradeKind kind, const std::string& text) {
    auto& c = entries_[static_cast<size_t>(entry)];
    if (!c) return;
    if (auto& label = c->PointLabels[static_cast<size_t>(kind)]) label->SetText(ui::AnsiToWide(text));
}

bool TfrmSetCoords::ConfirmSwitchToManual() {
    return ui::ShowConfirmBox(ui::AnsiToWide(SwitchToManualQuestion), MB_YESNO) == IDYES;
}

LRESULT TfrmSetCoords::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_COMMAND:
        case WM_NOTIFY: {
            LRESULT result = 0;
            ReflectToChild(msg, wp, lp, result);
            return result;
        }
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLORBTN:
            return ui::ButtonFaceColors(wp);
        case WM_CLOSE:
            // FormClose: the dialog goes out of sight; its controls and the click list stay.
            ShowWindow(hwnd(), SW_HIDE);
            return 0;
        default:
            return DefaultHandling(msg, wp, lp);
    }
}

}  // namespace pelo::clicker
