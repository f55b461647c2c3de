#pragma once
// A watchdog for a test whose own thread waits in a modal loop that only
// another thread ends.

#include "framework/UniqueHandle.h"
#include "tests/support/Thread.h"

#include <windows.h>

#include <string>

namespace testing_support {

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
    Thread m_thread;  // after the event, which it waits for
};

}  // namespace testing_support
