#include "imaging/jpeg_library.h"

#include <cstdlib>

namespace fernwick {

namespace {

[[noreturn]] void JumpBack(j_common_ptr info) { std::longjmp(reinterpret_cast<JpegErrorTrap*>(info->err)->jump, 1); }

void Silent(j_common_ptr) {}

}  // namespace

JpegErrorTrap::JpegErrorTrap() {
  jpeg_std_error(&manager);
  manager.error_exit = JumpBack;
  manager.output_message = Silent;
}

JpegReader::JpegReader() {
  info_.err = &trap_.manager;
  if (setjmp(trap_.jump)) return;  // only when out of memory
  jpeg_create_decompress(&info_);
  created_ = true;
}

JpegReader::~JpegReader() {
  if (created_) jpeg_destroy_decompress(&info_);
}

bool JpegReader::ReadHeader(std::span<const uint8_t> jpeg) {
  if (!created_ || jpeg.empty()) return false;
  if (setjmp(trap_.jump)) return false;
  jpeg_mem_src(&info_, jpeg.data(), static_cast<unsigned long>(jpeg.size()));
  return jpeg_read_header(&info_, TRUE) == JPEG_HEADER_OK;
}

JpegWriter::JpegWriter() {
  info_.err = &trap_.manager;
  if (setjmp(trap_.jump)) return;
  jpeg_create_compress(&info_);
  created_ = true;
}

JpegWriter::~JpegWriter() {
  if (created_) jpeg_destroy_compress(&info_);
  std::free(buffer_);
}

bool JpegWriter::WriteToMemory() {
  if (!created_) return false;
  if (setjmp(trap_.jump)) return false;
  jpeg_mem_dest(&info_, &buffer_, &size_);
  return true;
}

std::vector<uint8_t> JpegWriter::Bytes() const {
  if (buffer_ == nullptr) return {};
  return std::vector<uint8_t>(buffer_, buffer_ + size_);
}

}  // namespace fernwick
