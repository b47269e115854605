#include "app/win/GeneralErrors.h"

#include <exception>
#include <new>

#include "ui/win/MessageBoxes.h"
#include "ui/win/WinText.h"

namespace pelo::app {

std::wstring CurrentExceptionText() {
    try {
        throw;
    } catch (const std::bad_alloc&) {
        return L"Out of memory";
    } catch (const std::exception& e) {
        return ui::AnsiToWide(e.what());
    } catch (...) {
        return L"Unknown error";
    }
}

void ShowCurrentException() { ui::ShowErrorBox(CurrentExceptionText()); }

}  // namespace pelo::app
