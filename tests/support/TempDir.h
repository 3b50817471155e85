// A fresh directory for one test, removed with everything in it afterwards,
// and byte-exact file helpers.
#pragma once

#include <string>

#include "foundation/String.h"

namespace TestSupport {

class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  // The directory without a trailing separator.
  const std::string& Dir() const { return m_dir; }
  // The directory joined with a name, with the platform's separator.
  std::string Path(const std::string& name) const;
  Core::CString PathString(const std::string& name) const { return Path(name).c_str(); }

 private:
  std::string m_dir;
};

// Puts the current directory back, on leaving the scope, to what it was
// when the guard was made. Made after a TempDir, it leaves that folder
// before the folder is removed.
class CurrentDirGuard {
 public:
  CurrentDirGuard();
  ~CurrentDirGuard();
  CurrentDirGuard(const CurrentDirGuard&) = delete;
  CurrentDirGuard& operator=(const CurrentDirGuard&) = delete;
  const Core::CString& Previous() const { return m_previous; }

 private:
  Core::CString m_previous;
};

void WriteBytes(const std::string& path, const std::string& bytes);
// The file's bytes; "<missing>" when it cannot be read.
std::string ReadBytes(const std::string& path);
bool FileExists(const std::string& path);
// Every entry below the folder, one line each with its bytes, the time of
// its last change and its identity: two equal listings mean that nothing
// in between was created, written, replaced or removed.
std::string Listing(const std::string& dir);

// Enters up to `depth` nested folders named `name` below the current
// directory, one step at a time, so that no path that long reaches the
// system; returns how many it entered. LeaveNested goes back up as many
// steps, removing each (empty) folder.
int EnterNested(const std::string& name, int depth);
void LeaveNested(int depth);

#ifdef _WIN32
constexpr char kSeparator = '\\';
#else
constexpr char kSeparator = '/';
#endif

}  // namespace TestSupport
