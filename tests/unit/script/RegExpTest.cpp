#include "script/RegExp.h"

#include <gtest/gtest.h>

#include <string>

namespace pelo::script {
namespace {

std::string SubError(const TRegExp& re, int index) {
    try {
        (void)re.Sub(index);
    } catch (const ERegExp& e) {
        return e.what();
    }
    return "no error";
}

TEST(RegExp, SubIndexesRunToTheResultCountButNotPastTheGroups) {
    TRegExp re;
    re.SetPattern("(a)(b)?");
    ASSERT_TRUE(re.Match("xa"));
    EXPECT_EQ(re.Sub(0), "a");
    EXPECT_EQ(re.Sub(1), "a");
    EXPECT_EQ(re.Sub(2), "");  // a group that took no part
    EXPECT_EQ(SubError(re, 3), "Sub index out of range");
    EXPECT_EQ(SubError(re, -1), "Sub index out of range");

    // The second alternative: group 1 took no part, group 2 did.
    re.SetPattern("(a)|(b)");
    ASSERT_TRUE(re.Match("zb"));
    EXPECT_EQ(re.Sub(0), "b");
    EXPECT_EQ(re.Sub(1), "");
    EXPECT_EQ(re.Sub(2), "b");
    EXPECT_EQ(SubError(re, 3), "Sub index out of range");

    re.SetPattern("a+");
    ASSERT_TRUE(re.Match("baab"));
    EXPECT_EQ(re.Sub(0), "aa");
    EXPECT_EQ(SubError(re, 1), "Sub index out of range");
}

TEST(RegExp, SubIsRefusedBeforeAnyMatchAndAfterAFailedOne) {
    TRegExp re;
    re.SetPattern("(x)");
    EXPECT_EQ(SubError(re, 0), "Sub index out of range");
    ASSERT_TRUE(re.Match("x"));
    EXPECT_EQ(re.Sub(1), "x");
    EXPECT_FALSE(re.Match("y"));
    EXPECT_EQ(SubError(re, 0), "Sub index out of range");
}

TEST(RegExp, ABadPatternKeepsTheOldTextButLeavesNothingToMatchWith) {
    TRegExp re;
    EXPECT_EQ(re.Pattern(), "");
    re.SetPattern("b+");
    try {
        re.SetPattern("(");
        FAIL() << "no error";
    } catch (const ERegexException& e) {
        const std::string text = e.what();
        EXPECT_EQ(text.rfind("Error: ", 0), 0u) << text;
        EXPECT_NE(text.find(" at offset: 1"), std::string::npos) << text;
    }
    EXPECT_EQ(re.Pattern(), "b+");
    try {
        re.Match("bb");
        FAIL() << "matched without a pattern";
    } catch (const ERegExp& e) {
        EXPECT_EQ(std::string(e.what()), "Error " + std::to_string(-51) + " in pcre_exec");
    }
    // A pattern that compiles again makes the object usable.
    re.SetPattern("b+");
    EXPECT_TRUE(re.Match("abbc"));
    EXPECT_EQ(re.Sub(0), "bb");
}

TEST(RegExp, NoOptionsButThePatternsOwn) {
    TRegExp re;
    EXPECT_THROW(re.Match("a"), ERegExp);  // nothing assigned yet
    re.SetPattern("abc");
    EXPECT_FALSE(re.Match("ABC"));
    re.SetPattern("(?i)abc");
    EXPECT_TRUE(re.Match("xABCx"));
    // No multi-line mode: ^ is the subject's start only; the subject's bytes are matched as they are.
    re.SetPattern("^b");
    EXPECT_FALSE(re.Match("a\nb"));
    re.SetPattern("\\x00(.)");
    ASSERT_TRUE(re.Match(std::string("a\0\xE9", 3)));
    EXPECT_EQ(re.Sub(1), "\xE9");
}

TEST(RegExp, AnEngineFailureIsRaisedWithItsCode) {
    TRegExp re;
    re.SetPattern("(a+)+$");
    try {
        re.Match(std::string(40, 'a') + "b");
        FAIL() << "the match limit was not reached";
    } catch (const ERegExp& e) {
        EXPECT_EQ(std::string(e.what()), "Error -47 in pcre_exec");
    }
}

}  // namespace
}  // namespace pelo::script
