#include "lang/rtl/Declarations.h"

#include <array>

namespace pelo::lang::rtl {

namespace {

using enum RoutineId;
constexpr RoutineGroup S = RoutineGroup::Standard;
constexpr RoutineGroup D = RoutineGroup::DateTime;
constexpr RoutineGroup H = RoutineGroup::Host;

constexpr std::array kRoutines = {
    RoutineDeclaration{"function IntToStr(I: Int64): string", IntToStr, S},
    RoutineDeclaration{"function StrToInt(S: string): LongInt", StrToInt, S},
    RoutineDeclaration{"function StrToIntDef(S: string; def: LongInt): LongInt", StrToIntDef, S},
    RoutineDeclaration{"function Copy(S: AnyString; iFrom, iCount: LongInt): AnyString", Copy, S},
    RoutineDeclaration{"function Pos(SubStr, S: AnyString): LongInt", Pos, S},
    RoutineDeclaration{"procedure Delete(var S: AnyString; iFrom, iCount: LongInt)", Delete, S},
    RoutineDeclaration{"procedure Insert(S: AnyString; var s2: AnyString; iPos: LongInt)", Insert, S},
    RoutineDeclaration{"function StrGet(var S: string; I: Integer): Char", StrGet, S},
    RoutineDeclaration{"procedure StrSet(C: Char; I: Integer; var S: string)", StrSet, S},
    RoutineDeclaration{"function AnsiUpperCase(S: string): string", AnsiUpperCase, S},
    RoutineDeclaration{"function AnsiLowerCase(S: string): string", AnsiLowerCase, S},
    RoutineDeclaration{"function UpperCase(S: AnyString): AnyString", UpperCase, S},
    RoutineDeclaration{"function LowerCase(S: AnyString): AnyString", LowerCase, S},
    RoutineDeclaration{"function Trim(S: AnyString): AnyString", Trim, S},
    RoutineDeclaration{"function Sin(E: Extended): Extended", Sin, S},
    RoutineDeclaration{"function Cos(E: Extended): Extended", Cos, S},
    RoutineDeclaration{"function Sqrt(E: Extended): Extended", Sqrt, S},
    RoutineDeclaration{"function Round(E: Extended): LongInt", Round, S},
    RoutineDeclaration{"function Trunc(E: Extended): LongInt", Trunc, S},
    RoutineDeclaration{"function Int(E: Extended): Extended", Int, S},
    RoutineDeclaration{"function Pi: Extended", Pi, S},
    RoutineDeclaration{"function Abs(E: Extended): Extended", Abs, S},
    RoutineDeclaration{"function StrToFloat(S: string): Extended", StrToFloat, S},
    RoutineDeclaration{"function FloatToStr(E: Extended): string", FloatToStr, S},
    RoutineDeclaration{"function PadL(S: AnyString; I: LongInt): AnyString", PadL, S},
    RoutineDeclaration{"function PadR(S: AnyString; I: LongInt): AnyString", PadR, S},
    RoutineDeclaration{"function PadZ(S: AnyString; I: LongInt): AnyString", PadZ, S},
    RoutineDeclaration{"function Replicate(C: Char; I: LongInt): string", Replicate, S},
    RoutineDeclaration{"function StringOfChar(C: Char; I: LongInt): string", StringOfChar, S},
    RoutineDeclaration{"function StrToInt64(S: string): Int64", StrToInt64, S},
    RoutineDeclaration{"function Int64ToStr(I: Int64): string", Int64ToStr, S},
    RoutineDeclaration{"function StrToInt64Def(S: string; def: Int64): Int64", StrToInt64Def, S},

    RoutineDeclaration{"function EncodeDate(Year, Month, Day: Word): TDateTime", EncodeDate, D},
    RoutineDeclaration{"function EncodeTime(Hour, Min, Sec, MSec: Word): TDateTime", EncodeTime, D},
    RoutineDeclaration{"function TryEncodeDate(Year, Month, Day: Word; var Date: TDateTime): Boolean",
                       TryEncodeDate, D},
    RoutineDeclaration{"function TryEncodeTime(Hour, Min, Sec, MSec: Word; var Time: TDateTime): Boolean",
                       TryEncodeTime, D},
    RoutineDeclaration{"procedure DecodeDate(const DateTime: TDateTime; var Year, Month, Day: Word)", DecodeDate, D},
    RoutineDeclaration{"procedure DecodeTime(const DateTime: TDateTime; var Hour, Min, Sec, MSec: Word)",
                       DecodeTime, D},
    RoutineDeclaration{"function DayOfWeek(const DateTime: TDateTime): Word", DayOfWeek, D},
    RoutineDeclaration{"function Date: TDateTime", Date, D},
    RoutineDeclaration{"function Time: TDateTime", Time, D},
    RoutineDeclaration{"function Now: TDateTime", Now, D},
    RoutineDeclaration{"function DateTimeToUnix(D: TDateTime): Int64", DateTimeToUnix, D},
    RoutineDeclaration{"function UnixToDateTime(U: Int64): TDateTime", UnixToDateTime, D},
    RoutineDeclaration{"function DateToStr(D: TDateTime): string", DateToStr, D},
    RoutineDeclaration{"function StrToDate(const S: string): TDateTime", StrToDate, D},
    RoutineDeclaration{"function FormatDateTime(const fmt: string; D: TDateTime): string", FormatDateTime, D},
    RoutineDeclaration{"function MilliSecondOf(const AValue: TDateTime): Word", MilliSecondOf, D},
    RoutineDeclaration{"function SecondOf(const AValue: TDateTime): Word", SecondOf, D},
    RoutineDeclaration{"function MinuteOf(const AValue: TDateTime): Word", MinuteOf, D},
    RoutineDeclaration{"function HourOf(const AValue: TDateTime): Word", HourOf, D},
    RoutineDeclaration{"function DayOf(const AValue: TDateTime): Word", DayOf, D},
    RoutineDeclaration{"function DateTimeToStr(D: TDateTime): string", DateTimeToStr, D},
    RoutineDeclaration{"function StrToDateTime(const S: string): TDateTime", StrToDateTime, D},

    RoutineDeclaration{"function IntToStrS(v: Integer): string", IntToStrS, H},
    RoutineDeclaration{"function FloatToStrFixed(Digits: Integer; Value: Currency): string", FloatToStrFixed, H},
    RoutineDeclaration{"function FloatToStrFixedS(Digits: Integer; Value: Currency): string", FloatToStrFixedS, H},
    RoutineDeclaration{
        "function StrReplace(S, OldPattern, NewPattern: string; ReplaceAll, IgnoreCase: Boolean): string",
        StrReplace, H},
};

constexpr std::array<std::string_view, 19> kIntrinsics = {
    "Length",       "SetLength",     "Low",           "High",           "Inc",
    "Dec",          "Include",       "Exclude",       "GetArrayLength", "SetArrayLength",
    "SizeOf",       "Assigned",      "RaiseLastException", "RaiseException", "ExceptionType",
    "ExceptionParam", "ExceptionProc", "ExceptionPos", "ExceptionToString",
};

constexpr std::array<std::string_view, 6> kTypes = {
    "TDateTime = Double",
    "TDuplicates = (dupIgnore, dupAccept, dupError)",
    "TAlignment = (taLeftJustify, taRightJustify, taCenter)",
    "TOperation = (opInsert, opRemove)",
    "THandle = LongInt",
    "TRect = record Left, Top, Right, Bottom: Integer; end",
};

constexpr std::array<std::string_view, 20> kConstants = {
    "soFromBeginning = 0", "soFromCurrent = 1", "soFromEnd = 2",
    "toEOF = #0", "toSymbol = #1", "toString = #2", "ToInteger = #3", "toFloat = #4",
    "fmCreate = $FFFF", "fmOpenRead = 0", "fmOpenWrite = 1", "fmOpenReadWrite = 2", "fmShareCompat = 0",
    "fmShareExclusive = $10", "fmShareDenyWrite = $20", "fmShareDenyRead = $30", "fmShareDenyNone = $40",
    "SecsPerDay = 86400",
    "MSecPerDay = 86400000",
    "DateDelta = 693594",
};

using M = StringListMember;
constexpr std::string_view kStrings = "TStrings";
constexpr std::string_view kList = "TStringList";

constexpr std::array kMembers = {
    MemberDeclaration{kStrings, "constructor Create", M::Create, false},
    MemberDeclaration{kStrings, "function Add(S: string): Integer", M::Add, false},
    MemberDeclaration{kStrings, "procedure Append(S: string)", M::Append, false},
    MemberDeclaration{kStrings, "procedure AddStrings(Strings: TStrings)", M::AddStrings, false},
    MemberDeclaration{kStrings, "procedure Clear", M::Clear, false},
    MemberDeclaration{kStrings, "procedure Delete(Index: Integer)", M::Delete, false},
    MemberDeclaration{kStrings, "function IndexOf(const S: string): Integer", M::IndexOf, false},
    MemberDeclaration{kStrings, "procedure Insert(Index: Integer; S: string)", M::Insert, false},
    MemberDeclaration{kStrings, "property Capacity: Integer read write", M::Capacity, false},
    MemberDeclaration{kStrings, "property Delimiter: Char read write", M::Delimiter, false},
    MemberDeclaration{kStrings, "property DelimitedText: string read write", M::DelimitedText, false},
    MemberDeclaration{kStrings, "property NameValueSeparator: Char read write", M::NameValueSeparator, false},
    MemberDeclaration{kStrings, "property QuoteChar: Char read write", M::QuoteChar, false},
    MemberDeclaration{kStrings, "property Count: Integer read", M::Count, false},
    MemberDeclaration{kStrings, "property Text: string read write", M::Text, false},
    MemberDeclaration{kStrings, "property CommaText: string read write", M::CommaText, false},
    MemberDeclaration{kStrings, "property Strings[Index: Integer]: string read write", M::Strings, true},
    MemberDeclaration{kStrings, "property Objects[Index: Integer]: TObject read write", M::Objects, false},
    MemberDeclaration{kStrings, "procedure BeginUpdate", M::BeginUpdate, false},
    MemberDeclaration{kStrings, "procedure EndUpdate", M::EndUpdate, false},
    MemberDeclaration{kStrings, "function Equals(Strings: TStrings): Boolean", M::Equals, false},
    MemberDeclaration{kStrings, "procedure Exchange(Index1, Index2: Integer)", M::Exchange, false},
    MemberDeclaration{kStrings, "function IndexOfName(Name: string): Integer", M::IndexOfName, false},
    MemberDeclaration{kStrings, "procedure Move(CurIndex, NewIndex: Integer)", M::Move, false},
    MemberDeclaration{kStrings, "procedure SetText(Text: PChar)", M::SetText, false},
    MemberDeclaration{kStrings, "property Names[Index: Integer]: string read", M::Names, false},
    MemberDeclaration{kStrings, "property Values[Name: string]: string read write", M::Values, false},
    MemberDeclaration{kStrings, "property ValueFromIndex[Index: Integer]: string read write", M::ValueFromIndex, false},
    MemberDeclaration{kStrings, "function AddObject(S: string; AObject: TObject): Integer", M::AddObject, false},
    MemberDeclaration{kStrings, "function GetText: PChar", M::GetText, false},
    MemberDeclaration{kStrings, "function IndexOfObject(AObject: TObject): Integer", M::IndexOfObject, false},
    MemberDeclaration{kStrings, "procedure InsertObject(Index: Integer; S: string; AObject: TObject)", M::InsertObject, false},
    MemberDeclaration{kList, "constructor Create", M::ListCreate, false},
    MemberDeclaration{kList, "function Find(S: string; var Index: Integer): Boolean", M::Find, false},
    MemberDeclaration{kList, "procedure Sort", M::Sort, false},
    MemberDeclaration{kList, "property CaseSensitive: Boolean read write", M::CaseSensitive, false},
    MemberDeclaration{kList, "property Duplicates: TDuplicates read write", M::Duplicates, false},
    MemberDeclaration{kList, "property Sorted: Boolean read write", M::Sorted, false},
};

}  // namespace

std::span<const RoutineDeclaration> RoutineDeclarations() { return kRoutines; }
std::span<const std::string_view> IntrinsicRoutineNames() { return kIntrinsics; }
std::span<const std::string_view> TypeDeclarations() { return kTypes; }
std::span<const std::string_view> ConstantDeclarations() { return kConstants; }
std::span<const MemberDeclaration> StringListDeclarations() { return kMembers; }

}  // namespace pelo::lang::rtl
