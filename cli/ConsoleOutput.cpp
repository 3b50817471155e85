#include "cli/ConsoleOutput.h"

#include "foundation/Cp932Utf8.h"

std::string EncodeForConsole(const Core::CString& text, OutputEncoding encoding) {
  const std::string raw(text.GetText());
  if (encoding == OutputEncoding::kCp932) return raw;
  std::string utf8;
  Core::Cp932ToUtf8(raw.data(), raw.size(), &utf8);
  return utf8;
}

bool WriteForConsole(IConsole& console, const Core::CString& text, OutputEncoding encoding) {
  const char* p = text.GetText();
  std::size_t left = static_cast<std::size_t>(text.GetLength());
  if (encoding == OutputEncoding::kCp932) return console.Out(p, left);
  constexpr std::size_t kPiece = 8 * 1024;
  static char utf8[3 * kPiece];  // a code page 932 byte becomes at most 3 UTF-8 bytes
  bool ok = true;
  while (left > 0) {
    const std::size_t piece = Core::Cp932PieceLength(p, left, kPiece);
    ok = console.Out(utf8, Core::Cp932ToUtf8Bytes(p, piece, utf8)) && ok;
    p += piece;
    left -= piece;
  }
  return ok;
}

std::string Counted(int count, const char* noun) {
  return std::to_string(count) + " " + noun + (count == 1 ? "" : "s");
}
