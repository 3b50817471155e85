// What the fuzz targets share: a work folder of the process's own, whole
// file writes and reads, a reader that takes the input apart, the
// input-chosen allocation failure, and a check that stops with its place.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// Each target's entry, called by libFuzzer or by the replay program.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace FuzzSupport {

// A folder of this process's own, created on first use, without a
// trailing separator.
const std::string& WorkDir();
// WorkDir() joined with a name by the platform's separator.
std::string WorkPath(const std::string& name);
// Empties WorkDir().
void ClearWorkDir();

void WriteFile(const std::string& path, const std::string& bytes);
// The file's bytes; false when it cannot be read.
bool ReadFile(const std::string& path, std::string* bytes);

[[noreturn]] void Fail(const char* file, int line, const char* what);

// Takes the input apart from its front; past the end every read gives 0.
class Input {
 public:
  Input(const std::uint8_t* data, std::size_t size) : m_data(data), m_size(size) {}
  std::uint8_t Byte() { return m_pos < m_size ? m_data[m_pos++] : 0; }
  // A number in [0, count).
  int Pick(int count) { return count > 0 ? Byte() % count : 0; }
  // Up to `most` bytes.
  std::string Bytes(std::size_t most);
  // Everything not yet read.
  std::string Rest();
  bool Empty() const { return m_pos >= m_size; }

 private:
  const std::uint8_t* m_data;
  std::size_t m_size;
  std::size_t m_pos = 0;
};

// An input whose first byte is 0xF0 or above chooses an allocation to fail:
// the low four bits of that byte and the next byte give how many succeed
// first. Consumes those two bytes and returns that number; other inputs
// are left as they are and give -1.
int TakeAllocationFailure(const std::uint8_t*& data, std::size_t& size);
// Makes the allocation after `successes` more fail (negative: none).
void ArmAllocationFailure(int successes);
// Turns an armed failure off; true when it had happened.
bool DisarmAllocationFailure();

}  // namespace FuzzSupport

#define FUZZ_CHECK(condition) \
  ((condition) ? void(0) : FuzzSupport::Fail(__FILE__, __LINE__, #condition))
