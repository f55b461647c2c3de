#pragma once
// Watches one directory tree for entries that come, go, are renamed or
// change their attributes. Where the system has ReadDirectoryChangesW (NT,
// looked up at run time) it tells in which folders; elsewhere a change
// notification only tells that something changed. Either way, a system may
// not report changes below the tree's top folder (Wine does not).

#include "framework/UniqueHandle.h"

#include <windows.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace search {

class ChangeWatch {
public:
    // Watching `directory` (with closing backslash) from now on; null when
    // the system watches neither way.
    static std::unique_ptr<ChangeWatch> Open(const std::wstring& directory);
    virtual ~ChangeWatch() = default;
    ChangeWatch(const ChangeWatch&) = delete;
    ChangeWatch& operator=(const ChangeWatch&) = delete;

    // Signalled once something changed.
    virtual HANDLE Event() const = 0;

    // Once signalled: the folders whose entries changed, below the tree
    // with closing backslash ("" for its top), or nothing when the system
    // does not say where (or lost count). Watches on, from the call.
    virtual std::optional<std::vector<std::wstring>> TakeChanges() = 0;

protected:
    ChangeWatch() = default;
};

}  // namespace search
