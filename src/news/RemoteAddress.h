#pragma once
#include <cstdint>

namespace pelo::news {

// An address inside a terminal's process. Terminals are 32-bit processes, so on Windows this is 32 bits wide.
using RemoteAddress = std::uintptr_t;

}  // namespace pelo::news
