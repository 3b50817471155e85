// Code page 932 <-> Unicode mapping tables (generated).
#pragma once

#include <cstdint>

namespace Core {
namespace Cp932 {

constexpr int kLeadCount = 60;    // 0x81-0x9F, 0xE0-0xFC
constexpr int kTrailCount = 189;  // 0x40-0xFC
constexpr int kFromUnicodeCount = 9274;

// Unicode of the single bytes 0x80-0xFF (0: unmapped).
extern const std::uint16_t kSingleByteHigh[128];
// Unicode of each lead/trail pair (0: unmapped).
extern const std::uint16_t kDoubleByte[kLeadCount][kTrailCount];
// {Unicode, code page 932 bytes} sorted by Unicode; the preferred encoding
// where several byte pairs decode to the same character.
extern const std::uint16_t kFromUnicode[kFromUnicodeCount][2];

}  // namespace Cp932
}  // namespace Core
