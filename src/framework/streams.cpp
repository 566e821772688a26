#include "framework/streams.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <new>

#include "framework/exceptions.h"

namespace fw {

const TMetaClass& TStream::StaticClass() {
  static const TMetaClass meta("TStream", &TObject::StaticClass(), nullptr);
  return meta;
}
const TMetaClass& TCustomMemoryStream::StaticClass() {
  static const TMetaClass meta("TCustomMemoryStream", &TStream::StaticClass(), nullptr);
  return meta;
}
const TMetaClass& TMemoryStream::StaticClass() {
  static const TMetaClass meta("TMemoryStream", &TCustomMemoryStream::StaticClass(), FactoryFor<TMemoryStream>());
  return meta;
}
const TMetaClass& TBytesStream::StaticClass() {
  static const TMetaClass meta("TBytesStream", &TMemoryStream::StaticClass(), nullptr);
  return meta;
}

// ---- TStream -----------------------------------------------------------------------------

void TStream::ReadBuffer(void* buffer, std::int64_t count) {
  if (count < 0 || (count != 0 && Read(buffer, count) != count)) throw EReadError(msg::kReadError);
}

void TStream::WriteBuffer(const void* buffer, std::int64_t count) {
  if (count < 0 || (count != 0 && Write(buffer, count) != count)) throw EWriteError(msg::kWriteError);
}

std::vector<std::uint8_t> TStream::ReadRemaining() {
  const std::int64_t rest = Size() - Position();
  if (rest <= 0) return {};
  if (rest > TMemoryStream::kMaxSize) throw EOutOfMemory(msg::kOutOfMemory);
  std::vector<std::uint8_t> bytes(static_cast<std::size_t>(rest));
  ReadBuffer(bytes.data(), rest);
  return bytes;
}

std::int64_t TStream::Size() {
  const std::int64_t here = Seek(0, soCurrent);
  const std::int64_t end = Seek(0, soEnd);
  Seek(here, soBeginning);
  return end;
}

void TStream::SetSize(std::int64_t) { throw EStreamError("This stream cannot change its size"); }

std::int64_t TStream::CopyFrom(TStream& source, std::int64_t count) {
  if (count < 0) throw EReadError(msg::kReadError);
  if (count == 0) {
    source.SetPosition(0);
    count = source.Size();
  }
  std::vector<std::uint8_t> buffer(static_cast<std::size_t>(std::min<std::int64_t>(count, 64 * 1024)));
  for (std::int64_t left = count; left > 0;) {
    const std::int64_t n = std::min<std::int64_t>(left, static_cast<std::int64_t>(buffer.size()));
    source.ReadBuffer(buffer.data(), n);
    WriteBuffer(buffer.data(), n);
    left -= n;
  }
  return count;
}

// ---- memory ------------------------------------------------------------------------------

void TCustomMemoryStream::SetPointer(const std::uint8_t* memory, std::int64_t size) {
  memory_ = memory;
  size_ = size;
}

std::int64_t TCustomMemoryStream::Read(void* buffer, std::int64_t count) {
  if (count <= 0 || position_ >= size_) return 0;
  const std::int64_t n = std::min(count, size_ - position_);
  std::memcpy(buffer, memory_ + position_, static_cast<std::size_t>(n));
  position_ += n;
  return n;
}

std::int64_t TCustomMemoryStream::Seek(std::int64_t offset, TSeekOrigin origin) {
  const std::int64_t base = origin == soBeginning ? 0 : origin == soCurrent ? position_ : size_;
  // Past the end is allowed (a write there grows the stream, up to kMaxSize); before the start
  // is not.
  constexpr std::int64_t kFar = std::numeric_limits<std::int64_t>::max() / 2;
  position_ = std::clamp<std::int64_t>(base + std::clamp<std::int64_t>(offset, -kFar, kFar), 0, kFar);
  return position_;
}

void TCustomMemoryStream::SaveToStream(TStream& stream) const { stream.WriteBuffer(memory_, size_); }

void TCustomMemoryStream::SaveToFile(const std::string& path) const {
  TFileStream file(path, fmCreate);
  SaveToStream(file);
}

void TMemoryStream::Resize(std::int64_t size) {
  if (size < 0 || size > kMaxSize) throw EOutOfMemory(msg::kOutOfMemory);
  try {
    data_.resize(static_cast<std::size_t>(size));
  } catch (const std::bad_alloc&) {
    throw EOutOfMemory(msg::kOutOfMemory);
  }
  SetPointer(data_.data(), size);
}

std::int64_t TMemoryStream::Write(const void* buffer, std::int64_t count) {
  if (count <= 0) return 0;
  if (count > kMaxSize || position_ > kMaxSize - count) throw EOutOfMemory(msg::kOutOfMemory);
  const std::int64_t end = position_ + count;
  if (end > Size()) Resize(end);
  std::memcpy(data_.data() + position_, buffer, static_cast<std::size_t>(count));
  position_ = end;
  return count;
}

void TMemoryStream::SetSize(std::int64_t size) {
  Resize(size);
  if (position_ > size) position_ = size;
}

void TMemoryStream::Clear() {
  data_.clear();
  data_.shrink_to_fit();
  SetPointer(nullptr, 0);
  position_ = 0;
}

void TMemoryStream::LoadFromStream(TStream& stream) {
  stream.SetPosition(0);
  const std::int64_t size = stream.Size();
  Resize(size);
  if (size > 0) stream.ReadBuffer(data_.data(), size);
  position_ = 0;
}

void TMemoryStream::LoadFromFile(const std::string& path) {
  TFileStream file(path, fmOpenRead | fmShareDenyWrite);
  LoadFromStream(file);
}

TBytesStream::TBytesStream(std::span<const std::uint8_t> bytes) {
  WriteBuffer(bytes);
  position_ = 0;
}

TBytesStream::TBytesStream(std::string_view text)
    : TBytesStream(std::span<const std::uint8_t>(reinterpret_cast<const std::uint8_t*>(text.data()), text.size())) {}

std::string TBytesStream::DataString() const {
  const auto bytes = Bytes();
  return std::string(reinterpret_cast<const char*>(bytes.data()), bytes.size());
}

}  // namespace fw
