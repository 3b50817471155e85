#include "foundation/Format.h"

#include <cstdint>
#include <cstring>

namespace Core {

namespace {

// Appends to a fixed buffer, dropping what does not fit.
class Output {
 public:
  Output(char* out, int size) : m_out(out), m_nLimit(size - 1) {}
  void Put(char c) {
    if (m_nUsed < m_nLimit) m_out[m_nUsed++] = c;
  }
  void Put(const char* text, int count) {
    for (int i = 0; i < count; ++i) Put(text[i]);
  }
  void Pad(char c, int count) {
    for (int i = 0; i < count; ++i) Put(c);
  }
  int Finish() {
    m_out[m_nUsed] = '\0';
    return m_nUsed;
  }

 private:
  char* m_out;
  int m_nLimit;
  int m_nUsed = 0;
};

struct Spec {
  bool left = false;
  bool zero = false;
  bool alt = false;
  int width = 0;
  int precision = -1;
};

// Writes body (with an optional sign/prefix) padded to the field width.
void PutField(Output& out, const Spec& spec, const char* prefix, const char* body, int bodyLength,
              bool numeric) {
  const int prefixLength = static_cast<int>(std::strlen(prefix));
  int zeros = 0;
  if (numeric && spec.precision > bodyLength) zeros = spec.precision - bodyLength;
  int total = prefixLength + zeros + bodyLength;
  int pad = spec.width > total ? spec.width - total : 0;
  if (numeric && spec.zero && !spec.left && spec.precision < 0) {
    zeros += pad;
    pad = 0;
  }
  if (!spec.left) out.Pad(' ', pad);
  out.Put(prefix, prefixLength);
  out.Pad('0', zeros);
  out.Put(body, bodyLength);
  if (spec.left) out.Pad(' ', pad);
}

void PutUnsigned(Output& out, const Spec& spec, const char* sign, std::uint64_t value,
                 unsigned base, bool upper, const char* altPrefix) {
  char digits[24];
  int n = 0;
  const char* table = upper ? "0123456789ABCDEF" : "0123456789abcdef";
  do {
    digits[sizeof digits - 1 - n++] = table[value % base];
    value /= base;
  } while (value != 0);
  char prefix[4] = {0};
  std::strcat(prefix, sign);
  if (spec.alt && altPrefix) std::strcat(prefix, altPrefix);
  PutField(out, spec, prefix, digits + sizeof digits - n, n, true);
}

// Reads a width or precision. Anything beyond `limit` (the buffer size)
// would be cut anyway, so it is capped there and the arithmetic stays small.
int ReadCount(const char*& f, int limit) {
  long long n = 0;
  for (; *f >= '0' && *f <= '9'; ++f) {
    if (n <= limit) n = n * 10 + (*f - '0');
  }
  return n < limit ? static_cast<int>(n) : limit;
}

}  // namespace

int FormatText(char* out, int size, const char* format, va_list args) {
  Output output(out, size);
  for (const char* f = format; *f; ++f) {
    if (*f != '%') {
      output.Put(*f);
      continue;
    }
    Spec spec;
    ++f;
    for (;; ++f) {
      if (*f == '-')
        spec.left = true;
      else if (*f == '0')
        spec.zero = true;
      else if (*f == '#')
        spec.alt = true;
      else
        break;
    }
    spec.width = ReadCount(f, size);
    if (*f == '.') {
      ++f;
      spec.precision = ReadCount(f, size);
    }
    while (*f == 'h' || *f == 'l') ++f;
    switch (*f) {
      case '\0':
        return output.Finish();
      case 'c':
      case 'C': {
        const char c = static_cast<char>(va_arg(args, int));
        PutField(output, spec, "", &c, 1, false);
        break;
      }
      case 'd':
      case 'i': {
        const int value = va_arg(args, int);
        const std::int64_t wide = value;
        PutUnsigned(output, spec, wide < 0 ? "-" : "",
                    static_cast<std::uint64_t>(wide < 0 ? -wide : wide), 10, false, nullptr);
        break;
      }
      case 'u':
        PutUnsigned(output, spec, "", va_arg(args, unsigned), 10, false, nullptr);
        break;
      case 'x':
        PutUnsigned(output, spec, "", va_arg(args, unsigned), 16, false, "0x");
        break;
      case 'X':
        PutUnsigned(output, spec, "", va_arg(args, unsigned), 16, true, "0X");
        break;
      case 'p': {
        Spec pointer;
        pointer.precision = static_cast<int>(sizeof(void*) * 2);
        PutUnsigned(output, pointer, "", reinterpret_cast<std::uintptr_t>(va_arg(args, void*)), 16,
                    true, nullptr);
        break;
      }
      case 's':
      case 'S': {
        const char* text = va_arg(args, const char*);
        if (!text) text = "(null)";
        int length = 0;
        while (text[length] && (spec.precision < 0 || length < spec.precision)) ++length;
        PutField(output, spec, "", text, length, false);
        break;
      }
      default:  // "%%" and unknown types print the character itself
        output.Put(*f);
        break;
    }
  }
  return output.Finish();
}

}  // namespace Core
