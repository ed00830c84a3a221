#pragma once
// SHA-256 (FIPS 180-4), fed piece by piece, so that a photo's bytes read for adding it are
// hashed where they already are. Our own, not the system's CNG: the same code runs under Wine,
// on Windows and in the native tests that hold it to the standard's vectors, and it needs no
// provider handle shared between the adding threads. Where the processor has the SHA
// extensions (x86 since 2016-2019), they do the rounds: about ten times as fast, which keeps
// hashing a photo to a few milliseconds of its add.
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace fernwick {

using Sha256Digest = std::array<uint8_t, 32>;

class Sha256 {
 public:
  // `useExtensions` false: the portable rounds even where the processor has its own (tests).
  explicit Sha256(bool useExtensions = true) noexcept;
  void Add(std::span<const uint8_t> bytes) noexcept;
  Sha256Digest Finish() noexcept;

 private:
  void Compress(const uint8_t* block) noexcept;
  void CompressPortable(const uint8_t* block) noexcept;

  std::array<uint32_t, 8> state_;
  std::array<uint8_t, 64> block_{};
  size_t blockUsed_ = 0;
  uint64_t length_ = 0;
  bool extensions_ = false;
};

Sha256Digest Sha256Of(std::span<const uint8_t> bytes) noexcept;

}  // namespace fernwick
