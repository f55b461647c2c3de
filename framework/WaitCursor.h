#pragma once
// The hourglass while the object lives. Nested objects are counted: the cursor
// that was current before the first one comes back when the last one ends.

#include <windows.h>

namespace fw {

class WaitCursor {
public:
    WaitCursor();
    ~WaitCursor();
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;

    static int Depth();
};

}  // namespace fw
