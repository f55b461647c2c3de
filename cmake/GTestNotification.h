#pragma once
// GoogleTest's signal that lets its threads start, for the win32 thread model,
// which has no std::mutex or std::condition_variable: a manual-reset event.
// It is included ahead of GoogleTest's headers, which GTEST_HAS_NOTIFICATION_
// tells to use it.

#include <windows.h>

namespace testing::internal {

class Notification {
public:
    Notification() : m_event(::CreateEventA(nullptr, TRUE, FALSE, nullptr)) {}
    ~Notification() { ::CloseHandle(m_event); }
    Notification(const Notification&) = delete;
    Notification& operator=(const Notification&) = delete;

    void Notify() { ::SetEvent(m_event); }
    void WaitForNotification() { ::WaitForSingleObject(m_event, INFINITE); }

private:
    HANDLE m_event;
};

}  // namespace testing::internal
