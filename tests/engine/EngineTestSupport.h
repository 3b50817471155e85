// Running sources through the engine in a temporary directory and reading
// back the exact destination bytes and messages.
#pragma once

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>

#include "foundation/SourceEncoding.h"
#include "foundation/String.h"
#include "tests/support/TempDir.h"

namespace EngineTest {

// Lines joined with LF, each one terminated (source files).
std::string Lf(std::initializer_list<const char*> lines);
// Lines joined with CR LF, each one terminated (destination files).
std::string CrLf(std::initializer_list<const char*> lines);

// The first line of a message about a line, then its continuation.
std::string LineMessage(const char* kind, int line, const std::string& text,
                        const std::string& note);
std::string Warning(int line, const std::string& text, const std::string& note);
std::string Error(int line, const std::string& text, const std::string& note);

struct Outcome {
  int result = 0;
  std::string messages;
  std::string output;  // "<missing>" when no destination exists
};

// Converts "src.txt" into "out.txt" inside a fresh directory and restores
// the current directory afterwards (the engine moves it to the source's).
class Fixture : public ::testing::Test {
 protected:
  Fixture();
  ~Fixture() override;

  std::string Path(const std::string& name) const { return m_dir.Path(name); }
  Core::CString PathString(const std::string& name) const { return m_dir.PathString(name); }
  void Write(const std::string& name, const std::string& bytes) const;
  std::string Read(const std::string& name) const;

  Outcome Convert(const std::string& source, int disposition = 1, int codePage = kSourceCp932);
  Outcome ConvertFiles(const std::string& source, const std::string& destination,
                       int disposition = 1, int codePage = kSourceCp932);
  // Converts the case's source and checks destination, messages and result.
  void Check(const struct Case& row);

  TestSupport::TempDir m_dir;

 private:
  Core::CString m_strSavedDir;
};

// One row of a table: a source text, a disposition, and what must come out.
// A row whose output is "<missing>" must stop the item.
struct Case {
  const char* name;
  std::string source;
  std::string output;  // destination bytes, "<missing>" when the item stops
  std::string messages;
  int disposition = 1;
  int codePage = kSourceCp932;  // how sources without a byte order mark are read
};

}  // namespace EngineTest
