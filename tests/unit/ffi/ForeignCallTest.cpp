// Scripts calling functions of another library, compiled, written to a compiled file, loaded and run: every kind
// of value in and out, every calling convention, and the library's life (loaded at the first call, unloaded and
// loaded again, missing libraries and functions as errors the script catches). Under Wine the calls go through
// PeloForeignTest.dll and LoadLibrary; natively through the same functions linked into this program.
#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>

#include "../lang/ScriptHarness.h"
#include "ffi/LibraryCalls.h"
#include "lang/Loader.h"

#ifdef PELO_FOREIGN_TEST_DLL
#include "ffi/win/WinLibraryLoader.h"
#else
#include "../../fixtures/foreignlib/ForeignTestFunctions.h"
#endif

namespace pelo::ffi {
namespace {

using lang::test::ScriptHarness;

struct LoaderCounts {
    int opens = 0;
    int closes = 0;
};

#ifndef PELO_FOREIGN_TEST_DLL
uint32_t g_lastError = 0;
void fakeSetError(uint32_t code) { g_lastError = code; }

template <class F>
void* address(F* f) {
    return reinterpret_cast<void*>(f);
}
#endif

// Counts what the loader opens and closes; the library is the test DLL under Wine, the linked-in functions natively.
class CountingLoader final : public LibraryLoader {
public:
    explicit CountingLoader(std::shared_ptr<LoaderCounts> counts) : counts_(std::move(counts)) {}

    void* open(const std::string& file, bool alteredSearchPath) override {
#ifdef PELO_FOREIGN_TEST_DLL
        void* h = real_.open(file, alteredSearchPath);
#else
        (void)alteredSearchPath;
        void* h = file == "PeloForeignTest.dll" ? static_cast<void*>(&functions_) : nullptr;
#endif
        if (h) ++counts_->opens;
        return h;
    }
    void* find(void* library, const std::string& entry) override {
#ifdef PELO_FOREIGN_TEST_DLL
        return real_.find(library, entry);
#else
        EXPECT_EQ(library, &functions_);
        auto it = functions_.find(entry);
        return it == functions_.end() ? nullptr : it->second;
#endif
    }
    void close(void* library) override {
        ++counts_->closes;
#ifdef PELO_FOREIGN_TEST_DLL
        real_.close(library);
#else
        (void)library;
#endif
    }
    uint32_t lastSystemError() override {
#ifdef PELO_FOREIGN_TEST_DLL
        return real_.lastSystemError();
#else
        return g_lastError;
#endif
    }

private:
    std::shared_ptr<LoaderCounts> counts_;
#ifdef PELO_FOREIGN_TEST_DLL
    WinLibraryLoader real_;
#else
    std::map<std::string, void*> functions_ = {
        {"ft_add3", address(ft_add3)},
        {"ft_widths", address(ft_widths)},
        {"ft_mul64", address(ft_mul64)},
        {"ft_unsigned_max", address(ft_unsigned_max)},
        {"ft_minus_one_byte", address(ft_minus_one_byte)},
        {"ft_not", address(ft_not)},
        {"ft_mix", address(ft_mix)},
        {"ft_half_single", address(ft_half_single)},
        {"ft_third", address(ft_third)},
        {"ft_currency_times_two", address(ft_currency_times_two)},
        {"ft_currency_result_value", address(ft_currency_result_value)},
        {"ft_length", address(ft_length)},
        {"ft_greet", address(ft_greet)},
        {"ft_null_text", address(ft_null_text)},
        {"ft_upper_in_place", address(ft_upper_in_place)},
        {"ft_point_to_static", address(ft_point_to_static)},
        {"ft_bump", address(ft_bump)},
        {"ft_halve", address(ft_halve)},
        {"ft_point_sum", address(ft_point_sum)},
        {"ft_move_point", address(ft_move_point)},
        {"ft_array_sum", address(ft_array_sum)},
        {"ft_std_sub", address(ft_std_sub)},
        {"ft_set_error", address(fakeSetError)},
        {"ft_reg_sub3", address(ft_reg_sub3)},
        {"ft_reg_mixed", address(ft_reg_mixed)},
        {"ft_pascal_sub", address(ft_pascal_sub)},
    };
#endif
};

// A harness whose VM calls other libraries through a counting loader, loading every script from its compiled file.
struct ForeignHarness : ScriptHarness {
    std::shared_ptr<LoaderCounts> counts = std::make_shared<LoaderCounts>();

    ForeignHarness() { vm->setForeignCalls(makeCalls()); }

    std::shared_ptr<LibraryCalls> makeCalls() {
        return std::make_shared<LibraryCalls>(std::make_unique<CountingLoader>(counts));
    }

    void load(const std::string& src) {
        lang::Module m = compile(src);
        vm->loadFile(lang::serializeModule(m));
    }

    // Compiles, writes, loads and runs; the lines written, joined by "|", or the error.
    std::string runLines(const std::string& src) {
        load(src);
        try {
            vm->runMain();
        } catch (const lang::ScriptError& e) {
            return std::string("error: ") + e.what();
        }
        return joined();
    }
};

constexpr const char* kLib = "PeloForeignTest.dll";

std::string decl(const std::string& heading, const std::string& entry, const std::string& convention = "cdecl") {
    return heading + " external '" + entry + "@" + kLib + (convention.empty() ? "" : " " + convention) + "';\n";
}

TEST(ForeignCalls, NumbersCrossAtTheirOwnWidthInBothDirections) {
    ForeignHarness h;
    const std::string src =
        decl("function Add3(a, b, c: Integer): Integer;", "ft_add3") +
        decl("function Widths(u8: Byte; s8: ShortInt; u16: Word; s16: SmallInt; ch: Char; flag: Boolean): Cardinal;",
             "ft_widths") +
        decl("function Mul64(a, b: Int64): Int64;", "ft_mul64") +
        decl("function UnsignedMax: Cardinal;", "ft_unsigned_max") +
        decl("function MinusOneByte: ShortInt;", "ft_minus_one_byte") +
        decl("function NotB(b: Boolean): Boolean;", "ft_not") +
        decl("function Mix(d: Double; f: Single; n: Int64): Double;", "ft_mix") +
        decl("function HalfSingle(f: Single): Single;", "ft_half_single") +
        decl("function Third(x: Extended): Extended;", "ft_third") +
        decl("function CurrencyTimesTwo(c: Currency): Int64;", "ft_currency_times_two") +
        decl("function CurrencyResult: Currency;", "ft_currency_result_value") +
        R"(
var c: Currency;
begin
  WriteLn(IntToStr(Add3(1, -2, 3)));
  WriteLn(IntToStr(Widths(200, -100, 60000, -30000, 'Z', True)));
  WriteLn(IntToStr(Mul64(3000000000, 3)));
  WriteLn(IntToStr(UnsignedMax));
  WriteLn(IntToStr(MinusOneByte));
  if NotB(False) and not NotB(True) then WriteLn('booleans');
  WriteLn(IntToStr(Round(Mix(0.25, 0.5, 10000000) * 100)));
  WriteLn(IntToStr(Round(HalfSingle(5) * 10)));
  WriteLn(IntToStr(Round(Third(4.5) * 10)));
  c := 1.2345;
  WriteLn(IntToStr(CurrencyTimesTwo(c)));
  c := CurrencyResult;
  WriteLn(IntToStr(Round(c * 10000)));
end.
)";
    EXPECT_EQ(h.runLines(src),
              "281|111111|9000000000|4294967295|-1|booleans|1000000075|25|15|24690|123456789");
}

TEST(ForeignCalls, StringsGoAsCopiesAndComeBackAsText) {
    ForeignHarness h;
    const std::string src =
        decl("function Len(s: string): Integer;", "ft_length") +
        decl("function Greet(name: PChar): PChar;", "ft_greet") +
        decl("function NullText: string;", "ft_null_text") +
        decl("procedure UpperInPlace(var s: string);", "ft_upper_in_place") +
        decl("procedure PointToStatic(var s: string);", "ft_point_to_static") +
        R"(
var s, t: string;
begin
  WriteLn(IntToStr(Len('')) + ' ' + IntToStr(Len('abc')));
  WriteLn(Greet('Ann'));
  WriteLn('[' + NullText + ']');
  s := 'Mixed case';
  t := s;
  UpperInPlace(s);
  WriteLn(s + '/' + t);
  PointToStatic(s);
  WriteLn(s);
end.
)";
    // An empty string still arrives as a text, never as a null pointer; the variable that shared the text with
    // the one passed by reference keeps its own.
    EXPECT_EQ(h.runLines(src), "0 3|Hello, Ann|[]|MIXED CASE/Mixed case|from the library");
}

TEST(ForeignCalls, VarParametersRecordsAndArraysAreWrittenBack) {
    ForeignHarness h;
    const std::string src =
        "type TPoint = record x: Integer; y: Double; tag: Char; name: string; end;\n"
        "     TShorts = array[0..3] of SmallInt;\n" +
        decl("procedure Bump(var p: Integer; by: Integer);", "ft_bump") +
        decl("procedure Halve(var d: Double);", "ft_halve") +
        decl("function PointSum(p: TPoint): Double;", "ft_point_sum") +
        decl("procedure MovePoint(var p: TPoint; dx: Integer);", "ft_move_point") +
        decl("function ArraySum(a: TShorts; n: Integer): Integer;", "ft_array_sum") +
        R"(
var i: Integer; d: Double; p: TPoint; a: TShorts;
begin
  i := 5; Bump(i, 37); WriteLn(IntToStr(i));
  d := 7; Halve(d); WriteLn(IntToStr(Round(d * 10)));
  p.x := 1; p.y := 2.5; p.tag := 'A'; p.name := 'abcd';
  WriteLn(IntToStr(Round(PointSum(p) * 10)));
  MovePoint(p, 10);
  WriteLn(IntToStr(p.x) + ' ' + IntToStr(Round(p.y)) + ' ' + p.tag + ' ' + p.name);
  a[0] := 1; a[1] := 2; a[2] := 3; a[3] := -4;
  WriteLn(IntToStr(ArraySum(a, 4)));
end.
)";
    EXPECT_EQ(h.runLines(src), "42|35|725|11 5 M abcd|-2");
}

TEST(ForeignCalls, EachCallingConventionPassesItsArgumentsInItsOwnOrder) {
    ForeignHarness h;
    const std::string src =
        decl("function StdSub(a, b: Integer): Integer;", "ft_std_sub", "stdcall") +
        decl("function RegSub3(a, b, c: Integer): Integer;", "ft_reg_sub3", "") +
        decl("function RegMixed(a, b, c: Integer; d: Double): Double;", "ft_reg_mixed", "register") +
        decl("function PasSub(a, b: Integer): Integer;", "ft_pascal_sub", "pascal") +
        R"(
var k, sum: Integer;
begin
  WriteLn(IntToStr(StdSub(10, 3)) + ' ' + IntToStr(RegSub3(100, 10, 1)) + ' ' +
          IntToStr(Round(RegMixed(1, 2, 3, 0.5) * 10)) + ' ' + IntToStr(PasSub(10, 3)));
  // a callee that pops its own arguments, called many times, leaves the stack as it found it
  sum := 0;
  for k := 1 to 1000 do sum := sum + StdSub(k, 1) + PasSub(k, 1) + RegSub3(k, 0, 0);
  WriteLn(IntToStr(sum));
end.
)";
    EXPECT_EQ(h.runLines(src), "7 89 1235 7|1499500");
}

TEST(ForeignCalls, TheLibraryIsLoadedAtTheFirstCallKeptAndLoadedAgainAfterUnloadDll) {
    ForeignHarness h;
    h.load(decl("function StdSub(a, b: Integer): Integer;", "ft_std_sub", "stdcall") +
           decl("procedure SetError(code: Cardinal);", "ft_set_error", "stdcall") + R"(
procedure Twice;
begin
  WriteLn(IntToStr(StdSub(2, 1) + StdSub(3, 1)));
end;
procedure Unload(name: string);
begin
  UnloadDll(name);
end;
procedure ErrorCode;
begin
  SetError(1234);
  WriteLn(IntToStr(DllGetLastError));
end;
begin
end.
)");
    EXPECT_EQ(h.counts->opens, 0) << "nothing is loaded with the script";
    h.vm->call(h.vm->findProc("Twice"), {});
    EXPECT_EQ(h.counts->opens, 1);
    h.vm->call(h.vm->findProc("Unload"), {lang::Value::ofStr("NotLoaded.dll")});
    EXPECT_EQ(h.counts->closes, 0);
    h.vm->call(h.vm->findProc("Unload"), {lang::Value::ofStr(kLib)});
    EXPECT_EQ(h.counts->closes, 1);
    h.vm->call(h.vm->findProc("Twice"), {});
    EXPECT_EQ(h.counts->opens, 2);
    h.vm->call(h.vm->findProc("ErrorCode"), {});
    EXPECT_EQ(h.joined(), "3|3|1234");

    // Unloading the script frees what it loaded.
    h.vm->clear();
    h.vm->setForeignCalls(nullptr);
    EXPECT_EQ(h.counts->closes, 2);
}

TEST(ForeignCalls, WhatCannotBeCalledIsAnErrorTheScriptCatches) {
    ForeignHarness h;
    const std::string src =
        "function NoLibrary: Integer; external 'ft_add3@NoSuchLibrary.dll cdecl';\n" +
        decl("function NoFunction: Integer;", "ft_no_such_function") +
        decl("procedure TakesObject(o: TObject);", "ft_add3") +
        decl("procedure TakesVariant(v: Variant);", "ft_add3") +
        "function EmptyLibraryName: Integer; external 'ft_add3@';\n" + R"(
procedure Attempt(k: Integer);
begin
  try
    case k of
      1: NoLibrary;
      2: NoFunction;
      3: TakesObject(nil);
      4: TakesVariant(1);
      5: EmptyLibraryName;
    end;
    WriteLn('called');
  except
    WriteLn(IntToStr(k) + ' ' + ExceptionToString(ExceptionType, ExceptionParam));
  end;
end;
var k: Integer;
begin
  for k := 1 to 5 do Attempt(k);
end.
)";
    EXPECT_EQ(h.runLines(src), "1 Could not call proc|2 Could not call proc|3 Could not call proc|"
                               "4 Could not call proc|5 Could not call proc");

    // A VM the program gave no way to call other libraries refuses the same way.
    ScriptHarness bare;
    EXPECT_EQ(bare.run(decl("function Add3(a, b, c: Integer): Integer;", "ft_add3") + "begin Add3(1, 2, 3); end."),
              "Could not call proc");
}

// A compiled file is untrusted: its declaration may describe a record other than the variable passed. The call
// then refuses instead of reading or writing the variable as something it is not.
TEST(ForeignCalls, ACompiledFileWhoseRecordDoesNotMatchTheVariableIsRefused) {
    for (const char* forged : {"(var rec{s32;double;u8;string;s32;},s32)",  // a field more
                               "(var rec{string;double;u8;string;},s32)",   // a number read as a text
                               "(var rec{s32;double;u8;s32;},s32)",         // a text written as a number
                               "(var arr4s32,s32)"}) {                      // an array for a record
        ForeignHarness h;
        lang::Module m = h.compile(
            "type TPoint = record x: Integer; y: Double; tag: Char; name: string; end;\n" +
            decl("procedure MovePoint(var p: TPoint; dx: Integer);", "ft_move_point") +
            "var p: TPoint;\nbegin\n  p.name := 'kept';\n  try MovePoint(p, 1); except WriteLn(ExceptionToString("
            "ExceptionType, ExceptionParam)); end;\n  WriteLn(p.name + ' ' + IntToStr(p.x));\nend.");
        bool found = false;
        for (lang::Import& im : m.imports)
            if (im.external) {
                im.signature = forged;
                found = true;
            }
        ASSERT_TRUE(found);
        const std::string bytes = lang::serializeModule(m);
        h.vm->loadFile(bytes);
        h.vm->runMain();
        EXPECT_EQ(h.joined(), "Could not call proc|kept 0") << forged;
    }
}

}  // namespace
}  // namespace pelo::ffi
