// Fuzzes the builder's refusals: for every directory path it accepts, each
// folder, marker and item it would write must resolve, the way the platform
// resolves paths, to itself, below the menu root, within 259 characters.

#include "menubuilder/MenuPath.h"
#include "tests/support/LeadBytes.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

namespace {

using testing_support::Cp932LeadByte;

const std::string kStartMenu = "C:\\WINDOWS\\Start Menu";

// Bytes below 0x80 stand for themselves; the others pick a piece that path
// tricks are made of, so the fuzzer reaches them quickly.
std::string PathFromBytes(const uint8_t* data, size_t size) {
    static const char* const kPieces[32] = {
        "\\",         "\\\\", ".",    "..",     "...", ":",       "/",       " ",           "C:",       "srv", "CON",
        "nul.x",      "COM1", "\x95", "\x95\\", "?",   "\\\\?\\", "\\\\.\\", "desktop.ini", "Open.lnk", "*",   "\"",
        "RootCaster", "C:..", ".. ",  "x.",     "x ",  "\t",      "a",       "Windows",     "\\.",      "\\.."};
    std::string path;
    for (size_t i = 0; i < size; ++i) {
        if (data[i] < 0x80) {
            path += static_cast<char>(data[i]);
        } else {
            path += kPieces[data[i] & 0x1F];
        }
    }
    return path;
}

bool IsDevice(std::string name) {
    name = name.substr(0, name.find('.'));
    while (!name.empty() && name.back() == ' ') name.pop_back();
    for (char& c : name) c = static_cast<char>(c >= 'a' && c <= 'z' ? c - 32 : c);
    if (name == "CON" || name == "PRN" || name == "AUX" || name == "NUL") return true;
    return name.size() == 4 && (name.compare(0, 3, "COM") == 0 || name.compare(0, 3, "LPT") == 0) && name[3] >= '0' &&
           name[3] <= '9';
}

// The names the platform sees: "\" and "/" separate, except where a lead
// byte takes the next byte into its character.
std::vector<std::string> SplitNames(std::string_view path) {
    std::vector<std::string> names(1);
    for (size_t i = 0; i < path.size(); ++i) {
        if (Cp932LeadByte(static_cast<unsigned char>(path[i])) && i + 1 < path.size()) {
            names.back() += path.substr(i, 2);
            ++i;
        } else if (path[i] == '\\' || path[i] == '/') {
            names.emplace_back();
        } else {
            names.back() += path[i];
        }
    }
    return names;
}

// Full-path resolution: empty names and "." vanish, ".." steps up, trailing
// dots and blanks are stripped; a device name leaves the file system.
std::vector<std::string> Resolve(const std::vector<std::string>& names) {
    std::vector<std::string> resolved;
    for (std::string name : names) {
        if (IsDevice(name)) return {"<device>"};
        if (name == "..") {
            if (!resolved.empty()) resolved.pop_back();
            continue;
        }
        while (!name.empty() && (name.back() == '.' || name.back() == ' ')) name.pop_back();
        if (!name.empty()) resolved.push_back(name);
    }
    return resolved;
}

// `path` stays itself and lies `minimumDepth` or more names below the root.
void CheckLanding(const std::string& path, size_t minimumDepth) {
    static const std::vector<std::string> root = SplitNames(kStartMenu + "\\RootCaster");
    std::string trimmed = path;
    if (!trimmed.empty() && trimmed.back() == '\\') trimmed.pop_back();
    const std::vector<std::string> names = SplitNames(trimmed);
    const std::vector<std::string> resolved = Resolve(names);
    if (resolved != names) std::abort();
    if (resolved.size() < root.size() + minimumDepth) std::abort();
    if (!std::equal(root.begin(), root.end(), resolved.begin())) std::abort();
    if (path.find('\0') != std::string::npos || path.size() > menubuilder::kMaxPathLength) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string path = PathFromBytes(data, size);
    if (menubuilder::CheckDirectoryPath(kStartMenu, path, Cp932LeadByte) != menubuilder::PathVerdict::kAccepted) {
        return 0;
    }
    const std::string menuBase = menubuilder::MenuBase(kStartMenu);
    for (const menubuilder::FolderStep& step :
         menubuilder::MenuFolderWalk(menuBase + menubuilder::EncodeMenuPath(path), menuBase, Cp932LeadByte)) {
        if (step.depth < 0) continue;
        CheckLanding(step.folder, static_cast<size_t>(step.depth));
        CheckLanding(step.folder + "\\" + menubuilder::kMarkerFileName, static_cast<size_t>(step.depth) + 1);
    }
    menubuilder::EnsureClosingBackslash(path);
    for (const std::string& level : menubuilder::ItemLevels(path)) {
        const std::string folder = menuBase + menubuilder::EncodeMenuPath(level);
        CheckLanding(folder, 1);
        CheckLanding(folder + menubuilder::kOpenItemFileName, 2);
        CheckLanding(folder + menubuilder::kDOSPromptItemFileName, 2);
    }
    return 0;
}
