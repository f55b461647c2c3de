#pragma once
// Driving the windows of another program through their messages: finding a
// program's dialogs, reading their controls, and working its tree view, whose
// item records live in that program's memory.

#include "framework/UniqueHandle.h"

#include <windows.h>
#include <commctrl.h>

#include <string>

namespace testing_support {

// A program started as `"program" tail`, ended at the latest when the object
// goes (TerminateProcess: a test that failed must not leave it behind).
class ProgramRun {
public:
    ProgramRun(const std::string& program, const std::string& tail);
    ~ProgramRun();
    ProgramRun(const ProgramRun&) = delete;
    ProgramRun& operator=(const ProgramRun&) = delete;

    bool Started() const { return static_cast<bool>(m_process); }
    DWORD StartError() const { return m_startError; }  // when not started
    DWORD Id() const { return m_id; }
    bool Running() const;
    bool WaitForExit(DWORD timeoutMs = 30000) const;
    // The program's visible top-level window with this caption; none when it
    // did not appear in time.
    HWND WaitForWindow(const std::string& caption, DWORD timeoutMs = 30000) const;

private:
    fw::UniqueProcess m_process;
    DWORD m_id = 0;
    DWORD m_startError = 0;
};

// A visible top-level window of the process (0: any) with this caption,
// owned by `owner` when one is given; none when there is no such window.
HWND FindTopLevelWindow(DWORD processId, const std::string& caption, HWND owner = nullptr);
// A visible window that `owner` owns (a modal dialog it opened), any caption.
HWND FindOwnedWindow(HWND owner);
// Any visible top-level window of the process.
HWND FindProcessWindow(DWORD processId);
// Polls `find` until it gives a window or the time is up.
template <class Find>
HWND WaitFor(Find find, DWORD timeoutMs = 30000) {
    for (DWORD waited = 0;; waited += 50) {
        if (HWND window = find()) return window;
        if (waited >= timeoutMs) return nullptr;
        ::Sleep(50);
    }
}
bool WaitUntilGone(HWND window, DWORD timeoutMs = 30000);
// True when the window's thread answered a message sent now: messages sent
// from one thread are handled in order, so every one sent before was too.
bool AnswersMessages(HWND window, DWORD timeoutMs = 30000);

std::string WindowText(HWND window);
// The visible static texts below a window, joined by "|".
std::string StaticTexts(HWND window);

// A push button or check box clicked as the user would (BM_CLICK). Click
// returns when the click has been handled; PostClick returns at once, for a
// button that opens a modal window.
void Click(HWND dialog, int id);
void PostClick(HWND dialog, int id);
int CheckState(HWND dialog, int id);

// A tree-view control of another process.
class RemoteTree {
public:
    explicit RemoteTree(HWND tree);
    ~RemoteTree();
    RemoteTree(const RemoteTree&) = delete;
    RemoteTree& operator=(const RemoteTree&) = delete;

    HTREEITEM Root() const { return Next(nullptr, TVGN_ROOT); }
    HTREEITEM FirstChild(HTREEITEM item) const { return Next(item, TVGN_CHILD); }
    HTREEITEM NextSibling(HTREEITEM item) const { return Next(item, TVGN_NEXT); }
    HTREEITEM Selected() const { return Next(nullptr, TVGN_CARET); }
    std::string Text(HTREEITEM item) const;
    // The child with this text (compared without case); none when missing.
    HTREEITEM Child(HTREEITEM parent, const std::string& text) const;
    void Expand(HTREEITEM item) const;
    void Select(HTREEITEM item) const;
    // A directory tree's item of a drive, by its place in the drive list.
    HTREEITEM DriveItem(char letter) const;
    // Expands the items along a path such as C:\Windows\System (directory
    // names compared without case) and selects the last one; none when an
    // item is missing.
    HTREEITEM ExpandTo(const std::string& path) const;

private:
    HTREEITEM Next(HTREEITEM item, UINT relation) const;

    HWND m_tree;
    fw::UniqueProcess m_process;
    void* m_remote = nullptr;  // TVITEMA and text buffer in the tree's process
};

}  // namespace testing_support
