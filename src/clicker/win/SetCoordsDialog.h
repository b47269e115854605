#pragma once
// TfrmSetCoords, "Manual Buy/Sell button coordinate setup (X,Y)": the click list as columns of a scroll box, one
// per click with its four positions and a radio button, and the delay fields between them. Made once at start-up
// and kept until exit; closing it only hides it.
#include <windows.h>

#include <array>
#include <memory>
#include <string>

#include "clicker/CoordinateKeys.h"
#include "clicker/OrderExecution.h"
#include "ui/win/Control.h"
#include "ui/win/Font.h"
#include "ui/win/ScrollBox.h"
#include "ui/win/Window.h"

namespace pelo::clicker {

class TfrmSetCoords final : public ui::Window, private ICoordinateView {
public:
    explicit TfrmSetCoords(TOrderExecution& orders);
    ~TfrmSetCoords() override;

    // FormCreate included; the dialog stays hidden. Its window is owned by `owner`.
    bool Create(HWND owner);
    void Show();
    // True for the dialog and every control in it: their key presses go to FormKeyDown first.
    bool Owns(HWND window) const;
    void FormKeyDown(int key) { keys_.FormKeyDown(key); }

    void btnAddExtraClickClick() { AddClick(true); }
    void btnClearSelectedClick() { keys_.ClearSelected(); }
    void btnClearAllClick();
    void SelectClick(int entry);
    void DeselectClicks();

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    class DelayEdit;
    struct EntryControls;

    void FormCreate();
    void AddClick(bool byUser);
    void CreateEntryControls(int entry);
    void CreateDelayControls(int entry);
    void DestroyDelayControls(EntryControls& c);
    void DestroyEntryPanel(EntryControls& c);
    void DelayEditChange(int entry);
    void TestClicks(TradeKind kind);

    // ICoordinateView
    bool DelayEditFocused() override;
    void ShowSelectedFromStart(int entry) override;
    void SetPointLabel(int entry, TradeKind kind, const std::string& text) override;
    bool ConfirmSwitchToManual() override;

    TOrderExecution& orders_;
    TCoordinateKeys keys_;

    ui::Font dialogFont_, rowFont_, radioFont_, editFont_;
    std::array<ui::Label, 4> rowLabels_;
    ui::Button btnClearSelected, btnClearAll, btnTestBuy, btnTestSell, btnTestStrongBuy, btnTestStrongSell,
        btnAddExtraClick;
    ui::GroupBox GroupBox1;
    ui::CheckBox cbxTestWithClicking;
    ui::ScrollBox ScrollBox1;
    std::array<std::unique_ptr<EntryControls>, MaxClicks> entries_;
};

}  // namespace pelo::clicker
