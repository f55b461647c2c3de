// A stand-in for a web browser or any program that tests register: it
// appends the command line it was started with, in UTF-8, and a line break,
// to the file named by ROOTCASTER_RECORDER_OUTPUT, and ends.

#include "framework/UniqueHandle.h"

#include <windows.h>

#include <string>

// No default character: UTF-8 takes none, and Windows fails a call given one.
std::string CommandLineInUtf8() {
    const wchar_t* line = ::GetCommandLineW();
    std::string text(static_cast<size_t>(::WideCharToMultiByte(CP_UTF8, 0, line, -1, nullptr, 0, nullptr, nullptr)),
                     '\0');
    if (!text.empty()) {
        ::WideCharToMultiByte(CP_UTF8, 0, line, -1, &text[0], static_cast<int>(text.size()), nullptr, nullptr);
        text.pop_back();
    }
    return text;
}

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    char output[MAX_PATH] = {};
    if (!::GetEnvironmentVariableA("ROOTCASTER_RECORDER_OUTPUT", output, MAX_PATH)) return 1;
    const std::string line = CommandLineInUtf8() + "\n";
    // Retried while another recorder holds the file.
    for (int attempt = 0; attempt < 100; ++attempt) {
        fw::UniqueFile file(
            ::CreateFileA(output, FILE_APPEND_DATA, 0, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (file) {
            DWORD written = 0;
            ::WriteFile(file.get(), line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
            return 0;
        }
        ::Sleep(20);
    }
    return 1;
}
