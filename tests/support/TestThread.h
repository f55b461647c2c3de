#pragma once
// Threads of the test programs (CreateThread: the runtime's thread model has
// no std::thread), and a watchdog for a test whose own thread waits in a
// modal loop that only another thread ends.

#include "framework/UniqueHandle.h"

#include <windows.h>

#include <functional>
#include <string>

namespace testing_support {

// Runs `work` on a thread of its own; waits for its end at the latest when
// the object goes.
class TestThread {
public:
    explicit TestThread(std::function<void()> work);
    ~TestThread() { Join(); }
    TestThread(const TestThread&) = delete;
    TestThread& operator=(const TestThread&) = delete;

    void Join() const;

private:
    static DWORD WINAPI Run(LPVOID self);

    std::function<void()> m_work;
    fw::UniqueThread m_thread;
};

// Ends the test program with a message naming `what` unless the object goes
// within `timeoutMs`: a modal loop whose helper thread missed its window
// would otherwise wait silently for the test's time-out.
class Watchdog {
public:
    explicit Watchdog(std::string what, DWORD timeoutMs = 60000);
    ~Watchdog() { ::SetEvent(m_disarmed.get()); }
    Watchdog(const Watchdog&) = delete;
    Watchdog& operator=(const Watchdog&) = delete;

private:
    fw::UniqueEvent m_disarmed;
    TestThread m_thread;  // after the event, which it waits for
};

}  // namespace testing_support
