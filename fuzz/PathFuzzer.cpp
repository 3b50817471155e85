// RelativePath and AbsolutePath under both root rules. The input builds a
// path and a base directory from names that include double-byte characters
// whose second byte is a backslash; relative and back again must give the
// path, and a path on another root must come back unchanged. Its last part
// goes in raw, path and base split at a NUL, only for crashes.
#include <cstdint>
#include <string>

#include "fuzz/FuzzSupport.h"
#include "foundation/Path.h"

namespace {

// Name pieces: "\x95\x5C" and "\x83\x5C" end in a backslash byte.
const char* const kPieces[] = {"a",        "B", "x.y", "\x95\x5C", "\x83\x5C",
                               "\x81\x40", "-", ".",   "\xB1"};

std::string Name(FuzzSupport::Input& in) {
  std::string name;
  const int pieces = 1 + in.Pick(3);
  for (int i = 0; i < pieces; ++i) name += kPieces[in.Pick(sizeof kPieces / sizeof kPieces[0])];
  // "." and ".." are not names of their own.
  if (name.find_first_not_of('.') == std::string::npos) name += "a";
  return name;
}

// A rooted path: a root, then folder names, then a file name when asked.
std::string Rooted(FuzzSupport::Input& in, const std::string& root, char separator, bool file) {
  std::string path = root;
  const int folders = in.Pick(4);
  for (int i = 0; i < folders; ++i) path += Name(in) + separator;
  if (file) path += Name(in);
  return path;
}

void CheckRoundTrip(FuzzSupport::Input& in, Core::RootRule rule) {
  const bool slash = rule == Core::RootRule::kDriveOrSlash && in.Pick(2);
  const char separator = slash ? '/' : '\\';
  const char* const roots[] = {"C:\\", "D:\\", "c:\\"};
  const std::string pathRoot = slash ? "/" : roots[in.Pick(3)];
  const std::string baseRoot = slash ? "/" : roots[in.Pick(2)];
  const std::string path = Rooted(in, pathRoot, separator, true);
  std::string base = Rooted(in, baseRoot, separator, false);
  // The base directory with or without its last separator.
  if (base.size() > baseRoot.size() && in.Pick(2)) base.pop_back();

  const Core::CString relative = Core::RelativePath(path.c_str(), base.c_str(), rule);
  const Core::CString absolute = Core::AbsolutePath(relative, base.c_str(), rule);
  if (pathRoot == baseRoot) {
    FUZZ_CHECK(relative.GetText()[0] == '.');
  } else {
    FUZZ_CHECK(relative == Core::CString(path.c_str()));
  }
  FUZZ_CHECK(absolute == Core::CString(path.c_str()));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzSupport::Input in(data, size);
  CheckRoundTrip(in, Core::RootRule::kDriveOnly);
  CheckRoundTrip(in, Core::RootRule::kDriveOrSlash);

  const std::string raw = in.Rest();
  const std::size_t nul = raw.find('\0');
  const std::string path = raw.substr(0, nul);
  const std::string base = nul == std::string::npos ? std::string() : raw.substr(nul + 1);
  for (Core::RootRule rule : {Core::RootRule::kDriveOnly, Core::RootRule::kDriveOrSlash}) {
    (void)Core::RelativePath(path.c_str(), base.c_str(), rule);
    (void)Core::AbsolutePath(path.c_str(), base.c_str(), rule);
  }
  return 0;
}
