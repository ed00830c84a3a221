#pragma once
// Owners of libjpeg's decompression and compression objects, working on bytes in memory.
//
// libjpeg reports a fatal error by calling error_exit, which must not return. Ours jumps back
// (longjmp) to the setjmp of the member function that made the call; C++ exceptions cannot be
// thrown through libjpeg's C frames. So every member that calls into libjpeg sets its own jump
// point first and keeps no local object with a destructor: a jump would skip it. Warnings are
// not printed (the program has no console).
//
// The writer's output goes into a vector it owns, through a destination manager of its own:
// libjpeg's jpeg_mem_dest frees and replaces its block as the output grows and reports the new
// one only when the file is finished, so an error after the first growth left the owner holding
// a block already freed.
#include <csetjmp>
#include <cstdint>
#include <cstdio>
#include <span>
#include <vector>

#include <jpeglib.h>

namespace fernwick {

// Does nothing: calling it keeps the program's own libjpeg memory layer (jpeg_memory.cpp) in
// the link, ahead of the library's.
void JpegMemoryLinked() noexcept;

struct JpegErrorTrap {
  jpeg_error_mgr manager{};
  std::jmp_buf jump{};
  JpegErrorTrap();
};

// libjpeg keeps pointers into these objects, so they are neither copied nor moved.
class JpegReader {
 public:
  JpegReader();
  ~JpegReader();
  JpegReader(const JpegReader&) = delete;
  JpegReader& operator=(const JpegReader&) = delete;

  // Reads the header of the JPEG; `jpeg` must outlive the reader. False on any error.
  bool ReadHeader(std::span<const uint8_t> jpeg);
  jpeg_decompress_struct& info() noexcept { return info_; }
  std::jmp_buf& jump() noexcept { return trap_.jump; }

 private:
  // Fails the decode once it reads more than kMostJpegScans scans.
  static void StopPastMostScans(j_common_ptr info);

  JpegErrorTrap trap_;
  jpeg_progress_mgr progress_{};
  jpeg_decompress_struct info_{};
  bool created_ = false;
};

class JpegWriter {
 public:
  JpegWriter();
  ~JpegWriter();
  JpegWriter(const JpegWriter&) = delete;
  JpegWriter& operator=(const JpegWriter&) = delete;

  // Sends what is compressed into memory; call before starting.
  bool WriteToMemory();
  // The finished file's bytes, taken out of the writer; none before jpeg_finish_compress ended.
  std::vector<uint8_t> TakeBytes();
  jpeg_compress_struct& info() noexcept { return info_; }
  std::jmp_buf& jump() noexcept { return trap_.jump; }

 private:
  static void StartOutput(j_compress_ptr info);
  static boolean GrowOutput(j_compress_ptr info);
  static void EndOutput(j_compress_ptr info);

  JpegErrorTrap trap_;
  jpeg_destination_mgr destination_{};
  std::vector<uint8_t> bytes_;
  bool finished_ = false;
  jpeg_compress_struct info_{};
  bool created_ = false;
};

}  // namespace fernwick
