#pragma once
// The Pascal declarations of the runtime-library routines, in the form scripts compile against, each
// tied to the routine that implements it. The compiler parses the declaration texts; the VM binds each
// id to the C++ function named in the comment of its enumerator.

#include <cstdint>
#include <span>
#include <string_view>

namespace pelo::lang::rtl {

enum class RoutineId : uint16_t {
    // standard library (StringRoutines.h, ConvertRoutines.h, MathRoutines.h, FloatText.h)
    IntToStr, StrToInt, StrToIntDef, Copy, Pos, Delete, Insert, StrGet, StrSet, AnsiUpperCase,
    AnsiLowerCase, UpperCase, LowerCase, Trim, Sin, Cos, Sqrt, Round, Trunc, Int, Pi, Abs, StrToFloat,
    FloatToStr, PadL, PadR, PadZ, Replicate, StringOfChar, StrToInt64, Int64ToStr, StrToInt64Def,
    // date and time library (DateTimeRoutines.h)
    EncodeDate, EncodeTime, TryEncodeDate, TryEncodeTime, DecodeDate, DecodeTime, DayOfWeek, Date, Time,
    Now, DateTimeToUnix, UnixToDateTime, DateToStr, StrToDate, FormatDateTime, MilliSecondOf, SecondOf,
    MinuteOf, HourOf, DayOf, DateTimeToStr, StrToDateTime,
    // host text helpers (HostHelpers.h)
    IntToStrS, FloatToStrFixed, FloatToStrFixedS, StrReplace,
};

enum class RoutineGroup : uint8_t { Standard, DateTime, Host };

struct RoutineDeclaration {
    std::string_view declaration;  // "function Copy(S: AnyString; iFrom, iCount: LongInt): AnyString"
    RoutineId id;
    RoutineGroup group;
};

// One entry per routine, in the reference's registration order. Parameter types are the reference's:
// AnyString takes any string or Char and returns the argument's own type: with a Char argument (a
// one-character literal is a Char) the result is a Char, the first byte of the text or #0 when it is
// empty, so PadZ('7', 3) is '0' and Copy('c', 2, 2) is #0. Extended is computed as a double; Word is
// 16-bit unsigned; Currency is HostHelpers' Currency.
std::span<const RoutineDeclaration> RoutineDeclarations();

// Names that the compiler and VM implement themselves (type-generic or tied to the VM state):
// Length, SetLength, Low, High, Inc, Dec, Include, Exclude, GetArrayLength, SetArrayLength, SizeOf,
// Assigned, RaiseLastException, RaiseException, ExceptionType, ExceptionParam, ExceptionProc,
// ExceptionPos, ExceptionToString.
std::span<const std::string_view> IntrinsicRoutineNames();

// Types and constants that the libraries add, as "Name = definition" / "Name = value".
std::span<const std::string_view> TypeDeclarations();
std::span<const std::string_view> ConstantDeclarations();

// Members of TStrings and TStringList (StringList.h).
enum class StringListMember : uint16_t {
    Create, Add, Append, AddStrings, Clear, Delete, IndexOf, Insert, Capacity, Delimiter, DelimitedText,
    NameValueSeparator, QuoteChar, Count, Text, CommaText, Strings, Objects, BeginUpdate, EndUpdate,
    Equals, Exchange, IndexOfName, Move, SetText, Names, Values, ValueFromIndex, AddObject, GetText,
    IndexOfObject, InsertObject,
    // TStringList only
    ListCreate, Find, Sort, CaseSensitive, Duplicates, Sorted,
};

struct MemberDeclaration {
    std::string_view className;    // "TStrings" or "TStringList"
    std::string_view declaration;  // "function Add(S: string): Integer",
                                   // "property Strings[Index: Integer]: string read write"
    StringListMember id;
    bool isDefault;  // the default array property (L[i])
};

// BeginUpdate and EndUpdate have no effect; SetText and GetText take and give the text as a string.
std::span<const MemberDeclaration> StringListDeclarations();

}  // namespace pelo::lang::rtl
