#pragma once
// Lists of strings: TStrings is the interface every list of lines offers (Text, CommaText,
// name=value pairs, an object per line); TStringList keeps them, optionally sorted.
// Comparisons ignore ASCII case unless CaseSensitive is set.
#include <string>
#include <string_view>
#include <vector>

#include "framework/persistent.h"

namespace fw {

class TStream;

class TStrings : public TPersistent {
  FW_DECLARE_CLASS

 public:
  virtual int Count() const = 0;
  virtual std::string Get(int index) const = 0;
  virtual void Put(int index, const std::string& text);
  virtual TObject* GetObject(int index) const;
  virtual void PutObject(int index, TObject* object);
  virtual void Insert(int index, const std::string& text) = 0;
  virtual void InsertObject(int index, const std::string& text, TObject* object);
  virtual void Delete(int index) = 0;
  virtual void Clear() = 0;
  virtual int Add(const std::string& text);
  virtual int AddObject(const std::string& text, TObject* object);
  void Append(const std::string& text) { Add(text); }
  void AddStrings(const TStrings& other);
  virtual void Exchange(int a, int b);
  virtual void Move(int from, int to);

  std::string Strings(int index) const { return Get(index); }
  void SetStrings(int index, const std::string& text) { Put(index, text); }
  TObject* Objects(int index) const { return GetObject(index); }
  void SetObjects(int index, TObject* object) { PutObject(index, object); }

  virtual int IndexOf(std::string_view text) const;
  int IndexOfName(std::string_view name) const;
  int IndexOfObject(const TObject* object) const;
  bool Equals(const TStrings& other) const;

  // Every line followed by LineBreak; setting splits at CR LF, LF or CR.
  std::string Text() const;
  void SetText(std::string_view text);
  const std::string& LineBreak() const { return lineBreak_; }
  void SetLineBreak(std::string lineBreak) { lineBreak_ = std::move(lineBreak); }

  // Items separated by Delimiter, quoted with QuoteChar when they hold a delimiter, a quote or
  // (unless StrictDelimiter) a space or control character.
  std::string DelimitedText() const;
  void SetDelimitedText(std::string_view text);
  std::string CommaText() const;
  void SetCommaText(std::string_view text);
  char Delimiter() const { return delimiter_; }
  void SetDelimiter(char c) { delimiter_ = c; }
  char QuoteChar() const { return quoteChar_; }
  void SetQuoteChar(char c) { quoteChar_ = c; }
  bool StrictDelimiter() const { return strictDelimiter_; }
  void SetStrictDelimiter(bool strict) { strictDelimiter_ = strict; }

  // Lines of the form name=value.
  std::string Names(int index) const;
  std::string Values(std::string_view name) const;
  // An empty value removes the line.
  void SetValue(std::string_view name, const std::string& value);
  std::string ValueFromIndex(int index) const;
  char NameValueSeparator() const { return nameValueSeparator_; }
  void SetNameValueSeparator(char c) { nameValueSeparator_ = c; }

  // Changes inside a bracket are announced once, at its end.
  void BeginUpdate();
  void EndUpdate();
  int UpdateCount() const { return updateCount_; }

  // UTF-8 text; a leading byte-order mark is skipped.
  void LoadFromStream(TStream& stream);
  void SaveToStream(TStream& stream) const;
  void LoadFromFile(const std::string& path);
  void SaveToFile(const std::string& path) const;

  void Assign(const TPersistent* source) override;

 protected:
  virtual int CompareStrings(std::string_view a, std::string_view b) const;
  virtual void SetUpdateState(bool updating) { (void)updating; }
  [[noreturn]] void IndexError(int index) const;

 private:
  std::string lineBreak_ = "\r\n";
  char delimiter_ = ',';
  char quoteChar_ = '"';
  char nameValueSeparator_ = '=';
  bool strictDelimiter_ = false;
  int updateCount_ = 0;
};

enum TDuplicates { dupIgnore, dupAccept, dupError };

class TStringList : public TStrings {
  FW_DECLARE_CLASS

 public:
  TStringList() = default;

  int Count() const override { return static_cast<int>(items_.size()); }
  std::string Get(int index) const override;
  void Put(int index, const std::string& text) override;
  TObject* GetObject(int index) const override;
  void PutObject(int index, TObject* object) override;
  void Insert(int index, const std::string& text) override;
  void InsertObject(int index, const std::string& text, TObject* object) override;
  void Delete(int index) override;
  void Clear() override;
  int Add(const std::string& text) override;
  int AddObject(const std::string& text, TObject* object) override;
  void Exchange(int a, int b) override;
  int IndexOf(std::string_view text) const override;

  // Binary search of a sorted list: true when found; index is where it is or would go.
  bool Find(std::string_view text, int& index) const;
  void Sort();
  void CustomSort(int (*compare)(const TStringList& list, int a, int b));

  bool Sorted() const { return sorted_; }
  void SetSorted(bool sorted);
  TDuplicates Duplicates() const { return duplicates_; }
  void SetDuplicates(TDuplicates duplicates) { duplicates_ = duplicates; }
  bool CaseSensitive() const { return caseSensitive_; }
  void SetCaseSensitive(bool caseSensitive);

  TNotifyEvent OnChange;
  TNotifyEvent OnChanging;

 protected:
  int CompareStrings(std::string_view a, std::string_view b) const override;
  void SetUpdateState(bool updating) override;
  virtual void Changed();
  virtual void Changing();

 private:
  struct Item {
    std::string text;
    TObject* object = nullptr;
  };
  void InsertItem(int index, const std::string& text, TObject* object);
  void CheckIndex(int index) const;

  std::vector<Item> items_;
  bool sorted_ = false;
  bool caseSensitive_ = false;
  TDuplicates duplicates_ = dupIgnore;
};

}  // namespace fw
