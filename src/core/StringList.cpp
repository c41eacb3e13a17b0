// TStringList: the sorted and case-sensitive forms of TStrings.
#include <algorithm>

#include "core/Exception.h"
#include "core/Properties.h"
#include "core/StrUtils.h"
#include "core/Strings.h"

namespace Vdei {

namespace {

[[noreturn]] void ThrowSortedOperation() {
  throw EListError("Operation not allowed on sorted list");
}

}  // namespace

const TClassInfo& TStringList::StaticClassInfo() {
  static const TClassInfo info = ClassInfoBuilder<TStringList, TStrings>("TStringList").Build();
  return info;
}

int TStringList::Compare(std::string_view a, std::string_view b) const {
  if (caseSensitive_) {
    int c = a.compare(b);
    return c < 0 ? -1 : (c > 0 ? 1 : 0);
  }
  return CompareText(a, b);
}

void TStringList::SetSorted(bool value) {
  if (value && !sorted_) Sort();
  sorted_ = value;
}

void TStringList::SetCaseSensitive(bool value) {
  if (value == caseSensitive_) return;
  caseSensitive_ = value;
  if (sorted_) Sort();
}

void TStringList::Sort() {
  std::stable_sort(items_.begin(), items_.end(),
                   [this](const Item& a, const Item& b) { return Compare(a.Text, b.Text) < 0; });
  Changed();
}

bool TStringList::Find(std::string_view value, int& index) const {
  auto it = std::lower_bound(
      items_.begin(), items_.end(), value,
      [this](const Item& item, std::string_view v) { return Compare(item.Text, v) < 0; });
  index = static_cast<int>(it - items_.begin());
  return it != items_.end() && Compare(it->Text, value) == 0;
}

int TStringList::Add(std::string value) {
  if (!sorted_) return TStrings::Add(std::move(value));
  int index = 0;
  if (Find(value, index)) {
    switch (duplicates_) {
      case dupIgnore:
        return index;
      case dupError:
        throw EListError("String list does not allow duplicates");
      case dupAccept: {
        // After the equal ones, so equal strings keep the order they came in.
        auto after = std::upper_bound(
            items_.begin() + index, items_.end(), value,
            [this](const std::string& v, const Item& item) { return Compare(v, item.Text) < 0; });
        index = static_cast<int>(after - items_.begin());
        break;
      }
    }
  }
  TStrings::Insert(index, std::move(value));
  return index;
}

void TStringList::Insert(int index, std::string value) {
  if (sorted_) ThrowSortedOperation();
  TStrings::Insert(index, std::move(value));
}

void TStringList::Put(int index, std::string value) {
  if (sorted_) ThrowSortedOperation();
  TStrings::Put(index, std::move(value));
}

int TStringList::IndexOf(std::string_view value) const {
  if (sorted_) {
    int index = 0;
    return Find(value, index) ? index : -1;
  }
  for (int i = 0; i < Count(); ++i) {
    if (Compare(items_[static_cast<size_t>(i)].Text, value) == 0) return i;
  }
  return -1;
}

}  // namespace Vdei
