#include "ui/win/Subclass.h"

namespace pelo::ui {
namespace {
constexpr const wchar_t* kOwnerProperty = L"PeloSubclass";
}

Subclass::~Subclass() { Detach(); }

void Subclass::Attach(HWND control) {
    Detach();
    control_ = control;
    SetPropW(control, kOwnerProperty, this);
    original_ = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Subclass::Proc)));
}

void Subclass::Detach() {
    if (!control_) return;
    if (IsWindow(control_)) {
        SetWindowLongPtrW(control_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original_));
        RemovePropW(control_, kOwnerProperty);
    }
    control_ = nullptr;
}

LRESULT Subclass::CallOriginal(UINT msg, WPARAM wp, LPARAM lp) {
    return CallWindowProcW(original_, control_, msg, wp, lp);
}

LRESULT CALLBACK Subclass::Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    auto* self = static_cast<Subclass*>(GetPropW(hwnd, kOwnerProperty));
    if (!self) return DefWindowProcW(hwnd, msg, wp, lp);
    if (msg == WM_NCDESTROY) {
        const WNDPROC original = self->original_;
        RemovePropW(hwnd, kOwnerProperty);
        SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original));
        self->control_ = nullptr;
        return CallWindowProcW(original, hwnd, msg, wp, lp);
    }
    return self->HandleMessage(msg, wp, lp);
}

}  // namespace pelo::ui
