#pragma once
// The packed skin: "ASzf", an entry count, then per entry a name, the unpacked size and one zlib
// stream. No compressed sizes are stored, so every stream is inflated to its end and the next
// entry starts at the first byte after it.
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "framework/exceptions.h"
#include "framework/streams.h"

namespace velmora {

inline constexpr char kSkinArchiveMagic[4] = {'A', 'S', 'z', 'f'};
inline constexpr const char* kSkinOptionsName = "Options.dat";
// Limits on what an archive may ask of us; a skin's pieces are far smaller.
inline constexpr std::int64_t kMaxSkinEntrySize = std::int64_t{64} << 20;
inline constexpr std::int64_t kMaxSkinUnpackedTotal = std::int64_t{256} << 20;
inline constexpr std::int64_t kMaxSkinArchiveSize = std::int64_t{64} << 20;
inline constexpr std::int32_t kMaxSkinEntryName = 255;

namespace msg {
inline constexpr const char* kNotPackedSkin = "Loaded data is not a packed Corvalin file";
inline constexpr const char* kDirectoryMissing = "Directory does not exists.";
inline constexpr const char* kSkinMissing = "Skin does not exists.";
std::string DirectoryCreationError(const std::string& dir);
}  // namespace msg

// Any archive that cannot be read; the message names the entry and the fault.
class ESkinArchiveError : public fw::EStreamError {
 public:
  using fw::EStreamError::EStreamError;
};

struct TacImageItem {
  std::string FileName;
  bool IsBitmap = false;
  std::unique_ptr<fw::TMemoryStream> FileStream;
};

// What the archive said of one entry, for listings.
struct TacEntryInfo {
  std::string Name;
  std::int64_t Unpacked = 0;
  std::int64_t Packed = 0;
};

class TacSkinConvertor {
 public:
  TacSkinConvertor() = default;
  TacSkinConvertor(const TacSkinConvertor&) = delete;
  TacSkinConvertor& operator=(const TacSkinConvertor&) = delete;
  ~TacSkinConvertor() { Clear(); }

  int ImageCount = 0;
  std::vector<TacImageItem> Files;
  std::unique_ptr<fw::TMemoryStream> Options;
  // Every entry in archive order, the description included.
  std::vector<TacEntryInfo> Entries;
  // The stream being read; owned by the convertor only when it loaded it itself.
  fw::TStream* PackedData = nullptr;

  void SetPackedData(fw::TStream* borrowed);
  void SetOwnedPackedData(std::unique_ptr<fw::TMemoryStream> data);
  void FreePackedData();

  // Items last to first, then the description, then the packed data.
  void Clear();
  // Reads PackedData from its start. Wrong magic raises kNotPackedSkin; bad entries raise
  // ESkinArchiveError, a short stream the framework's read error.
  void Unpack();

  // The first item whose upper-cased name equals name.
  const TacImageItem* FindUpperCase(std::string_view name) const;

 private:
  std::unique_ptr<fw::TMemoryStream> ownedPacked_;
};

// Unpacks a built-in skin's archive, leaving the stream with its owner. On wrong magic the
// convertor is freed and the reference becomes null before the error propagates.
void UnpackFromMemory(std::unique_ptr<TacSkinConvertor>& convertor, fw::TStream& data);
// Nothing happens when the file is missing; otherwise the file is loaded, unpacked and, with
// dropPacked, its copy freed again.
void UnpackFromFile(const std::string& path, std::unique_ptr<TacSkinConvertor>& convertor, bool dropPacked);

// Writes data unchanged to "<dir>/<skinName> extracted.asz"; null data means no such skin.
void ExtractPackedSkin(const fw::TCustomMemoryStream* data, const std::string& skinName, const std::string& dir);

// Builds an archive, entries in the order given, each at the given zlib level. Used by the
// packing tool and the tests; the program only reads archives.
struct TacPackEntry {
  std::string Name;
  std::vector<std::uint8_t> Data;
};
std::vector<std::uint8_t> PackSkinArchive(std::span<const TacPackEntry> entries, int level = -1);

// A name an archive may carry: not empty, no path separator, no "..", no control bytes.
bool IsSafeEntryName(std::string_view name);

}  // namespace velmora
