#include <windows.h>

#include <cstdio>
#include <cstring>

#include "foundation/ReplacingFile.h"
#include "foundation/StaleTemporaries.h"
#include "foundation/SystemCalls_win32.h"

namespace Core {

namespace {

HANDLE Handle(FileHandle handle) { return static_cast<HANDLE>(handle); }

ReplaceState StateOf(DWORD attributes) {
  if (attributes & FILE_ATTRIBUTE_REPARSE_POINT) return ReplaceState::kReplaceable;
  if (attributes & FILE_ATTRIBUTE_DIRECTORY) return ReplaceState::kNotRegular;
  if (attributes & FILE_ATTRIBUTE_READONLY) return ReplaceState::kReadOnly;
  return ReplaceState::kReplaceable;
}

bool IsMissing(DWORD error) {
  return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}

// The file a symlink or junction finally names, without the "\\?\" prefix.
bool ResolveLink(const CString& path, CString* resolved) {
  const HANDLE handle =
      CreateFileA(path.GetText(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                  nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return false;
  char buffer[MAX_PATH * 4];
  const DWORD n = GetFinalPathNameByHandleA(handle, buffer, sizeof buffer, FILE_NAME_NORMALIZED);
  CloseHandle(handle);
  if (n == 0 || n >= sizeof buffer) return false;
  const char* text = buffer;
  if (std::strncmp(text, "\\\\?\\UNC\\", 8) == 0) {
    *resolved = "\\";
    *resolved += text + 7;
  } else {
    *resolved = std::strncmp(text, "\\\\?\\", 4) == 0 ? text + 4 : text;
  }
  return !resolved->IsEmpty();
}

// Creates "<target>.tovi-<unique>" with CREATE_NEW: an existing name, link
// or not, is never opened, just tried past.
HANDLE CreateTemporary(const CString& target, CString* name) {
  static unsigned counter = 0;
  for (int attempt = 0; attempt < 100; ++attempt) {
    char suffix[48];
    // Cannot fail: two unsigned numbers fit the buffer.
    (void)std::snprintf(suffix, sizeof suffix, ".tovi-%lu-%u", GetCurrentProcessId(), counter++);
    // A name cut short by a failed allocation would land elsewhere.
    *name = target;
    *name += suffix;
    if (name->GetLength() != target.GetLength() + static_cast<int>(std::strlen(suffix))) {
      return INVALID_HANDLE_VALUE;
    }
    const HANDLE handle =
        Sys::Create(name->GetText(), GENERIC_WRITE, 0, CREATE_NEW, FILE_ATTRIBUTE_NORMAL);
    if (handle != INVALID_HANDLE_VALUE || GetLastError() != ERROR_FILE_EXISTS) return handle;
  }
  return INVALID_HANDLE_VALUE;
}

}  // namespace

ReplaceState GetReplaceState(const CString& path) {
  if (path.IsEmpty()) return ReplaceState::kNotRegular;
  const DWORD attributes = Sys::Attributes(path.GetText());
  if (attributes == INVALID_FILE_ATTRIBUTES) {
    return IsMissing(GetLastError()) ? ReplaceState::kMissing : ReplaceState::kNotRegular;
  }
  return StateOf(attributes);
}

CReplacingFile::~CReplacingFile() { Abort(); }

bool CReplacingFile::Open(const CString& target, LinkRule rule, const CFile* model) {
  Abort();
  if (target.IsEmpty()) return false;
  m_strTarget = target;
  DWORD attributes = Sys::Attributes(target.GetText());
  if (attributes == INVALID_FILE_ATTRIBUTES && !IsMissing(GetLastError())) return false;
  if (attributes != INVALID_FILE_ATTRIBUTES && rule == kFollowLink &&
      (attributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
    if (!ResolveLink(target, &m_strTarget)) return false;
    attributes = Sys::Attributes(m_strTarget.GetText());
    if (attributes == INVALID_FILE_ATTRIBUTES) return false;
  }
  if (m_strTarget.IsEmpty()) return false;
  if (attributes != INVALID_FILE_ATTRIBUTES && StateOf(attributes) != ReplaceState::kReplaceable) {
    return false;
  }
  RemoveStaleTemporaries(m_strTarget);
  const HANDLE handle = CreateTemporary(m_strTarget, &m_strTemporary);
  if (handle == INVALID_HANDLE_VALUE) {
    m_strTemporary.Empty();
    return false;
  }
  m_hFile = handle;
  m_bFailed = false;
  // Keep the attributes that matter to the user (hidden, system, archive).
  constexpr DWORD kKept = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE;
  BY_HANDLE_FILE_INFORMATION info;
  DWORD kept = 0;
  if (model && model->IsOpen()) {
    if (!Sys::Information(Handle(model->GetHandle()), &info)) {
      Abort();
      return false;
    }
    kept = info.dwFileAttributes & kKept;
  } else if (attributes != INVALID_FILE_ATTRIBUTES &&
             !(attributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
    kept = attributes & kKept;
  }
  if (kept != 0 && !Sys::SetAttributes(m_strTemporary.GetText(), kept)) {
    Abort();
    return false;
  }
  return true;
}

bool CReplacingFile::Write(const void* data, std::size_t size) {
  if (!IsOpen() || m_bFailed) return false;
  const char* p = static_cast<const char*>(data);
  while (size > 0) {
    const DWORD chunk = size > 0x40000000 ? 0x40000000 : static_cast<DWORD>(size);
    DWORD written = 0;
    if (!Sys::Write(Handle(m_hFile), p, chunk, &written) || written == 0) {
      m_bFailed = true;
      return false;
    }
    p += written;
    size -= written;
  }
  return true;
}

bool CReplacingFile::Commit(bool durable) {
  if (!IsOpen()) return false;
  const HANDLE handle = Handle(m_hFile);
  m_hFile = 0;
  bool ok = !m_bFailed && (!durable || Sys::Flush(handle));
  ok = Sys::Close(handle) && ok;
  // MoveFileExA refuses a read-only target and one another opener holds.
  ok = ok && Sys::Move(m_strTemporary.GetText(), m_strTarget.GetText(),
                       MOVEFILE_REPLACE_EXISTING | (durable ? MOVEFILE_WRITE_THROUGH : 0));
  // A temporary that cannot be removed is a stray file; the target is whole.
  if (!ok) (void)DeleteFileA(m_strTemporary.GetText());
  m_strTemporary.Empty();
  m_strTarget.Empty();
  return ok;
}

bool CReplacingFile::GetId(FileId* id) const {
  BY_HANDLE_FILE_INFORMATION info;
  if (!IsOpen() || !Sys::Information(Handle(m_hFile), &info)) return false;
  id->volume = info.dwVolumeSerialNumber;
  id->index = (static_cast<std::uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow;
  return true;
}

void CReplacingFile::Abort() {
  if (IsOpen()) {
    CloseHandle(Handle(m_hFile));
    m_hFile = 0;
  }
  // A temporary that cannot be removed is a stray file; the target is whole.
  if (!m_strTemporary.IsEmpty()) (void)DeleteFileA(m_strTemporary.GetText());
  m_strTemporary.Empty();
  m_strTarget.Empty();
  m_bFailed = false;
}

}  // namespace Core
