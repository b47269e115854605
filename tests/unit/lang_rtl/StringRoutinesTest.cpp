// Expected values were produced by the reference engine (psoracle) running small scripts; the script
// expression is given where it is not obvious.
#include "lang/rtl/ScriptError.h"
#include "lang/rtl/StringRoutines.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

using namespace pelo::lang::rtl;

TEST(StringRoutines, CopyClampsStartAndCount) {
    EXPECT_EQ(Copy("abcdef", 2, 3), "bcd");
    EXPECT_EQ(Copy("abcdef", 5, 100), "ef");
    // a start below 1 is moved to 1 without shortening the count
    EXPECT_EQ(Copy("abcdef", 0, 2), "ab");
    EXPECT_EQ(Copy("abcdef", -1, 2), "ab");
    EXPECT_EQ(Copy("abcdef", -5, 7), "abcdef");
    EXPECT_EQ(Copy("abcdef", INT_MIN + 1, 3), "abc");
    EXPECT_EQ(Copy("abcdef", 3, INT_MAX), "cdef");
    EXPECT_EQ(Copy("abcdef", 7, 1), "");
    EXPECT_EQ(Copy("abcdef", 6, 1), "f");
    EXPECT_EQ(Copy("abcdef", 2, -1), "");
    EXPECT_EQ(Copy("abcdef", 0, 0), "");
    EXPECT_EQ(Copy("", 1, 1), "");
}

TEST(StringRoutines, PosIsByteExactAndZeroForEmptyNeedle) {
    EXPECT_EQ(Pos("c", "abcabc"), 3);
    EXPECT_EQ(Pos("ca", "abcabc"), 3);
    EXPECT_EQ(Pos("C", "abc"), 0);
    EXPECT_EQ(Pos("", "abc"), 0);
    EXPECT_EQ(Pos("", ""), 0);
    EXPECT_EQ(Pos("abc", "ab"), 0);
    EXPECT_EQ(Pos(std::string_view("\0b", 2), std::string_view("a\0b", 3)), 2);
}

TEST(StringRoutines, DeleteIgnoresOutOfRangeArguments) {
    auto del = [](int32_t index, int32_t count) {
        std::string s = "abcdef";
        Delete(s, index, count);
        return s;
    };
    EXPECT_EQ(del(0, 2), "abcdef");
    EXPECT_EQ(del(-1, 2), "abcdef");
    EXPECT_EQ(del(3, 100), "ab");
    EXPECT_EQ(del(6, 1), "abcde");
    EXPECT_EQ(del(7, 1), "abcdef");
    EXPECT_EQ(del(2, 0), "abcdef");
    EXPECT_EQ(del(2, -1), "abcdef");
    EXPECT_EQ(del(2, INT_MAX), "a");
    EXPECT_EQ(del(1, 6), "");
}

TEST(StringRoutines, InsertClampsPosition) {
    auto ins = [](std::string s, int32_t index) {
        Insert("XY", s, index);
        return s;
    };
    EXPECT_EQ(ins("abc", 0), "XYabc");
    EXPECT_EQ(ins("abc", -5), "XYabc");
    EXPECT_EQ(ins("abc", 2), "aXYbc");
    EXPECT_EQ(ins("abc", 4), "abcXY");
    EXPECT_EQ(ins("abc", 99), "abcXY");
    EXPECT_EQ(ins("", 2), "XY");
    std::string s = "abc";
    Insert("", s, 2);
    EXPECT_EQ(s, "abc");
}

TEST(StringRoutines, SetLengthPadsWithZeroBytes) {
    std::string s = "abc";
    SetLength(s, 5);
    ASSERT_EQ(s.size(), 5u);
    EXPECT_EQ(s[4], '\0');
    SetLength(s, 2);
    EXPECT_EQ(s, "ab");
    SetLength(s, -3);
    EXPECT_EQ(s, "");
}

TEST(StringRoutines, UpperAndLowerCaseMapAsciiOnly) {
    // 'Grüße, World' in UTF-8: the multi-byte letters stay as they are
    EXPECT_EQ(UpperCase("Gr\xC3\xBC\xC3\x9F" "e, World"), "GR\xC3\xBC\xC3\x9F" "E, WORLD");
    EXPECT_EQ(LowerCase("Gr\xC3\xBC\xC3\x9F" "e, World"), "gr\xC3\xBC\xC3\x9F" "e, world");
    EXPECT_EQ(UpperCase("\xE0\xFF_z"), "\xE0\xFF_Z");
    EXPECT_EQ(UpperCase(std::string_view("a\0b", 3)), std::string_view("A\0B", 3));
}

TEST(StringRoutines, AnsiCaseMapsLatin1) {
    // every byte was run through AnsiUpperCase/AnsiLowerCase in the reference
    for (int c = 1; c < 256; ++c) {
        const std::string s(1, static_cast<char>(c));
        int up = c, low = c;
        if (c >= 'a' && c <= 'z') up = c - 32;
        if (c >= 'A' && c <= 'Z') low = c + 32;
        if (c >= 0xE0 && c <= 0xFE && c != 0xF7) up = c - 32;
        if (c >= 0xC0 && c <= 0xDE && c != 0xD7) low = c + 32;
        if (c == 0xFF) up = 'Y';
        EXPECT_EQ(static_cast<unsigned char>(AnsiUpperCase(s)[0]), up) << c;
        EXPECT_EQ(static_cast<unsigned char>(AnsiLowerCase(s)[0]), low) << c;
    }
    EXPECT_EQ(AnsiUpperCase(std::string_view("abc\0def", 7)).size(), 7u);
}

TEST(StringRoutines, TrimRemovesControlBytesAndSpaces) {
    EXPECT_EQ(Trim("\t  padded \r\n"), "padded");
    EXPECT_EQ(Trim(" a  b "), "a  b");
    EXPECT_EQ(Trim("   "), "");
    EXPECT_EQ(Trim(std::string_view("\0 a \0", 5)), "a");
    // #1#2'a'#31#127#160: DEL and NBSP are kept
    EXPECT_EQ(Trim("\x01\x02" "a\x1F\x7F\xA0"), "a\x1F\x7F\xA0");
}

TEST(StringRoutines, PaddingAndRepeats) {
    EXPECT_EQ(PadL("7", 4), "   7");
    EXPECT_EQ(PadR("7", 4), "7   ");
    EXPECT_EQ(PadZ("7", 4), "0007");
    EXPECT_EQ(PadL("abcdef", 3), "abcdef");
    EXPECT_EQ(PadL("ab", -3), "ab");
    EXPECT_EQ(PadR("ab", 0), "ab");
    EXPECT_EQ(PadZ("-5", 4), "00-5");
    EXPECT_EQ(StringOfChar('-', 5), "-----");
    EXPECT_EQ(StringOfChar('x', 0), "");
    EXPECT_EQ(StringOfChar('y', -3), "");
}

TEST(StringRoutines, StrGetAndStrSetCheckTheRange) {
    std::string s = "hello";
    EXPECT_EQ(StrGet(s, 2), 'e');
    StrSet('J', 1, s);
    EXPECT_EQ(s, "Jello");
    for (int32_t bad : {0, 6, -1}) {
        try {
            StrSet('Q', bad, s);
            ADD_FAILURE() << "StrSet " << bad;
        } catch (const ScriptError& e) {
            EXPECT_STREQ(e.what(), "Out of string range");
            EXPECT_EQ(e.kind(), ErrorKind::CustomError);
        }
        EXPECT_THROW(StrGet(s, bad), ScriptError);
    }
    EXPECT_EQ(s, "Jello");
}

}  // namespace
