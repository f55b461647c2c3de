#pragma once
// Programs that tests register in place of real ones (a web browser, a
// program in a path with blanks) record how they were started.

#include <windows.h>

#include <string>
#include <vector>

namespace testing_support {

// recorder.exe's command lines, collected in a fresh file for as long as the
// object lives; the environment hands the file's name to every recorder that
// this process or its children start.
class Recorder {
public:
    Recorder();
    ~Recorder();
    Recorder(const Recorder&) = delete;
    Recorder& operator=(const Recorder&) = delete;

    // Windows path of recorder.exe, beside the program under test.
    static std::string ProgramPath();

    // The command lines recorded so far.
    std::vector<std::string> Lines() const;
    // Waits until at least `count` command lines are there.
    std::vector<std::string> WaitForLines(size_t count, DWORD timeoutMs = 20000) const;
    // Whether a recorder runs now, started by any test.
    static bool AnyRuns();
    // Waits until no recorder runs, so that every recorder started so far has
    // written its line, and returns the lines.
    std::vector<std::string> LinesOnceNoneRuns(DWORD timeoutMs = 20000) const;

private:
    std::string m_output;
};

// HKEY_CLASSES_ROOT\.htm pointed at a file type of the test's own whose open
// command is `command`; the earlier association comes back at the end.
class ScopedHtmlAssociation {
public:
    explicit ScopedHtmlAssociation(const std::string& command);
    ~ScopedHtmlAssociation();
    ScopedHtmlAssociation(const ScopedHtmlAssociation&) = delete;
    ScopedHtmlAssociation& operator=(const ScopedHtmlAssociation&) = delete;

    void SetCommand(const std::string& command) const;

private:
    std::string m_previousType;
};

}  // namespace testing_support
