#pragma once
// The skin description as an in-memory INI: sections and keys compare case-sensitively and are
// visited in file order. A section that appears twice is one section with the keys of both; a
// key that appears twice keeps its first value.
#include <cstddef>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace velmora {

class TacIniFile {
 public:
  struct Key {
    std::string Name;
    std::string Value;
  };
  struct Section {
    std::string Name;
    std::vector<Key> Keys;
    const std::string* Find(std::string_view key) const;

   private:
    friend class TacIniFile;
    std::unordered_map<std::string, std::size_t> index_;
  };

  TacIniFile() = default;
  explicit TacIniFile(std::string_view text) { SetText(text); }
  TacIniFile(const TacIniFile&) = delete;
  TacIniFile& operator=(const TacIniFile&) = delete;

  // Lines end in CR, LF or both; blank lines and lines starting with ';' are skipped, as are
  // lines before the first section and lines without '='. Names and values are trimmed.
  void SetText(std::string_view text);
  // Further lines merged in (sections already present gain their keys).
  void AddText(std::string_view text);

  const std::vector<Section>& Sections() const { return sections_; }
  const Section* FindSection(std::string_view name) const;
  int SectionIndex(std::string_view name) const;

  // nullptr when the section or the key is missing.
  const std::string* Value(std::string_view section, std::string_view key) const;
  std::string ReadString(std::string_view section, std::string_view key, std::string_view fallback) const;
  // Missing or unparsable: fallback.
  int ReadInteger(std::string_view section, std::string_view key, int fallback) const;
  // "1" or "TRUE" in any case; a missing key reads fallback.
  bool ReadBool(std::string_view section, std::string_view key, bool fallback) const;
  // With '.' as the decimal separator, whatever the locale.
  double ReadFloat(std::string_view section, std::string_view key, double fallback) const;

 private:
  std::vector<Section> sections_;
  std::unordered_map<std::string, std::size_t> index_;
};

// Text helpers that follow the same rules as the readers above.
bool IniTrueText(std::string_view value);
bool TryParseIniInt(std::string_view text, int& value);
bool TryParseIniFloat(std::string_view text, double& value);

}  // namespace velmora
