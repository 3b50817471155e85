// The system's file calls as the file layer makes them: each passes the
// fault point first, so a test can fail any one of them.
#pragma once

#include <windows.h>

#include "foundation/FileFault.h"

namespace Core::Sys {

inline HANDLE Create(const char* path, DWORD access, DWORD share, DWORD disposition, DWORD flags) {
  if (FileFault::Fails()) return INVALID_HANDLE_VALUE;
  return CreateFileA(path, access, share, nullptr, disposition, flags, nullptr);
}

inline BOOL Read(HANDLE handle, void* buffer, DWORD count, DWORD* read) {
  *read = 0;
  if (count > 0 && (count = static_cast<DWORD>(FileFault::Transfer(count))) == 0) return FALSE;
  return ::ReadFile(handle, buffer, count, read, nullptr);
}

inline BOOL Write(HANDLE handle, const void* buffer, DWORD count, DWORD* written) {
  *written = 0;
  if (count > 0 && (count = static_cast<DWORD>(FileFault::Transfer(count))) == 0) return FALSE;
  return ::WriteFile(handle, buffer, count, written, nullptr);
}

// The handle is closed either way; only the answer can fail.
inline BOOL Close(HANDLE handle) {
  const bool failed = FileFault::Fails();
  const BOOL result = ::CloseHandle(handle);
  return failed ? FALSE : result;
}

inline DWORD Attributes(const char* path) {
  return FileFault::Fails() ? INVALID_FILE_ATTRIBUTES : GetFileAttributesA(path);
}
inline BOOL Information(HANDLE handle, BY_HANDLE_FILE_INFORMATION* info) {
  return FileFault::Fails() ? FALSE : GetFileInformationByHandle(handle, info);
}
inline BOOL Size(HANDLE handle, LARGE_INTEGER* size) {
  return FileFault::Fails() ? FALSE : GetFileSizeEx(handle, size);
}
inline BOOL Flush(HANDLE handle) { return FileFault::Fails() ? FALSE : ::FlushFileBuffers(handle); }
inline BOOL SetAttributes(const char* path, DWORD attributes) {
  return FileFault::Fails() ? FALSE : SetFileAttributesA(path, attributes);
}
inline BOOL Move(const char* from, const char* to, DWORD flags) {
  return FileFault::Fails() ? FALSE : MoveFileExA(from, to, flags);
}
inline BOOL Remove(const char* path) { return FileFault::Fails() ? FALSE : DeleteFileA(path); }

}  // namespace Core::Sys
