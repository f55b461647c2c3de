// The test harness itself: Wine reports the Windows version a test chose to
// the program it names, and only to that program.

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

DWORD ProbeVersion() {
    char self[MAX_PATH] = {};
    ::GetModuleFileNameA(nullptr, self, MAX_PATH);
    return RunProgram(self, "--gtest_filter=DISABLED_VersionProbe.Report --gtest_also_run_disabled_tests").exitCode;
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
