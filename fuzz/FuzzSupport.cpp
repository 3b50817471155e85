#include "fuzz/FuzzSupport.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

#include "foundation/Memory.h"

namespace FuzzSupport {

namespace fs = std::filesystem;

const std::string& WorkDir() {
  static const std::string dir = [] {
    std::random_device random;
    const fs::path base = fs::temp_directory_path();
    for (;;) {
      const fs::path candidate = base / ("tovi-fuzz-" + std::to_string(random()));
      if (fs::create_directory(candidate)) return candidate.string();
    }
  }();
  // Removed when the process ends normally, as libFuzzer's runs do.
  static const int removal = std::atexit([] {
    std::error_code ignored;
    fs::remove_all(WorkDir(), ignored);
  });
  (void)removal;
  return dir;
}

std::string WorkPath(const std::string& name) { return (fs::path(WorkDir()) / name).string(); }

void ClearWorkDir() {
  std::error_code ignored;
  for (const auto& entry : fs::directory_iterator(WorkDir(), ignored)) {
    fs::remove_all(entry.path(), ignored);
  }
}

void WriteFile(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

bool ReadFile(const std::string& path, std::string* bytes) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  std::ostringstream content;
  content << in.rdbuf();
  *bytes = content.str();
  return true;
}

void Fail(const char* file, int line, const char* what) {
  std::fprintf(stderr, "%s:%d: check failed: %s\n", file, line, what);
  std::fflush(stderr);
  std::abort();
}

std::string Input::Bytes(std::size_t most) {
  const std::size_t count =
      std::min<std::size_t>(Byte() % (most + 1), m_size - std::min(m_pos, m_size));
  std::string bytes(reinterpret_cast<const char*>(m_data) + std::min(m_pos, m_size), count);
  m_pos += count;
  return bytes;
}

std::string Input::Rest() {
  const std::size_t start = std::min(m_pos, m_size);
  m_pos = m_size;
  return std::string(reinterpret_cast<const char*>(m_data) + start, m_size - start);
}

int TakeAllocationFailure(const std::uint8_t*& data, std::size_t& size) {
  if (size < 2 || data[0] < 0xF0) return -1;
  const int successes = ((data[0] & 0x0F) << 8) | data[1];
  data += 2;
  size -= 2;
  return successes;
}

void ArmAllocationFailure(int successes) {
  Core::Testing::FailAllocationAfter(successes < 0 ? -1 : successes);
}

bool DisarmAllocationFailure() {
  const bool happened = !Core::Testing::AllocationFailurePending();
  Core::Testing::FailAllocationAfter(-1);
  return happened;
}

}  // namespace FuzzSupport
