#pragma once
// The received-headlines counter shown in the main window (0 to 998, then back to 0).
#include <functional>

namespace pelo::headlines {

class THeadlineCounter {
public:
    // The counter never shows this value: reaching it (or more) starts again at 0.
    static constexpr int WrapAt = 999;

    int HeadlineCount() const { return Count; }
    void Add(int headlines);
    void Reset();

    // Runs after every change with the new value (the label shows it).
    std::function<void(int count)> OnChanged;

private:
    void Changed();

    int Count = 0;
};

}  // namespace pelo::headlines
