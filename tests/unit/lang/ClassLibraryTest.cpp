// Classes of the standard library that the reference runner cannot serve as an oracle for (its TBits faults in the
// property helpers): their behaviour as the class defines it.
#include <gtest/gtest.h>

#include "ScriptHarness.h"

using namespace pelo::lang;
using namespace pelo::lang::test;

namespace {

TEST(ClassLibraryTest, BitsGrowWhenSetBeyondTheirEndAndRefuseReadsOutsideThem)
{
    ScriptHarness h;
    EXPECT_EQ(h.run(R"(
var B: TBits; i: Integer; s: string;
begin
  B := TBits.Create;
  WriteLn(IntToStr(B.Size) + ' ' + IntToStr(B.OpenBit));
  B.Bits[5] := True;
  WriteLn(IntToStr(B.Size) + ' ' + IntToStr(B.OpenBit));
  for i := 0 to 2 do B.Bits[i] := True;
  WriteLn(IntToStr(B.OpenBit));
  B.Size := 3;
  WriteLn(IntToStr(B.Size) + ' ' + IntToStr(B.OpenBit));
  B.Size := 10;
  s := '';
  for i := 0 to 9 do if B.Bits[i] then s := s + '1' else s := s + '0';
  WriteLn(s);
  B.Bits[2] := False;
  WriteLn(IntToStr(B.OpenBit));
  B.Free;
end.)"),
              "");
    // Shrinking drops bits: bit 5 does not come back when the row grows again.
    EXPECT_EQ(h.joined(), "0 0|6 0|3|3 3|1110000000|2");

    for (const char* misuse : {"if B.Bits[10] then WriteLn('read past the end')", "B.Bits[-1] := True",
                               "if B.Bits[-1] then WriteLn('negative')", "B.Size := -5", "B.Size := 1000000000"}) {
        SCOPED_TRACE(misuse);
        ScriptHarness m;
        const std::string error = m.run(std::string("var B: TBits; begin B := TBits.Create; B.Size := 10; ") + misuse +
                                        "; WriteLn('not reached'); end.");
        EXPECT_NE(error.find("Bits index out of range"), std::string::npos) << error;
        EXPECT_TRUE(m.out.empty());
    }
}

// Scripts do not free what they drop, but an object nothing refers to goes: an owner dropped before what it owns
// leaves it without an owner (it was left pointing at the freed owner).
TEST(ClassLibraryTest, AComponentOutlivesAnOwnerNothingRefersTo)
{
    ScriptHarness h;
    EXPECT_EQ(h.run(R"(
var a, b: TComponent;
begin
  a := TComponent.Create(nil);
  b := TComponent.Create(a);
  b.Name := 'child';
  a := nil;
  WriteLn(IntToStr(b.ComponentIndex) + ' ' + b.Name);
  if b.Owner = nil then WriteLn('no owner');
  b.ComponentIndex := 0;
  b.Free;
end.)"),
              "");
    EXPECT_EQ(h.joined(), "-1 child|no owner");
}

// Objects that hold each other (a list holding itself, an owner whose component keeps it as a setting, two lists
// holding each other) are a ring no reference count frees: they go when the code that made them is unloaded.
TEST(ClassLibraryTest, ObjectsThatHoldEachOtherGoWithTheCodeThatMadeThem)
{
    ScriptHarness h;
    EXPECT_EQ(h.run(R"(
var a, b: TStringList; owner, part: TComponent;
begin
  a := TStringList.Create; b := TStringList.Create;
  a.AddObject('b', b); b.AddObject('a', a); a.AddObject('a', a);
  owner := TComponent.Create(nil); part := TComponent.Create(owner);
  part.Tag := 7;
  WriteLn(IntToStr(owner.ComponentCount) + ' ' + IntToStr(a.Count));
end.)"),
              "");
    EXPECT_EQ(h.joined(), "1 2");
    const void* maker = h.vm.get();
    EXPECT_EQ(ScriptObject::liveObjectsOf(maker), 4u) << "the globals still refer to them";
    h.vm->clear();
    EXPECT_EQ(ScriptObject::liveObjectsOf(maker), 0u);
}

// A memory stream grows no further than a string may: a stream written into itself doubles, and a parser over it
// reads the whole of it (found by the fuzzer: a loop of parsers over a stream of megabytes, never ending).
TEST(ClassLibraryTest, MemoryStreamsStayWithinTheStringLimitAndParsersReadLongSymbolsWhole)
{
    VmLimits limits;
    limits.maxStringLength = 1 << 16;
    ScriptHarness h(limits);
    for (const char* growth : {"while True do m.CopyFrom(m, 0)", "m.SetSize(70000)", "m.Size := MaxInt",
                               "begin m.Position := 65530; m.Write('abcdefgh', 8); end",
                               "begin m.Seek(MaxInt, 0); m.Seek(MaxInt, 1); m.Write('a', 1); end"}) {
        SCOPED_TRACE(growth);
        EXPECT_EQ(h.run(std::string("var m: TMemoryStream; begin m := TMemoryStream.Create; m.Write('ab', 2); try ") +
                        growth + "; except WriteLn(ExceptionParam); end; WriteLn(IntToStr(m.Size)); end."),
                  "");
        ASSERT_EQ(h.out.size(), 2u);
        EXPECT_EQ(h.out[0], "Out of memory while expanding memory stream");
        EXPECT_LE(std::stoi(h.out[1]), 1 << 16);
        h.out.clear();
    }
    // Asking a stream for more than it holds is refused before room is made for it.
    EXPECT_EQ(h.run("var a, b: TMemoryStream; begin a := TMemoryStream.Create; b := TMemoryStream.Create; "
                    "a.Write('xyz', 3); a.Position := 1; "
                    "try b.CopyFrom(a, 1000000000); except WriteLn(ExceptionParam); end; "
                    "WriteLn(IntToStr(b.CopyFrom(a, 2)) + ' ' + IntToStr(b.Size)); end."),
              "");
    EXPECT_EQ(h.joined(), "Stream read error|2 2");
    h.out.clear();

    // A symbol running over many of the parser's blocks comes whole, and the token after it follows.
    EXPECT_EQ(h.run(R"(
var m: TStream; p: TParser; s: string; i: Integer;
begin
  s := 'a';
  for i := 1 to 14 do s := s + s;
  s := s + '9_z = 12';
  m := TStringStream.Create(s);
  p := TParser.Create(m);
  WriteLn(IntToStr(Length(p.TokenString)) + ' ' + Copy(p.TokenString, 16380, 8));
  p.NextToken;
  WriteLn(p.TokenString);
  p.NextToken;
  WriteLn(p.TokenString);
end.)"),
              "");
    EXPECT_EQ(h.joined(), "16387 aaaaa9_z|=|12");
}

}  // namespace
