#include "import/VdIParsTree.h"

#include <algorithm>

#include "core/Exception.h"
#include "core/NumberFormat.h"
#include "core/StrUtils.h"
#include "import/VdIParsMessages.h"

namespace VdImport {

using Vdei::Variant;

namespace {

// Operator positions in OperatorTable.
enum : int {
  opPlus = 1,
  opMinus,
  opMultiply,
  opDivide,
  opPower,
  opBang,
  opEqual,
  opLess,
  opGreater,
  opLessEqual,
  opGreaterEqual,
  opNotEqual,
  opBangEqual,
  opAnd,
  opOr,
  opNot
};

// Binding of an operator between two operands, 0 for the prefix-only ones.
int BinaryPrecedence(int op) {
  switch (op) {
    case opOr:
      return 1;
    case opAnd:
      return 2;
    case opEqual:
    case opLess:
    case opGreater:
    case opLessEqual:
    case opGreaterEqual:
    case opNotEqual:
    case opBangEqual:
      return 4;
    case opPlus:
    case opMinus:
      return 5;
    case opMultiply:
    case opDivide:
      return 6;
    case opPower:
      return 7;
    default:
      return 0;
  }
}

// Binding of an operator in front of its operand, 0 for the binary-only ones.
int PrefixPrecedence(int op) {
  switch (op) {
    case opNot:
      return 3;
    case opMinus:
    case opBang:
      return 8;
    default:
      return 0;
  }
}

[[noreturn]] void Fail(const char* message) {
  throw Vdei::Exception(message);
}

bool IsText(const TExpToken* token, uint8_t kind, char c) {
  return token != nullptr && token->Kind == kind && token->Text.size() == 1 && token->Text[0] == c;
}
bool IsOpen(const TExpToken* token) {
  return IsText(token, tkParenthesis, '(');
}
bool IsClose(const TExpToken* token) {
  return IsText(token, tkParenthesis, ')');
}
bool IsComma(const TExpToken* token) {
  return IsText(token, tkComma, ',');
}

void CheckParentheses(TExpNode::TTokens tokens) {
  int depth = 0;
  for (const TExpToken* token : tokens) {
    if (IsOpen(token)) ++depth;
    if (IsClose(token) && --depth < 0) Fail(SParenthesisMismatch);
  }
  if (depth != 0) Fail(SParenthesisMismatch);
}

Variant ApplyUnary(int op, const Variant& operand) {
  return op == opMinus ? -operand : Vdei::VarNot(operand);
}

Variant ApplyBinary(int op, const Variant& left, const Variant& right) {
  switch (op) {
    case opPlus:
      return left + right;
    case opMinus:
      return left - right;
    case opMultiply:
      return left * right;
    case opDivide:
      return left / right;
    case opPower:
      return PowerOf(left, right);
    case opEqual:
      return Variant(left == right);
    case opLess:
      return Variant(left < right);
    case opGreater:
      return Variant(left > right);
    case opLessEqual:
      return Variant(left <= right);
    case opGreaterEqual:
      return Variant(left >= right);
    case opNotEqual:
    case opBangEqual:
      return Variant(left != right);
    case opAnd:
      return Vdei::VarAnd(left, right);
    case opOr:
      return Vdei::VarOr(left, right);
    default:
      Fail(SSyntaxTreeFault);
  }
}

}  // namespace

// Builds trees by precedence climbing over one token list.
class TExpCompiler {
 public:
  TExpCompiler(TExpNameResolver* owner, TExpNode::TTokens tokens)
      : owner_(owner), tokens_(tokens) {}

  std::unique_ptr<TExpNode> CompileWhole() {
    CheckParentheses(tokens_);
    if (tokens_.empty()) return NewNode(0, 0, TExpNode::nkEmpty);
    auto node = Expression(0, 0, false);
    if (pos_ < tokens_.size()) Fail(SSyntaxFault);
    return node;
  }

 private:
  using TNodePtr = std::unique_ptr<TExpNode>;

  const TExpToken* Peek() const { return pos_ < tokens_.size() ? tokens_[pos_] : nullptr; }

  TNodePtr NewNode(size_t first, size_t end, TExpNode::TKind kind) {
    auto node = std::make_unique<TExpNode>(owner_, tokens_.subspan(first, end - first), nullptr);
    node->kind_ = kind;
    return node;
  }

  // Makes an operator node over its operands.
  TNodePtr OperatorNode(size_t first, size_t opAt, TExpNode::TKind kind,
                        std::vector<TNodePtr> operands) {
    auto node = NewNode(first, pos_, kind);
    node->main_ = tokens_[opAt];
    node->operator_ = IndexOfText(node->main_->Text, OperatorTable);
    AddChildren(*node, std::move(operands));
    return node;
  }

  void AddChildren(TExpNode& node, std::vector<TNodePtr> children) {
    for (auto& child : children) {
      node.height_ = std::max(node.height_, child->height_ + 1);
      node.children_.push_back(std::move(child));
    }
    if (node.height_ > kMaxNesting) Fail(SNestedTooDeeply);
  }

  // An expression whose operators bind at least as tightly as minPrecedence.
  TNodePtr Expression(int minPrecedence, int nesting, bool afterOperator) {
    const size_t first = pos_;
    TNodePtr left = Operand(nesting, afterOperator);
    for (const TExpToken* token = Peek(); token != nullptr && token->Kind == tkOperator;
         token = Peek()) {
      const int op = IndexOfText(token->Text, OperatorTable);
      const int precedence = BinaryPrecedence(op);
      if (precedence == 0 || precedence < minPrecedence) break;
      const size_t opAt = pos_++;
      const int rightMin = op == opPower ? precedence : precedence + 1;
      TNodePtr right = Expression(rightMin, nesting + 1, true);
      std::vector<TNodePtr> operands;
      operands.push_back(std::move(left));
      operands.push_back(std::move(right));
      left = OperatorNode(first, opAt, TExpNode::nkBinary, std::move(operands));
    }
    return left;
  }

  // One operand: a group, a prefix operator with its operand, a number, a
  // name or a call. afterOperator tells whether an operator asks for it.
  TNodePtr Operand(int nesting, bool afterOperator) {
    if (nesting > kMaxNesting) Fail(SNestedTooDeeply);
    const TExpToken* token = Peek();
    const char* missing = afterOperator ? SSyntaxTreeFault : SSyntaxFault;
    if (token == nullptr || IsClose(token) || IsComma(token)) Fail(missing);
    const size_t first = pos_++;
    switch (token->Kind) {
      case tkParenthesis: {
        TNodePtr inner = Expression(0, nesting + 1, false);
        if (!IsClose(Peek())) Fail(SSyntaxFault);
        ++pos_;
        return inner;
      }
      case tkOperator: {
        const int precedence = PrefixPrecedence(IndexOfText(token->Text, OperatorTable));
        if (precedence == 0) Fail(SSyntaxTreeFault);
        std::vector<TNodePtr> operands;
        operands.push_back(Expression(precedence, nesting + 1, true));
        return OperatorNode(first, first, TExpNode::nkUnary, std::move(operands));
      }
      case tkNumber:
        return NumberLeaf(first);
      default:
        return Word(first, nesting);
    }
  }

  TNodePtr NumberLeaf(size_t at) {
    auto node = NewNode(at, at + 1, TExpNode::nkNumber);
    node->main_ = tokens_[at];
    node->numberValid_ = Vdei::TryStrToFloat(node->main_->Text, node->number_, '.');
    return node;
  }

  // A name, or a call when "(" follows it.
  TNodePtr Word(size_t at, int nesting) {
    const TExpToken* token = tokens_[at];
    std::vector<TNodePtr> arguments;
    if (IsOpen(Peek())) arguments = Arguments(token->Text, nesting);
    auto node = NewNode(at, pos_, TExpNode::nkWord);
    node->main_ = token;
    node->name_ = token->Quoted ? token->Text : std::string(Vdei::Trim(token->Text));
    if (!token->Quoted) node->builtin_ = FindBuiltin(node->name_);
    if (arguments.empty() && BuiltinNeedsArguments(node->builtin_)) node->builtin_ = bfNone;
    AddChildren(*node, std::move(arguments));
    return node;
  }

  // The arguments of a call, from its "(" to its ")".
  std::vector<TNodePtr> Arguments(const std::string& name, int nesting) {
    ++pos_;                                   // "("
    if (IsClose(Peek())) Fail(SSyntaxFault);  // F() is no call
    std::vector<TNodePtr> arguments;
    for (;;) {
      if (IsClose(Peek()) || IsComma(Peek())) Fail(SFunctionParseError);
      if (static_cast<int>(arguments.size()) == kMaxArguments) {
        throw Vdei::Exception(Vdei::Format(STooManyArguments, name.c_str()));
      }
      arguments.push_back(Expression(0, nesting + 1, false));
      const TExpToken* next = Peek();
      ++pos_;
      if (IsClose(next)) return arguments;
      if (!IsComma(next)) Fail(SFunctionParseError);
    }
  }

  TExpNameResolver* owner_;
  TExpNode::TTokens tokens_;
  size_t pos_ = 0;
};

TExpNode::TExpNode(TExpNameResolver* owner, TTokens tokens, TExpNode* parent)
    : owner_(owner), parent_(parent), tokens_(tokens) {
  if (tokens_.size() == 1) main_ = tokens_[0];
}

TExpNode::~TExpNode() = default;

void TExpNode::Compile() {
  TExpCompiler compiler(owner_, tokens_);
  std::unique_ptr<TExpNode> built = compiler.CompileWhole();
  children_ = std::move(built->children_);
  main_ = built->main_;
  kind_ = built->kind_;
  operator_ = built->operator_;
  height_ = built->height_;
  builtin_ = built->builtin_;
  name_ = std::move(built->name_);
  number_ = built->number_;
  numberValid_ = built->numberValid_;
  AdoptChildren();
}

void TExpNode::AdoptChildren() {
  for (auto& child : children_) {
    child->parent_ = this;
    child->AdoptChildren();
  }
}

void TExpNode::Evaluate(Variant& value, const TExpFrame& frame) const {
  switch (kind_) {
    case nkEmpty:
      value = std::string();
      return;
    case nkNumber:
      if (!numberValid_) {
        throw Vdei::EConvertError(
            Vdei::Format("'%s' is not a valid floating point value", main_->Text.c_str()));
      }
      value = number_;
      return;
    case nkWord:
      if (builtin_ != bfNone) return CallBuiltin(builtin_, *this, frame, value);
      return EvaluateExternal(value, frame);
    case nkUnary: {
      Variant operand;
      children_[0]->Evaluate(operand, frame);
      value = ApplyUnary(operator_, operand);
      return;
    }
    case nkBinary: {
      Variant left, right;
      children_[0]->Evaluate(left, frame);
      children_[1]->Evaluate(right, frame);
      value = ApplyBinary(operator_, left, right);
      return;
    }
  }
}

void TExpNode::EvaluateChild(int index, Variant& value, const TExpFrame& frame) const {
  if (index < 0 || index >= ChildCount()) Vdei::ThrowListIndexError(index);
  children_[index]->Evaluate(value, frame);
}

void TExpNode::EvaluateExternal(Variant& value, const TExpFrame& frame) const {
  TExpArguments args;
  for (size_t i = 0; i < children_.size(); ++i) children_[i]->Evaluate(args[i], frame);
  value = name_;
  owner_->ResolveName(name_, args, static_cast<int>(children_.size()), value, frame);
}

TExpProgram::TExpProgram(TExpNameResolver* owner, std::string_view text) {
  tokenizer_.SetExpression(text);
  tokens_ = tokenizer_.ReadAll();
  root_ = std::make_unique<TExpNode>(owner, tokens_, nullptr);
  root_->Compile();
}

}  // namespace VdImport
