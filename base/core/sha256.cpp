#include "base/core/sha256.h"

#include <algorithm>
#include <bit>
#include <cstring>

#if defined(__x86_64__) || defined(__i386__)
#include <cpuid.h>
#include <immintrin.h>
#endif

namespace fernwick {

namespace {

constexpr std::array<uint32_t, 64> kRound = {
    0x428a2f98, 0x71374491, 0xb5c0fbcf, 0xe9b5dba5, 0x3956c25b, 0x59f111f1, 0x923f82a4, 0xab1c5ed5,
    0xd807aa98, 0x12835b01, 0x243185be, 0x550c7dc3, 0x72be5d74, 0x80deb1fe, 0x9bdc06a7, 0xc19bf174,
    0xe49b69c1, 0xefbe4786, 0x0fc19dc6, 0x240ca1cc, 0x2de92c6f, 0x4a7484aa, 0x5cb0a9dc, 0x76f988da,
    0x983e5152, 0xa831c66d, 0xb00327c8, 0xbf597fc7, 0xc6e00bf3, 0xd5a79147, 0x06ca6351, 0x14292967,
    0x27b70a85, 0x2e1b2138, 0x4d2c6dfc, 0x53380d13, 0x650a7354, 0x766a0abb, 0x81c2c92e, 0x92722c85,
    0xa2bfe8a1, 0xa81a664b, 0xc24b8b70, 0xc76c51a3, 0xd192e819, 0xd6990624, 0xf40e3585, 0x106aa070,
    0x19a4c116, 0x1e376c08, 0x2748774c, 0x34b0bcb5, 0x391c0cb3, 0x4ed8aa4a, 0x5b9cca4f, 0x682e6ff3,
    0x748f82ee, 0x78a5636f, 0x84c87814, 0x8cc70208, 0x90befffa, 0xa4506ceb, 0xbef9a3f7, 0xc67178f2};

uint32_t BigEndian32(const uint8_t* bytes) noexcept {
  return (uint32_t{bytes[0]} << 24) | (uint32_t{bytes[1]} << 16) | (uint32_t{bytes[2]} << 8) | bytes[3];
}

#if defined(__x86_64__) || defined(__i386__)
bool HasShaExtensions() noexcept {
  unsigned eax = 0, ebx = 0, ecx = 0, edx = 0;
  if (!__get_cpuid(1, &eax, &ebx, &ecx, &edx)) return false;
  const bool sse41 = (ecx & (1u << 19)) != 0;
  const bool ssse3 = (ecx & (1u << 9)) != 0;
  if (!__get_cpuid_count(7, 0, &eax, &ebx, &ecx, &edx)) return false;
  return sse41 && ssse3 && (ebx & (1u << 29)) != 0;
}

// Intel's SHA extensions: the state kept as ABEF and CDGH, four rounds a group, the message
// schedule by sha256msg1/msg2.
__attribute__((target("sha,sse4.1,ssse3"))) void CompressWithExtensions(uint32_t* state, const uint8_t* block) {
  const __m128i byteSwap = _mm_set_epi64x(0x0c0d0e0f08090a0bll, 0x0405060700010203ll);
  __m128i dcba = _mm_shuffle_epi32(_mm_loadu_si128(reinterpret_cast<const __m128i*>(state)), 0xB1);
  __m128i hgfe = _mm_shuffle_epi32(_mm_loadu_si128(reinterpret_cast<const __m128i*>(state + 4)), 0x1B);
  __m128i abef = _mm_alignr_epi8(dcba, hgfe, 8);
  __m128i cdgh = _mm_blend_epi16(hgfe, dcba, 0xF0);
  const __m128i abefBefore = abef;
  const __m128i cdghBefore = cdgh;
  __m128i words[4];
  for (int group = 0; group < 16; ++group) {
    __m128i& w = words[group % 4];
    if (group < 4) {
      w = _mm_shuffle_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(block + 16 * group)), byteSwap);
    } else {
      const __m128i& next = words[(group + 1) % 4];
      const __m128i& third = words[(group + 2) % 4];
      const __m128i& last = words[(group + 3) % 4];
      w = _mm_sha256msg2_epu32(_mm_add_epi32(_mm_sha256msg1_epu32(w, next), _mm_alignr_epi8(last, third, 4)), last);
    }
    __m128i message = _mm_add_epi32(w, _mm_loadu_si128(reinterpret_cast<const __m128i*>(kRound.data() + 4 * group)));
    cdgh = _mm_sha256rnds2_epu32(cdgh, abef, message);
    message = _mm_shuffle_epi32(message, 0x0E);
    abef = _mm_sha256rnds2_epu32(abef, cdgh, message);
  }
  abef = _mm_add_epi32(abef, abefBefore);
  cdgh = _mm_add_epi32(cdgh, cdghBefore);
  const __m128i feba = _mm_shuffle_epi32(abef, 0x1B);
  const __m128i dchg = _mm_shuffle_epi32(cdgh, 0xB1);
  _mm_storeu_si128(reinterpret_cast<__m128i*>(state), _mm_blend_epi16(feba, dchg, 0xF0));
  _mm_storeu_si128(reinterpret_cast<__m128i*>(state + 4), _mm_alignr_epi8(dchg, feba, 8));
}
#else
bool HasShaExtensions() noexcept { return false; }
void CompressWithExtensions(uint32_t*, const uint8_t*) {}
#endif

}  // namespace

Sha256::Sha256(bool useExtensions) noexcept
    : state_{0x6a09e667, 0xbb67ae85, 0x3c6ef372, 0xa54ff53a, 0x510e527f, 0x9b05688c, 0x1f83d9ab, 0x5be0cd19} {
  static const bool kHasExtensions = HasShaExtensions();
  extensions_ = useExtensions && kHasExtensions;
}

void Sha256::Compress(const uint8_t* block) noexcept {
  if (extensions_) {
    CompressWithExtensions(state_.data(), block);
  } else {
    CompressPortable(block);
  }
}

void Sha256::CompressPortable(const uint8_t* block) noexcept {
  std::array<uint32_t, 64> w;
  for (int i = 0; i < 16; ++i) w[i] = BigEndian32(block + 4 * i);
  for (int i = 16; i < 64; ++i) {
    const uint32_t s0 = std::rotr(w[i - 15], 7) ^ std::rotr(w[i - 15], 18) ^ (w[i - 15] >> 3);
    const uint32_t s1 = std::rotr(w[i - 2], 17) ^ std::rotr(w[i - 2], 19) ^ (w[i - 2] >> 10);
    w[i] = w[i - 16] + s0 + w[i - 7] + s1;
  }
  uint32_t a = state_[0], b = state_[1], c = state_[2], d = state_[3];
  uint32_t e = state_[4], f = state_[5], g = state_[6], h = state_[7];
  for (int i = 0; i < 64; ++i) {
    const uint32_t t1 =
        h + (std::rotr(e, 6) ^ std::rotr(e, 11) ^ std::rotr(e, 25)) + ((e & f) ^ (~e & g)) + kRound[i] + w[i];
    const uint32_t t2 = (std::rotr(a, 2) ^ std::rotr(a, 13) ^ std::rotr(a, 22)) + ((a & b) ^ (a & c) ^ (b & c));
    h = g;
    g = f;
    f = e;
    e = d + t1;
    d = c;
    c = b;
    b = a;
    a = t1 + t2;
  }
  state_[0] += a;
  state_[1] += b;
  state_[2] += c;
  state_[3] += d;
  state_[4] += e;
  state_[5] += f;
  state_[6] += g;
  state_[7] += h;
}

void Sha256::Add(std::span<const uint8_t> bytes) noexcept {
  length_ += bytes.size();
  if (blockUsed_ > 0) {
    const size_t take = std::min(bytes.size(), block_.size() - blockUsed_);
    std::memcpy(block_.data() + blockUsed_, bytes.data(), take);
    blockUsed_ += take;
    bytes = bytes.subspan(take);
    if (blockUsed_ < block_.size()) return;
    Compress(block_.data());
    blockUsed_ = 0;
  }
  while (bytes.size() >= block_.size()) {
    Compress(bytes.data());
    bytes = bytes.subspan(block_.size());
  }
  if (!bytes.empty()) std::memcpy(block_.data(), bytes.data(), bytes.size());
  blockUsed_ = bytes.size();
}

Sha256Digest Sha256::Finish() noexcept {
  const uint64_t bits = length_ * 8;
  std::array<uint8_t, 72> tail{};
  tail[0] = 0x80;
  // Pads to 56 bytes past a block's start, then the length in bits, big-endian.
  const size_t padding = (blockUsed_ < 56 ? 56 : 120) - blockUsed_;
  for (int i = 0; i < 8; ++i) tail[padding + i] = static_cast<uint8_t>(bits >> (56 - 8 * i));
  Add(std::span<const uint8_t>(tail.data(), padding + 8));
  Sha256Digest digest;
  for (size_t i = 0; i < state_.size(); ++i) {
    for (int byte = 0; byte < 4; ++byte) digest[4 * i + byte] = static_cast<uint8_t>(state_[i] >> (24 - 8 * byte));
  }
  return digest;
}

Sha256Digest Sha256Of(std::span<const uint8_t> bytes) noexcept {
  Sha256 hash;
  hash.Add(bytes);
  return hash.Finish();
}

}  // namespace fernwick
