// A fault point in the file layer. Every call the file layer makes to the
// system for a file (open, read, write, stat, close, rename, remove ...)
// passes through it; a test can make the k-th of them fail, or move fewer
// bytes than asked, and so prove how every caller meets each failure, on
// every platform, without a failing disk.
#pragma once

#include <cstddef>

namespace Core {

namespace FileFault {

// Counts one call that moves no bytes. True when the armed fault fails
// it: the system's error is then set as for a real failure (an I/O error,
// or a full disk).
bool Fails();

// Counts one transfer of `count` bytes. Returns the count to pass on
// (fewer under the short mode, at least 1), or 0 when the call is to fail,
// the system's error then set.
std::size_t Transfer(std::size_t count);

}  // namespace FileFault

namespace Testing {

enum class FileFaultMode {
  kIoError,   // the call fails with an I/O error
  kDiskFull,  // the call fails as on a full disk
  kShort,     // a read or write moves fewer bytes (other calls pass)
};

// Makes the file call after `successes` further ones fail as `mode` says
// (0: the very next one). A negative value turns the fault off. Either
// way the count of calls starts again from 0.
void FailFileCallAfter(int successes, FileFaultMode mode);
// File calls counted since the last FailFileCallAfter.
int FileCallCount();
// True while the armed fault has not happened yet.
bool FileFaultPending();

}  // namespace Testing

}  // namespace Core
