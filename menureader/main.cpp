// menureader [START_MENU_FOLDER]
// Prints the menu tree below START_MENU_FOLDER\RootCaster (default: the
// user's Start Menu) as the folder-menu shell extension reads it: every menu
// folder with the directory it stands for and the state of its marker, and
// every shortcut item with its target, working directory and icon.
// Exit status: 0 all markers right, 1 a marker is wrong, 2 no menu root or
// no Start Menu, 3 bad usage. Names go out in the ANSI code page on a
// console, which shows that, and as UTF-8 anywhere else (a pipe, a file).

#include "framework/OleSession.h"
#include "framework/SpecialFolder.h"
#include "framework/WideText.h"
#include "menureader/MenuReader.h"

#include <algorithm>
#include <cstdio>

namespace {

enum ExitStatus { kMarkersRight = 0, kMarkerWrong = 1, kNoMenuRoot = 2, kBadUsage = 3 };

bool IsConsole(HANDLE output) {
    DWORD mode = 0;
    return ::GetFileType(output) == FILE_TYPE_CHAR && ::GetConsoleMode(output, &mode);
}

// The ANSI text as UTF-8; empty when the system can't convert it.
std::string AnsiToUtf8(const std::string& ansi) {
    const std::wstring wide = fw::Widen(ansi.c_str());
    const int wideLength = static_cast<int>(wide.size());
    if (wideLength == 0) return std::string();
    // UTF-8 takes no default character: every character has its bytes.
    const int length = ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), wideLength, nullptr, 0, nullptr, nullptr);
    if (length == 0) return std::string();
    std::string utf8(static_cast<std::size_t>(length), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), wideLength, &utf8[0], length, nullptr, nullptr);
    return utf8;
}

// Writes ANSI text to a console, UTF-8 anywhere else (ANSI again where the
// system has no UTF-8).
void Print(FILE* stream, DWORD standardHandle, const std::string& text) {
    const std::string utf8 = IsConsole(::GetStdHandle(standardHandle)) ? std::string() : AnsiToUtf8(text);
    std::fputs(utf8.empty() ? text.c_str() : utf8.c_str(), stream);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc > 2) {
        std::fputs("usage: menureader [START_MENU_FOLDER]\n", stderr);
        return kBadUsage;
    }
    fw::OleSession ole;
    const std::string startMenu = argc == 2 ? argv[1] : fw::SpecialFolderPath(CSIDL_STARTMENU);
    const std::vector<menureader::MenuFolder> tree =
        startMenu.empty() ? std::vector<menureader::MenuFolder>() : menureader::ReadMenuTree(startMenu);
    if (tree.empty()) {
        Print(stderr, STD_ERROR_HANDLE, "no menu root below \"" + startMenu + "\"\n");
        return kNoMenuRoot;
    }
    Print(stdout, STD_OUTPUT_HANDLE, menureader::FormatMenuTree(tree));
    const bool allRight = std::all_of(
        tree.begin(), tree.end(), [](const menureader::MenuFolder& folder) { return folder.markerProblem.empty(); });
    return allRight ? kMarkersRight : kMarkerWrong;
}
