#pragma once
// Tokens of a stored form description. Strings join their adjacent parts ('it''s'#13#10'x') into
// one UTF-8 token; numbers carry their sign; binary data {0A0B} is one token.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace fw {

enum class TTokenKind { End, Ident, Integer, Float, String, Binary, Symbol };

struct TToken {
  TTokenKind kind = TTokenKind::End;
  int line = 1;
  std::string text;  // identifier, string value, or the symbol itself
  std::int64_t integer = 0;
  bool hex = false;
  double real = 0;
  std::vector<std::uint8_t> bytes;
};

class TFormLexer {
 public:
  // The largest description read; a larger one is refused before it is looked at.
  static constexpr std::size_t kMaxText = 4 * 1024 * 1024;

  TFormLexer(std::string_view text, std::string label);

  const TToken& Peek() const { return current_; }
  TToken Next();
  [[noreturn]] void Fail(int line, const std::string& what) const;
  const std::string& Label() const { return label_; }

 private:
  TToken Scan();
  void SkipBlanks();
  TToken ScanNumber();
  TToken ScanString();
  TToken ScanBinary();
  char32_t ScanCharCode();

  std::string_view text_;
  std::string label_;
  std::size_t pos_ = 0;
  int line_ = 1;
  TToken current_;
};

// True when text is well-formed UTF-8 (no overlong forms, surrogates or values past U+10FFFF).
bool IsValidUtf8(std::string_view text);

}  // namespace fw
