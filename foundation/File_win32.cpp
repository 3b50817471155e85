#include <windows.h>

#include "foundation/File.h"

namespace Core {

namespace {
HANDLE Handle(FileHandle handle) { return static_cast<HANDLE>(handle); }
}  // namespace

CFile::~CFile() { Close(); }

bool CFile::Open(const CString& path, bool write, bool create) {
  Close();
  if (path.IsEmpty()) return false;
  const HANDLE handle =
      CreateFileA(path.GetText(), write ? GENERIC_READ | GENERIC_WRITE : GENERIC_READ, 0, nullptr,
                  create ? CREATE_ALWAYS : OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle == nullptr || handle == INVALID_HANDLE_VALUE) {
    m_hFile = nullptr;
    return false;
  }
  // Only disk files: a device such as CON would block or never end a read.
  if (GetFileType(handle) != FILE_TYPE_DISK) {
    CloseHandle(handle);
    m_hFile = nullptr;
    return false;
  }
  m_hFile = handle;
  m_strPath = path;
  m_bReadError = false;
  return true;
}

void CFile::Close() {
  if (!IsOpen()) return;
  CloseHandle(Handle(m_hFile));
  m_hFile = nullptr;
  m_strPath.Empty();
}

bool CFile::IsOpen() const { return m_hFile != nullptr && Handle(m_hFile) != INVALID_HANDLE_VALUE; }

int CFile::Read(void* buffer, int count) {
  DWORD read = 0;
  if (!IsOpen() || count <= 0) return 0;
  if (!ReadFile(Handle(m_hFile), buffer, static_cast<DWORD>(count), &read, nullptr)) {
    m_bReadError = true;
    return 0;
  }
  return static_cast<int>(read);
}

bool CFile::Write(const void* buffer, int count) {
  DWORD written = 0;
  if (!IsOpen() || count < 0) return false;
  return WriteFile(Handle(m_hFile), buffer, static_cast<DWORD>(count), &written, nullptr) != 0 &&
         written == static_cast<DWORD>(count);
}

bool CFile::Seek(std::int32_t distance, SeekMethod method) {
  if (!IsOpen()) return false;
  const DWORD origin = method == kBegin ? FILE_BEGIN : method == kCurrent ? FILE_CURRENT : FILE_END;
  return SetFilePointer(Handle(m_hFile), distance, nullptr, origin) != INVALID_SET_FILE_POINTER;
}

std::uint32_t CFile::GetSize() const {
  if (!IsOpen()) return 0;
  const DWORD size = GetFileSize(Handle(m_hFile), nullptr);
  return size == INVALID_FILE_SIZE ? 0 : size;
}

bool CFile::GetId(FileId* id) const {
  BY_HANDLE_FILE_INFORMATION info;
  if (!IsOpen() || !GetFileInformationByHandle(Handle(m_hFile), &info)) return false;
  id->volume = info.dwVolumeSerialNumber;
  id->index = (static_cast<std::uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow;
  return true;
}

bool CFile::Flush() { return IsOpen() && FlushFileBuffers(Handle(m_hFile)) != 0; }

}  // namespace Core
