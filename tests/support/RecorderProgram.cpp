// A stand-in for a web browser or any program that tests register: it
// appends the command line it was started with, and a line break, to the file
// named by ROOTCASTER_RECORDER_OUTPUT, and ends.

#include "framework/UniqueHandle.h"

#include <windows.h>

#include <string>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    char output[MAX_PATH] = {};
    if (!::GetEnvironmentVariableA("ROOTCASTER_RECORDER_OUTPUT", output, MAX_PATH)) return 1;
    const std::string line = std::string(::GetCommandLineA()) + "\n";
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
