// Folder notification through ReadDirectoryChangesW: each folder's read is
// overlapped and completes on one I/O completion port, so any number of
// folders is waited on at once.
#include <windows.h>

#include <new>

#include "foundation/FolderNotice.h"

namespace Core {

namespace {
constexpr DWORD kFilter = FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_LAST_WRITE |
                          FILE_NOTIFY_CHANGE_SIZE | FILE_NOTIFY_CHANGE_CREATION |
                          FILE_NOTIFY_CHANGE_ATTRIBUTES;
// The names in a notification are not read (states are compared instead),
// so a small buffer will do: when it overflows, the folder is looked at again.
constexpr DWORD kBufferSize = 4096;

struct Watch {
  HANDLE folder = INVALID_HANDLE_VALUE;
  OVERLAPPED overlapped = {};
  int key = 0;
  bool closing = false;  // cancelled; freed when its read's completion arrives
  alignas(DWORD) unsigned char buffer[kBufferSize];
};

bool Issue(Watch* watch) {
  watch->overlapped = OVERLAPPED();
  return ReadDirectoryChangesW(watch->folder, watch->buffer, kBufferSize, FALSE, kFilter, nullptr,
                               &watch->overlapped, nullptr) != 0;
}

void Cancel(Watch* watch) {
  watch->closing = true;
  (void)CancelIoEx(watch->folder, &watch->overlapped);
  (void)CloseHandle(watch->folder);
  watch->folder = INVALID_HANDLE_VALUE;
}

void RemoveEntry(CArray<Watch*>* list, const Watch* watch) {
  for (int i = 0; i < list->GetSize(); ++i) {
    if ((*list)[i] == watch) {
      list->RemoveAt(i);
      return;
    }
  }
}
}  // namespace

struct CFolderNotice::Impl {
  HANDLE port = nullptr;
  CArray<Watch*> watches;
  // Cancelled watches whose read has not completed yet: the system may
  // still write into them.
  CArray<Watch*> closing;
};

CFolderNotice::CFolderNotice() : m_pImpl(new (std::nothrow) Impl) {}

CFolderNotice::~CFolderNotice() {
  if (!m_pImpl) return;
  for (int i = 0; i < m_pImpl->watches.GetSize(); ++i) {
    Watch* watch = m_pImpl->watches[i];
    Cancel(watch);
    if (!m_pImpl->closing.Add(watch)) delete watch;  // no list: its read was cancelled above
  }
  // Each cancelled read completes (aborted) on the port; a watch whose
  // completion never comes is left allocated rather than freed under the system.
  while (m_pImpl->port && m_pImpl->closing.GetSize() > 0) {
    DWORD bytes = 0;
    ULONG_PTR key = 0;
    OVERLAPPED* overlapped = nullptr;
    (void)GetQueuedCompletionStatus(m_pImpl->port, &bytes, &key, &overlapped, 1000);
    if (!overlapped) break;
    Watch* watch = reinterpret_cast<Watch*>(key);
    RemoveEntry(&m_pImpl->closing, watch);
    delete watch;
  }
  if (m_pImpl->port) (void)CloseHandle(m_pImpl->port);
  delete m_pImpl;
}

bool CFolderNotice::Open() {
  if (!m_pImpl) return false;
  if (!m_pImpl->port) m_pImpl->port = CreateIoCompletionPort(INVALID_HANDLE_VALUE, nullptr, 0, 1);
  return m_pImpl->port != nullptr;
}

CFolderNotice::AddResult CFolderNotice::Add(const CString& folder, int key) {
  if (!m_pImpl || !m_pImpl->port || folder.IsEmpty()) return AddResult::kFailed;
  Watch* watch = new (std::nothrow) Watch;
  if (!watch) return AddResult::kFailed;
  watch->key = key;
  // Full sharing: editors still rename and delete in the folder.
  watch->folder = CreateFileA(
      folder.GetText(), FILE_LIST_DIRECTORY, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
      nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OVERLAPPED, nullptr);
  if (watch->folder == INVALID_HANDLE_VALUE) {
    const DWORD error = GetLastError();
    delete watch;
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? AddResult::kMissing
                                                                          : AddResult::kFailed;
  }
  if (!CreateIoCompletionPort(watch->folder, m_pImpl->port, reinterpret_cast<ULONG_PTR>(watch),
                              0) ||
      !Issue(watch)) {
    // No read is pending, so nothing completes for it.
    (void)CloseHandle(watch->folder);
    delete watch;
    return AddResult::kFailed;
  }
  if (m_pImpl->watches.Add(watch)) return AddResult::kWatching;
  Cancel(watch);
  (void)m_pImpl->closing.Add(watch);  // else left allocated: its read may still complete
  return AddResult::kFailed;
}

void CFolderNotice::Remove(int key) {
  if (!m_pImpl) return;
  for (int i = 0; i < m_pImpl->watches.GetSize(); ++i) {
    Watch* watch = m_pImpl->watches[i];
    if (watch->key != key) continue;
    m_pImpl->watches.RemoveAt(i);
    Cancel(watch);
    (void)m_pImpl->closing.Add(watch);  // else left allocated: its read may still complete
    return;
  }
}

bool CFolderNotice::Wait(int timeoutMs, CArray<FolderEvent>* events) {
  if (!m_pImpl || !m_pImpl->port) return false;
  DWORD timeout = timeoutMs < 0 ? INFINITE : static_cast<DWORD>(timeoutMs);
  for (;; timeout = 0) {
    DWORD bytes = 0;
    ULONG_PTR key = 0;
    OVERLAPPED* overlapped = nullptr;
    const BOOL ok = GetQueuedCompletionStatus(m_pImpl->port, &bytes, &key, &overlapped, timeout);
    if (!overlapped) return GetLastError() == WAIT_TIMEOUT;
    const DWORD error = ok ? ERROR_SUCCESS : GetLastError();
    Watch* watch = reinterpret_cast<Watch*>(key);
    if (watch->closing) {
      RemoveEntry(&m_pImpl->closing, watch);
      delete watch;
      continue;
    }
    FolderEvent event = {watch->key, FolderEvent::Kind::kChanged};
    // No bytes: the system's buffer overflowed and the names are lost.
    if ((ok && bytes == 0) || error == ERROR_NOTIFY_ENUM_DIR)
      event.kind = FolderEvent::Kind::kRescan;
    if (error != ERROR_SUCCESS && error != ERROR_NOTIFY_ENUM_DIR)
      event.kind = FolderEvent::Kind::kLost;
    if (event.kind == FolderEvent::Kind::kLost || !Issue(watch)) {
      // The folder went away, or its share stopped answering.
      event.kind = FolderEvent::Kind::kLost;
      RemoveEntry(&m_pImpl->watches, watch);
      (void)CloseHandle(watch->folder);
      delete watch;
    }
    // Out of memory: the caller polls every folder from now on.
    if (!events->Add(event)) return false;
  }
}

void SleepMs(int ms) { Sleep(static_cast<DWORD>(ms)); }

}  // namespace Core
