#pragma once
// Bounds-checked little-endian writer for the bank images. Every image lives in a buffer of a fixed
// capacity; a write that would pass it ends the compile instead of running past the buffer.

#include <cstddef>
#include <cstdint>
#include <vector>

#include <QString>

#include "core/compiler_error.h"

namespace core::bank {

class ByteWriter {
 public:
  ByteWriter(std::vector<uint8_t>& buffer, std::size_t capacity, QString imageName)
      : buf_(buffer), capacity_(capacity), name_(std::move(imageName)) {
    buf_.clear();
  }

  std::size_t Pos() const { return buf_.size(); }

  void U8(uint32_t v) {
    Need(1);
    buf_.push_back(static_cast<uint8_t>(v));
  }
  void U16(uint32_t v) {
    Need(2);
    buf_.push_back(static_cast<uint8_t>(v));
    buf_.push_back(static_cast<uint8_t>(v >> 8));
  }
  void U32(uint32_t v) {
    Need(4);
    for (int i = 0; i < 4; ++i) buf_.push_back(static_cast<uint8_t>(v >> (8 * i)));
  }
  // Most significant byte first (the M-Bus node address).
  void BE32(uint32_t v) {
    Need(4);
    for (int i = 3; i >= 0; --i) buf_.push_back(static_cast<uint8_t>(v >> (8 * i)));
  }
  void Bytes(const uint8_t* data, std::size_t n) {
    Need(n);
    buf_.insert(buf_.end(), data, data + n);
  }
  void Zeros(std::size_t n) {
    Need(n);
    buf_.insert(buf_.end(), n, 0);
  }
  // Rewrites a 32-bit word already written (the offset words known only later).
  void PatchU32(std::size_t at, uint32_t v) {
    if (at > buf_.size() || buf_.size() - at < 4) throw std::logic_error("ByteWriter::PatchU32 outside the image");
    for (int i = 0; i < 4; ++i) buf_[at + i] = static_cast<uint8_t>(v >> (8 * i));
  }

 private:
  void Need(std::size_t n) {
    if (n > capacity_ - buf_.size())
      throw ECompileError(QStringLiteral("The image %1 would be larger than %2 bytes.").arg(name_).arg(capacity_));
  }

  std::vector<uint8_t>& buf_;
  std::size_t capacity_;
  QString name_;
};

}  // namespace core::bank
