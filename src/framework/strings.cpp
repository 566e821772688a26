#include "framework/strings.h"

#include "framework/exceptions.h"
#include "framework/streams.h"
#include "framework/stored_properties.h"
#include "framework/sysutils.h"

namespace fw {

namespace {

bool IsBlank(char c) { return c != 0 && static_cast<unsigned char>(c) <= ' '; }

// Brackets a sequence of changes so that listeners hear of it once, even when it throws.
class UpdateBracket {
 public:
  explicit UpdateBracket(TStrings& s) : s_(s) { s_.BeginUpdate(); }
  ~UpdateBracket() { s_.EndUpdate(); }
  UpdateBracket(const UpdateBracket&) = delete;
  UpdateBracket& operator=(const UpdateBracket&) = delete;

 private:
  TStrings& s_;
};

}  // namespace

const TMetaClass& TStrings::StaticClass() {
  // Descriptions give a list's lines as Lines.Strings = ('a' 'b').
  static const TMetaClass meta("TStrings", &TPersistent::StaticClass(), nullptr, Stored<TStrings>([](auto& b) {
    b.Strings("Strings", [](TStrings& self) { return &self; });
  }));
  return meta;
}

void TStrings::IndexError(int index) const { throw EStringListError(msg::ListIndexError(index)); }

void TStrings::Put(int index, const std::string& text) {
  TObject* object = GetObject(index);
  UpdateBracket bracket(*this);
  Delete(index);
  InsertObject(index, text, object);
}

TObject* TStrings::GetObject(int) const { return nullptr; }
void TStrings::PutObject(int, TObject*) {}

void TStrings::InsertObject(int index, const std::string& text, TObject* object) {
  Insert(index, text);
  PutObject(index, object);
}

int TStrings::Add(const std::string& text) {
  const int index = Count();
  Insert(index, text);
  return index;
}

int TStrings::AddObject(const std::string& text, TObject* object) {
  const int index = Add(text);
  PutObject(index, object);
  return index;
}

void TStrings::AddStrings(const TStrings& other) {
  UpdateBracket bracket(*this);
  for (int i = 0; i < other.Count(); ++i) AddObject(other.Get(i), other.GetObject(i));
}

void TStrings::Exchange(int a, int b) {
  UpdateBracket bracket(*this);
  const std::string ta = Get(a);
  TObject* oa = GetObject(a);
  Put(a, Get(b));
  PutObject(a, GetObject(b));
  Put(b, ta);
  PutObject(b, oa);
}

void TStrings::Move(int from, int to) {
  if (from == to) return;
  UpdateBracket bracket(*this);
  const std::string text = Get(from);
  TObject* object = GetObject(from);
  Delete(from);
  InsertObject(to, text, object);
}

int TStrings::CompareStrings(std::string_view a, std::string_view b) const { return CompareText(a, b); }

int TStrings::IndexOf(std::string_view text) const {
  for (int i = 0; i < Count(); ++i)
    if (CompareStrings(Get(i), text) == 0) return i;
  return -1;
}

int TStrings::IndexOfName(std::string_view name) const {
  for (int i = 0; i < Count(); ++i) {
    const std::string s = Get(i);
    const auto sep = s.find(nameValueSeparator_);
    if (sep != std::string::npos && CompareStrings(std::string_view(s).substr(0, sep), name) == 0) return i;
  }
  return -1;
}

int TStrings::IndexOfObject(const TObject* object) const {
  for (int i = 0; i < Count(); ++i)
    if (GetObject(i) == object) return i;
  return -1;
}

bool TStrings::Equals(const TStrings& other) const {
  if (Count() != other.Count()) return false;
  for (int i = 0; i < Count(); ++i)
    if (Get(i) != other.Get(i)) return false;
  return true;
}

std::string TStrings::Text() const {
  std::string text;
  for (int i = 0; i < Count(); ++i) text += Get(i) + lineBreak_;
  return text;
}

void TStrings::SetText(std::string_view text) {
  UpdateBracket bracket(*this);
  Clear();
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = start;
    while (end < text.size() && text[end] != '\r' && text[end] != '\n') ++end;
    Add(std::string(text.substr(start, end - start)));
    if (end < text.size() && text[end] == '\r') ++end;
    if (end < text.size() && text[end] == '\n') ++end;
    start = end;
  }
}

std::string TStrings::DelimitedText() const {
  if (Count() == 1 && Get(0).empty()) return std::string(2, quoteChar_);
  std::string result;
  for (int i = 0; i < Count(); ++i) {
    const std::string s = Get(i);
    bool quote = false;
    for (char c : s)
      if (c == quoteChar_ || c == delimiter_ || (!strictDelimiter_ && static_cast<unsigned char>(c) <= ' ')) quote = true;
    if (i > 0) result += delimiter_;
    if (!quote) {
      result += s;
      continue;
    }
    result += quoteChar_;
    for (char c : s) {
      if (c == quoteChar_) result += quoteChar_;
      result += c;
    }
    result += quoteChar_;
  }
  return result;
}

void TStrings::SetDelimitedText(std::string_view text) {
  UpdateBracket bracket(*this);
  Clear();
  std::size_t p = 0;
  const std::size_t n = text.size();
  auto skipBlanks = [&] {
    if (!strictDelimiter_)
      while (p < n && IsBlank(text[p])) ++p;
  };
  skipBlanks();
  while (p < n) {
    std::string item;
    if (text[p] == quoteChar_) {
      ++p;
      while (p < n) {
        if (text[p] == quoteChar_) {
          if (p + 1 < n && text[p + 1] == quoteChar_) {
            item += quoteChar_;
            p += 2;
            continue;
          }
          ++p;
          break;
        }
        item += text[p++];
      }
    } else {
      const std::size_t from = p;
      while (p < n && text[p] != delimiter_ && (strictDelimiter_ || static_cast<unsigned char>(text[p]) > ' ')) ++p;
      item.assign(text.substr(from, p - from));
    }
    Add(item);
    skipBlanks();
    if (p < n && text[p] == delimiter_) {
      if (p + 1 == n) Add("");
      ++p;
      skipBlanks();
    }
  }
}

std::string TStrings::CommaText() const {
  TStringList copy;
  copy.Assign(this);
  copy.SetDelimiter(',');
  copy.SetQuoteChar('"');
  copy.SetStrictDelimiter(false);
  return copy.DelimitedText();
}

void TStrings::SetCommaText(std::string_view text) {
  const char delimiter = delimiter_, quote = quoteChar_;
  const bool strict = strictDelimiter_;
  delimiter_ = ',';
  quoteChar_ = '"';
  strictDelimiter_ = false;
  try {
    SetDelimitedText(text);
  } catch (...) {
    delimiter_ = delimiter, quoteChar_ = quote, strictDelimiter_ = strict;
    throw;
  }
  delimiter_ = delimiter, quoteChar_ = quote, strictDelimiter_ = strict;
}

std::string TStrings::Names(int index) const {
  const std::string s = Get(index);
  const auto sep = s.find(nameValueSeparator_);
  return sep == std::string::npos ? std::string() : s.substr(0, sep);
}

std::string TStrings::ValueFromIndex(int index) const {
  const std::string s = Get(index);
  const auto sep = s.find(nameValueSeparator_);
  return sep == std::string::npos ? std::string() : s.substr(sep + 1);
}

std::string TStrings::Values(std::string_view name) const {
  const int i = IndexOfName(name);
  return i < 0 ? std::string() : ValueFromIndex(i);
}

void TStrings::SetValue(std::string_view name, const std::string& value) {
  int i = IndexOfName(name);
  if (value.empty()) {
    if (i >= 0) Delete(i);
    return;
  }
  const std::string line = std::string(name) + nameValueSeparator_ + value;
  if (i < 0) Add(line);
  else Put(i, line);
}

void TStrings::BeginUpdate() {
  if (updateCount_ == 0) SetUpdateState(true);
  ++updateCount_;
}

void TStrings::EndUpdate() {
  if (updateCount_ > 0 && --updateCount_ == 0) SetUpdateState(false);
}

void TStrings::LoadFromStream(TStream& stream) {
  const std::vector<std::uint8_t> bytes = stream.ReadRemaining();
  std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
  if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
  SetText(text);
}

void TStrings::SaveToStream(TStream& stream) const {
  const std::string text = Text();
  stream.WriteBuffer(text.data(), static_cast<std::int64_t>(text.size()));
}

void TStrings::LoadFromFile(const std::string& path) {
  TFileStream file(path, fmOpenRead);
  LoadFromStream(file);
}

void TStrings::SaveToFile(const std::string& path) const {
  TFileStream file(path, fmCreate);
  SaveToStream(file);
}

void TStrings::Assign(const TPersistent* source) {
  const auto* other = dynamic_cast<const TStrings*>(source);
  if (!other) return TPersistent::Assign(source);
  if (other == this) return;
  UpdateBracket bracket(*this);
  Clear();
  lineBreak_ = other->lineBreak_;
  delimiter_ = other->delimiter_;
  quoteChar_ = other->quoteChar_;
  nameValueSeparator_ = other->nameValueSeparator_;
  strictDelimiter_ = other->strictDelimiter_;
  AddStrings(*other);
}

}  // namespace fw
