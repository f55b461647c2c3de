// The test harness itself: Wine reports the Windows version a test chose to
// the program it names, and only to that program; a watchdog ends a test
// program that hangs; a test program that crashes ends at once, not in a
// debugger that waits for ever.

#include "tests/support/Watchdog.h"
#include "tests/support/WineTest.h"

#include <gtest/gtest.h>

using namespace testing_support;

namespace {

// Run as a child: exits with the version this process is told it runs on.
TEST(DISABLED_VersionProbe, Report) {
    OSVERSIONINFOA info{};
    info.dwOSVersionInfoSize = sizeof(info);
    ::GetVersionExA(&info);
    ::ExitProcess(info.dwPlatformId << 16 | info.dwMajorVersion << 8 | info.dwMinorVersion);
}

// Run as a child: waits for ever under a watchdog of one second.
TEST(DISABLED_WatchdogProbe, Hang) {
    Watchdog watchdog("the probe", 1000);
    ::Sleep(INFINITE);
}

// Run as a child: writes through a null pointer.
TEST(DISABLED_CrashProbe, Crash) {
    *static_cast<volatile int*>(nullptr) = 1;
}

std::string SelfPath() {
    char self[MAX_PATH] = {};
    ::GetModuleFileNameA(nullptr, self, MAX_PATH);
    return self;
}

DWORD ProbeVersion() {
    return RunProgram(SelfPath(), "--gtest_filter=DISABLED_VersionProbe.Report --gtest_also_run_disabled_tests")
        .exitCode;
}

TEST(Watchdog, EndsAHangingTestProgramWithStatus3) {
    const ProcessResult run =
        RunProgram(SelfPath(), "--gtest_filter=DISABLED_WatchdogProbe.Hang --gtest_also_run_disabled_tests", 30000);
    EXPECT_TRUE(run.finished) << "the watchdog did not end it";
    EXPECT_EQ(run.exitCode, 3u);
}

TEST(Watchdog, ACrashedTestProgramEndsAtOnceAndFails) {
    const ProcessResult run =
        RunProgram(SelfPath(), "--gtest_filter=DISABLED_CrashProbe.Crash --gtest_also_run_disabled_tests", 30000);
    EXPECT_TRUE(run.finished) << "a debugger holds the crashed program";
    EXPECT_NE(run.exitCode, 0u);
}

TEST(WindowsVersionSwitch, ReportsTheChosenVersionToTheNamedProgram) {
    {
        ScopedWindowsVersion version("harness_tests.exe", "win95");
        EXPECT_EQ(Hex(ProbeVersion()), Hex(0x10400)) << "Windows 95: platform 1, 4.0";
    }
    {
        ScopedWindowsVersion version("harness_tests.exe", "win98");
        EXPECT_EQ(Hex(ProbeVersion()), Hex(0x1040A)) << "Windows 98: platform 1, 4.10";
    }
    {
        ScopedWindowsVersion version("harness_tests.exe", "nt40");
        EXPECT_EQ(Hex(ProbeVersion()), Hex(0x20400)) << "NT 4.0: platform 2, 4.0";
    }
    {
        ScopedWindowsVersion version("other.exe", "win95");
        EXPECT_EQ(ProbeVersion() >> 16, 2u) << "another program's setting does not apply";
    }
}

}  // namespace
