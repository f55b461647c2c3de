#include "search/ChangeWatch.h"

#include "framework/RuntimeLink.h"
#include "framework/WideText.h"

#include <algorithm>
#include <cstddef>

namespace search {
namespace {

// What moves a directory's change time or a menu's listing.
constexpr DWORD kWatchedChanges =
    FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_DIR_NAME | FILE_NOTIFY_CHANGE_ATTRIBUTES;

// Windows 95 and NT 4.0's kernel32 lack some of these (Windows 95 all but
// the change notification); NT has them all.
using FindFirstChangeNotificationWide = HANDLE WINAPI(LPCWSTR, BOOL, DWORD);
using ReadDirectoryChangesWide = BOOL WINAPI(HANDLE, LPVOID, DWORD, BOOL, DWORD, LPDWORD, LPOVERLAPPED,
                                             LPOVERLAPPED_COMPLETION_ROUTINE);
using CreateFileWide = HANDLE WINAPI(LPCWSTR, DWORD, DWORD, LPSECURITY_ATTRIBUTES, DWORD, DWORD, HANDLE);
using CancelIoFunction = BOOL WINAPI(HANDLE);

struct ChangeNotificationTraits : fw::InvalidHandleTraits {
    static void Close(HANDLE handle) { ::FindCloseChangeNotification(handle); }
};
using UniqueChangeNotification = fw::UniqueHandle<ChangeNotificationTraits>;

// A change notification: something changed, somewhere in the tree.
class NotificationWatch : public ChangeWatch {
public:
    static std::unique_ptr<ChangeWatch> Open(const std::wstring& directory) {
        UniqueChangeNotification notification;
        auto* watch = fw::IsNt()
                          ? fw::LookUp<FindFirstChangeNotificationWide>("kernel32.dll", "FindFirstChangeNotificationW")
                          : nullptr;
        if (watch) {
            notification.reset(watch(directory.c_str(), TRUE, kWatchedChanges));
        } else {
            notification.reset(::FindFirstChangeNotificationA(fw::Narrow(directory).c_str(), TRUE, kWatchedChanges));
        }
        if (!notification) return nullptr;
        return std::unique_ptr<ChangeWatch>(new NotificationWatch(std::move(notification)));
    }

    HANDLE Event() const override { return m_notification.get(); }

    std::optional<std::vector<std::wstring>> TakeChanges() override {
        ::FindNextChangeNotification(m_notification.get());
        return std::nullopt;
    }

private:
    explicit NotificationWatch(UniqueChangeNotification notification) : m_notification(std::move(notification)) {}

    UniqueChangeNotification m_notification;
};

// ReadDirectoryChangesW, overlapped: which entries changed, so which
// folders to read again.
class DirectoryChangesWatch : public ChangeWatch {
public:
    static std::unique_ptr<ChangeWatch> Open(const std::wstring& directory) {
        if (!fw::IsNt()) return nullptr;
        auto* read = fw::LookUp<ReadDirectoryChangesWide>("kernel32.dll", "ReadDirectoryChangesW");
        auto* create = fw::LookUp<CreateFileWide>("kernel32.dll", "CreateFileW");
        auto* cancel = fw::LookUp<CancelIoFunction>("kernel32.dll", "CancelIo");
        if (!read || !create || !cancel) return nullptr;
        fw::UniqueFile opened(create(directory.c_str(), FILE_LIST_DIRECTORY,
                                     FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                     FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OVERLAPPED, nullptr));
        fw::UniqueEvent event(::CreateEventA(nullptr, TRUE, FALSE, nullptr));
        if (!opened || !event) return nullptr;
        std::unique_ptr<DirectoryChangesWatch> watch(
            new DirectoryChangesWatch(std::move(opened), std::move(event), read, cancel));
        if (!watch->Issue()) return nullptr;
        return watch;
    }

    ~DirectoryChangesWatch() override {
        // The system writes into the buffer until the read has ended.
        if (!m_reading) return;
        m_cancel(m_directory.get());
        DWORD unused = 0;
        ::GetOverlappedResult(m_directory.get(), &m_overlapped, &unused, TRUE);
    }

    HANDLE Event() const override { return m_event.get(); }

    std::optional<std::vector<std::wstring>> TakeChanges() override {
        DWORD bytes = 0;
        const bool read = ::GetOverlappedResult(m_directory.get(), &m_overlapped, &bytes, FALSE) != FALSE;
        m_reading = false;
        // No bytes: more changed than the buffer holds.
        std::optional<std::vector<std::wstring>> folders;
        if (read && bytes > 0) folders = FoldersIn(bytes);
        if (!Issue()) folders.reset();
        return folders;
    }

private:
    DirectoryChangesWatch(fw::UniqueFile directory, fw::UniqueEvent event, ReadDirectoryChangesWide* read,
                          CancelIoFunction* cancel)
        : m_directory(std::move(directory)), m_event(std::move(event)), m_read(read), m_cancel(cancel) {}

    bool Issue() {
        ::ResetEvent(m_event.get());
        m_overlapped = OVERLAPPED{};
        m_overlapped.hEvent = m_event.get();
        m_reading = m_read(m_directory.get(), m_buffer.data(), static_cast<DWORD>(m_buffer.size() * sizeof(DWORD)),
                           TRUE, kWatchedChanges, nullptr, &m_overlapped, nullptr) != FALSE;
        return m_reading;
    }

    // The folders that hold the changed entries, each once.
    std::vector<std::wstring> FoldersIn(DWORD bytes) const {
        const auto* data = reinterpret_cast<const BYTE*>(m_buffer.data());
        constexpr std::size_t kNameAt = offsetof(FILE_NOTIFY_INFORMATION, FileName);
        std::vector<std::wstring> folders;
        for (std::size_t at = 0; at + kNameAt <= bytes;) {
            const auto* record = reinterpret_cast<const FILE_NOTIFY_INFORMATION*>(data + at);
            if (at + kNameAt + record->FileNameLength > bytes) break;
            const std::wstring path(record->FileName, record->FileNameLength / sizeof(wchar_t));
            const std::size_t separator = path.rfind(L'\\');
            std::wstring folder = separator == std::wstring::npos ? std::wstring() : path.substr(0, separator + 1);
            if (std::find(folders.begin(), folders.end(), folder) == folders.end())
                folders.push_back(std::move(folder));
            if (record->NextEntryOffset == 0) break;
            at += record->NextEntryOffset;
        }
        return folders;
    }

    fw::UniqueFile m_directory;
    fw::UniqueEvent m_event;
    ReadDirectoryChangesWide* m_read;
    CancelIoFunction* m_cancel;
    OVERLAPPED m_overlapped{};
    bool m_reading = false;
    std::vector<DWORD> m_buffer = std::vector<DWORD>(4096);  // DWORD-aligned, as the records must be
};

}  // namespace

std::unique_ptr<ChangeWatch> ChangeWatch::Open(const std::wstring& directory) {
    if (std::unique_ptr<ChangeWatch> detailed = DirectoryChangesWatch::Open(directory)) return detailed;
    return NotificationWatch::Open(directory);
}

}  // namespace search
