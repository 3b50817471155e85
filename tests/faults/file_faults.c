// A library for LD_PRELOAD that makes one chosen file call of a process fail.
//
// Every wrapped call forwards to libc's own, except the k-th counted call:
//   TOVI_FAULT_CALL=k           the call to fail (1-based; 0 or unset: none)
//   TOVI_FAULT_MODE=eio         it fails with EIO
//                   enospc      it fails with ENOSPC
//                   short       read and write get half their count (at least
//                               1); a call without a count passes through
//   TOVI_FAULT_COUNT_FILE=path  at exit: the number of counted calls on the
//                               first line, the call that was faulted (if
//                               any) on the second, then the name of each
//                               counted call in order, one a line
// Calls on the standard streams (descriptors 0 to 2) are not counted: the
// process's messages are not the files under test. Everything else a
// wrapper sees is counted, whether or not it succeeds.
//
// The wrappers allocate nothing and format by hand, so they are safe from
// wherever libc or the program calls them; a call made while the library
// itself is busy (looking up the real functions, writing the count) goes
// straight through.
#define _GNU_SOURCE
#undef _FILE_OFFSET_BITS  // open and open64 must stay two functions here

#include <dirent.h>
#include <dlfcn.h>
#include <errno.h>
#include <fcntl.h>
#include <stdarg.h>
#include <stdio.h>  // rename, renameat
#include <stdlib.h>
#include <string.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

enum Mode { kModeNone, kModeError, kModeShort };
enum Action { kPass, kFail, kShorten };

static long g_faultCall;
static enum Mode g_mode = kModeNone;
static int g_errno = EIO;
static long g_counted;
static char g_countFile[4096];
// What the faulted call was, for the count file.
static char g_fired[256];
// The name of each counted call, for the count file: a sweep learns from a
// fault-free run which calls have a count to shorten.
enum { kNamedCalls = 1 << 16 };
static const char* g_names[kNamedCalls];

// Non-zero while the library's own code runs: nothing is counted then.
static __thread int g_busy __attribute__((tls_model("initial-exec")));

// The last part of each open descriptor's path, to name the descriptor in
// the count file.
enum { kTrackedFds = 256, kTrackedName = 64 };
static char g_fdNames[kTrackedFds][kTrackedName];

// ---- small helpers that allocate nothing ----

static void CopyText(char* to, size_t size, const char* from) {
  size_t n = 0;
  if (from) {
    for (; from[n] && n + 1 < size; ++n) to[n] = from[n];
  }
  to[n] = '\0';
}

// Appends text at *used, leaving room for the terminating NUL.
static void Append(char* to, size_t size, size_t* used, const char* text) {
  for (; text && *text && *used + 1 < size; ++text) to[(*used)++] = *text;
  to[*used] = '\0';
}

static void AppendNumber(char* to, size_t size, size_t* used, long value) {
  char digits[24];
  int n = 0;
  unsigned long magnitude = value < 0 ? 0UL - (unsigned long)value : (unsigned long)value;
  do {
    digits[n++] = (char)('0' + magnitude % 10);
    magnitude /= 10;
  } while (magnitude != 0);
  if (value < 0) Append(to, size, used, "-");
  char text[24];
  int k = 0;
  while (n > 0) text[k++] = digits[--n];
  text[k] = '\0';
  Append(to, size, used, text);
}

static long ParseNumber(const char* text) {
  long value = 0;
  for (; text && *text >= '0' && *text <= '9'; ++text) value = value * 10 + (*text - '0');
  return value;
}

// The tail of a path: long temporary folders would crowd out the name.
static const char* PathTail(const char* path) {
  if (!path) return "(null)";
  const size_t length = strlen(path);
  return length < kTrackedName ? path : path + length - (kTrackedName - 1);
}

// ---- the real functions ----

// Every wrapped function, for declaring and resolving them alike.
#define WRAPPED(X) \
  X(open)          \
  X(open64)        \
  X(openat)        \
  X(openat64)      \
  X(read)          \
  X(write)         \
  X(close)         \
  X(fsync)         \
  X(ftruncate)     \
  X(ftruncate64)   \
  X(fstat)         \
  X(fstat64)       \
  X(stat)          \
  X(stat64)        \
  X(lstat)         \
  X(lstat64)       \
  X(fstatat)       \
  X(fstatat64)     \
  X(rename)        \
  X(renameat)      \
  X(unlink)        \
  X(unlinkat)      \
  X(flock)         \
  X(lseek)         \
  X(lseek64)       \
  X(fchmod)        \
  X(fcntl)         \
  X(fcntl64)       \
  X(access)        \
  X(realpath)      \
  X(readlink)      \
  X(getcwd)        \
  X(chdir)         \
  X(opendir)       \
  X(fdopendir)     \
  X(readdir)       \
  X(readdir64)     \
  X(closedir)      \
  /* end */

#define DECLARE_REAL(name) static __typeof__(name)* real_##name;
WRAPPED(DECLARE_REAL)

static void* Lookup(const char* name) {
  ++g_busy;
  void* found = dlsym(RTLD_NEXT, name);
  --g_busy;
  return found;
}

// The constructor resolves every real function up front, so that later
// calls never reach dlsym. A call made before it (from another library's
// constructor) resolves its own; one that comes in while a look-up runs
// (dlsym reaching a wrapped call) cannot be forwarded yet and fails with
// ENOSYS; none is known to happen.
#define RESOLVE(name, failure)                        \
  do {                                                \
    if (!real_##name) {                               \
      if (g_busy) {                                   \
        errno = ENOSYS;                               \
        return failure;                               \
      }                                               \
      real_##name = (__typeof__(name)*)Lookup(#name); \
      if (!real_##name) {                             \
        errno = ENOSYS;                               \
        return failure;                               \
      }                                               \
    }                                                 \
  } while (0)

// ---- counting and deciding ----

static int IsStandardStream(int fd) { return fd >= 0 && fd <= 2; }

static void Describe(const char* call, int fd, const char* path) {
  size_t used = 0;
  Append(g_fired, sizeof g_fired, &used, call);
  if (path) {
    Append(g_fired, sizeof g_fired, &used, " ");
    Append(g_fired, sizeof g_fired, &used, PathTail(path));
  } else if (fd >= 0) {
    Append(g_fired, sizeof g_fired, &used, " fd ");
    AppendNumber(g_fired, sizeof g_fired, &used, fd);
    if (fd < kTrackedFds && g_fdNames[fd][0]) {
      Append(g_fired, sizeof g_fired, &used, " ");
      Append(g_fired, sizeof g_fired, &used, g_fdNames[fd]);
    }
  }
}

// Counts the call and says what to do with it. fd is -1 for a call on a
// path, path null for a call on a descriptor.
static enum Action Decide(const char* call, int fd, const char* path, int hasCount) {
  if (g_busy || (!path && IsStandardStream(fd))) return kPass;
  if (g_counted < kNamedCalls) g_names[g_counted] = call;
  if (++g_counted != g_faultCall || g_mode == kModeNone) return kPass;
  Describe(call, fd, path);
  if (g_mode == kModeError) return kFail;
  return hasCount ? kShorten : kPass;
}

static size_t Shortened(size_t count) { return count > 1 ? count / 2 : count; }

static void Track(int fd, const char* path) {
  if (fd >= 0 && fd < kTrackedFds) CopyText(g_fdNames[fd], kTrackedName, PathTail(path));
}

static void Untrack(int fd) {
  if (fd >= 0 && fd < kTrackedFds) g_fdNames[fd][0] = '\0';
}

// Fails the call the way the system would.
#define FAIL_IF_CHOSEN(action, failure) \
  do {                                  \
    if ((action) == kFail) {            \
      errno = g_errno;                  \
      return failure;                   \
    }                                   \
  } while (0)

// The mode argument of open: present only when a file may be created
// (O_TMPFILE holds the bits of O_DIRECTORY, so it is tested whole).
static mode_t OpenMode(int flags, va_list args) {
  const int creates = (flags & O_CREAT) || (flags & O_TMPFILE) == O_TMPFILE;
  return creates ? (mode_t)va_arg(args, int) : 0;
}

// ---- open and close ----

int open(const char* path, int flags, ...) {
  va_list args;
  va_start(args, flags);
  const mode_t mode = OpenMode(flags, args);
  va_end(args);
  RESOLVE(open, -1);
  FAIL_IF_CHOSEN(Decide("open", -1, path, 0), -1);
  const int fd = real_open(path, flags, mode);
  Track(fd, path);
  return fd;
}

int open64(const char* path, int flags, ...) {
  va_list args;
  va_start(args, flags);
  const mode_t mode = OpenMode(flags, args);
  va_end(args);
  RESOLVE(open64, -1);
  FAIL_IF_CHOSEN(Decide("open64", -1, path, 0), -1);
  const int fd = real_open64(path, flags, mode);
  Track(fd, path);
  return fd;
}

int openat(int dirfd, const char* path, int flags, ...) {
  va_list args;
  va_start(args, flags);
  const mode_t mode = OpenMode(flags, args);
  va_end(args);
  RESOLVE(openat, -1);
  FAIL_IF_CHOSEN(Decide("openat", -1, path, 0), -1);
  const int fd = real_openat(dirfd, path, flags, mode);
  Track(fd, path);
  return fd;
}

int openat64(int dirfd, const char* path, int flags, ...) {
  va_list args;
  va_start(args, flags);
  const mode_t mode = OpenMode(flags, args);
  va_end(args);
  RESOLVE(openat64, -1);
  FAIL_IF_CHOSEN(Decide("openat64", -1, path, 0), -1);
  const int fd = real_openat64(dirfd, path, flags, mode);
  Track(fd, path);
  return fd;
}

int close(int fd) {
  RESOLVE(close, -1);
  const enum Action action = Decide("close", fd, NULL, 0);
  Untrack(fd);
  // Linux releases the descriptor even when close reports an error.
  const int result = real_close(fd);
  FAIL_IF_CHOSEN(action, -1);
  return result;
}

// ---- reading and writing ----

ssize_t read(int fd, void* buffer, size_t count) {
  RESOLVE(read, -1);
  const enum Action action = Decide("read", fd, NULL, 1);
  FAIL_IF_CHOSEN(action, -1);
  return real_read(fd, buffer, action == kShorten ? Shortened(count) : count);
}

ssize_t write(int fd, const void* buffer, size_t count) {
  RESOLVE(write, -1);
  const enum Action action = Decide("write", fd, NULL, 1);
  FAIL_IF_CHOSEN(action, -1);
  return real_write(fd, buffer, action == kShorten ? Shortened(count) : count);
}

int fsync(int fd) {
  RESOLVE(fsync, -1);
  FAIL_IF_CHOSEN(Decide("fsync", fd, NULL, 0), -1);
  return real_fsync(fd);
}

int ftruncate(int fd, off_t length) {
  RESOLVE(ftruncate, -1);
  FAIL_IF_CHOSEN(Decide("ftruncate", fd, NULL, 0), -1);
  return real_ftruncate(fd, length);
}

int ftruncate64(int fd, off64_t length) {
  RESOLVE(ftruncate64, -1);
  FAIL_IF_CHOSEN(Decide("ftruncate64", fd, NULL, 0), -1);
  return real_ftruncate64(fd, length);
}

off_t lseek(int fd, off_t offset, int whence) {
  RESOLVE(lseek, -1);
  FAIL_IF_CHOSEN(Decide("lseek", fd, NULL, 0), -1);
  return real_lseek(fd, offset, whence);
}

off64_t lseek64(int fd, off64_t offset, int whence) {
  RESOLVE(lseek64, -1);
  FAIL_IF_CHOSEN(Decide("lseek64", fd, NULL, 0), -1);
  return real_lseek64(fd, offset, whence);
}

// ---- status ----

int fstat(int fd, struct stat* info) {
  RESOLVE(fstat, -1);
  FAIL_IF_CHOSEN(Decide("fstat", fd, NULL, 0), -1);
  return real_fstat(fd, info);
}

int fstat64(int fd, struct stat64* info) {
  RESOLVE(fstat64, -1);
  FAIL_IF_CHOSEN(Decide("fstat64", fd, NULL, 0), -1);
  return real_fstat64(fd, info);
}

int stat(const char* path, struct stat* info) {
  RESOLVE(stat, -1);
  FAIL_IF_CHOSEN(Decide("stat", -1, path, 0), -1);
  return real_stat(path, info);
}

int stat64(const char* path, struct stat64* info) {
  RESOLVE(stat64, -1);
  FAIL_IF_CHOSEN(Decide("stat64", -1, path, 0), -1);
  return real_stat64(path, info);
}

int lstat(const char* path, struct stat* info) {
  RESOLVE(lstat, -1);
  FAIL_IF_CHOSEN(Decide("lstat", -1, path, 0), -1);
  return real_lstat(path, info);
}

int lstat64(const char* path, struct stat64* info) {
  RESOLVE(lstat64, -1);
  FAIL_IF_CHOSEN(Decide("lstat64", -1, path, 0), -1);
  return real_lstat64(path, info);
}

// An empty path with AT_EMPTY_PATH asks about the descriptor itself.
static enum Action DecideAt(const char* call, int dirfd, const char* path) {
  return path && *path ? Decide(call, -1, path, 0) : Decide(call, dirfd, NULL, 0);
}

int fstatat(int dirfd, const char* path, struct stat* info, int flags) {
  RESOLVE(fstatat, -1);
  FAIL_IF_CHOSEN(DecideAt("fstatat", dirfd, path), -1);
  return real_fstatat(dirfd, path, info, flags);
}

int fstatat64(int dirfd, const char* path, struct stat64* info, int flags) {
  RESOLVE(fstatat64, -1);
  FAIL_IF_CHOSEN(DecideAt("fstatat64", dirfd, path), -1);
  return real_fstatat64(dirfd, path, info, flags);
}

int access(const char* path, int how) {
  RESOLVE(access, -1);
  FAIL_IF_CHOSEN(Decide("access", -1, path, 0), -1);
  return real_access(path, how);
}

// ---- names ----

int rename(const char* from, const char* to) {
  RESOLVE(rename, -1);
  FAIL_IF_CHOSEN(Decide("rename", -1, to, 0), -1);
  return real_rename(from, to);
}

int renameat(int fromDir, const char* from, int toDir, const char* to) {
  RESOLVE(renameat, -1);
  FAIL_IF_CHOSEN(Decide("renameat", -1, to, 0), -1);
  return real_renameat(fromDir, from, toDir, to);
}

int unlink(const char* path) {
  RESOLVE(unlink, -1);
  FAIL_IF_CHOSEN(Decide("unlink", -1, path, 0), -1);
  return real_unlink(path);
}

int unlinkat(int dirfd, const char* path, int flags) {
  RESOLVE(unlinkat, -1);
  FAIL_IF_CHOSEN(Decide("unlinkat", -1, path, 0), -1);
  return real_unlinkat(dirfd, path, flags);
}

char* realpath(const char* path, char* resolved) {
  RESOLVE(realpath, NULL);
  FAIL_IF_CHOSEN(Decide("realpath", -1, path, 0), NULL);
  return real_realpath(path, resolved);
}

ssize_t readlink(const char* path, char* buffer, size_t size) {
  RESOLVE(readlink, -1);
  FAIL_IF_CHOSEN(Decide("readlink", -1, path, 0), -1);
  return real_readlink(path, buffer, size);
}

char* getcwd(char* buffer, size_t size) {
  RESOLVE(getcwd, NULL);
  FAIL_IF_CHOSEN(Decide("getcwd", -1, "(current directory)", 0), NULL);
  return real_getcwd(buffer, size);
}

int chdir(const char* path) {
  RESOLVE(chdir, -1);
  FAIL_IF_CHOSEN(Decide("chdir", -1, path, 0), -1);
  return real_chdir(path);
}

// ---- descriptors ----

int flock(int fd, int operation) {
  RESOLVE(flock, -1);
  FAIL_IF_CHOSEN(Decide("flock", fd, NULL, 0), -1);
  return real_flock(fd, operation);
}

int fchmod(int fd, mode_t mode) {
  RESOLVE(fchmod, -1);
  FAIL_IF_CHOSEN(Decide("fchmod", fd, NULL, 0), -1);
  return real_fchmod(fd, mode);
}

// The third argument is an int, a long or a pointer as the command wants:
// all travel alike in a register, as libc itself takes them.
int fcntl(int fd, int command, ...) {
  va_list args;
  va_start(args, command);
  void* argument = va_arg(args, void*);
  va_end(args);
  RESOLVE(fcntl, -1);
  FAIL_IF_CHOSEN(Decide("fcntl", fd, NULL, 0), -1);
  return real_fcntl(fd, command, argument);
}

int fcntl64(int fd, int command, ...) {
  va_list args;
  va_start(args, command);
  void* argument = va_arg(args, void*);
  va_end(args);
  RESOLVE(fcntl64, -1);
  FAIL_IF_CHOSEN(Decide("fcntl64", fd, NULL, 0), -1);
  return real_fcntl64(fd, command, argument);
}

// ---- folders ----

DIR* opendir(const char* path) {
  RESOLVE(opendir, NULL);
  FAIL_IF_CHOSEN(Decide("opendir", -1, path, 0), NULL);
  return real_opendir(path);
}

DIR* fdopendir(int fd) {
  RESOLVE(fdopendir, NULL);
  FAIL_IF_CHOSEN(Decide("fdopendir", fd, NULL, 0), NULL);
  return real_fdopendir(fd);
}

// A failed readdir returns null with errno set, as the end of the listing
// does with errno untouched.
struct dirent* readdir(DIR* folder) {
  RESOLVE(readdir, NULL);
  FAIL_IF_CHOSEN(Decide("readdir", dirfd(folder), NULL, 0), NULL);
  return real_readdir(folder);
}

struct dirent64* readdir64(DIR* folder) {
  RESOLVE(readdir64, NULL);
  FAIL_IF_CHOSEN(Decide("readdir64", dirfd(folder), NULL, 0), NULL);
  return real_readdir64(folder);
}

int closedir(DIR* folder) {
  RESOLVE(closedir, -1);
  const int fd = dirfd(folder);
  const enum Action action = Decide("closedir", fd, NULL, 0);
  Untrack(fd);
  // The folder is closed either way, as close does.
  const int result = real_closedir(folder);
  FAIL_IF_CHOSEN(action, -1);
  return result;
}

// ---- set-up and the count at exit ----

#define RESOLVE_NOW(name) \
  if (!real_##name) real_##name = (__typeof__(name)*)Lookup(#name);

__attribute__((constructor)) static void Start(void) {
  WRAPPED(RESOLVE_NOW)
  ++g_busy;
  g_faultCall = ParseNumber(getenv("TOVI_FAULT_CALL"));
  const char* mode = getenv("TOVI_FAULT_MODE");
  if (g_faultCall > 0 && mode) {
    if (strcmp(mode, "eio") == 0) {
      g_mode = kModeError;
      g_errno = EIO;
    } else if (strcmp(mode, "enospc") == 0) {
      g_mode = kModeError;
      g_errno = ENOSPC;
    } else if (strcmp(mode, "short") == 0) {
      g_mode = kModeShort;
    }
  }
  CopyText(g_countFile, sizeof g_countFile, getenv("TOVI_FAULT_COUNT_FILE"));
  --g_busy;
}

__attribute__((destructor)) static void Finish(void) {
  if (!g_countFile[0]) return;
  RESOLVE(open, );
  RESOLVE(write, );
  RESOLVE(close, );
  ++g_busy;
  const int saved = errno;
  char text[512];
  size_t used = 0;
  AppendNumber(text, sizeof text, &used, g_counted);
  Append(text, sizeof text, &used, "\n");
  Append(text, sizeof text, &used, g_fired);
  Append(text, sizeof text, &used, "\n");
  const int fd = real_open(g_countFile, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd >= 0) {
    const long named = g_counted < kNamedCalls ? g_counted : kNamedCalls;
    for (long i = 0; i < named; ++i) {
      // Names are short: the buffer is emptied while one more surely fits.
      if (used + 64 > sizeof text) {
        (void)real_write(fd, text, used);
        used = 0;
      }
      Append(text, sizeof text, &used, g_names[i]);
      Append(text, sizeof text, &used, "\n");
    }
    (void)real_write(fd, text, used);
    (void)real_close(fd);
  }
  errno = saved;
  --g_busy;
}
