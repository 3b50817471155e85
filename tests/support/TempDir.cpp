#include "tests/support/TempDir.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <vector>

#include "foundation/FileSystem.h"

namespace TestSupport {

namespace fs = std::filesystem;

TempDir::TempDir() {
  std::random_device random;
  const fs::path base = fs::temp_directory_path();
  for (;;) {
    const fs::path candidate = base / ("tovi-test-" + std::to_string(random()));
    if (fs::create_directory(candidate)) {
      m_dir = candidate.string();
      break;
    }
  }
}

TempDir::~TempDir() {
  std::error_code ignored;
  fs::remove_all(m_dir, ignored);
}

CurrentDirGuard::CurrentDirGuard() : m_previous(Core::GetCurrentDir()) {}

CurrentDirGuard::~CurrentDirGuard() {
  // Nothing to do about a failure here; the test that moved away reports its own.
  if (!m_previous.IsEmpty()) (void)Core::SetCurrentDir(m_previous);
}

std::string TempDir::Path(const std::string& name) const { return m_dir + kSeparator + name; }

void WriteBytes(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return "<missing>";
  std::ostringstream content;
  content << in.rdbuf();
  return content.str();
}

int EnterNested(const std::string& name, int depth) {
  for (int i = 0; i < depth; ++i) {
    std::error_code ignored;
    fs::create_directory(name, ignored);
    if (!Core::SetCurrentDir(name.c_str())) return i;
  }
  return depth;
}

void LeaveNested(int depth) {
  for (int i = 0; i < depth; ++i) {
    std::error_code ignored;
    const std::string here = fs::current_path(ignored).filename().string();
    Core::SetCurrentDir("..");
    fs::remove(here, ignored);
  }
}

bool FileExists(const std::string& path) {
  std::error_code ignored;
  return fs::exists(path, ignored);
}

std::string Listing(const std::string& dir) {
  std::vector<std::string> lines;
  std::error_code error;
  for (const fs::directory_entry& entry : fs::recursive_directory_iterator(dir, error)) {
    const std::string path = entry.path().string();
    Core::FileId id;
    const bool known = Core::GetFileId(path.c_str(), &id) == Core::PathState::kPresent;
    lines.push_back(path + " " + std::to_string(known ? id.index : 0) + " " +
                    std::to_string(entry.last_write_time(error).time_since_epoch().count()) +
                    (entry.is_regular_file(error) ? " " + ReadBytes(path) : " <dir>"));
  }
  std::sort(lines.begin(), lines.end());
  std::string listing;
  for (const std::string& line : lines) listing += line + "\n";
  return listing;
}

}  // namespace TestSupport
