#include "framework/NamedMutexLock.h"

namespace fw {

NamedMutexLock::NamedMutexLock(const std::string& name) : m_mutex(::CreateMutexA(nullptr, FALSE, name.c_str())) {
    if (!m_mutex) return;
    const DWORD wait = ::WaitForSingleObject(m_mutex.get(), kTimeoutMs);
    m_held = wait == WAIT_OBJECT_0 || wait == WAIT_ABANDONED;
}

NamedMutexLock::~NamedMutexLock() {
    if (m_held) ::ReleaseMutex(m_mutex.get());
}

}  // namespace fw
