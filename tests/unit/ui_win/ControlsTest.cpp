#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <memory>
#include <string>
#include <vector>

#include "ui/win/Control.h"
#include "ui/win/Font.h"
#include "ui/win/Panel.h"
#include "ui/win/Window.h"

using namespace pelo::ui;

namespace {

// A top-level window of our own class that records what reaches it.
class Form : public Window {
public:
    std::vector<UINT> commands;  // WM_COMMAND codes that got past the controls
    int created = 0;

    bool Open()
    {
        WindowArgs args;
        args.className = L"PeloUnitTestForm";
        args.title = L"form";
        args.style = WS_OVERLAPPEDWINDOW;
        args.rect = {0, 0, 400, 300};
        return Create(args);
    }

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override
    {
        if (msg == WM_CREATE)
            ++created;
        if (msg == WM_COMMAND) {
            LRESULT r = 0;
            if (!ReflectToChild(msg, wp, lp, r))
                commands.push_back(HIWORD(wp));
            return 0;
        }
        return DefaultHandling(msg, wp, lp);
    }
};

// What the system sends the parent when the user works a control.
void Notify(HWND parent, const Control& control, int code)
{
    SendMessageW(parent, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(control.hwnd()), code),
                 reinterpret_cast<LPARAM>(control.hwnd()));
}

struct Fixture : ::testing::Test {
    Form form;
    Panel panel;
    void SetUp() override
    {
        ASSERT_TRUE(form.Open());
        ASSERT_TRUE(panel.Create({form.hwnd(), form.hwnd(), {0, 0, 400, 200}, RGB(1, 2, 3)}));
    }
};

TEST_F(Fixture, OwnWindowsAndControlsLeadBackToTheirObjects)
{
    EXPECT_EQ(form.created, 1) << "WM_CREATE reaches the object";
    Button ok;
    ASSERT_TRUE(ok.Create({.parent = panel.hwnd(), .id = 7, .rect = {10, 20, 75, 23}, .text = L"OK"}));
    EXPECT_EQ(Window::FromHandle(form.hwnd()), &form);
    EXPECT_EQ(Window::FromHandle(panel.hwnd()), &panel);
    EXPECT_EQ(Window::FromHandle(ok.hwnd()), &ok);
    EXPECT_EQ(GetDlgCtrlID(ok.hwnd()), 7);
    EXPECT_EQ(ok.RectInParent(), (Rect{10, 20, 75, 23}));
    EXPECT_EQ(ok.Text(), L"OK");
    EXPECT_EQ(Window::FromHandle(GetDesktopWindow()), nullptr);
}

TEST_F(Fixture, ANotificationGoesToItsControlThroughAnyContainer)
{
    Button inPanel, onForm;
    ASSERT_TRUE(inPanel.Create({.parent = panel.hwnd(), .id = 1, .text = L"a"}));
    ASSERT_TRUE(onForm.Create({.parent = form.hwnd(), .id = 2, .text = L"b"}));
    int a = 0, b = 0;
    inPanel.onClick = [&] { ++a; };
    onForm.onClick = [&] { ++b; };

    Notify(panel.hwnd(), inPanel, BN_CLICKED);
    Notify(form.hwnd(), onForm, BN_CLICKED);
    EXPECT_EQ(a, 1);
    EXPECT_EQ(b, 1);
    EXPECT_TRUE(form.commands.empty()) << "handled notifications do not reach the form";

    // Codes a control does not handle go on to the form, as do those of plain system windows.
    Notify(panel.hwnd(), inPanel, BN_SETFOCUS);
    HWND plain = CreateWindowExW(0, L"BUTTON", L"plain", WS_CHILD, 0, 0, 10, 10, panel.hwnd(), nullptr, nullptr,
                                 nullptr);
    SendMessageW(panel.hwnd(), WM_COMMAND, MAKEWPARAM(0, BN_CLICKED), reinterpret_cast<LPARAM>(plain));
    EXPECT_EQ(form.commands, (std::vector<UINT>{BN_SETFOCUS, BN_CLICKED}));
    EXPECT_EQ(a, 1);
}

TEST_F(Fixture, ControlsAnswerTheirStateFromTheControl)
{
    CheckBox box;
    ASSERT_TRUE(box.Create({.parent = panel.hwnd(), .text = L"check"}));
    EXPECT_FALSE(box.IsChecked());
    SendMessageW(box.hwnd(), BM_SETCHECK, BST_CHECKED, 0);  // as a click would leave it
    EXPECT_TRUE(box.IsChecked());
    box.SetChecked(false);
    EXPECT_EQ(SendMessageW(box.hwnd(), BM_GETCHECK, 0, 0), BST_UNCHECKED);

    ComboBox combo;
    ASSERT_TRUE(combo.Create({.parent = panel.hwnd(), .rect = {0, 0, 100, 22}}));
    combo.AddItemA("EXM");
    combo.AddItemA("Console");
    EXPECT_EQ(combo.Count(), 2);
    EXPECT_EQ(combo.ItemTextA(1), "Console");
    EXPECT_EQ(combo.ItemTextA(5), "");
    combo.Select(1);
    EXPECT_EQ(combo.TextA(), "Console");
    combo.DeleteItem(1);
    EXPECT_EQ(combo.Count(), 1);
    int selected = 0;
    combo.onSelect = [&] { ++selected; };
    Notify(panel.hwnd(), combo, CBN_SELCHANGE);
    EXPECT_EQ(selected, 1);

    Edit edit;
    ASSERT_TRUE(edit.Create({.parent = panel.hwnd(), .rect = {0, 30, 100, 20}}));
    int changes = 0;
    edit.onChange = [&] { ++changes; };
    edit.SetText(L"typed");  // the control itself reports the change to its parent
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(edit.Text(), L"typed");
}

TEST_F(Fixture, ALabelTakesTheSizeOfItsText)
{
    Font font(L"Tahoma", -13);
    Label label;
    ASSERT_TRUE(label.Create({.parent = panel.hwnd(), .rect = {5, 6, 0, 0}, .text = L"S:", .font = font}));
    const Rect small = label.RectInParent();
    EXPECT_EQ(small.Left, 5);
    EXPECT_GT(small.Width, 0);
    EXPECT_GT(small.Height, 0);
    label.SetText(L"12345678");
    EXPECT_GT(label.RectInParent().Width, small.Width);

    Label fixed;
    fixed.autoSize = false;
    ASSERT_TRUE(fixed.Create({.parent = panel.hwnd(), .rect = {0, 0, 3, 4}, .text = L"long text", .font = font}));
    EXPECT_EQ(fixed.RectInParent(), (Rect{0, 0, 3, 4}));
}

TEST_F(Fixture, AControlObjectLetsGoOfItsWindowAndAWindowOfItsObject)
{
    HWND hwnd = nullptr;
    {
        Button b;
        ASSERT_TRUE(b.Create({.parent = panel.hwnd(), .text = L"x"}));
        hwnd = b.hwnd();
    }
    // The control stays (its parent owns it) but no longer leads to the object that is gone.
    ASSERT_TRUE(IsWindow(hwnd));
    EXPECT_EQ(Window::FromHandle(hwnd), nullptr);
    SendMessageW(panel.hwnd(), WM_COMMAND, MAKEWPARAM(0, BN_CLICKED), reinterpret_cast<LPARAM>(hwnd));

    Button c;
    ASSERT_TRUE(c.Create({.parent = panel.hwnd(), .text = L"y"}));
    DestroyWindow(c.hwnd());
    EXPECT_EQ(c.hwnd(), nullptr) << "a destroyed window leaves its object empty";
    c.SetText(L"nothing happens");
    EXPECT_EQ(c.Text(), L"");
}

TEST(Font, OwnsOneHandleAndPassesItOn)
{
    Font a(L"Tahoma", -12);
    ASSERT_TRUE(a);
    const HFONT h = a;
    EXPECT_EQ(GetObjectType(h), static_cast<DWORD>(OBJ_FONT));
    Font b(std::move(a));
    EXPECT_FALSE(a);
    EXPECT_EQ(b.get(), h);
    {
        Font c;
        c = std::move(b);
        EXPECT_EQ(c.get(), h);
    }
    EXPECT_EQ(GetObjectType(h), 0u) << "the font is deleted with its last owner";
}

}  // namespace
