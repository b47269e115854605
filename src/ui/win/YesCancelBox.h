#pragma once
// A confirmation box (question icon) whose only buttons are Yes and Cancel, a pair the system box lacks.
#include <string_view>

#include "ui/win/MessageBoxes.h"

namespace pelo::ui {

// IDYES or IDCANCEL (also for Escape and the close box).
int ShowYesCancelBox(std::wstring_view text, BoxLayer layer = BoxLayer::Normal);

}  // namespace pelo::ui
