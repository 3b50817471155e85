#include <windows.h>

#include "foundation/File.h"
#include "foundation/SystemCalls_win32.h"

namespace Core {

namespace {
HANDLE Handle(FileHandle handle) { return static_cast<HANDLE>(handle); }
}  // namespace

CFile::~CFile() { Close(); }

bool CFile::Open(const CString& path, bool write, bool create) {
  Close();
  if (path.IsEmpty()) return false;
  const HANDLE handle =
      Sys::Create(path.GetText(), write ? GENERIC_READ | GENERIC_WRITE : GENERIC_READ, 0,
                  create ? CREATE_ALWAYS : OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL);
  if (handle == nullptr || handle == INVALID_HANDLE_VALUE) {
    m_hFile = nullptr;
    return false;
  }
  // Only disk files: a device such as CON would block or never end a read.
  if (GetFileType(handle) != FILE_TYPE_DISK) {
    (void)Sys::Close(handle);
    m_hFile = nullptr;
    return false;
  }
  m_hFile = handle;
  m_strPath = path;
  return true;
}

void CFile::Close() {
  if (!IsOpen()) return;
  // Only reads go through a CFile that is closed here: a close that
  // reports a failure has nothing left to lose.
  (void)Sys::Close(Handle(m_hFile));
  m_hFile = nullptr;
  m_strPath.Empty();
}

bool CFile::IsOpen() const { return m_hFile != nullptr && Handle(m_hFile) != INVALID_HANDLE_VALUE; }

int CFile::Read(void* buffer, int count) {
  if (!IsOpen() || count < 0) return -1;
  char* p = static_cast<char*>(buffer);
  int total = 0;
  while (total < count) {
    DWORD read = 0;
    if (!Sys::Read(Handle(m_hFile), p + total, static_cast<DWORD>(count - total), &read)) {
      return -1;
    }
    if (read == 0) break;
    total += static_cast<int>(read);
  }
  return total;
}

bool CFile::Write(const void* buffer, int count) {
  DWORD written = 0;
  if (!IsOpen() || count < 0) return false;
  const char* p = static_cast<const char*>(buffer);
  for (DWORD left = static_cast<DWORD>(count); left > 0; left -= written, p += written) {
    if (!Sys::Write(Handle(m_hFile), p, left, &written) || written == 0) return false;
  }
  return true;
}

std::uint32_t CFile::GetSize() const {
  if (!IsOpen()) return 0;
  LARGE_INTEGER size;
  if (!Sys::Size(Handle(m_hFile), &size)) return 0;
  return static_cast<std::uint32_t>(size.QuadPart);
}

bool CFile::GetId(FileId* id) const {
  BY_HANDLE_FILE_INFORMATION info;
  if (!IsOpen() || !Sys::Information(Handle(m_hFile), &info)) return false;
  id->volume = info.dwVolumeSerialNumber;
  id->index = (static_cast<std::uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow;
  return true;
}

bool CFile::Flush() { return IsOpen() && Sys::Flush(Handle(m_hFile)) != 0; }

}  // namespace Core
