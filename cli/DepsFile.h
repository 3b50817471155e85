// --deps: one make rule per item a run completed, "DEST: SOURCE INCLUDED...",
// every path absolute, one rule a line, as make and ninja read depfiles.
#pragma once

#include "engine/ConversionRun.h"
#include "engine/TextBuffer.h"
#include "foundation/ReplacingFile.h"
#include "foundation/String.h"

// Appends a path escaped as GNU cpp's -MD writes it: a space or '#' gets
// a backslash, the backslashes right before it doubled, and '$' becomes
// "$$". False when the path cannot be written in a rule (a line break).
bool AppendMakeName(CTextBuffer& out, const char* path);

// Hears the run's items and writes their rules into a new file beside the
// target, which replaces the target once the run is over, unless the
// target holds those rules already: a build tool that looks at the file's
// time then sees nothing new. Paths are in the system's spelling: UTF-8
// with '/' on POSIX, the program's own bytes on Windows.
class CDepsFile : public IItemObserver {
 public:
  // target: absolute, since the run changes the current directory.
  bool Open(const Core::CString& target);
  void ItemConverted(int index, const Core::CString& destination, bool completed,
                     const Core::CArray<Core::CString>& inputs,
                     const Core::CArray<Core::FileLook>& looks) override;
  // False when any rule could not be written, or the file put in place.
  bool Commit();

 private:
  bool AppendPath(CTextBuffer& line, const Core::CString& path);
  bool TargetHoldsRules() const;

  Core::CReplacingFile m_file;
  Core::CString m_strTarget;
  CTextBuffer m_rules;  // what the file is to hold
  bool m_bFailed = false;
};
