// TStrings / TStringList: an ordered list of strings, each with an optional
// object pointer (not owned), and name=value lookup.
//
// Lookups by name (IndexOfName, Values) compare without regard to case;
// IndexOf compares without regard to case unless CaseSensitive is set on a
// TStringList. Text joins the lines with CR LF after each line; SetText
// splits at CR LF, LF or CR. OnChange fires after each change, but only
// once at the final EndUpdate while updates are nested.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "core/Object.h"

namespace Vdei {

class TStrings : public TPersistent {
 public:
  VDEI_CLASS(TStrings)
  TStrings() = default;
  TStrings(std::initializer_list<std::string> lines);

  int Count() const { return static_cast<int>(items_.size()); }
  // EListError "List index out of bounds (%d)" outside 0..Count-1.
  const std::string& Strings(int index) const;
  const std::string& operator[](int index) const { return Strings(index); }
  virtual void Put(int index, std::string value);
  TObject* Objects(int index) const;
  void PutObject(int index, TObject* object);

  virtual int Add(std::string value);
  int AddObject(std::string value, TObject* object);
  virtual void Insert(int index, std::string value);
  void Delete(int index);
  void Clear();
  void Exchange(int a, int b);

  virtual int IndexOf(std::string_view value) const;
  int IndexOfObject(const TObject* object) const;

  // name=value lines: the name is the text before the first '=' (the whole
  // line when it has none), the value the text after it.
  std::string Names(int index) const;
  std::string ValueFromIndex(int index) const;
  int IndexOfName(std::string_view name) const;
  std::string Values(std::string_view name) const;  // "" when absent
  // Replaces the value of the first line with that name, appends
  // "name=value" when none has it, and deletes the line for an empty value.
  void SetValue(std::string_view name, std::string_view value);

  std::string Text() const;
  void SetText(std::string_view text);
  // Items joined with ',' (quoted with '"' when they hold blanks, commas or
  // quotes), and the reverse.
  std::string CommaText() const;
  void SetCommaText(std::string_view text);

  void BeginUpdate();
  void EndUpdate();
  int UpdateCount() const { return updateCount_; }

  // Copies the strings and objects of another TStrings.
  void Assign(const TPersistent& source) override;

  std::function<void(TObject* Sender)> OnChange;

 protected:
  void Changed();
  struct Item {
    std::string Text;
    TObject* Object = nullptr;
  };
  std::vector<Item> items_;

 private:
  int updateCount_ = 0;
  bool changedWhileUpdating_ = false;
};

enum TDuplicates { dupIgnore, dupAccept, dupError };

class TStringList : public TStrings {
 public:
  VDEI_CLASS(TStringList)
  using TStrings::TStrings;

  bool Sorted() const { return sorted_; }
  void SetSorted(bool value);
  TDuplicates Duplicates() const { return duplicates_; }
  void SetDuplicates(TDuplicates value) { duplicates_ = value; }
  bool CaseSensitive() const { return caseSensitive_; }
  void SetCaseSensitive(bool value);

  // A sorted list inserts in order (binary search) and handles duplicates
  // by Duplicates (dupError raises EListError "String list does not allow
  // duplicates"); Insert and Put on a sorted list raise EListError
  // "Operation not allowed on sorted list".
  int Add(std::string value) override;
  void Insert(int index, std::string value) override;
  void Put(int index, std::string value) override;     // EListError on a sorted list
  int IndexOf(std::string_view value) const override;  // binary search when sorted
  // Binary search on a sorted list: true when found; index is the position
  // found or where the value would go.
  bool Find(std::string_view value, int& index) const;
  void Sort();

 private:
  int Compare(std::string_view a, std::string_view b) const;
  bool sorted_ = false;
  bool caseSensitive_ = false;
  TDuplicates duplicates_ = dupIgnore;
};

}  // namespace Vdei
