#include "skin/acSkinPack.h"

#include <zlib.h>

#include <algorithm>
#include <cstring>
#include <filesystem>

#include "framework/sysutils.h"
#include "platform/base/bytes.h"

namespace velmora {

std::string msg::DirectoryCreationError(const std::string& dir) { return "Directory " + dir + " creation error."; }

namespace {

constexpr std::size_t kInflateChunk = 0x20000;
constexpr std::size_t kOutputChunk = 0x10000;
// Length field, empty name, size field and the smallest zlib stream (header, empty final
// block, Adler-32): what one entry takes at least.
constexpr std::int64_t kMinEntryBytes = 4 + 4 + 8;

[[noreturn]] void Fail(const std::string& entry, const std::string& what) {
  throw ESkinArchiveError("Packed skin entry " + fw::DoubleQuoted(entry) + ": " + what);
}

std::int32_t ReadInt32(fw::TStream& s) {
  std::uint8_t b[4];
  s.ReadBuffer(b, 4);
  return static_cast<std::int32_t>(plat::ReadLe32(b));
}

void PutInt32(std::vector<std::uint8_t>& out, std::int32_t v) {
  const auto u = static_cast<std::uint32_t>(v);
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(u >> (8 * i)));
}

// Inflates one zlib stream from the source's position, reading ahead in chunks and giving the
// unused read-ahead back, so that the source rests on the first byte after the stream.
class TacInflater {
 public:
  explicit TacInflater(fw::TStream& source) : source_(source), position_(source.Position()) {
    if (inflateInit(&z_) != Z_OK) throw ESkinArchiveError("zlib cannot start an inflater");
  }
  ~TacInflater() { inflateEnd(&z_); }
  TacInflater(const TacInflater&) = delete;
  TacInflater& operator=(const TacInflater&) = delete;

  // Exactly size bytes into out; the stream must end there.
  void InflateTo(fw::TMemoryStream& out, std::int64_t size, const std::string& name) {
    std::vector<std::uint8_t> buffer(static_cast<std::size_t>(std::min<std::int64_t>(size, kOutputChunk)) + 1);
    std::int64_t produced = 0;
    bool ended = false;
    while (!ended) {
      if (z_.avail_in == 0 && !Refill()) Fail(name, "the compressed data ends early");
      z_.next_out = buffer.data();
      z_.avail_out = static_cast<uInt>(buffer.size());
      const int rc = inflate(&z_, Z_NO_FLUSH);
      if (rc != Z_OK && rc != Z_STREAM_END && rc != Z_BUF_ERROR)
        Fail(name, std::string("corrupt compressed data (") + (z_.msg ? z_.msg : zError(rc)) + ")");
      const std::int64_t got = static_cast<std::int64_t>(buffer.size() - z_.avail_out);
      if (produced + got > size) Fail(name, "inflates past its size of " + fw::IntToStr(size) + " bytes");
      out.WriteBuffer(buffer.data(), got);
      produced += got;
      ended = rc == Z_STREAM_END;
    }
    if (produced < size) throw fw::EReadError(fw::msg::kReadError);
    // Hand back what was read past the stream's trailer.
    position_ -= z_.avail_in;
    source_.SetPosition(position_);
  }

 private:
  bool Refill() {
    if (source_.Position() != position_) source_.SetPosition(position_);
    const std::int64_t n = source_.Read(chunk_.data(), static_cast<std::int64_t>(chunk_.size()));
    if (n <= 0) return false;
    position_ += n;
    z_.next_in = chunk_.data();
    z_.avail_in = static_cast<uInt>(n);
    return true;
  }

  fw::TStream& source_;
  std::int64_t position_;
  z_stream z_{};
  std::vector<std::uint8_t> chunk_ = std::vector<std::uint8_t>(kInflateChunk);
};

}  // namespace

bool IsSafeEntryName(std::string_view name) {
  if (name.empty() || name == "." || name.find("..") != std::string_view::npos) return false;
  return std::none_of(name.begin(), name.end(), [](char c) {
    return c == '/' || c == '\\' || c == ':' || static_cast<unsigned char>(c) < 0x20;
  });
}

void TacSkinConvertor::SetPackedData(fw::TStream* borrowed) {
  ownedPacked_.reset();
  PackedData = borrowed;
}

void TacSkinConvertor::SetOwnedPackedData(std::unique_ptr<fw::TMemoryStream> data) {
  ownedPacked_ = std::move(data);
  PackedData = ownedPacked_.get();
}

void TacSkinConvertor::FreePackedData() {
  ownedPacked_.reset();
  PackedData = nullptr;
}

void TacSkinConvertor::Clear() {
  while (!Files.empty()) Files.pop_back();
  Options.reset();
  Entries.clear();
  FreePackedData();
  ImageCount = 0;
}

const TacImageItem* TacSkinConvertor::FindUpperCase(std::string_view name) const {
  for (const TacImageItem& item : Files)
    if (fw::UpperCase(item.FileName) == name) return &item;
  return nullptr;
}

void TacSkinConvertor::Unpack() {
  if (!PackedData) throw ESkinArchiveError("No packed skin data to unpack");
  fw::TStream& data = *PackedData;
  data.SetPosition(0);
  char magic[4] = {};
  if (data.Read(magic, 4) != 4 || std::memcmp(magic, kSkinArchiveMagic, 4) != 0)
    throw fw::Exception(msg::kNotPackedSkin);
  const std::int32_t count = ReadInt32(data);
  const std::int64_t room = data.Size() - data.Position();
  if (count < 0 || count > room / kMinEntryBytes)
    throw ESkinArchiveError("Packed skin declares " + fw::IntToStr(count) + " entries, more than its " +
                            fw::IntToStr(room) + " bytes can hold");
  ImageCount = count - 1;
  std::int64_t total = 0;
  for (std::int32_t i = 0; i < count; ++i) {
    const std::int32_t length = ReadInt32(data);
    if (length < 0 || length > kMaxSkinEntryName || length > data.Size() - data.Position())
      throw ESkinArchiveError("Packed skin entry " + fw::IntToStr(i) + " has a name length of " + fw::IntToStr(length));
    std::string name(static_cast<std::size_t>(length), '\0');
    data.ReadBuffer(name.data(), length);
    if (!IsSafeEntryName(name)) Fail(name, "the name is not a plain file name");
    const std::int32_t size = ReadInt32(data);
    if (size < 0 || size > kMaxSkinEntrySize)
      Fail(name, "declares " + fw::IntToStr(size) + " bytes, beyond the limit of " + fw::IntToStr(kMaxSkinEntrySize));
    total += size;
    if (total > kMaxSkinUnpackedTotal) Fail(name, "the archive unpacks to more than " + fw::IntToStr(kMaxSkinUnpackedTotal) + " bytes");
    auto stream = std::make_unique<fw::TMemoryStream>();
    const std::int64_t start = data.Position();
    TacInflater(data).InflateTo(*stream, size, name);
    Entries.push_back({name, size, data.Position() - start});
    stream->SetPosition(0);
    if (fw::SameText(name, kSkinOptionsName)) {
      Options = std::move(stream);
    } else {
      const std::size_t dot = name.rfind('.');
      const bool bmp = dot != std::string::npos && fw::SameText(std::string_view(name).substr(dot), ".BMP");
      Files.push_back({std::move(name), bmp, std::move(stream)});
    }
  }
}

void UnpackFromMemory(std::unique_ptr<TacSkinConvertor>& convertor, fw::TStream& data) {
  if (convertor) convertor->Clear();
  else convertor = std::make_unique<TacSkinConvertor>();
  convertor->SetPackedData(&data);
  try {
    convertor->Unpack();
  } catch (...) {
    // The stream belongs to the built-in skin: never let Clear free it.
    convertor->SetPackedData(nullptr);
    convertor.reset();
    throw;
  }
  convertor->SetPackedData(nullptr);
}

void UnpackFromFile(const std::string& path, std::unique_ptr<TacSkinConvertor>& convertor, bool dropPacked) {
  std::error_code ec;
  if (!std::filesystem::is_regular_file(path, ec)) return;
  const auto bytes = std::filesystem::file_size(path, ec);
  if (ec) throw ESkinArchiveError("Cannot read " + path + ": " + ec.message());
  if (bytes > static_cast<std::uintmax_t>(kMaxSkinArchiveSize))
    throw ESkinArchiveError("Packed skin " + path + " is larger than " + fw::IntToStr(kMaxSkinArchiveSize) + " bytes");
  if (convertor) convertor->Clear();
  else convertor = std::make_unique<TacSkinConvertor>();
  auto stream = std::make_unique<fw::TMemoryStream>();
  stream->LoadFromFile(path);
  convertor->SetOwnedPackedData(std::move(stream));
  try {
    convertor->Unpack();
  } catch (...) {
    convertor.reset();
    throw;
  }
  if (dropPacked) convertor->FreePackedData();
}

void ExtractPackedSkin(const fw::TCustomMemoryStream* data, const std::string& skinName, const std::string& dir) {
  if (dir.empty()) throw fw::Exception(msg::kDirectoryMissing);
  if (!data) throw fw::Exception(msg::kSkinMissing);
  std::error_code ec;
  if (!std::filesystem::is_directory(dir, ec)) {
    std::filesystem::create_directories(dir, ec);
    if (ec || !std::filesystem::is_directory(dir)) throw fw::Exception(msg::DirectoryCreationError(dir));
  }
  std::string path = dir;
  if (path.back() != '/') path += '/';
  data->SaveToFile(path + skinName + " extracted.asz");
}

std::vector<std::uint8_t> PackSkinArchive(std::span<const TacPackEntry> entries, int level) {
  std::vector<std::uint8_t> out(kSkinArchiveMagic, kSkinArchiveMagic + 4);
  PutInt32(out, static_cast<std::int32_t>(entries.size()));
  for (const TacPackEntry& e : entries) {
    if (!IsSafeEntryName(e.Name) || e.Name.size() > kMaxSkinEntryName) Fail(e.Name, "the name is not a plain file name");
    if (static_cast<std::int64_t>(e.Data.size()) > kMaxSkinEntrySize) Fail(e.Name, "too large to pack");
    PutInt32(out, static_cast<std::int32_t>(e.Name.size()));
    out.insert(out.end(), e.Name.begin(), e.Name.end());
    PutInt32(out, static_cast<std::int32_t>(e.Data.size()));
    uLongf packed = compressBound(static_cast<uLong>(e.Data.size()));
    std::vector<std::uint8_t> buffer(packed);
    if (compress2(buffer.data(), &packed, e.Data.data(), static_cast<uLong>(e.Data.size()), level) != Z_OK)
      Fail(e.Name, "zlib cannot compress it");
    out.insert(out.end(), buffer.begin(), buffer.begin() + static_cast<std::ptrdiff_t>(packed));
  }
  return out;
}

}  // namespace velmora
