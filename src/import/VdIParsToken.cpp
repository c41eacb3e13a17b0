#include "import/VdIParsToken.h"

#include "core/Exception.h"
#include "core/StrUtils.h"
#include "import/VdIParsMessages.h"

namespace VdImport {

namespace {

bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}
bool IsDigitChar(char c) {
  return (c >= '0' && c <= '9') || c == '.';
}
bool IsOperatorChar(char c) {
  switch (c) {
    case '+':
    case '-':
    case '*':
    case '/':
    case '^':
    case '!':
    case '=':
    case '<':
    case '>':
      return true;
    default:
      return false;
  }
}
bool IsWordChar(char c) {
  const uint8_t kind = CharKind(c, false);
  return (kind == tkWord || kind == tkNumber) && !IsBlank(c);
}
bool IsTwoCharOperator(char first, char second) {
  return (first == '<' && (second == '=' || second == '>')) ||
         ((first == '>' || first == '!') && second == '=');
}

}  // namespace

uint8_t CharKind(char c, bool inQuote) {
  if (c == '\0') return tkIllegal;
  if (!inQuote) {
    if (c == '(' || c == ')') return tkParenthesis;
    if (c == ',') return tkComma;
    if (IsOperatorChar(c)) return tkOperator;
  }
  return IsDigitChar(c) ? tkNumber : tkWord;
}

void TExpParser::SetExpression(std::string_view text) {
  size_t first = 0, last = text.size();
  while (first < last && IsBlank(text[first])) ++first;
  while (last > first && IsBlank(text[last - 1])) --last;
  text_.assign(text.substr(first, last - first));
  pos_ = 0;
  tokens_.clear();
}

const TExpToken* TExpParser::FirstToken() {
  tokens_.clear();
  pos_ = 0;
  return NextToken();
}

std::vector<const TExpToken*> TExpParser::ReadAll() {
  std::vector<const TExpToken*> tokens;
  for (const TExpToken* token = FirstToken(); token != nullptr; token = NextToken()) {
    tokens.push_back(token);
  }
  return tokens;
}

const TExpToken* TExpParser::Emit(std::string text, uint8_t kind, bool quoted) {
  auto token = std::make_unique<TExpToken>();
  token->Text = std::move(text);
  token->Kind = kind;
  token->Quoted = quoted;
  tokens_.push_back(std::move(token));
  return tokens_.back().get();
}

void TExpParser::CheckLegal(size_t at) const {
  if (text_[at] != '\0') return;
  throw Vdei::Exception(Vdei::Format(SIllegalCharacter, "", static_cast<int>(at) + 1));
}

size_t TExpParser::EndOfRun(size_t from, bool (*inRun)(char)) const {
  while (from < text_.size() && inRun(text_[from])) ++from;
  return from;
}

const TExpToken* TExpParser::NextToken() {
  pos_ = EndOfRun(pos_, IsBlank);
  if (pos_ >= text_.size()) return nullptr;
  const size_t start = pos_;
  const char c = text_[start];
  CheckLegal(start);
  const uint8_t kind = CharKind(c, false);
  if (kind == tkParenthesis || kind == tkComma) {
    ++pos_;
    return Emit(std::string(1, c), kind);
  }
  if (kind == tkOperator) {
    pos_ += pos_ + 1 < text_.size() && IsTwoCharOperator(c, text_[pos_ + 1]) ? 2 : 1;
    return Emit(text_.substr(start, pos_ - start), kind);
  }
  if (kind == tkNumber) {
    pos_ = EndOfRun(pos_, IsDigitChar);
    return Emit(text_.substr(start, pos_ - start), kind);
  }
  if (c == '"' || c == '\'' || c == '[') {
    const char close = c == '[' ? ']' : c;
    size_t end = start + 1;
    for (; end < text_.size() && text_[end] != close; ++end) CheckLegal(end);
    pos_ = end < text_.size() ? end + 1 : end;
    // A quoted text drops its quotes; a bracketed name keeps its brackets.
    if (c == '[') return Emit(text_.substr(start, pos_ - start), tkWord);
    return Emit(text_.substr(start + 1, end - start - 1), tkWord, true);
  }
  pos_ = EndOfRun(pos_, IsWordChar);
  std::string word = text_.substr(start, pos_ - start);
  const uint8_t wordKind = IndexOfText(word, OperatorTable) != 0 ? tkOperator : tkWord;
  return Emit(std::move(word), wordKind);
}

}  // namespace VdImport
