#include "imaging/jpeg_library.h"

#include <new>
#include <utility>

#include <jerror.h>

#include "imaging/core/jpeg_segments.h"

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
  JpegMemoryLinked();
  info_.err = &trap_.manager;
  if (setjmp(trap_.jump)) return;  // only when out of memory
  jpeg_create_decompress(&info_);
  progress_.progress_monitor = StopPastMostScans;
  info_.progress = &progress_;
  created_ = true;
}

// libjpeg-turbo's own advice against crafted progressive files: a progress monitor that ends
// the decode once the scans read pass a bound.
void JpegReader::StopPastMostScans(j_common_ptr info) {
  if (!info->is_decompressor) return;
  const int scans = reinterpret_cast<j_decompress_ptr>(info)->input_scan_number;
  if (scans > static_cast<int>(kMostJpegScans)) info->err->error_exit(info);
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
  JpegMemoryLinked();
  info_.err = &trap_.manager;
  if (setjmp(trap_.jump)) return;
  jpeg_create_compress(&info_);
  created_ = true;
}

JpegWriter::~JpegWriter() {
  if (created_) jpeg_destroy_compress(&info_);
}

bool JpegWriter::WriteToMemory() {
  if (!created_) return false;
  destination_.init_destination = StartOutput;
  destination_.empty_output_buffer = GrowOutput;
  destination_.term_destination = EndOutput;
  info_.dest = &destination_;
  info_.client_data = this;
  return true;
}

void JpegWriter::StartOutput(j_compress_ptr info) {
  auto* self = static_cast<JpegWriter*>(info->client_data);
  self->finished_ = false;
  self->bytes_.clear();
  GrowOutput(info);
}

// Called when the room given is full (all of it, as libjpeg requires before asking for more).
// Nothing with a destructor is alive when the error jumps out of here.
boolean JpegWriter::GrowOutput(j_compress_ptr info) {
  auto* self = static_cast<JpegWriter*>(info->client_data);
  const size_t used = self->bytes_.size();
  bool grown = false;
  try {
    self->bytes_.resize(used < 4096 ? 4096 : used * 2);
    grown = true;
  } catch (const std::bad_alloc&) {
  }
  if (!grown) {
    info->err->msg_code = JERR_OUT_OF_MEMORY;
    info->err->error_exit(reinterpret_cast<j_common_ptr>(info));
  }
  self->destination_.next_output_byte = self->bytes_.data() + used;
  self->destination_.free_in_buffer = self->bytes_.size() - used;
  return TRUE;
}

void JpegWriter::EndOutput(j_compress_ptr info) {
  auto* self = static_cast<JpegWriter*>(info->client_data);
  self->bytes_.resize(self->bytes_.size() - self->destination_.free_in_buffer);
  self->finished_ = true;
}

std::vector<uint8_t> JpegWriter::TakeBytes() {
  if (!finished_) return {};
  finished_ = false;
  return std::move(bytes_);
}

}  // namespace fernwick
