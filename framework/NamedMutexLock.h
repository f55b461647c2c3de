#pragma once
// Holds a named mutex, shared by every process that names it, for the
// lifetime of the object: for short work that several processes may do at
// once. A mutex whose last holder ended without releasing it is taken over
// as it is.

#include "framework/UniqueHandle.h"

#include <string>

namespace fw {

class NamedMutexLock {
public:
    // Waits for the mutex at most kTimeoutMs; past that, or when the mutex
    // can't be made, the object holds nothing and the work goes on unguarded
    // rather than hang behind a holder that hangs.
    explicit NamedMutexLock(const std::string& name);
    ~NamedMutexLock();
    NamedMutexLock(const NamedMutexLock&) = delete;
    NamedMutexLock& operator=(const NamedMutexLock&) = delete;

    static constexpr DWORD kTimeoutMs = 30000;

private:
    UniqueMutex m_mutex;
    bool m_held = false;
};

}  // namespace fw
