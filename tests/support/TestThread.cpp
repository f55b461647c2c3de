#include "tests/support/TestThread.h"

#include <cstdio>
#include <utility>

namespace testing_support {

TestThread::TestThread(std::function<void()> work)
    : m_work(std::move(work)), m_thread(::CreateThread(nullptr, 0, &TestThread::Run, this, 0, nullptr)) {
    if (!m_thread) std::fprintf(stderr, "CreateThread failed: error %lu\n", ::GetLastError());
}

void TestThread::Join() const {
    if (m_thread) ::WaitForSingleObject(m_thread.get(), INFINITE);
}

DWORD WINAPI TestThread::Run(LPVOID self) {
    static_cast<TestThread*>(self)->m_work();
    return 0;
}

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
