#pragma once
// 32-bit x86 builds keep intermediate double results in 80-bit x87 registers, which changes how
// products and sums round. Passing a result through a volatile double forces the IEEE double rounding
// that 64-bit builds and the reference produce, so millisecond and currency boundaries agree.

namespace pelo::lang::rtl {

inline double asDouble(double value) {
    volatile double stored = value;
    return stored;
}

}  // namespace pelo::lang::rtl
