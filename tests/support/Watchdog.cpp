#include "tests/support/Watchdog.h"

#include <cstdio>
#include <utility>

namespace testing_support {

Watchdog::Watchdog(std::string what, DWORD timeoutMs)
    : m_disarmed(::CreateEventA(nullptr, TRUE, FALSE, nullptr)),
      m_thread([disarmed = m_disarmed.get(), what = std::move(what), timeoutMs] {
          if (::WaitForSingleObject(disarmed, timeoutMs) != WAIT_TIMEOUT) return;
          std::fprintf(stderr, "watchdog: %s still running after %lu s; test program ended\n", what.c_str(),
                       timeoutMs / 1000);
          std::fflush(stderr);
          std::fflush(stdout);
          ::TerminateProcess(::GetCurrentProcess(), 3);
      }) {}

}  // namespace testing_support
