// Tokens of the expression language of mapping sources, and the tokenizer.
//
// Token kinds: 1 word (a name, a quoted text without its quotes, or a name
// in square brackets with its brackets), 2 number (digits and "."),
// 4 parenthesis (one character), 5 operator, 6 comma (one character).
//
// Tokenising: blanks, tabs and line breaks separate tokens and are not
// part of any. A word runs from a character that is not a digit, operator,
// parenthesis, comma or blank up to the next such character (digits may
// follow a letter: a1 is one word). A quoted text starts with " or ' and
// ends at the same quote character; it keeps every character between,
// blanks included. A name in [ ] keeps its brackets and blanks. "<=", ">=",
// "<>" and "!=" are the only two-character operators; any other run of
// operator characters is one operator per character (2*-3 reads as 2, *,
// -, 3). An unquoted word that is exactly AND, OR or NOT is an operator.
// The NUL character raises "Parse error: illegal character ..." with its
// 1-based position in the trimmed expression.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace VdImport {

enum TExpTokenKind : uint8_t {
  tkIllegal = 0,
  tkWord = 1,
  tkNumber = 2,
  tkParenthesis = 4,
  tkOperator = 5,
  tkComma = 6
};

struct TExpToken {
  std::string Text;
  uint8_t Kind = tkWord;
  // A word written in quotes: a literal text, never a built-in function,
  // whose blanks are kept.
  bool Quoted = false;
};

// The operators in their fixed order (positions 1 to 16).
constexpr std::array<std::string_view, 16> OperatorTable = {
    "+", "-", "*", "/", "^", "!", "=", "<", ">", "<=", ">=", "<>", "!=", "AND", "OR", "NOT"};

// 1-based position of text in texts (exact, case-sensitive), 0 if absent.
template <size_t N>
int IndexOfText(std::string_view text, const std::array<std::string_view, N>& texts) {
  for (size_t i = 0; i < N; ++i) {
    if (texts[i] == text) return static_cast<int>(i) + 1;
  }
  return 0;
}

// The kind of one character: outside quotes "(" ")" give 4, "," 6 and the
// one-character operators 5; in and out of quotes the digits and "." give
// 2, NUL gives 0 (illegal), every other character 1.
uint8_t CharKind(char c, bool inQuote);

// Reads the tokens of one expression and owns them: pointers returned by
// FirstToken / NextToken stay valid until the next SetExpression or
// FirstToken, or until the tokenizer is destroyed.
class TExpParser {
 public:
  // Keeps the text without its leading and trailing blanks.
  void SetExpression(std::string_view text);
  const std::string& Expression() const { return text_; }

  // Clears the token list and returns the first token (nullptr for an
  // empty expression).
  const TExpToken* FirstToken();
  // The next token, nullptr at the end.
  const TExpToken* NextToken();
  // Reads every token of the expression from the start.
  std::vector<const TExpToken*> ReadAll();

  int Position() const { return static_cast<int>(pos_) + 1; }

 private:
  const TExpToken* Emit(std::string text, uint8_t kind, bool quoted = false);
  void ReadQuoted(char quote, TExpToken& token);
  size_t EndOfRun(size_t from, bool (*inRun)(char)) const;
  void CheckLegal(size_t at) const;

  std::string text_;
  size_t pos_ = 0;
  std::vector<std::unique_ptr<TExpToken>> tokens_;
};

}  // namespace VdImport
