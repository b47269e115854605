#pragma once
// Takes over the window procedure of an existing control: the derived class sees every message first and passes
// on what it does not handle itself.
#include <windows.h>

namespace pelo::ui {

class Subclass {
public:
    Subclass() = default;
    Subclass(const Subclass&) = delete;
    Subclass& operator=(const Subclass&) = delete;
    virtual ~Subclass();

    void Attach(HWND control);
    void Detach();
    HWND control() const { return control_; }

protected:
    virtual LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) { return CallOriginal(msg, wp, lp); }
    LRESULT CallOriginal(UINT msg, WPARAM wp, LPARAM lp);

private:
    static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
    HWND control_ = nullptr;
    WNDPROC original_ = nullptr;
};

}  // namespace pelo::ui
