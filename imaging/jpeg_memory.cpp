// libjpeg's system-dependent memory layer (the functions its jmemsys.h declares), in place of
// the library's own jmemnobs.c, which hands every request to malloc and free.
//
// Why: the library asks for its large blocks afresh for every picture, among them the whole
// copy's coefficients when the encoder optimises its Huffman tables (4.7 MB for a 1024 x 768
// copy at 4:4:4). A block that large comes straight from the system and goes back to it when
// freed, so each copy paid for faulting in and zeroing over a thousand new pages: under Wine
// about as long as the rest of the encoding. Here a few freed large blocks are kept for the next
// picture, up to kKeptBytes in all; the small ones go to malloc as before.
//
// This file replaces jmemnobs.o only if the linker takes it first: JpegMemoryLinked() is called
// by the reader and the writer, so that it is, and a second definition would fail the link.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <vector>

#define JPEG_INTERNALS
#include <jpeglib.h>
extern "C" {
#include <jmemsys.h>
}

#include "imaging/jpeg_library.h"

namespace fernwick {

namespace {

// Blocks below this size are left to malloc, whose heap reuses them without the system.
constexpr size_t kSmallestKept = size_t{256} * 1024;
// What may stay allocated between pictures: a 1024-pixel copy's needs for two adding threads.
constexpr size_t kKeptBytes = size_t{24} * 1024 * 1024;

// Every large block starts with its capacity; the caller's part follows, aligned as malloc's.
struct alignas(std::max_align_t) BlockHeader {
  size_t capacity;
};

class KeptBlocks {
 public:
  void* Get(size_t size) {
    {
      const std::lock_guard<std::mutex> lock(mutex_);
      // The smallest kept block that fits and wastes at most half of itself.
      size_t best = blocks_.size();
      for (size_t i = 0; i < blocks_.size(); ++i) {
        const size_t capacity = blocks_[i]->capacity;
        if (capacity >= size && capacity / 2 <= size &&
            (best == blocks_.size() || capacity < blocks_[best]->capacity)) {
          best = i;
        }
      }
      if (best != blocks_.size()) {
        BlockHeader* block = blocks_[best];
        blocks_.erase(blocks_.begin() + static_cast<std::ptrdiff_t>(best));
        kept_ -= block->capacity;
        return block + 1;
      }
    }
    auto* block = static_cast<BlockHeader*>(std::malloc(sizeof(BlockHeader) + size));
    if (block == nullptr) return nullptr;
    block->capacity = size;
    return block + 1;
  }

  void Put(void* object) noexcept {
    BlockHeader* block = static_cast<BlockHeader*>(object) - 1;
    if (block->capacity >= kSmallestKept) {
      const std::lock_guard<std::mutex> lock(mutex_);
      if (kept_ + block->capacity <= kKeptBytes) {
        try {
          blocks_.push_back(block);
          kept_ += block->capacity;
          return;
        } catch (...) {  // no room to note it: it goes back instead
        }
      }
    }
    std::free(block);
  }

  ~KeptBlocks() {
    for (BlockHeader* block : blocks_) std::free(block);
  }

 private:
  std::mutex mutex_;
  std::vector<BlockHeader*> blocks_;
  size_t kept_ = 0;
};

KeptBlocks& Kept() {
  static KeptBlocks kept;
  return kept;
}

}  // namespace

void JpegMemoryLinked() noexcept {}

}  // namespace fernwick

extern "C" {

GLOBAL(void*) jpeg_get_small(j_common_ptr, size_t sizeofobject) { return std::malloc(sizeofobject); }

GLOBAL(void) jpeg_free_small(j_common_ptr, void* object, size_t) { std::free(object); }

GLOBAL(void*) jpeg_get_large(j_common_ptr, size_t sizeofobject) { return fernwick::Kept().Get(sizeofobject); }

GLOBAL(void) jpeg_free_large(j_common_ptr, void* object, size_t) { fernwick::Kept().Put(object); }

GLOBAL(size_t) jpeg_mem_available(j_common_ptr cinfo, size_t, size_t max_bytes_needed, size_t already_allocated) {
  if (cinfo->mem->max_memory_to_use == 0) return max_bytes_needed;
  const auto most = static_cast<size_t>(cinfo->mem->max_memory_to_use);
  return most > already_allocated ? most - already_allocated : 0;
}

// There is no backing store: a picture that does not fit in memory fails, as with jmemnobs.c.
GLOBAL(void) jpeg_open_backing_store(j_common_ptr cinfo, backing_store_ptr, long) {
  cinfo->err->msg_code = JERR_NO_BACKING_STORE;
  cinfo->err->error_exit(cinfo);
}

GLOBAL(long) jpeg_mem_init(j_common_ptr) { return 0; }

GLOBAL(void) jpeg_mem_term(j_common_ptr) {}

}  // extern "C"
