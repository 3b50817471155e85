// The system's file calls as the file layer makes them: each passes the
// fault point first, so a test can fail any one of them.
#pragma once

#include <fcntl.h>
#include <stdio.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include "foundation/FileFault.h"

namespace Core::Sys {

inline int Open(const char* path, int flags, mode_t mode = 0) {
  return FileFault::Fails() ? -1 : ::open(path, flags, mode);
}

inline ssize_t Read(int fd, void* buffer, size_t count) {
  if (count > 0 && (count = FileFault::Transfer(count)) == 0) return -1;
  return ::read(fd, buffer, count);
}

inline ssize_t Write(int fd, const void* buffer, size_t count) {
  if (count > 0 && (count = FileFault::Transfer(count)) == 0) return -1;
  return ::write(fd, buffer, count);
}

// The descriptor is closed either way; only the answer can fail.
inline int Close(int fd) {
  const bool failed = FileFault::Fails();
  const int result = ::close(fd);
  return failed ? -1 : result;
}

inline int Stat(const char* path, struct stat* info) {
  return FileFault::Fails() ? -1 : ::stat(path, info);
}
inline int Lstat(const char* path, struct stat* info) {
  return FileFault::Fails() ? -1 : ::lstat(path, info);
}
inline int Fstat(int fd, struct stat* info) { return FileFault::Fails() ? -1 : ::fstat(fd, info); }
inline int Fsync(int fd) { return FileFault::Fails() ? -1 : ::fsync(fd); }
inline int Ftruncate(int fd, off_t size) { return FileFault::Fails() ? -1 : ::ftruncate(fd, size); }
inline int Fchmod(int fd, mode_t mode) { return FileFault::Fails() ? -1 : ::fchmod(fd, mode); }
inline int Flock(int fd, int operation) { return FileFault::Fails() ? -1 : ::flock(fd, operation); }
inline int Rename(const char* from, const char* to) {
  return FileFault::Fails() ? -1 : ::rename(from, to);
}
inline int Unlink(const char* path) { return FileFault::Fails() ? -1 : ::unlink(path); }

}  // namespace Core::Sys
