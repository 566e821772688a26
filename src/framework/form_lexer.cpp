#include "framework/form_lexer.h"

#include <cmath>
#include <cstdlib>
#include <limits>

#include "framework/form_tree.h"
#include "platform/base/utf.h"

namespace fw {

namespace {

bool IsIdentStart(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
int HexValue(char c) {
  if (IsDigit(c)) return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

std::string Shown(char c) {
  std::string shown;
  if (c > ' ' && c < 0x7F) {
    shown = {'\'', c, '\''};
  } else {
    shown = '#';
    shown += std::to_string(static_cast<unsigned char>(c));
  }
  return shown;
}

}  // namespace

std::string DescriptionMessage(const std::string& label, int line, const std::string& what) {
  return label + ": line " + std::to_string(line) + ": " + what;
}

const char* DescribeValue(TValueKind kind) {
  switch (kind) {
    case TValueKind::Integer: return "an integer";
    case TValueKind::Float: return "a number";
    case TValueKind::String: return "a string";
    case TValueKind::Ident: return "an identifier";
    case TValueKind::Set: return "a set";
    case TValueKind::List: return "a list";
    case TValueKind::Collection: return "a collection";
    case TValueKind::Binary: return "binary data";
  }
  return "a value";
}

bool IsValidUtf8(std::string_view s) {
  std::size_t i = 0;
  while (i < s.size()) {
    const auto c = static_cast<unsigned char>(s[i]);
    std::size_t n;
    char32_t v;
    if (c < 0x80) {
      ++i;
      continue;
    } else if (c >= 0xC2 && c <= 0xDF) {
      n = 1, v = c & 0x1F;
    } else if (c >= 0xE0 && c <= 0xEF) {
      n = 2, v = c & 0x0F;
    } else if (c >= 0xF0 && c <= 0xF4) {
      n = 3, v = c & 0x07;
    } else {
      return false;
    }
    if (s.size() - i <= n) return false;
    for (std::size_t k = 1; k <= n; ++k) {
      const auto t = static_cast<unsigned char>(s[i + k]);
      if ((t & 0xC0) != 0x80) return false;
      v = (v << 6) | (t & 0x3F);
    }
    if ((n == 2 && v < 0x800) || (n == 3 && (v < 0x10000 || v > 0x10FFFF)) || (v >= 0xD800 && v <= 0xDFFF))
      return false;
    i += n + 1;
  }
  return true;
}

TFormLexer::TFormLexer(std::string_view text, std::string label) : text_(text), label_(std::move(label)) {
  if (text.size() > kMaxText) Fail(1, "the description is larger than " + std::to_string(kMaxText / (1024 * 1024)) + " MiB");
  if (text_.substr(0, 3) == "\xEF\xBB\xBF") pos_ = 3;
  current_ = Scan();
}

void TFormLexer::Fail(int line, const std::string& what) const {
  throw EDescriptionError(DescriptionMessage(label_, line, what));
}

TToken TFormLexer::Next() {
  TToken t = std::move(current_);
  if (t.kind != TTokenKind::End) current_ = Scan();
  else current_ = t;
  return t;
}

void TFormLexer::SkipBlanks() {
  while (pos_ < text_.size()) {
    const char c = text_[pos_];
    if (c == '\n') ++line_;
    else if (c != ' ' && c != '\t' && c != '\r' && c != '\f' && c != '\v') break;
    ++pos_;
  }
}

TToken TFormLexer::Scan() {
  SkipBlanks();
  TToken t;
  t.line = line_;
  if (pos_ >= text_.size()) return t;
  const char c = text_[pos_];
  if (IsIdentStart(c)) {
    const std::size_t from = pos_;
    while (pos_ < text_.size() && (IsIdentStart(text_[pos_]) || IsDigit(text_[pos_]))) ++pos_;
    t.kind = TTokenKind::Ident;
    t.text = std::string(text_.substr(from, pos_ - from));
    return t;
  }
  if (IsDigit(c) || c == '$' || (c == '-' && pos_ + 1 < text_.size() && (IsDigit(text_[pos_ + 1]) || text_[pos_ + 1] == '$')))
    return ScanNumber();
  if (c == '\'' || c == '#') return ScanString();
  if (c == '{') return ScanBinary();
  static constexpr std::string_view kSymbols = "=:.,[]()<>+";
  if (kSymbols.find(c) != std::string_view::npos) {
    ++pos_;
    t.kind = TTokenKind::Symbol;
    t.text = std::string(1, c);
    return t;
  }
  Fail(line_, "unexpected character " + Shown(c));
}

TToken TFormLexer::ScanNumber() {
  TToken t;
  t.line = line_;
  const std::size_t from = pos_;
  const bool negative = text_[pos_] == '-';
  if (negative) ++pos_;
  if (text_[pos_] == '$') {
    ++pos_;
    std::uint64_t v = 0;
    std::size_t digits = 0;
    while (pos_ < text_.size() && HexValue(text_[pos_]) >= 0) {
      if (++digits > 16) Fail(line_, "number too large");
      v = v * 16 + static_cast<std::uint64_t>(HexValue(text_[pos_++]));
    }
    if (digits == 0) Fail(line_, "expected hexadecimal digits after '$'");
    if (v > static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max())) Fail(line_, "number too large");
    t.kind = TTokenKind::Integer;
    t.hex = true;
    t.integer = negative ? -static_cast<std::int64_t>(v) : static_cast<std::int64_t>(v);
  } else {
    while (pos_ < text_.size() && IsDigit(text_[pos_])) ++pos_;
    bool real = false;
    if (pos_ + 1 < text_.size() && text_[pos_] == '.' && IsDigit(text_[pos_ + 1])) {
      real = true;
      ++pos_;
      while (pos_ < text_.size() && IsDigit(text_[pos_])) ++pos_;
    }
    if (pos_ < text_.size() && (text_[pos_] == 'e' || text_[pos_] == 'E')) {
      std::size_t p = pos_ + 1;
      if (p < text_.size() && (text_[p] == '+' || text_[p] == '-')) ++p;
      if (p < text_.size() && IsDigit(text_[p])) {
        real = true;
        pos_ = p;
        while (pos_ < text_.size() && IsDigit(text_[pos_])) ++pos_;
      }
    }
    const std::string digits(text_.substr(from, pos_ - from));
    if (real) {
      t.kind = TTokenKind::Float;
      t.real = std::strtod(digits.c_str(), nullptr);
      if (!std::isfinite(t.real)) Fail(line_, "number too large");
    } else {
      std::uint64_t v = 0;
      for (char d : std::string_view(digits).substr(negative ? 1 : 0)) {
        const auto digit = static_cast<std::uint64_t>(d - '0');
        if (v > (static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max()) - digit) / 10)
          Fail(line_, "number too large");
        v = v * 10 + digit;
      }
      t.kind = TTokenKind::Integer;
      t.integer = negative ? -static_cast<std::int64_t>(v) : static_cast<std::int64_t>(v);
    }
  }
  if (pos_ < text_.size() && (IsIdentStart(text_[pos_]) || IsDigit(text_[pos_])))
    Fail(line_, "unexpected character " + Shown(text_[pos_]) + " after a number");
  return t;
}

char32_t TFormLexer::ScanCharCode() {
  ++pos_;  // '#'
  std::uint32_t v = 0;
  std::size_t digits = 0;
  const bool hex = pos_ < text_.size() && text_[pos_] == '$';
  if (hex) ++pos_;
  while (pos_ < text_.size() && (hex ? HexValue(text_[pos_]) >= 0 : IsDigit(text_[pos_]))) {
    if (++digits > 7) Fail(line_, "character code too large");
    v = v * (hex ? 16 : 10) + static_cast<std::uint32_t>(hex ? HexValue(text_[pos_]) : text_[pos_] - '0');
    ++pos_;
  }
  if (digits == 0) Fail(line_, "expected a character code after '#'");
  if (v > 0x10FFFF) Fail(line_, "character code #" + std::to_string(v) + " is past U+10FFFF");
  return v;
}

TToken TFormLexer::ScanString() {
  TToken t;
  t.line = line_;
  t.kind = TTokenKind::String;
  char32_t pendingHigh = 0;  // a UTF-16 high surrogate waiting for its low half
  auto flushHigh = [&] {
    if (pendingHigh) Fail(line_, "character code #" + std::to_string(pendingHigh) + " is half of a surrogate pair");
  };
  while (pos_ < text_.size() && (text_[pos_] == '\'' || text_[pos_] == '#')) {
    if (text_[pos_] == '#') {
      const char32_t code = ScanCharCode();
      if (code >= 0xD800 && code <= 0xDBFF) {
        flushHigh();
        pendingHigh = code;
      } else if (code >= 0xDC00 && code <= 0xDFFF) {
        if (!pendingHigh) Fail(line_, "character code #" + std::to_string(code) + " is half of a surrogate pair");
        plat::AppendUtf8(t.text, 0x10000 + ((pendingHigh - 0xD800) << 10) + (code - 0xDC00));
        pendingHigh = 0;
      } else {
        flushHigh();
        plat::AppendUtf8(t.text, code);
      }
      continue;
    }
    flushHigh();
    ++pos_;  // opening quote
    const std::size_t start = t.text.size();
    for (;;) {
      if (pos_ >= text_.size() || text_[pos_] == '\n' || text_[pos_] == '\r') Fail(t.line, "unterminated string");
      const char c = text_[pos_++];
      if (c == '\'') {
        if (pos_ < text_.size() && text_[pos_] == '\'') {
          t.text += '\'';
          ++pos_;
          continue;
        }
        break;
      }
      t.text += c;
    }
    if (!IsValidUtf8(std::string_view(t.text).substr(start))) Fail(line_, "a string that is not valid UTF-8");
  }
  flushHigh();
  return t;
}

TToken TFormLexer::ScanBinary() {
  TToken t;
  t.line = line_;
  t.kind = TTokenKind::Binary;
  ++pos_;  // '{'
  int high = -1;
  for (;;) {
    if (pos_ >= text_.size()) Fail(t.line, "unterminated binary data");
    const char c = text_[pos_++];
    if (c == '}') break;
    if (c == '\n') {
      ++line_;
      continue;
    }
    if (c == ' ' || c == '\t' || c == '\r') continue;
    const int v = HexValue(c);
    if (v < 0) Fail(line_, "unexpected character " + Shown(c) + " in binary data");
    if (high < 0) {
      high = v;
    } else {
      t.bytes.push_back(static_cast<std::uint8_t>(high * 16 + v));
      high = -1;
    }
  }
  if (high >= 0) Fail(line_, "odd number of hexadecimal digits in binary data");
  return t;
}

}  // namespace fw
