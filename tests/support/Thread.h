#pragma once
// Work run on a thread of its own, joined at the latest when its owner goes.
// The win32 thread model of the toolchain has no std::thread.

#include "framework/UniqueHandle.h"

#include <functional>
#include <utility>

namespace testing_support {

class Thread {
public:
    explicit Thread(std::function<void()> work)
        : m_work(std::move(work)), m_thread(::CreateThread(nullptr, 0, &Thread::Run, this, 0, nullptr)) {}
    ~Thread() { Join(); }
    Thread(const Thread&) = delete;
    Thread& operator=(const Thread&) = delete;

    // Waits until the work has ended.
    void Join() {
        if (m_thread) ::WaitForSingleObject(m_thread.get(), INFINITE);
        m_thread.reset();
    }

private:
    static DWORD WINAPI Run(void* self) {
        static_cast<Thread*>(self)->m_work();
        return 0;
    }

    std::function<void()> m_work;
    fw::UniqueThread m_thread;
};

}  // namespace testing_support
