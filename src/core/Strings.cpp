#include "core/Strings.h"

#include <algorithm>

#include "core/Exception.h"
#include "core/Properties.h"
#include "core/StrUtils.h"

namespace Vdei {

namespace {

bool NeedsQuotes(std::string_view s) {
  if (s.empty()) return true;
  return std::any_of(s.begin(), s.end(), [](char c) {
    return static_cast<unsigned char>(c) <= ' ' || c == ',' || c == '"';
  });
}

std::string Quoted(std::string_view s) {
  std::string out = "\"";
  for (char c : s) {
    if (c == '"') out += '"';
    out += c;
  }
  out += '"';
  return out;
}

bool IsBlank(char c) {
  return c != '\0' && static_cast<unsigned char>(c) <= ' ';
}

// Reads a quoted item at s[i] (a '"'); "" inside stands for one quote.
std::string ReadQuoted(std::string_view s, size_t& i) {
  std::string item;
  ++i;
  while (i < s.size()) {
    if (s[i] == '"') {
      if (i + 1 < s.size() && s[i + 1] == '"') {
        item += '"';
        i += 2;
        continue;
      }
      ++i;
      break;
    }
    item += s[i++];
  }
  return item;
}

}  // namespace

const TClassInfo& TStrings::StaticClassInfo() {
  static const TClassInfo info = ClassInfoBuilder<TStrings, TPersistent>("TStrings").Build();
  return info;
}

TStrings::TStrings(std::initializer_list<std::string> lines) {
  items_.reserve(lines.size());
  for (const std::string& line : lines) items_.push_back({line, nullptr});
}

const std::string& TStrings::Strings(int index) const {
  if (index < 0 || index >= Count()) ThrowListIndexError(index);
  return items_[static_cast<size_t>(index)].Text;
}

void TStrings::Put(int index, std::string value) {
  if (index < 0 || index >= Count()) ThrowListIndexError(index);
  items_[static_cast<size_t>(index)].Text = std::move(value);
  Changed();
}

TObject* TStrings::Objects(int index) const {
  if (index < 0 || index >= Count()) ThrowListIndexError(index);
  return items_[static_cast<size_t>(index)].Object;
}

void TStrings::PutObject(int index, TObject* object) {
  if (index < 0 || index >= Count()) ThrowListIndexError(index);
  items_[static_cast<size_t>(index)].Object = object;
  Changed();
}

int TStrings::Add(std::string value) {
  items_.push_back({std::move(value), nullptr});
  Changed();
  return Count() - 1;
}

int TStrings::AddObject(std::string value, TObject* object) {
  int index = Add(std::move(value));
  items_[static_cast<size_t>(index)].Object = object;
  return index;
}

void TStrings::Insert(int index, std::string value) {
  if (index < 0 || index > Count()) ThrowListIndexError(index);
  items_.insert(items_.begin() + index, Item{std::move(value), nullptr});
  Changed();
}

void TStrings::Delete(int index) {
  if (index < 0 || index >= Count()) ThrowListIndexError(index);
  items_.erase(items_.begin() + index);
  Changed();
}

void TStrings::Clear() {
  if (items_.empty()) return;
  items_.clear();
  Changed();
}

void TStrings::Exchange(int a, int b) {
  if (a < 0 || a >= Count()) ThrowListIndexError(a);
  if (b < 0 || b >= Count()) ThrowListIndexError(b);
  std::swap(items_[static_cast<size_t>(a)], items_[static_cast<size_t>(b)]);
  Changed();
}

int TStrings::IndexOf(std::string_view value) const {
  for (int i = 0; i < Count(); ++i) {
    if (SameText(items_[static_cast<size_t>(i)].Text, value)) return i;
  }
  return -1;
}

int TStrings::IndexOfObject(const TObject* object) const {
  for (int i = 0; i < Count(); ++i) {
    if (items_[static_cast<size_t>(i)].Object == object) return i;
  }
  return -1;
}

std::string TStrings::Names(int index) const {
  const std::string& line = Strings(index);
  return line.substr(0, line.find('='));
}

std::string TStrings::ValueFromIndex(int index) const {
  const std::string& line = Strings(index);
  size_t eq = line.find('=');
  return eq == std::string::npos ? std::string() : line.substr(eq + 1);
}

int TStrings::IndexOfName(std::string_view name) const {
  for (int i = 0; i < Count(); ++i) {
    std::string_view line = items_[static_cast<size_t>(i)].Text;
    if (SameText(line.substr(0, line.find('=')), name)) return i;
  }
  return -1;
}

std::string TStrings::Values(std::string_view name) const {
  int index = IndexOfName(name);
  return index < 0 ? std::string() : ValueFromIndex(index);
}

void TStrings::SetValue(std::string_view name, std::string_view value) {
  int index = IndexOfName(name);
  if (value.empty()) {
    if (index >= 0) Delete(index);
    return;
  }
  std::string line(name);
  line += '=';
  line += value;
  if (index >= 0) {
    Put(index, std::move(line));
  } else {
    Add(std::move(line));
  }
}

std::string TStrings::Text() const {
  size_t size = 0;
  for (const Item& item : items_) size += item.Text.size() + 2;
  std::string text;
  text.reserve(size);
  for (const Item& item : items_) {
    text += item.Text;
    text += "\r\n";
  }
  return text;
}

void TStrings::SetText(std::string_view text) {
  BeginUpdate();
  Clear();
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find_first_of("\r\n", start);
    if (end == std::string_view::npos) {
      Add(std::string(text.substr(start)));
      break;
    }
    Add(std::string(text.substr(start, end - start)));
    start = end + ((text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n') ? 2 : 1);
  }
  EndUpdate();
}

std::string TStrings::CommaText() const {
  std::string text;
  for (int i = 0; i < Count(); ++i) {
    if (i > 0) text += ',';
    const std::string& s = items_[static_cast<size_t>(i)].Text;
    text += NeedsQuotes(s) ? Quoted(s) : s;
  }
  return text;
}

void TStrings::SetCommaText(std::string_view text) {
  BeginUpdate();
  Clear();
  size_t i = 0;
  auto skipBlanks = [&] {
    while (i < text.size() && IsBlank(text[i])) ++i;
  };
  skipBlanks();
  while (i < text.size()) {
    if (text[i] == '"') {
      Add(ReadQuoted(text, i));
    } else {
      size_t start = i;
      while (i < text.size() && static_cast<unsigned char>(text[i]) > ' ' && text[i] != ',') ++i;
      Add(std::string(text.substr(start, i - start)));
    }
    skipBlanks();
    if (i < text.size() && text[i] == ',') {
      ++i;
      skipBlanks();
      if (i == text.size()) Add(std::string());
    }
  }
  EndUpdate();
}

void TStrings::BeginUpdate() {
  ++updateCount_;
}

void TStrings::EndUpdate() {
  if (updateCount_ == 0) return;
  if (--updateCount_ == 0 && changedWhileUpdating_) {
    changedWhileUpdating_ = false;
    if (OnChange) OnChange(this);
  }
}

void TStrings::Assign(const TPersistent& source) {
  const auto* other = dynamic_cast<const TStrings*>(&source);
  if (other == nullptr) {
    TPersistent::Assign(source);
    return;
  }
  if (other == this) return;
  std::vector<Item> copy = other->items_;  // the source may be a view of this list
  BeginUpdate();
  try {
    Clear();
    for (Item& item : copy) AddObject(std::move(item.Text), item.Object);
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

void TStrings::Changed() {
  if (updateCount_ > 0) {
    changedWhileUpdating_ = true;
  } else if (OnChange) {
    OnChange(this);
  }
}

}  // namespace Vdei
