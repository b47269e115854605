#pragma once
// A window as the platform-free code holds it: the handle's bits, compared and passed on, never dereferenced.
#include <cstdint>

namespace pelo {

using WindowHandle = std::uintptr_t;

}  // namespace pelo
