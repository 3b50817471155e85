#include "foundation/Cp932Utf8.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstring>

#include "foundation/Cp932Table.h"
#include "foundation/Cp932Text.h"

namespace Core {

namespace {

constexpr std::uint32_t kReplacement = 0xFFFD;

// Where converted bytes go: counted first, then stored, so a CString is
// filled with one allocation and no throwing container is involved.
class CByteSink {
 public:
  explicit CByteSink(char* out) : m_pOut(out) {}
  void Put(char c) {
    if (m_pOut) m_pOut[m_nCount] = c;
    ++m_nCount;
  }
  std::size_t Count() const { return m_nCount; }

 private:
  char* m_pOut;
  std::size_t m_nCount = 0;
};

void PutUtf8(std::uint32_t code, CByteSink& out) {
  if (code < 0x80) {
    out.Put(static_cast<char>(code));
  } else if (code < 0x800) {
    out.Put(static_cast<char>(0xC0 | (code >> 6)));
    out.Put(static_cast<char>(0x80 | (code & 0x3F)));
  } else {
    out.Put(static_cast<char>(0xE0 | (code >> 12)));
    out.Put(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
    out.Put(static_cast<char>(0x80 | (code & 0x3F)));
  }
}

int LeadIndex(unsigned char lead) { return lead < 0xA0 ? lead - 0x81 : lead - 0xE0 + 0x1F; }

// Decodes one UTF-8 sequence at text[*i]; false when it is malformed.
bool NextCodePoint(const unsigned char* text, std::size_t length, std::size_t* i,
                   std::uint32_t* code) {
  const unsigned char c = text[*i];
  int extra;
  std::uint32_t value;
  if (c < 0x80) {
    extra = 0, value = c;
  } else if (c >= 0xC2 && c < 0xE0) {
    extra = 1, value = c & 0x1F;
  } else if (c >= 0xE0 && c < 0xF0) {
    extra = 2, value = c & 0x0F;
  } else if (c >= 0xF0 && c < 0xF5) {
    extra = 3, value = c & 0x07;
  } else {
    return false;
  }
  if (*i + static_cast<std::size_t>(extra) >= length) return false;
  for (int k = 1; k <= extra; ++k) {
    const unsigned char next = text[*i + k];
    if ((next & 0xC0) != 0x80) return false;
    value = (value << 6) | (next & 0x3F);
  }
  static const std::uint32_t kMinimum[] = {0, 0x80, 0x800, 0x10000};
  if (value < kMinimum[extra] || value > 0x10FFFF || (value >= 0xD800 && value < 0xE000)) {
    return false;
  }
  *i += static_cast<std::size_t>(extra) + 1;
  *code = value;
  return true;
}

bool Cp932ToUtf8Into(const char* text, std::size_t length, CByteSink& out) {
  bool exact = true;
  for (std::size_t i = 0; i < length;) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    std::uint32_t code;
    if (c < 0x80) {
      code = c;
      i += 1;
    } else if (Cp932::IsLeadByte(c) && i + 1 < length) {
      const unsigned char trail = static_cast<unsigned char>(text[i + 1]);
      code = trail >= 0x40 && trail <= 0xFC ? Cp932::kDoubleByte[LeadIndex(c)][trail - 0x40] : 0;
      // An invalid pair gives up only its lead byte, as the next may start a character.
      i += code ? 2 : 1;
    } else {
      code = Cp932::kSingleByteHigh[c - 0x80];
      i += 1;
    }
    if (code == 0 && c != 0) {
      code = kReplacement;
      exact = false;
    }
    PutUtf8(code, out);
  }
  return exact;
}

// Lossy: a malformed byte or a character the code page lacks becomes '?'
// and the conversion goes on; otherwise it gives up at the first.
bool Utf8ToCp932Into(const char* text, std::size_t length, CByteSink& out, bool lossy) {
  const unsigned char* bytes = reinterpret_cast<const unsigned char*>(text);
  for (std::size_t i = 0; i < length;) {
    std::uint32_t code;
    if (!NextCodePoint(bytes, length, &i, &code)) {
      if (!lossy) return false;
      out.Put('?');
      ++i;
      continue;
    }
    if (code < 0x80) {
      out.Put(static_cast<char>(code));
      continue;
    }
    const auto* begin = Cp932::kFromUnicode;
    const auto* end = begin + Cp932::kFromUnicodeCount;
    const auto* found = std::lower_bound(
        begin, end, code,
        [](const std::uint16_t(&entry)[2], std::uint32_t key) { return entry[0] < key; });
    if (found == end || (*found)[0] != code) {
      if (!lossy) return false;
      out.Put('?');
      continue;
    }
    const std::uint16_t bytesOut = (*found)[1];
    if (bytesOut > 0xFF) out.Put(static_cast<char>(bytesOut >> 8));
    out.Put(static_cast<char>(bytesOut & 0xFF));
  }
  return true;
}

bool Utf8ToCp932Exact(const char* text, std::size_t length, CByteSink& out) {
  return Utf8ToCp932Into(text, length, out, false);
}

// Runs a conversion twice, counting and then storing; the text is NUL-free.
// An inexact conversion is stored too: replaced bytes still give a result.
template <class Convert>
bool ConvertToString(const char* text, Convert convert, CString* out, bool* ok) {
  const std::size_t length = std::strlen(text);
  CByteSink counter(nullptr);
  *ok = convert(text, length, counter);
  if (counter.Count() > static_cast<std::size_t>(INT_MAX - 1) ||
      !out->AllocBuffer(static_cast<int>(counter.Count()))) {
    return false;
  }
  CByteSink writer(out->GetBuffer());
  convert(text, length, writer);
  return true;
}

}  // namespace

bool Cp932ToUtf8(const char* text, std::size_t length, std::string* out) {
  CByteSink counter(nullptr);
  Cp932ToUtf8Into(text, length, counter);
  out->assign(counter.Count(), '\0');
  CByteSink writer(&(*out)[0]);
  return Cp932ToUtf8Into(text, length, writer);
}

bool Utf8ToCp932(const char* text, std::size_t length, std::string* out) {
  CByteSink counter(nullptr);
  if (!Utf8ToCp932Exact(text, length, counter)) return false;
  out->assign(counter.Count(), '\0');
  CByteSink writer(&(*out)[0]);
  return Utf8ToCp932Exact(text, length, writer);
}

std::size_t Utf8ToCp932Lossy(const char* text, std::size_t length, char* out) {
  CByteSink writer(out);
  Utf8ToCp932Into(text, length, writer, true);
  return writer.Count();
}

std::size_t Cp932ToUtf8Bytes(const char* text, std::size_t length, char* out) {
  CByteSink writer(out);
  Cp932ToUtf8Into(text, length, writer);
  return writer.Count();
}

std::size_t Cp932PieceLength(const char* text, std::size_t length, std::size_t limit) {
  if (length <= limit) return length;
  // Steps as Cp932ToUtf8Into does: a lead byte takes its trail only when
  // the pair is a character.
  std::size_t i = 0;
  while (i < limit) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    std::size_t step = 1;
    if (Cp932::IsLeadByte(c) && i + 1 < length) {
      const unsigned char trail = static_cast<unsigned char>(text[i + 1]);
      if (trail >= 0x40 && trail <= 0xFC && Cp932::kDoubleByte[LeadIndex(c)][trail - 0x40])
        step = 2;
    }
    if (i + step > limit) break;
    i += step;
  }
  return i;
}

ConvertResult Cp932ToUtf8(const CString& text, CString* out) {
  bool exact = false;
  if (!ConvertToString(text.GetText(), Cp932ToUtf8Into, out, &exact))
    return ConvertResult::kOutOfMemory;
  return exact ? ConvertResult::kDone : ConvertResult::kInexact;
}

ConvertResult Utf8ToCp932(const char* text, CString* out) {
  bool valid = false;
  if (!ConvertToString(text, Utf8ToCp932Exact, out, &valid)) return ConvertResult::kOutOfMemory;
  return valid ? ConvertResult::kDone : ConvertResult::kInexact;
}

}  // namespace Core
