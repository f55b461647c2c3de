#pragma once
// A drive without its medium, for as long as this object lives, fails what
// this thread asks of it instead of asking the user to insert one. The mode
// is the thread's own (SetThreadErrorMode, Windows 7 on, looked up at run
// time); the process's mode belongs to the program we run in, which other
// threads share, so where the system has no thread mode nothing changes.

#include "framework/RuntimeLink.h"

namespace fw {

class CriticalErrorsFailQuietly {
public:
    CriticalErrorsFailQuietly() {
        SetThreadErrorMode* const setMode = LookUp<SetThreadErrorMode>("kernel32.dll", "SetThreadErrorMode");
        if (!setMode || !setMode(SEM_FAILCRITICALERRORS, &m_previous)) return;
        m_setMode = setMode;
        if (m_previous & ~SEM_FAILCRITICALERRORS) m_setMode(m_previous | SEM_FAILCRITICALERRORS, nullptr);
    }
    ~CriticalErrorsFailQuietly() {
        if (m_setMode) m_setMode(m_previous, nullptr);
    }
    CriticalErrorsFailQuietly(const CriticalErrorsFailQuietly&) = delete;
    CriticalErrorsFailQuietly& operator=(const CriticalErrorsFailQuietly&) = delete;

private:
    using SetThreadErrorMode = BOOL WINAPI(DWORD mode, DWORD* previous);

    SetThreadErrorMode* m_setMode = nullptr;  // set when there is a mode to restore
    DWORD m_previous = 0;
};

}  // namespace fw
