#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "core/win/WinOSError.h"

using namespace pelo;

namespace {

bool EndsWithLineBreakOrBlank(const std::string& s)
{
    return !s.empty() && (s.back() == '\n' || s.back() == '\r' || s.back() == ' ');
}

TEST(WinOSError, CarriesTheCodeAndTheSystemsTextAfterTheFixedHeader)
{
    const std::string description = SystemErrorDescription(ERROR_ACCESS_DENIED);
    ASSERT_FALSE(description.empty());
    EXPECT_FALSE(EndsWithLineBreakOrBlank(description)) << description;

    const EOSError error = MakeOSError(ERROR_ACCESS_DENIED);
    EXPECT_EQ(error.ErrorCode(), 5u);
    EXPECT_EQ(std::string(error.what()), "System Error.  Code: 5.\r\n" + description);
}

TEST(WinOSError, ACodeWithTheHighBitSetIsPrintedSigned)
{
    const EOSError error = MakeOSError(0x80004005u);
    EXPECT_EQ(std::string(error.what()).rfind("System Error.  Code: -2147467259.\r\n", 0), 0u) << error.what();
}

TEST(WinOSError, RaiseLastOSErrorThrowsTheThreadsLastError)
{
    SetLastError(ERROR_FILE_NOT_FOUND);
    try {
        RaiseLastOSError();
        FAIL() << "nothing thrown";
    } catch (const EOSError& e) {
        EXPECT_EQ(e.ErrorCode(), static_cast<std::uint32_t>(ERROR_FILE_NOT_FOUND));
        EXPECT_EQ(std::string(e.what()).rfind("System Error.  Code: 2.\r\n", 0), 0u) << e.what();
    }
}

TEST(WinOSError, AFailedFileOpenReportsWhatTheSystemSaid)
{
    // The way the settings store raises it: the call fails, the last error becomes the exception.
    const HANDLE f = CreateFileW(L"Z:\\no such folder\\surely\\settings.ini", GENERIC_WRITE, 0, nullptr,
                                 CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_EQ(f, INVALID_HANDLE_VALUE);
    const DWORD code = GetLastError();
    try {
        RaiseLastOSError();
        FAIL() << "nothing thrown";
    } catch (const EOSError& e) {
        EXPECT_EQ(e.ErrorCode(), code);
        EXPECT_NE(std::string(e.what()).find(SystemErrorDescription(code)), std::string::npos);
    }
}

}  // namespace
