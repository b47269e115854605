#include <gtest/gtest.h>

#include "app/ClockCaption.h"
#include "app/StartupRules.h"

namespace pelo::app {
namespace {

TEST(StartupCommandTest, OnlyExactSwitchesCount) {
    EXPECT_EQ(ParseStartupCommand(u"-attach"), StartupCommand::Attach);
    EXPECT_EQ(ParseStartupCommand(u"-detach"), StartupCommand::Detach);
    EXPECT_EQ(ParseStartupCommand(u"-test"), StartupCommand::Test);
    EXPECT_EQ(ParseStartupCommand(u"-reset"), StartupCommand::Reset);
    EXPECT_EQ(ParseStartupCommand(u"-ATTACH"), StartupCommand::None);
    EXPECT_EQ(ParseStartupCommand(u"/attach"), StartupCommand::None);
    EXPECT_EQ(ParseStartupCommand(u"-attach "), StartupCommand::None);
}

TEST(FirstArgumentTest, SkipsTheProgramNameAndHonoursQuotes) {
    EXPECT_FALSE(FirstArgument(u"\"C:\\Program Files\\P\\Pelorant.exe\"").has_value());
    EXPECT_FALSE(FirstArgument(u"\"C:\\P\\Pelorant.exe\"   ").has_value());
    EXPECT_EQ(FirstArgument(u"\"C:\\Program Files\\P\\Pelorant.exe\" -test more"), u"-test");
    EXPECT_EQ(FirstArgument(u"C:\\P\\Pelorant.exe -attach"), u"-attach");
    EXPECT_EQ(FirstArgument(u"Pelorant.exe \"two words\" x"), u"two words");
    EXPECT_EQ(FirstArgument(u"Pelorant.exe a\\\\\"b c\""), u"a\\b c");
    // An empty quoted argument is still an argument: it suppresses the editor notification.
    EXPECT_EQ(FirstArgument(u"Pelorant.exe \"\""), u"");
}

TEST(SemaphoreNameTest, BuiltFromTheProgramFolder) {
    EXPECT_EQ(InstanceSemaphoreNameFor(u"\"C:\\Apps\\X\\Pelorant.exe\" -attach"), u"C:/Apps/X/Pelorant.exe");
    EXPECT_EQ(EditorSemaphoreNameFor(u"\"C:\\Apps\\X\\Pelorant.exe\""), u"C:/Apps/X/Glossel.exe");
    // Unquoted: the whole command line is taken, so a blank-free path with arguments still cuts at the last "\".
    EXPECT_EQ(ProgramFolderKey(u"C:\\Apps\\Pelorant.exe"), u"C:/Apps");
    // A drive root keeps its separator.
    EXPECT_EQ(ProgramFolderKey(u"\"C:\\Pelorant.exe\""), u"C:/");
    EXPECT_EQ(ProgramFolderKey(u"C:Pelorant.exe"), u"C:");
    // Copies in different folders must not see each other.
    EXPECT_NE(InstanceSemaphoreNameFor(u"\"C:\\A\\Pelorant.exe\""), InstanceSemaphoreNameFor(u"\"C:\\B\\Pelorant.exe\""));
}

TEST(WindowsVersionTest, XpAndLaterOnly) {
    EXPECT_FALSE(IsWindowsVersionSupported(4, 10));
    EXPECT_FALSE(IsWindowsVersionSupported(5, 0));
    EXPECT_TRUE(IsWindowsVersionSupported(5, 1));
    EXPECT_TRUE(IsWindowsVersionSupported(5, 2));
    EXPECT_TRUE(IsWindowsVersionSupported(6, 0));
    EXPECT_TRUE(IsWindowsVersionSupported(10, 0));
}

TEST(TimerResolutionTest, AsksForOneMillisecondOrTheFinest) {
    EXPECT_EQ(TimerResolutionToRequest(156250, 5000, 156250), 10000u);   // 0.5 ms offered, 15.6 ms now -> 1 ms
    EXPECT_EQ(TimerResolutionToRequest(156250, 20000, 156250), 20000u);  // coarser finest value is taken as is
    EXPECT_FALSE(TimerResolutionToRequest(156250, 10000, 10000));        // already at the finest
    EXPECT_FALSE(TimerResolutionToRequest(156250, 1000, 5000));          // already at 0.5 ms
    EXPECT_EQ(TimerResolutionToRequest(156250, 1000, 5001), 10000u);
}

TEST(EnsureOnScreenTest, NeedsACaptionHighStripOnTheMonitor) {
    const ScreenRect screen{0, 0, 1920, 1040};
    const int c = 20;
    EXPECT_TRUE(IsWindowVisibleOn(screen, 100, 100, 600, c));
    EXPECT_TRUE(IsWindowVisibleOn(screen, -580, 0, 600, c));    // exactly c pixels still inside on the left
    EXPECT_FALSE(IsWindowVisibleOn(screen, -581, 0, 600, c));
    EXPECT_TRUE(IsWindowVisibleOn(screen, 1900, 0, 600, c));
    EXPECT_FALSE(IsWindowVisibleOn(screen, 1901, 0, 600, c));
    EXPECT_TRUE(IsWindowVisibleOn(screen, 0, -20, 600, c));
    EXPECT_FALSE(IsWindowVisibleOn(screen, 0, -21, 600, c));
    EXPECT_FALSE(IsWindowVisibleOn(screen, 0, 1021, 600, c));
    EXPECT_FALSE(IsWindowVisibleOn(screen, 3000, 100, 600, c));  // a monitor that is gone
}

TEST(ClockTest, AlignsToTheHalfSecondThenStays) {
    ClockAlignment a;
    EXPECT_EQ(a.OnTick(300), 210);
    EXPECT_FALSE(a.Aligned());
    EXPECT_EQ(a.OnTick(700), 310);
    EXPECT_EQ(a.OnTick(551), 459);
    EXPECT_EQ(a.OnTick(510), 500);
    EXPECT_TRUE(a.Aligned());
    EXPECT_EQ(a.OnTick(300), 500);   // once aligned the interval is left alone
    ClockAlignment b;
    EXPECT_EQ(b.OnTick(50), 500);
    EXPECT_TRUE(b.Aligned());
}

TEST(ClockTest, CaptionText) {
    EXPECT_EQ(ClockCaptionText(MakeCaptionBase(false), {7, 5, 9, 123}), "Pelorant 2.5     Time: 07:05:09");
    EXPECT_EQ(ClockCaptionText(MakeCaptionBase(true), {23, 59, 0, 0}), "Pelorant 2.5 (testing)     Time: 23:59:00");
}

}  // namespace
}  // namespace pelo::app
