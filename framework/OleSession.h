#pragma once
// OLE initialised for the lifetime of the object, on the thread that made it.

#include <ole2.h>

namespace fw {

class OleSession {
public:
    OleSession() : m_status(::OleInitialize(nullptr)) {}
    ~OleSession() {
        if (SUCCEEDED(m_status)) ::OleUninitialize();
    }
    OleSession(const OleSession&) = delete;
    OleSession& operator=(const OleSession&) = delete;

    bool Ok() const { return SUCCEEDED(m_status); }
    HRESULT Status() const { return m_status; }

private:
    HRESULT m_status;
};

}  // namespace fw
