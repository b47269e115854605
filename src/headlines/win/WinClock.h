#pragma once
// The local clock of the system, with milliseconds.
#include "headlines/TimeStamps.h"

namespace pelo::headlines {

class TWinClock final : public IClock {
public:
    TLocalTime LocalNow() override;
};

}  // namespace pelo::headlines
