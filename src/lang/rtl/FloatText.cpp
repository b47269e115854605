#include "lang/rtl/FloatText.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <vector>

namespace pelo::lang::rtl {

namespace {

// Little-endian big unsigned integer in base 1e9, just enough for exact binary-to-decimal expansion.
class BigDecimalInt {
public:
    explicit BigDecimalInt(uint64_t v) {
        do {
            limbs_.push_back(static_cast<uint32_t>(v % kBase));
            v /= kBase;
        } while (v != 0);
    }

    void multiply(uint32_t factor) {
        uint64_t carry = 0;
        for (uint32_t& limb : limbs_) {
            const uint64_t x = static_cast<uint64_t>(limb) * factor + carry;
            limb = static_cast<uint32_t>(x % kBase);
            carry = x / kBase;
        }
        while (carry != 0) {
            limbs_.push_back(static_cast<uint32_t>(carry % kBase));
            carry /= kBase;
        }
    }

    std::string toString() const {
        std::string s = std::to_string(limbs_.back());
        for (size_t i = limbs_.size() - 1; i-- > 0;) {
            std::string part = std::to_string(limbs_[i]);
            s.append(9 - part.size(), '0');
            s += part;
        }
        return s;
    }

private:
    static constexpr uint64_t kBase = 1000000000;
    std::vector<uint32_t> limbs_;
};

}  // namespace

DecimalDigits ExactDecimal(long double value) {
    static_assert(std::numeric_limits<long double>::digits == 64, "long double must be the x87 extended type");
    DecimalDigits out;
    if (!(value > 0) || std::isinf(value)) return out;
    int exp2 = 0;
    const long double frac = std::frexp(value, &exp2);  // value = frac * 2^exp2, 0.5 <= frac < 1
    auto mant = static_cast<uint64_t>(std::ldexp(frac, 64));
    exp2 -= 64;
    while (mant % 2 == 0 && exp2 < 0) {
        mant /= 2;
        ++exp2;
    }
    BigDecimalInt n(mant);
    int fracDigits = 0;
    // multiply in the largest steps that keep a limb product within 64 bits
    auto multiplyPower = [&n](uint32_t base, uint32_t bigStep, int stepExponent, int exponent) {
        for (; exponent >= stepExponent; exponent -= stepExponent) n.multiply(bigStep);
        for (; exponent > 0; --exponent) n.multiply(base);
    };
    if (exp2 >= 0) {
        multiplyPower(2, uint32_t{1} << 30, 30, exp2);
    } else {
        // m / 2^k = m * 5^k / 10^k
        multiplyPower(5, 1220703125u, 13, -exp2);  // 5^13
        fracDigits = -exp2;
    }
    std::string s = n.toString();
    out.pointPos = static_cast<int>(s.size()) - fracDigits;
    size_t end = s.size();
    while (end > 1 && s[end - 1] == '0') --end;
    s.resize(end);
    out.digits = std::move(s);
    return out;
}

void RoundDigits(DecimalDigits& d, int keep, bool halfEven) {
    if (keep < 0) keep = 0;
    if (static_cast<size_t>(keep) >= d.digits.size()) return;
    const char first = d.digits[static_cast<size_t>(keep)];
    bool up = first > '5';
    if (first == '5') {
        bool rest = false;
        for (size_t i = static_cast<size_t>(keep) + 1; i < d.digits.size(); ++i)
            if (d.digits[i] != '0') {
                rest = true;
                break;
            }
        if (rest || !halfEven)
            up = true;
        else
            up = keep > 0 && ((d.digits[static_cast<size_t>(keep) - 1] - '0') % 2 == 1);
    }
    d.digits.resize(static_cast<size_t>(keep));
    if (up) {
        int i = keep - 1;
        while (i >= 0 && d.digits[static_cast<size_t>(i)] == '9') {
            d.digits[static_cast<size_t>(i)] = '0';
            --i;
        }
        if (i >= 0) {
            ++d.digits[static_cast<size_t>(i)];
        } else {
            d.digits.insert(d.digits.begin(), '1');
            ++d.pointPos;
        }
    }
    while (!d.digits.empty() && d.digits.back() == '0') d.digits.pop_back();
    if (d.digits.empty()) d.pointPos = 0;
}

namespace {

// Rounds a digit buffer to `keep` digits the way the reference runtime's float-to-text conversion does, which the
// printed digits depend on: half to even for the first cut to 21 significant digits, half up for the cut to the
// decimals shown, and in that second cut a 4 followed only by 9s and then an 8 or 9 near the end counts as a half
// (the runtime's guard against its own digit generation being a little low). Digits past a carry are dropped, zeros
// before the cut are kept: the look-ahead reads the buffer's end as the runtime has it. Returns 1 when the carry
// ran out of the first digit.
int RoundDigitBuffer(std::string& buf, int keep, bool halfEven) {
    const int n = static_cast<int>(buf.size());
    if (keep < 0 || keep >= n) return 0;
    int roundDigit = buf[static_cast<size_t>(keep)] - '0';
    if (!halfEven && roundDigit == 4 && keep < n - 3 && buf[static_cast<size_t>(n - 2)] >= '8') {
        int i = n - 2;
        do --i;
        while (i != keep && buf[static_cast<size_t>(i)] == '9');
        if (i == keep) roundDigit = 9;
    }
    if (roundDigit == 5 && halfEven && (keep == 0 || (buf[static_cast<size_t>(keep) - 1] - '0') % 2 == 0) &&
        buf.find_first_not_of('0', static_cast<size_t>(keep) + 1) == std::string::npos)
        roundDigit = 0;  // exactly a half after an even digit
    if (roundDigit < 5) {
        buf.resize(static_cast<size_t>(keep));
        return 0;
    }
    for (int m = keep; m-- > 0;) {
        if (buf[static_cast<size_t>(m)] != '9') {
            ++buf[static_cast<size_t>(m)];
            buf.resize(static_cast<size_t>(m) + 1);
            return 0;
        }
    }
    buf = "1";
    return 1;
}

}  // namespace

std::string FloatToStr(long double value) {
    if (std::isnan(value)) return "Nan";
    if (std::isinf(value)) return value > 0 ? "+Inf" : "-Inf";
    constexpr int kDecimals = 12;
    constexpr int kSignificant = 21;
    const bool negative = std::signbit(value);
    // Below 1e-13 nothing reaches the 12th decimal; the exact expansion of a tiny value would take thousands of
    // digits to say so.
    DecimalDigits d = std::fabs(value) < 1e-13L ? DecimalDigits{} : ExactDecimal(std::fabs(value));
    if (!d.digits.empty()) {
        if (d.pointPos > static_cast<int>(d.digits.size()))  // the runtime's buffer holds an integer's zeros
            d.digits.append(static_cast<size_t>(d.pointPos) - d.digits.size(), '0');
        d.pointPos += RoundDigitBuffer(d.digits, kSignificant, true);
        if (d.pointPos + kDecimals < 0)
            d.digits.clear();
        else
            d.pointPos += RoundDigitBuffer(d.digits, d.pointPos + kDecimals, false);
        while (!d.digits.empty() && d.digits.back() == '0') d.digits.pop_back();
        if (d.digits.empty()) d.pointPos = 0;
    }
    const int intDigits = d.digits.empty() ? 1 : std::max(d.pointPos, 1);
    const size_t length = (negative ? 1u : 0u) + static_cast<size_t>(intDigits) + 1 + kDecimals;
    if (length > 255) {
        DecimalDigits m = ExactDecimal(std::fabs(value));
        RoundDigits(m, 2, false);
        m.digits.resize(2, '0');
        const int exponent = m.pointPos - 1;
        std::string e = std::to_string(exponent < 0 ? -exponent : exponent);
        e.insert(0, e.size() < 4 ? 4 - e.size() : 0, '0');
        return std::string(negative ? "-" : " ") + m.digits[0] + '.' + m.digits[1] + 'E' +
               (exponent < 0 ? '-' : '+') + e;
    }
    std::string r;
    r.reserve(length);
    if (negative) r += '-';
    auto digitAt = [&](int pos) {  // pos 0 is the first digit after the decimal point shift
        return (pos >= 0 && static_cast<size_t>(pos) < d.digits.size()) ? d.digits[static_cast<size_t>(pos)] : '0';
    };
    if (d.digits.empty() || d.pointPos <= 0) {
        r += '0';
    } else {
        for (int i = 0; i < d.pointPos; ++i) r += digitAt(i);
    }
    r += '.';
    const int base = d.digits.empty() ? 0 : d.pointPos;
    for (int i = 0; i < kDecimals; ++i) r += d.digits.empty() ? '0' : digitAt(base + i);
    return r;
}

}  // namespace pelo::lang::rtl
