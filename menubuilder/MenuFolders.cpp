#include "menubuilder/MenuFolders.h"

#include "framework/UniqueHandle.h"
#include "framework/WindowsVersion.h"
#include "menubuilder/MenuPath.h"

namespace menubuilder {
namespace {

static_assert(sizeof(OSVERSIONINFOA) == 148, "the version query expects the 148-byte structure");

// Attribute bits a directory entry passes on when a bit is added; 0x80
// (normal) and everything above it are dropped.
constexpr DWORD kKeptAttributes = 0x7F;

// Windows 95 (platform 1, version 4.0) shows marked folders wrongly, so there
// folders are created but never marked.
bool MarksFolders() {
    const OSVERSIONINFOA version = fw::ReportedVersion();
    return !(version.dwPlatformId == VER_PLATFORM_WIN32_WINDOWS && version.dwMajorVersion == 4 &&
             version.dwMinorVersion == 0);
}

// Adds `bit` to the attributes of the path's directory entry, writing only
// when that changes them (time stamps stay as they are). False when the
// entry does not get the bit.
bool AddAttribute(const std::string& path, DWORD bit) {
    WIN32_FIND_DATAA entry;
    if (!fw::UniqueFind(::FindFirstFileA(path.c_str(), &entry))) return false;
    const DWORD wanted = (entry.dwFileAttributes & kKeptAttributes) | bit;
    const DWORD current = ::GetFileAttributesA(path.c_str());
    if (current == INVALID_FILE_ATTRIBUTES) return false;
    return current == wanted || ::SetFileAttributesA(path.c_str(), wanted);
}

bool IsFolder(const std::string& path) {
    const DWORD attributes = ::GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// The file's first `count` bytes, fewer when it is shorter; empty when it
// can't be read.
std::string ReadAtMost(const std::string& path, std::size_t count) {
    fw::UniqueFile file(::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                      OPEN_EXISTING, 0, nullptr));
    std::string bytes(count, '\0');
    DWORD read = 0;
    if (!file || !::ReadFile(file.get(), &bytes[0], static_cast<DWORD>(bytes.size()), &read, nullptr)) return {};
    bytes.resize(read);
    return bytes;
}

// Whether the file holds exactly `text`: one byte more is read, so that a
// longer file shows.
bool HoldsExactly(const std::string& path, const std::string& text) {
    return !text.empty() && ReadAtMost(path, text.size() + 1) == text;
}

bool WriteWhole(const std::string& path, const std::string& text) {
    fw::UniqueFile file(::CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                      CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    return file && ::WriteFile(file.get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr) &&
           written == text.size();
}

}  // namespace

bool CreateMenuFolders(const std::string& menuFolder, const std::string& menuBase) {
    const bool marking = MarksFolders();
    bool complete = true;
    for (const FolderStep& step : MenuFolderWalk(menuFolder, menuBase, fw::AnsiLeadByte)) {
        // An existing folder is the normal case.
        ::CreateDirectoryA(step.folder.c_str(), nullptr);
        complete = IsFolder(step.folder) && complete;
        if (!marking || step.depth < 0) continue;
        complete = AddAttribute(step.folder, FILE_ATTRIBUTE_SYSTEM) && complete;
        complete = WriteDesktopIni(step.folder, menuBase) && complete;
    }
    return complete;
}

bool WriteDesktopIni(const std::string& folder, const std::string& menuBase) {
    const int depth = MenuDepth(folder, menuBase);
    if (depth < 0) return true;
    const std::string path = folder + '\\' + kMarkerFileName;
    const std::string text = DesktopIniText(ClassIdForDepth(depth));
    // A marker left hidden by an earlier run can't be replaced on Windows;
    // when it holds the same bytes it simply stays.
    if (!WriteWhole(path, text) && !HoldsExactly(path, text)) return false;
    return AddAttribute(path, FILE_ATTRIBUTE_HIDDEN);
}

bool IsOwnMarker(const std::string& path) {
    // Every marker has the same length; one byte more shows a longer file.
    const std::string bytes = ReadAtMost(path, DesktopIniText(kRootClassId).size() + 1);
    for (const int depth : {0, 1, 2}) {
        if (bytes == DesktopIniText(ClassIdForDepth(depth))) return true;
    }
    return false;
}

}  // namespace menubuilder
