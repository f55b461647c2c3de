#include "tests/menubuilder/MenuTestSupport.h"

#include "framework/UniqueHandle.h"
#include "menureader/MenuReader.h"
#include "tests/support/WineTest.h"

#include <algorithm>

using namespace testing_support;

namespace menutest {
namespace {

const char kProgramSettings[] = "Software\\Quillmoor\\RootCaster";
const char kOwnSettings[] = "Software\\Quillmoor\\menubuilder_tests";

void ClearGround() {
    RemoveTree(MenuRoot());
    DeleteKeyTree(HKEY_CURRENT_USER, kProgramSettings);
    DeleteKeyTree(HKEY_CURRENT_USER, kOwnSettings);
    DeleteKeyTree(HKEY_CLASSES_ROOT, kExtensionKey);
}

void AddSnapshot(const std::string& folder, const std::string& relative, int depth, std::set<std::string>& found) {
    for (const std::string& name : Entries(folder)) {
        const std::string path = folder + "\\" + name;
        const std::string below = relative.empty() ? name : relative + "\\" + name;
        const DWORD attributes = ::GetFileAttributesA(path.c_str());
        found.insert(below + " " + Hex(attributes));
        // Links out of the prefix (Wine's to the user's home) are not followed.
        if (depth > 0 && FolderExists(path) && !(attributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
            AddSnapshot(path, below, depth - 1, found);
        }
    }
}

}  // namespace

MenuGround::MenuGround() {
    ClearGround();
}

MenuGround::~MenuGround() {
    ClearGround();
}

ScopedEnvironmentVariable::ScopedEnvironmentVariable(const char* name, const char* value) : m_name(name) {
    char saved[32768];
    const DWORD length = ::GetEnvironmentVariableA(name, saved, sizeof(saved));
    if (length > 0 && length < sizeof(saved)) m_saved = saved;
    ::SetEnvironmentVariableA(name, value);
}

ScopedEnvironmentVariable::~ScopedEnvironmentVariable() {
    ::SetEnvironmentVariableA(m_name, m_saved ? m_saved->c_str() : nullptr);
}

std::string NamedCommandInterpreter() {
    // Read as the system stores it, so that not RootCaster's own lookup decides.
    const std::string named =
        ReadText(HKEY_LOCAL_MACHINE, "System\\CurrentControlSet\\Control\\Session Manager\\Environment", "ComSpec")
            .value_or("");
    char expanded[MAX_PATH + 1] = {};
    ::ExpandEnvironmentStringsA(named.c_str(), expanded, sizeof(expanded));
    return expanded;
}

void SetOptions(int addOpen, int addDOSPrompt) {
    for (const char* key : {kProgramSettings, kOwnSettings}) {
        const std::string config = std::string(key) + "\\Config";
        SetDword(HKEY_CURRENT_USER, config, "AddOpen", static_cast<DWORD>(addOpen));
        SetDword(HKEY_CURRENT_USER, config, "AddDOSPrompt", static_cast<DWORD>(addDOSPrompt));
    }
}

void SetInstallDir(const std::string& directory) {
    SetText(HKEY_CLASSES_ROOT, kExtensionKey, "InstallDir", directory);
}

testing::AssertionResult HasMarker(const std::string& folder, const char* classId) {
    const DWORD attributes = ::GetFileAttributesA(folder.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_SYSTEM)) {
        return testing::AssertionFailure() << folder << " attributes " << Hex(attributes) << ", System wanted";
    }
    const std::string marker = folder + "\\desktop.ini";
    const DWORD markerAttributes = ::GetFileAttributesA(marker.c_str());
    if (markerAttributes == INVALID_FILE_ATTRIBUTES || !(markerAttributes & FILE_ATTRIBUTE_HIDDEN)) {
        return testing::AssertionFailure() << marker << " attributes " << Hex(markerAttributes) << ", Hidden wanted";
    }
    const std::vector<BYTE> bytes = ReadFileBytes(marker);
    const std::string text(bytes.begin(), bytes.end());
    const std::string wanted = std::string("[.ShellClassInfo]\r\nCLSID=") + classId + "\r\n";
    if (text != wanted) return testing::AssertionFailure() << marker << " holds \"" << text << "\"";
    return testing::AssertionSuccess();
}

testing::AssertionResult HasMarkersAlong(const std::string& encodedPath) {
    std::string folder = MenuRoot();
    testing::AssertionResult result = HasMarker(folder, kRootId);
    const char* classId = kFirstLevelId;
    for (std::size_t start = 0; result && start < encodedPath.size(); classId = kDeeperId) {
        const std::size_t end = std::min(encodedPath.find('\\', start), encodedPath.size());
        folder += "\\" + encodedPath.substr(start, end - start);
        result = HasMarker(folder, classId);
        start = end + 1;
    }
    return result;
}

testing::AssertionResult IsUnmarked(const std::string& folder) {
    const DWORD attributes = ::GetFileAttributesA(folder.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_SYSTEM)) {
        return testing::AssertionFailure() << folder << " attributes " << Hex(attributes);
    }
    if (FileExists(folder + "\\desktop.ini")) return testing::AssertionFailure() << folder << " has a desktop.ini";
    return testing::AssertionSuccess();
}

ExpectedShortcut OpenItem(const std::string& level, const std::string& installDir) {
    return {level, "", "Open", installDir + "\\explore.ico"};
}

ExpectedShortcut DOSPromptItem(const std::string& level, const std::string& installDir) {
    return {NamedCommandInterpreter(), level, "MS-DOS Prompt", installDir + "\\msdos.ico"};
}

testing::AssertionResult IsShortcut(const std::string& linkFile, const ExpectedShortcut& expected) {
    const menureader::ShortcutFacts link = menureader::ReadShortcut(linkFile);
    if (FAILED(link.loaded)) {
        return testing::AssertionFailure() << linkFile << " does not load: " << Hex(static_cast<DWORD>(link.loaded));
    }
    testing::AssertionResult result = testing::AssertionSuccess();
    const auto compare = [&](const char* what, const std::string& seen, const std::string& wanted) {
        if (seen != wanted) result = testing::AssertionFailure() << linkFile << " " << what << " \"" << seen << "\"";
    };
    compare("target", link.target, expected.target);
    compare("working directory", link.workingDirectory, expected.workingDirectory);
    compare("description", link.description, expected.description);
    compare("icon", link.iconFile, expected.iconFile);
    compare("show command", std::to_string(link.showCommand), "1");
    compare("icon index", std::to_string(link.iconIndex), "0");
    return result;
}

std::set<std::string> Snapshot(const std::string& folder, int depth) {
    std::set<std::string> found;
    AddSnapshot(folder, "", depth, found);
    return found;
}

std::set<std::string> Entries(const std::string& folder) {
    std::set<std::string> names;
    WIN32_FIND_DATAA entry;
    fw::UniqueFind find(::FindFirstFileA((folder + "\\*").c_str(), &entry));
    if (!find) return names;
    do {
        const std::string name = entry.cFileName;
        if (name != "." && name != "..") names.insert(name);
    } while (::FindNextFileA(find.get(), &entry));
    return names;
}

void Spoil(const std::string& path) {
    ::SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    fw::UniqueFile file(::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    DWORD written = 0;
    ASSERT_TRUE(file && ::WriteFile(file.get(), "spoilt", 6, &written, nullptr)) << path;
}

}  // namespace menutest
