// Real types: Extended keeps the 64-bit mantissa and exponent range of the x87 type, Double and
// Single round on store, arithmetic takes its type from the operands like the reference engine, and
// Currency converts at the precision of the real it meets. Expected texts were printed by psoracle.
#include "ScriptHarness.h"
#include "lang/Loader.h"

namespace pelo::lang::test {
namespace {

std::string runOut(const std::string& body, const std::string& vars = "") {
    ScriptHarness h;
    std::string err = h.run("var e, e2, t: Extended; d, d2: Double; s, s2: Single; c: Currency; i: Integer; "
                            "v: Variant;" + vars + "\nbegin\n" + body + "\nend.");
    return err.empty() ? h.joined() : "ERROR " + err;
}

TEST(RealTypes, ExtendedKeepsItsPrecisionInVariablesConstantsAndArithmetic) {
    // one third to 64 bits differs from one third to 53 bits by 1.85e-17
    EXPECT_EQ(runOut("e := 1; e := e / 3; d := e; if e <> d then WriteLn('more bits'); e2 := d;"
                     "WriteLn(FloatToStr((e - e2) * 1e18));"),
              "more bits|18.512752095190");
    EXPECT_EQ(runOut("e := 12345678.9012; d := 12345678.9012; WriteLn(FloatToStr(e) + ' ' + FloatToStr(d));"),
              "12345678.901200000000 12345678.901200000197");
    // literals and folded constants are Extended
    EXPECT_EQ(runOut("e := 0.1; d := 0.1; WriteLn(FloatToStr((e - d) * 1e20));"), "-554.975987041018");
    EXPECT_EQ(runOut("e := 1.0 / 3.0; e2 := 1; e2 := e2 / 3; if e = e2 then WriteLn('folded at 64 bits');"),
              "folded at 64 bits");
    EXPECT_EQ(runOut("WriteLn(FloatToStr(Pi * 1e20));"), "314159265358979323840.000000000000");
    EXPECT_EQ(runOut("e := 1; e := e / 3; WriteLn(FloatToStr(e * 1e10));"), "3333333333.333333333490");
    EXPECT_EQ(runOut("WriteLn(IntToStr(SizeOf(e)) + ' ' + IntToStr(SizeOf(d)) + ' ' + IntToStr(SizeOf(s)));"),
              "10 8 4");
}

TEST(RealTypes, DoubleAndSingleRoundOnStore) {
    EXPECT_EQ(runOut("s := 0.1; d := 0.1; WriteLn(FloatToStr(s) + ' ' + FloatToStr(d * 1e20) + ' ' + FloatToStr(s * 1e20));"),
              "0.100000001490 10000000000000000000.000000000000 9999999980506447872.000000000000");
    EXPECT_EQ(runOut("e := 1; e := e / 3; d := e; e := d; WriteLn(FloatToStr(e * 1e20));"), "33333333333333331482.000000000000");
    // the product with a Double on the left is a Double too
    EXPECT_EQ(runOut("e := 1; e := e / 3; d := e; WriteLn(FloatToStr(d * 1e20));"), "33333333333333331968.000000000000");
    EXPECT_EQ(runOut("s := 16777217; WriteLn(FloatToStr(s));"), "16777216.000000000000");
    // an Int64 beyond 2^53 rounds when it becomes a Double, not when it becomes an Extended
    EXPECT_EQ(runOut("j := 9007199254740993; d := j; e := j; WriteLn(FloatToStr(d) + ' ' + FloatToStr(e));", " j: Int64;"),
              "9007199254740992.000000000000 9007199254740993.000000000000");
    // a variant holds a Double
    EXPECT_EQ(runOut("e := 1; e := e / 3; v := e; e := v; WriteLn(FloatToStr(e * 1e20));"),
              "33333333333333331482.000000000000");
}

TEST(RealTypes, ArithmeticTakesTheLeftRealTypeOrElseTheRightOne) {
    // t is 1/3 to 64 bits; the printed difference tells the precision of r
    const std::string setup = "t := 1; t := t / 3; ";
    const std::string show = "WriteLn(FloatToStr((e - t) * 1e20));";
    EXPECT_EQ(runOut(setup + "s := 1; s2 := 3; e := s / s2; " + show), "993410746255.606914878000");
    EXPECT_EQ(runOut(setup + "s := 1; e2 := 3; e := s / e2; " + show), "993410746255.606914878000");
    EXPECT_EQ(runOut(setup + "d := 1; e2 := 3; e := d / e2; " + show), "-1851.275209518999");
    EXPECT_EQ(runOut(setup + "i := 1; d := 3; e := i / d; " + show), "-1851.275209518999");
    EXPECT_EQ(runOut(setup + "i := 1; s := 3; e := i / s; " + show), "993410746255.606914878000");
    EXPECT_EQ(runOut(setup + "e2 := 1; d := 3; e := e2 / d; " + show), "0.000000000000");
    EXPECT_EQ(runOut(setup + "d := 1; e := d / 3.0; " + show), "-1851.275209518999");
    EXPECT_EQ(runOut(setup + "d := 3; e := 1.0 / d; " + show), "0.000000000000");
}

TEST(RealTypes, DoubleOperationsRoundOnceAndMixedOnesAtExtendedPrecision) {
    // two Doubles combine in double precision: rounding the 64-bit result again would give ...991119
    EXPECT_EQ(runOut("d := 1370608956.9503829479217529296875; d2 := 4.408528923956321676769221085123717784882;"
                     "d := d + d2; WriteLn(FloatToStr(d));"),
              "1370608961.358911752700");
    EXPECT_EQ(runOut("d := 1862093920.0192716121673583984375; d2 := 2.416231720227721702087819721782580018044;"
                     "d := d / d2; WriteLn(FloatToStr(d));"),
              "770660323.854938626289");
    // a Double minus an Extended is computed at 64 bits, then rounded: the nearest Double to 2/3
    EXPECT_EQ(runOut("e := 1; e := e / 3; t := 2; t := t / 3; d := 1; e2 := d - e; WriteLn(FloatToStr((e2 - t) * 1e20));"),
              "-3702.550419037998");
}

TEST(RealTypes, CurrencyConvertsAtThePrecisionOfTheRealItMeets) {
    EXPECT_EQ(runOut("c := 12345678.9012; e := c; d := c; WriteLn(FloatToStr(c) + ' ' + FloatToStr(e) + ' ' + FloatToStr(d));"),
              "12345678.901200000000 12345678.901200000000 12345678.901200000197");
    // a Double is scaled by 10000 in double precision (0.5 exactly, to even: 0; 1.4999999999999999),
    // an Extended at 64 bits (1.5000000000000000000 and a little: 2)
    EXPECT_EQ(runOut("d := 0.00005; c := d; WriteLn(FloatToStr(c)); d := 0.00015; c := d; WriteLn(FloatToStr(c));"
                     "e := 0.00015; c := e; WriteLn(FloatToStr(c));"),
              "0.000000000000|0.000100000000|0.000200000000");
    EXPECT_EQ(runOut("e := 1; e := e / 3; c := e; WriteLn(FloatToStr(c)); c := 0.00025; WriteLn(FloatToStr(c));"),
              "0.333300000000|0.000200000000");
    // Currency on the left keeps the result in Currency, a real on the left keeps it real
    EXPECT_EQ(runOut("c := 1; e := 1; e := e / 3; e2 := c + e; t := e + c; WriteLn(FloatToStr(e2) + ' ' + FloatToStr(t));"),
              "1.333300000000 1.333333333333");
    EXPECT_EQ(runOut("c := 10000; c := c * 0.00001; WriteLn(FloatToStr(c));"), "0.100000000000");
    EXPECT_EQ(runOut("e := 1e15; c := e; WriteLn(FloatToStr(c));"), "ERROR Math error");
}

TEST(RealTypes, CurrencyArithmeticOutOfRangeIsAMathError) {
    EXPECT_EQ(runOut("c := 900000000000000; c := c * 100;"), "ERROR Math error");
    EXPECT_EQ(runOut("c := 900000000000000; c := c / 0.0001; WriteLn(FloatToStr(c));"), "ERROR Math error");
    EXPECT_EQ(runOut("c := -900000000000000; c2 := 0.001; c := c / c2; WriteLn(FloatToStr(c));", "c2: Currency;"),
              "ERROR Math error");
    // large quotients keep every digit; halves round to even
    EXPECT_EQ(runOut("c := 900000000000000; c2 := 1.0001; c := c / c2; WriteLn(FloatToStr(c));", "c2: Currency;"),
              "899910008999100.090027000000");
    EXPECT_EQ(runOut("c := 0.0001; c2 := 2; WriteLn(FloatToStr(c / c2)); c := 0.0005; WriteLn(FloatToStr(c / c2));"
                     "c2 := 0.5; c := 0.0001; WriteLn(FloatToStr(c * c2)); c := 0.0003; WriteLn(FloatToStr(c * c2));",
                     "c2: Currency;"),
              "0.000000000000|0.000200000000|0.000000000000|0.000200000000");
    EXPECT_EQ(runOut("c := 90000000000000; c := c / 0.1; WriteLn(FloatToStr(c));"), "900000000000000.000000000000");
}

TEST(RealTypes, ExtendedReachesBeyondTheDoubleRange) {
    EXPECT_EQ(runOut("e := 1e4000; WriteLn(FloatToStr(e / 1e3990)); WriteLn(FloatToStr(e));"),
              "10000000000.000000000000| 1.0E+4000");
    EXPECT_EQ(runOut("e := 1e300; WriteLn(FloatToStr(e * 1e300 / 1e300));"), " 1.0E+0300");
    EXPECT_EQ(runOut("e := StrToFloat('1e400'); WriteLn(FloatToStr(e / 1e399));"), "10.000000000000");
    // overflow: of an Extended, and of a value stored into a narrower type
    EXPECT_EQ(runOut("e := 1e4000; e := e * 1e4000;"), "ERROR Math error");
    EXPECT_EQ(runOut("e := 1e4000; d := e;"), "ERROR Math error");
    EXPECT_EQ(runOut("e := 1e39; s := e;"), "ERROR Math error");
    EXPECT_EQ(runOut("d := 1e300; d := d * 1e300;"), "ERROR Math error");
    EXPECT_EQ(runOut("s := 1e39;"), "ERROR Math error");
}

TEST(RealTypes, CompiledFilesKeepExtendedConstants) {
    ScriptHarness h;
    std::string bytes = serializeModule(h.compile(
        "var e: Extended; begin e := 1e4000; WriteLn(FloatToStr(e / 1e3999)); WriteLn(FloatToStr((0.1 - 0.1) + 1/3.0)); end."));
    h.vm->loadFile(bytes);
    h.vm->runMain();
    EXPECT_EQ(h.joined(), "10.000000000000|0.333333333333");
    EXPECT_EQ(serializeModule(h.vm->module()), bytes);
}

TEST(RealTypes, WritingARealLeavesTagAndVariantTypeAlone) {
    Value v;
    v.vt = VarType::Float;
    v.setFloat(-1.0L / 3);
    EXPECT_EQ(v.tag, Tag::Plain);
    EXPECT_EQ(v.vt, VarType::Float);
    EXPECT_EQ(v.f(), -1.0L / 3);
    Value copy = v;
    EXPECT_EQ(copy.f(), -1.0L / 3);
    Value moved = std::move(copy);
    EXPECT_EQ(moved.f(), -1.0L / 3);
    EXPECT_EQ(copy.f(), 0.0L);
    v.clear();
    EXPECT_EQ(v.f(), 0.0L);
}

}  // namespace
}  // namespace pelo::lang::test

namespace pelo::lang::test {
namespace {

// Where the reference runner itself dies (an unhandled EInvalidOp), a Currency sum beyond the range is a math
// error the script can catch, never a wrapped value.
TEST(RealTypes, CurrencyOverflowIsAMathErrorNotAWrappedValue) {
    EXPECT_EQ(runOut("c := 922337203685477; c := c + c; WriteLn(FloatToStr(c));"), "ERROR Math error");
    EXPECT_EQ(runOut("c := -922337203685477; c := c - 1; WriteLn(FloatToStr(c));"), "ERROR Math error");
    EXPECT_EQ(runOut("c := 922337203685477; try c := c + 1; except WriteLn(IntToStr(Ord(ExceptionType)) + ' ' +"
                     " ExceptionParam); end;"),
              "16 Invalid floating point operation");
    // an integer constant beyond the range is converted when the statement runs, like a variable (found by the
    // compiler fuzzer: the constant was multiplied past Int64 while compiling)
    EXPECT_EQ(runOut("c := -922337203685478;"), "ERROR Math error");
    EXPECT_EQ(runOut("c := 1; c := 922337203685478 * c;"), "ERROR Math error");
    EXPECT_EQ(runOut("c := 2; c := 922337203685477 - c; WriteLn(FloatToStr(c));"), "922337203685475.000000000000");
    EXPECT_EQ(runOut("try c := 922337203685478; except WriteLn(ExceptionParam); end; c := -922337203685477; "
                     "WriteLn(FloatToStr(c));"),
              "Invalid floating point operation|-922337203685477.000000000000");
    // the last Currency inside the range is still reached (FloatToStr shows it through a Double)
    EXPECT_EQ(runOut("c := 922337203685477; c := c + 0.5807; WriteLn(FloatToStr(c));"), "922337203685477.580688000000");
}

// The reference's arithmetic of Currency with a real, step by step in ten-thousandths; the same digits on every
// build (the 32-bit one keeps its doubles in x87 registers unless told otherwise).
TEST(RealTypes, CurrencyWithARealIsComputedInTenThousandths) {
    EXPECT_EQ(runOut("c := 1.2345; e := 11; e := e / 6; c := c * e; WriteLn(FloatToStr(c));"), "2.263300000000");
    EXPECT_EQ(runOut("c := 0.0003; e := 1; e := e / 6; c := c * e; WriteLn(FloatToStr(c));"), "0.000000000000");
    EXPECT_EQ(runOut("c := 0.0083; e := -2; c := c / e; WriteLn(FloatToStr(c));"), "-0.004100000000");
    EXPECT_EQ(runOut("c := -61480902.2935; d := 340.0364244375328; c := c * d; WriteLn(FloatToStr(c));"),
              "-20905746187.075099999100");
    EXPECT_EQ(runOut("c := -0.0008; d := 0.0005519171348714338; d := d * c; WriteLn(FloatToStr(d * 1e12));"),
              "-441533.707897146989");
    EXPECT_EQ(runOut("c := -0.0032; d := -5.444444444444445; d := d - c; WriteLn(FloatToStr(d * 1e6));"),
              "-5441244.444444444031");
    EXPECT_EQ(runOut("c := 900000000000000; try c := c * c; except WriteLn(ExceptionParam); end;"),
              "Invalid floating point operation");
}

TEST(RealTypes, TextRoundsTwiceAndTakesANearHalfAsAHalf) {
    EXPECT_EQ(runOut("e := 4000000000.5; e := -1e10 / e; WriteLn(FloatToStr(e));"), "-2.499999999688");
    EXPECT_EQ(runOut("d := -0.25; e := 251 - 28088; e := e / (Abs(0.3333 / (Abs(d) + 0.5)) + 0.5); WriteLn(FloatToStr(e));"),
              "-29475.857687420585");
    EXPECT_EQ(runOut("e := 1; e := e / 3; e := e - 0.0000000000005; WriteLn(FloatToStr(e));"), "0.333333333333");
    // tiny values print as zero, keeping their sign; just above, the 12th decimal rounds
    EXPECT_EQ(runOut("e := 1e-4940; WriteLn(FloatToStr(e) + ' ' + FloatToStr(-e));"), "0.000000000000 -0.000000000000");
    EXPECT_EQ(runOut("e := 0.99e-13; WriteLn(FloatToStr(e)); e := 0.5e-12; WriteLn(FloatToStr(e));"),
              "0.000000000000|0.000000000001");
}

}  // namespace
}  // namespace pelo::lang::test
