#include "framework/WaitCursor.h"

namespace fw {
namespace {
int g_depth = 0;
HCURSOR g_previous = nullptr;
}  // namespace

WaitCursor::WaitCursor() {
    HCURSOR previous = ::SetCursor(::LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_WAIT)));
    if (g_depth++ == 0) g_previous = previous;
}

WaitCursor::~WaitCursor() {
    if (--g_depth == 0) ::SetCursor(g_previous);
}

int WaitCursor::Depth() {
    return g_depth;
}

}  // namespace fw
