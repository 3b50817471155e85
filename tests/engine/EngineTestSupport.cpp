#include "tests/engine/EngineTestSupport.h"

#include <filesystem>

#include "foundation/FileSystem.h"
#include "engine/PreProcesser.h"

namespace EngineTest {

namespace {
std::string Join(std::initializer_list<const char*> lines, const char* end) {
  std::string text;
  for (const char* line : lines) text.append(line).append(end);
  return text;
}
}  // namespace

std::string Lf(std::initializer_list<const char*> lines) { return Join(lines, "\n"); }
std::string CrLf(std::initializer_list<const char*> lines) { return Join(lines, "\r\n"); }

std::string LineMessage(const char* kind, int line, const std::string& text,
                        const std::string& note) {
  return std::string(kind) + " : Line " + std::to_string(line) + ":" + text + "\r\n" +
         std::string(11, ' ') + note + "\r\n";
}

std::string Warning(int line, const std::string& text, const std::string& note) {
  return LineMessage("WARNNING", line, text, note);
}

std::string Error(int line, const std::string& text, const std::string& note) {
  return LineMessage("ERROR   ", line, text, note);
}

Fixture::Fixture() : m_strSavedDir(Core::GetCurrentDir()) {}

Fixture::~Fixture() { Core::SetCurrentDir(m_strSavedDir); }

void Fixture::Write(const std::string& name, const std::string& bytes) const {
  TestSupport::WriteBytes(Path(name), bytes);
}

std::string Fixture::Read(const std::string& name) const {
  return TestSupport::ReadBytes(Path(name));
}

Outcome Fixture::Convert(const std::string& source, int disposition, int codePage) {
  Write("src.txt", source);
  return ConvertFiles("src.txt", "out.txt", disposition, codePage);
}

Outcome Fixture::ConvertFiles(const std::string& source, const std::string& destination,
                              int disposition, int codePage) {
  CPreProcesser engine;
  engine.SetSourceCodePage(codePage);
  Outcome outcome;
  outcome.result = engine.ConvertFile(PathString(source), PathString(destination), disposition);
  outcome.messages = engine.GetMessages().GetText();
  outcome.output = Read(destination);
  return outcome;
}

void Fixture::Check(const Case& row) {
  SCOPED_TRACE(row.name);
  const Outcome outcome = Convert(row.source, row.disposition, row.codePage);
  EXPECT_EQ(outcome.output, row.output);
  EXPECT_EQ(outcome.messages, row.messages);
  EXPECT_EQ(outcome.result != 0, row.output != "<missing>");
  std::error_code ignored;
  std::filesystem::remove(Path("out.txt"), ignored);
  std::filesystem::remove(Path("out.txt.bak"), ignored);
}

}  // namespace EngineTest
