// Syntax trees of the expression language: building them from tokens
// (TExpNode::Compile) and evaluating them to variants.
//
// Operators, loosest first: OR; AND; NOT (prefix); the comparisons
// = < > <= >= <> !=; + and -; * and /; ^; unary minus and "!" (prefix).
// Operators of equal precedence group to the left (8 - 3 - 2 is 3), "^"
// groups to the right. Parentheses group. A word followed by "(" is a call
// with 1 to 11 arguments separated by commas (F() is no call). A number
// evaluates to a float; + - * / and the comparisons follow the Variant
// rules; "^" raises to a power as floats; AND, OR, NOT and "!" are logical
// for Booleans and bitwise for integers. A word is a built-in function (see
// VdIParsBuiltins.h) unless it was quoted; any other word is resolved by
// the node's owner (TExpNameResolver) with its arguments already evaluated
// into 11 slots, the value holding the name on entry. An empty expression
// evaluates to an empty text.
//
// Errors (Vdei::Exception with the texts of VdIParsMessages.h):
// unbalanced parentheses, an operator with a missing operand, two operands
// without an operator, a malformed argument list, more than 11 arguments,
// and nesting deeper than kMaxNesting levels. Compile raises them all
// before anything is evaluated.
//
// A compiled tree is immutable: evaluating it again does not tokenise or
// allocate a tree, and gives what a fresh compile would. Trees may be
// evaluated recursively (a user function calling another).
#pragma once

#include <array>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/Variant.h"
#include "import/VdIParsBuiltins.h"
#include "import/VdIParsToken.h"

namespace VdImport {

constexpr int kMaxArguments = 11;
constexpr int kMaxNesting = 256;

using TExpArguments = std::array<Vdei::Variant, kMaxArguments>;

// The state of one evaluation: the argument slots of the user function
// whose body is being evaluated (nullptr outside one) and how deeply user
// functions are nested at that point.
struct TExpFrame {
  const TExpArguments* Params = nullptr;
  int CallDepth = 0;
};

// Resolves the names of a tree that are not built-in functions.
class TExpNameResolver {
 public:
  virtual ~TExpNameResolver() = default;
  // value holds the name text on entry; args the evaluated arguments of
  // the call (argCount of them, 0 for a name without a call), the unused
  // slots Empty.
  virtual void ResolveName(const std::string& name, const TExpArguments& args, int argCount,
                           Vdei::Variant& value, const TExpFrame& frame) = 0;
};

class TExpNode {
 public:
  using TTokens = std::span<const TExpToken* const>;

  // The tokens stay owned by their tokenizer and must outlive the node.
  TExpNode(TExpNameResolver* owner, TTokens tokens, TExpNode* parent);
  ~TExpNode();
  TExpNode(const TExpNode&) = delete;
  TExpNode& operator=(const TExpNode&) = delete;

  // Builds the tree of the node's tokens (replacing any children).
  void Compile();
  void Evaluate(Vdei::Variant& value, const TExpFrame& frame = {}) const;
  // Evaluates child index; an index past the last child raises the list's
  // index error (a built-in function called with too few arguments).
  void EvaluateChild(int index, Vdei::Variant& value, const TExpFrame& frame) const;

  TExpNameResolver* Owner() const { return owner_; }
  TExpNode* Parent() const { return parent_; }
  int Depth() const { return parent_ == nullptr ? 0 : parent_->Depth() + 1; }
  TTokens Tokens() const { return tokens_; }
  int ChildCount() const { return static_cast<int>(children_.size()); }
  const TExpNode& Child(int index) const { return *children_[index]; }
  // The operator, the function or name, or the number; nullptr for an
  // empty expression.
  const TExpToken* MainToken() const { return main_; }
  // Whether the node is one name without arguments that the node's owner
  // resolves (no built-in function); Name() is that name.
  bool IsExternalName() const { return kind_ == nkWord && builtin_ == bfNone && children_.empty(); }
  const std::string& Name() const { return name_; }

 private:
  friend class TExpCompiler;
  enum TKind : uint8_t { nkEmpty, nkNumber, nkWord, nkUnary, nkBinary };

  void AdoptChildren();
  void EvaluateExternal(Vdei::Variant& value, const TExpFrame& frame) const;

  TExpNameResolver* owner_;
  TExpNode* parent_;
  TTokens tokens_;
  std::vector<std::unique_ptr<TExpNode>> children_;
  const TExpToken* main_ = nullptr;
  TKind kind_ = nkEmpty;
  int operator_ = 0;  // position in OperatorTable
  int height_ = 1;    // levels of the subtree, this node included
  TExpBuiltin builtin_ = bfNone;
  std::string name_;  // a word's text
  double number_ = 0;
  bool numberValid_ = false;
};

// A compiled expression: the tokenizer, its tokens and the tree over them.
class TExpProgram {
 public:
  // Tokenises and compiles text; raises the language's errors.
  TExpProgram(TExpNameResolver* owner, std::string_view text);
  TExpProgram(const TExpProgram&) = delete;
  TExpProgram& operator=(const TExpProgram&) = delete;

  void Evaluate(Vdei::Variant& value, const TExpFrame& frame) const {
    root_->Evaluate(value, frame);
  }
  const TExpNode& Root() const { return *root_; }

 private:
  TExpParser tokenizer_;
  std::vector<const TExpToken*> tokens_;
  std::unique_ptr<TExpNode> root_;
};

}  // namespace VdImport
