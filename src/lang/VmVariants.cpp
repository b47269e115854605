// Variants: conversions between their contents, arithmetic and comparison.
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "lang/Vm.h"
#include "lang/VmErrorTexts.h"

namespace pelo::lang {

namespace {

std::string formatFloatVariant(double d) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.15g", d);
    return buf;
}


// Reads a variant's content as a number; strings must hold one.
double variantNumber(const Value& v) {
    switch (v.vt) {
        case VarType::Float: return static_cast<double>(v.f());
        case VarType::Currency: return static_cast<double>(v.i) / 10000.0;
        case VarType::String: {
            std::string s = v.string();
            char* end = nullptr;
            double d = std::strtod(s.c_str(), &end);
            if (s.empty() || *end) throw hostException("Invalid variant type cast");
            return d;
        }
        case VarType::Null: throw hostException("Could not convert variant of type (Null) into type (Double)");
        case VarType::None: case VarType::Empty: return 0;
        case VarType::Bool: return v.i ? -1.0 : 0.0;  // a Variant's True counts as -1
        default: return static_cast<double>(v.i);
    }
}

}  // namespace

void convertVariant(Value& v, VarType want) {
    VarType have = v.vt;
    if (have == VarType::Null) {
        const char* to = want == VarType::String ? "String" : want == VarType::Float ? "Double" : want == VarType::Bool ? "Boolean" : "Int64";
        throw hostException(std::string("Could not convert variant of type (Null) into type (") + to + ")");
    }
    if (have == VarType::None || have == VarType::Empty) {
        v.clear();
        if (want == VarType::String) v.tag = Tag::Str;
        else if (want == VarType::Object) v.tag = Tag::Obj;  // nil
    } else if (want == VarType::String) {
        if (have == VarType::Int) v = Value::ofStr(std::to_string(v.i));
        else if (have == VarType::Bool) v = Value::ofStr(v.i ? "True" : "False");
        else if (have == VarType::Char) v = strFromChar(static_cast<uint8_t>(v.i));
        else if (have == VarType::Float) v = Value::ofStr(formatFloatVariant(static_cast<double>(v.f())));
        else if (have == VarType::Currency) v = Value::ofStr(formatFloatVariant(static_cast<double>(v.i) / 10000.0));
        else if (have != VarType::String) throw hostException("Invalid variant type cast");
    } else if (want == VarType::Float) {
        double d = variantNumber(v);
        v.clear();
        v.setFloat(d);
    } else if (want == VarType::Currency) {
        double d = variantNumber(v);
        v.clear();
        const double c = std::nearbyint(d * 10000.0);
        if (!(c >= -static_cast<double>(kCurrencyLimit) && c < static_cast<double>(kCurrencyLimit)))
            throw ScriptError(ErrorCode::MathError, kInvalidFloatOpText);
        v.i = static_cast<int64_t>(c);
    } else if (want == VarType::Object) {
        if (have != VarType::Object) throw hostException("Invalid variant type cast");
    } else {  // integer-like
        if (have == VarType::Object) throw hostException("Invalid variant type cast");
        if (have == VarType::String) {
            std::string s = v.string();
            char* end = nullptr;
            long long n = std::strtoll(s.c_str(), &end, 10);
            if (s.empty() || *end) {
                if (want == VarType::Bool && (s == "True" || s == "False")) n = s == "True";
                else throw hostException("Invalid variant type cast");
            }
            v = Value::ofInt(n);
        } else if (have == VarType::Float) {
            const double r = std::nearbyint(static_cast<double>(v.f()));
            // NaN, infinities and what no integer holds: the FPU's invalid operation, not a wrapped value
            if (!(r >= -static_cast<double>(kCurrencyLimit) && r < static_cast<double>(kCurrencyLimit)))
                throw ScriptError(ErrorCode::MathError, kInvalidFloatOpText);
            v.i = static_cast<int64_t>(r);
        } else if (have == VarType::Currency) {
            v.i = v.i / 10000;
        } else if (have == VarType::Bool && want != VarType::Bool) {
            v.i = v.i ? -1 : 0;  // a Variant's True counts as -1
        }
        if (want == VarType::Bool) v.i = v.i != 0;
    }
    v.vt = VarType::None;
}

// Arithmetic between two variants: strings concatenate with "+", integers stay integers, anything
// else mixed is computed as a double.
void variantOp(Value& a, const Value& b, int32_t code) {
    bool aStr = a.vt == VarType::String || a.vt == VarType::Char;
    bool bStr = b.vt == VarType::String || b.vt == VarType::Char;
    if (code == 0 && aStr && bStr) {
        Value r = strConcat(a, b);
        r.vt = VarType::String;
        a = std::move(r);
        return;
    }
    bool ints = (a.vt == VarType::Int || a.vt == VarType::Bool) && (b.vt == VarType::Int || b.vt == VarType::Bool);
    // "/" and div divide as integers when the left side holds one (the right side rounded half to even), as
    // between two integers of the language, and as reals otherwise; mod always takes both sides as integers.
    const bool leftInt = a.vt == VarType::Int || a.vt == VarType::Bool;
    if (code == 4 && !leftInt) code = 3;
    if (code == 5 || ((code == 3 || code == 4) && leftInt)) {
        Value x = a, y = b;
        convertVariant(x, VarType::Int);
        convertVariant(y, VarType::Int);
        if (y.i == 0) throw ScriptError(ErrorCode::DivideByZero, "Division by zero");
        int64_t q;
        if (x.i == INT64_MIN && y.i == -1) q = code == 5 ? 0 : x.i;
        else q = code == 5 ? x.i % y.i : x.i / y.i;
        a.clear();
        a.i = q;
        a.vt = VarType::Int;
        return;
    }
    if (ints && code <= 2) {
        int64_t x = a.vt == VarType::Bool ? -(a.i != 0) : a.i, y = b.vt == VarType::Bool ? -(b.i != 0) : b.i;
        a.i = static_cast<int64_t>(code == 0 ? static_cast<uint64_t>(x) + static_cast<uint64_t>(y)
                                   : code == 1 ? static_cast<uint64_t>(x) - static_cast<uint64_t>(y)
                                               : static_cast<uint64_t>(x) * static_cast<uint64_t>(y));
        a.vt = VarType::Int;
        return;
    }
    double x = variantNumber(a), y = variantNumber(b);
    double r = 0;
    switch (code) {
        case 0: r = x + y; break;
        case 1: r = x - y; break;
        case 2: r = x * y; break;
        default:
            if (y == 0) throw ScriptError(ErrorCode::DivideByZero, kFloatDivByZeroText);
            r = x / y;
            break;
    }
    a.clear();
    a.setFloat(r);
    a.vt = VarType::Float;
}

bool variantCompare(const Value& a, const Value& b, int32_t code) {
    const auto empty = [](const Value& v) { return v.vt == VarType::None || v.vt == VarType::Empty; };
    const auto text = [](const Value& v) { return v.vt == VarType::String || v.vt == VarType::Char; };
    int order = 0;  // -1, 0, 1
    if (empty(a) || empty(b)) {
        // An unassigned variant comes before every assigned one.
        order = empty(a) == empty(b) ? 0 : empty(a) ? -1 : 1;
    } else if (a.vt == VarType::Bool && b.vt == VarType::Bool) {
        order = (a.i != 0) - (b.i != 0);  // False before True
    } else if (text(a) && text(b)) {
        const std::string x = a.vt == VarType::Char ? std::string(1, static_cast<char>(a.i)) : a.string();
        const std::string y = b.vt == VarType::Char ? std::string(1, static_cast<char>(b.i)) : b.string();
        const int c = x.compare(y);
        order = c < 0 ? -1 : c > 0 ? 1 : 0;
    } else {
        // Numbers, a text against a number taken as the number it spells (or an invalid cast), True as -1.
        const double x = variantNumber(a), y = variantNumber(b);
        order = x < y ? -1 : x > y ? 1 : 0;
    }
    switch (code) {
        case 0: return order == 0;
        case 1: return order != 0;
        case 2: return order < 0;
        case 3: return order > 0;
        case 4: return order <= 0;
        default: return order >= 0;
    }
}

}  // namespace pelo::lang
