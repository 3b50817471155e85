// Every compiler-specific construct of the product code, in one place: bit
// scans, prefetch, the 64 x 64 -> 128-bit multiplication, the x86 SIMD
// switches (a function's target attribute, the processor's features). Each
// has a branch for MSVC's intrinsics (which clang-cl shares), one for GCC's
// and Clang's builtins, and a portable fallback for other compilers and
// processors. Code elsewhere tests only the TOVI_ macros defined here.
#pragma once

#include <cstdint>

// x86-64 always has SSE2; SSSE3 and AVX2 are for CpuHasSsse3/CpuHasAvx2 to say.
#if defined(_M_X64) || defined(__x86_64__)
#define TOVI_X86_SIMD 1
#endif

#if defined(_MSC_VER)
#define TOVI_MSVC_INTRINSICS 1
#include <intrin.h>
#ifdef TOVI_X86_SIMD
#include <immintrin.h>
#endif
#elif defined(__GNUC__) || defined(__clang__)
#define TOVI_GNU_BUILTINS 1
#endif

// Defined when AddressSanitizer instruments the build: GCC and MSVC define
// a macro, Clang answers a feature test.
#if defined(__SANITIZE_ADDRESS__)
#define TOVI_ADDRESS_SANITIZER 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define TOVI_ADDRESS_SANITIZER 1
#endif
#endif

// Marks a function whose body uses instructions beyond SSE2 ("ssse3",
// "avx2"); it runs only where the processor has them. GCC and Clang
// (clang-cl too) need the mark to compile those intrinsics; MSVC compiles
// any intrinsic anywhere.
#if defined(__GNUC__) || defined(__clang__)
#define TOVI_TARGET(features) __attribute__((target(features)))
#else
#define TOVI_TARGET(features)
#endif

namespace Core {

struct Product128 {
  std::uint64_t low;
  std::uint64_t high;
};

// Plain C++ for every compiler; the fallbacks below, and the reference the
// intrinsics are tested against.
namespace Portable {

// The place of the lowest and of the highest bit set; `bits` is not 0.
inline unsigned LowestBit32(std::uint32_t bits) {
  unsigned place = 0;
  if ((bits & 0xFFFFu) == 0) {
    place += 16;
    bits >>= 16;
  }
  if ((bits & 0xFFu) == 0) {
    place += 8;
    bits >>= 8;
  }
  if ((bits & 0xFu) == 0) {
    place += 4;
    bits >>= 4;
  }
  if ((bits & 0x3u) == 0) {
    place += 2;
    bits >>= 2;
  }
  if ((bits & 0x1u) == 0) place += 1;
  return place;
}
inline unsigned HighestBit32(std::uint32_t bits) {
  unsigned place = 0;
  if (bits >> 16) {
    place += 16;
    bits >>= 16;
  }
  if (bits >> 8) {
    place += 8;
    bits >>= 8;
  }
  if (bits >> 4) {
    place += 4;
    bits >>= 4;
  }
  if (bits >> 2) {
    place += 2;
    bits >>= 2;
  }
  if (bits >> 1) place += 1;
  return place;
}
inline unsigned LowestBit64(std::uint64_t bits) {
  const std::uint32_t low = static_cast<std::uint32_t>(bits);
  return low ? LowestBit32(low) : 32 + LowestBit32(static_cast<std::uint32_t>(bits >> 32));
}
inline unsigned HighestBit64(std::uint64_t bits) {
  const std::uint32_t high = static_cast<std::uint32_t>(bits >> 32);
  return high ? 32 + HighestBit32(high) : HighestBit32(static_cast<std::uint32_t>(bits));
}

// Four 32 x 32-bit products, the middle ones' carries added into the high half.
inline Product128 Multiply128(std::uint64_t a, std::uint64_t b) {
  const std::uint64_t aLow = a & 0xFFFFFFFFu, aHigh = a >> 32;
  const std::uint64_t bLow = b & 0xFFFFFFFFu, bHigh = b >> 32;
  const std::uint64_t low = aLow * bLow, middle1 = aHigh * bLow, middle2 = aLow * bHigh;
  const std::uint64_t carry =
      ((low >> 32) + (middle1 & 0xFFFFFFFFu) + (middle2 & 0xFFFFFFFFu)) >> 32;
  return {low + (middle1 << 32) + (middle2 << 32),
          aHigh * bHigh + (middle1 >> 32) + (middle2 >> 32) + carry};
}

}  // namespace Portable

inline unsigned LowestBit32(std::uint32_t bits) {
#if defined(TOVI_MSVC_INTRINSICS)
  unsigned long place;
  _BitScanForward(&place, bits);
  return static_cast<unsigned>(place);
#elif defined(TOVI_GNU_BUILTINS)
  return static_cast<unsigned>(__builtin_ctz(bits));
#else
  return Portable::LowestBit32(bits);
#endif
}

inline unsigned HighestBit32(std::uint32_t bits) {
#if defined(TOVI_MSVC_INTRINSICS)
  unsigned long place;
  _BitScanReverse(&place, bits);
  return static_cast<unsigned>(place);
#elif defined(TOVI_GNU_BUILTINS)
  return 31 - static_cast<unsigned>(__builtin_clz(bits));
#else
  return Portable::HighestBit32(bits);
#endif
}

// MSVC has the 64-bit scans on 64-bit processors only.
inline unsigned LowestBit64(std::uint64_t bits) {
#if defined(TOVI_MSVC_INTRINSICS) && (defined(_M_X64) || defined(_M_ARM64))
  unsigned long place;
  _BitScanForward64(&place, bits);
  return static_cast<unsigned>(place);
#elif defined(TOVI_GNU_BUILTINS)
  return static_cast<unsigned>(__builtin_ctzll(bits));
#else
  const std::uint32_t low = static_cast<std::uint32_t>(bits);
  return low ? LowestBit32(low) : 32 + LowestBit32(static_cast<std::uint32_t>(bits >> 32));
#endif
}

inline unsigned HighestBit64(std::uint64_t bits) {
#if defined(TOVI_MSVC_INTRINSICS) && (defined(_M_X64) || defined(_M_ARM64))
  unsigned long place;
  _BitScanReverse64(&place, bits);
  return static_cast<unsigned>(place);
#elif defined(TOVI_GNU_BUILTINS)
  return 63 - static_cast<unsigned>(__builtin_clzll(bits));
#else
  const std::uint32_t high = static_cast<std::uint32_t>(bits >> 32);
  return high ? 32 + HighestBit32(high) : HighestBit32(static_cast<std::uint32_t>(bits));
#endif
}

// The full product of a and b.
inline Product128 Multiply128(std::uint64_t a, std::uint64_t b) {
#if defined(TOVI_MSVC_INTRINSICS) && defined(_M_X64)
  Product128 product;
  product.low = _umul128(a, b, &product.high);
  return product;
#elif defined(TOVI_GNU_BUILTINS) && defined(__SIZEOF_INT128__)
  // __extension__ keeps -pedantic-errors from rejecting the type.
  __extension__ typedef unsigned __int128 Uint128;
  const Uint128 product = static_cast<Uint128>(a) * b;
  return {static_cast<std::uint64_t>(product), static_cast<std::uint64_t>(product >> 64)};
#else
  return Portable::Multiply128(a, b);
#endif
}

// Starts loading the cache line at `address` into every cache level; a
// hint, with no effect on what the program computes.
inline void Prefetch(const void* address) {
#if defined(TOVI_MSVC_INTRINSICS) && defined(TOVI_X86_SIMD)
  _mm_prefetch(static_cast<const char*>(address), _MM_HINT_T0);
#elif defined(TOVI_GNU_BUILTINS)
  __builtin_prefetch(address);
#else
  (void)address;
#endif
}

// Whether the processor (and, for AVX2, the system, which must save the
// 256-bit registers) has the instructions; false off x86-64.
inline bool CpuHasSsse3() {
#if defined(TOVI_MSVC_INTRINSICS) && defined(TOVI_X86_SIMD)
  int registers[4];  // EAX, EBX, ECX, EDX
  __cpuid(registers, 1);
  return (registers[2] & (1 << 9)) != 0;
#elif defined(TOVI_GNU_BUILTINS) && defined(TOVI_X86_SIMD)
  __builtin_cpu_init();
  return __builtin_cpu_supports("ssse3") != 0;
#else
  return false;
#endif
}

inline bool CpuHasAvx2() {
#if defined(TOVI_MSVC_INTRINSICS) && defined(TOVI_X86_SIMD)
  int registers[4];  // EAX, EBX, ECX, EDX
  __cpuid(registers, 0);
  if (registers[0] < 7) return false;
  __cpuid(registers, 1);
  const int osxsaveAndAvx = (1 << 27) | (1 << 28);
  if ((registers[2] & osxsaveAndAvx) != osxsaveAndAvx) return false;
  if ((_xgetbv(0) & 6) != 6) return false;  // XMM and YMM state saved by the system
  __cpuidex(registers, 7, 0);
  return (registers[1] & (1 << 5)) != 0;
#elif defined(TOVI_GNU_BUILTINS) && defined(TOVI_X86_SIMD)
  __builtin_cpu_init();
  return __builtin_cpu_supports("avx2") != 0;
#else
  return false;
#endif
}

}  // namespace Core
