#pragma once
// Streams of bytes: the abstract TStream with the framework's all-or-nothing ReadBuffer and
// WriteBuffer, streams over memory, files and embedded resources.
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "framework/metaclass.h"
#include "platform/gdi/modules.h"

namespace fw {

enum TSeekOrigin { soBeginning = 0, soCurrent = 1, soEnd = 2 };
inline constexpr TSeekOrigin soFromBeginning = soBeginning;
inline constexpr TSeekOrigin soFromCurrent = soCurrent;
inline constexpr TSeekOrigin soFromEnd = soEnd;

class TStream : public TObject {
  FW_DECLARE_CLASS

 public:
  // Transfer up to count bytes and answer how many moved.
  virtual std::int64_t Read(void* buffer, std::int64_t count) = 0;
  virtual std::int64_t Write(const void* buffer, std::int64_t count) = 0;
  // Answers the new position.
  virtual std::int64_t Seek(std::int64_t offset, TSeekOrigin origin) = 0;

  // EReadError / EWriteError unless exactly count bytes move.
  void ReadBuffer(void* buffer, std::int64_t count);
  void WriteBuffer(const void* buffer, std::int64_t count);
  void WriteBuffer(std::span<const std::uint8_t> bytes) {
    WriteBuffer(bytes.data(), static_cast<std::int64_t>(bytes.size()));
  }
  // The rest of the stream from the position, read all at once.
  std::vector<std::uint8_t> ReadRemaining();

  std::int64_t Position() { return Seek(0, soCurrent); }
  void SetPosition(std::int64_t position) { Seek(position, soBeginning); }
  virtual std::int64_t Size();
  virtual void SetSize(std::int64_t size);

  // Copies count bytes from source's position; count 0 copies the whole of source from its start.
  std::int64_t CopyFrom(TStream& source, std::int64_t count);
};

// A stream over a block of memory that someone else provides.
class TCustomMemoryStream : public TStream {
  FW_DECLARE_CLASS

 public:
  std::int64_t Read(void* buffer, std::int64_t count) override;
  std::int64_t Seek(std::int64_t offset, TSeekOrigin origin) override;
  std::int64_t Size() override { return size_; }
  const std::uint8_t* Memory() const { return memory_; }
  std::span<const std::uint8_t> Bytes() const { return {memory_, static_cast<std::size_t>(size_)}; }

  void SaveToStream(TStream& stream) const;
  void SaveToFile(const std::string& path) const;

 protected:
  void SetPointer(const std::uint8_t* memory, std::int64_t size);
  std::int64_t position_ = 0;

 private:
  const std::uint8_t* memory_ = nullptr;
  std::int64_t size_ = 0;
};

class TMemoryStream : public TCustomMemoryStream {
  FW_DECLARE_CLASS

 public:
  // The largest block a memory stream holds; larger requests raise EOutOfMemory.
  static constexpr std::int64_t kMaxSize = std::int64_t{1} << 31;

  TMemoryStream() = default;
  std::int64_t Write(const void* buffer, std::int64_t count) override;
  void SetSize(std::int64_t size) override;
  using TCustomMemoryStream::Memory;
  std::uint8_t* Memory() { return data_.data(); }
  void Clear();
  void LoadFromStream(TStream& stream);
  void LoadFromFile(const std::string& path);

 private:
  void Resize(std::int64_t size);
  std::vector<std::uint8_t> data_;
};

// Mode: one of fmCreate, fmOpenRead, fmOpenWrite, fmOpenReadWrite, with any share flag (kept
// for the platform's sake; POSIX files are not locked).
inline constexpr unsigned fmOpenRead = 0x0000;
inline constexpr unsigned fmOpenWrite = 0x0001;
inline constexpr unsigned fmOpenReadWrite = 0x0002;
inline constexpr unsigned fmShareCompat = 0x0000;
inline constexpr unsigned fmShareExclusive = 0x0010;
inline constexpr unsigned fmShareDenyWrite = 0x0020;
inline constexpr unsigned fmShareDenyRead = 0x0030;
inline constexpr unsigned fmShareDenyNone = 0x0040;
inline constexpr unsigned fmCreate = 0xFF00;

class TFileStream : public TStream {
  FW_DECLARE_CLASS

 public:
  // EFOpenError or EFCreateError, naming the file and the reason, when it cannot be opened.
  TFileStream(const std::string& path, unsigned mode);
  ~TFileStream() override;

  std::int64_t Read(void* buffer, std::int64_t count) override;
  std::int64_t Write(const void* buffer, std::int64_t count) override;
  std::int64_t Seek(std::int64_t offset, TSeekOrigin origin) override;
  void SetSize(std::int64_t size) override;
  const std::string& FileName() const { return path_; }

 private:
  std::string path_;
  int fd_ = -1;
};

// The program's own module: the one whose resources TResourceStream reads.
inline constexpr plat::HMODULE HInstance = nullptr;

// The bytes of a resource embedded into the program; read-only. A missing resource raises
// EResNotFound.
class TResourceStream : public TCustomMemoryStream {
  FW_DECLARE_CLASS

 public:
  TResourceStream(plat::HMODULE instance, const std::string& name, const char* type);
  std::int64_t Write(const void* buffer, std::int64_t count) override;
};

// A memory stream holding a copy of the given bytes.
class TBytesStream : public TMemoryStream {
  FW_DECLARE_CLASS

 public:
  explicit TBytesStream(std::span<const std::uint8_t> bytes);
  explicit TBytesStream(std::string_view text);
  std::string DataString() const;
};

}  // namespace fw
