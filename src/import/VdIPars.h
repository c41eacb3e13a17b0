// TVdIParser: the component that evaluates a mapping-source expression.
//
//   TVdIParser parser(nullptr);
//   parser.SetText("IIF(PRICE > 100, PRICE * 0.9, PRICE)");
//   parser.OnEvaluate = ...;   // resolves PRICE
//   Variant value;
//   parser.Evaluate(value);
//
// The text is compiled once (on the first Evaluate after SetText, or by
// Compile) and every later Evaluate only walks the tree; the result equals
// that of a fresh parse, since names are resolved anew each time. The
// language is described in VdIParsToken.h, VdIParsTree.h and
// VdIParsBuiltins.h; every error is an exception that reaches the caller.
//
// Names that are not built-in functions are resolved in this order:
//   - ProcessBeforeEvent false (the default): OnEvaluate first; when the
//     handler sets Done the value is final; then a global user function of
//     that name (GlobalFunctions()) replaces the value.
//   - ProcessBeforeEvent true: a global user function first; OnEvaluate
//     only for names that are none.
// Without either the value is the name itself, so unresolved names and
// quoted texts evaluate to their own text. OnEvaluate receives the parser,
// the name, the evaluated arguments in 11 slots (the rest Empty), ArgCount
// (how many arguments the call has, 0 for a bare name), the value (holding the name on
// entry) and Done (false on entry).
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "core/Component.h"
#include "core/Variant.h"
#include "import/VdIParsTree.h"

namespace VdImport {

using TOnEvaluate =
    std::function<void(Vdei::TObject* Sender, const std::string& Eval, const TExpArguments& Args,
                       int ArgCount, Vdei::Variant& Value, bool& Done)>;

class TVdIParser : public Vdei::TComponent, public TExpNameResolver {
 public:
  VDEI_CLASS(TVdIParser)
  explicit TVdIParser(Vdei::TComponent* owner);
  ~TVdIParser() override;

  const std::string& Text() const { return text_; }
  void SetText(std::string text);
  bool ProcessBeforeEvent() const { return processBeforeEvent_; }
  void SetProcessBeforeEvent(bool value) { processBeforeEvent_ = value; }

  TOnEvaluate OnEvaluate;

  // Tokenises and compiles Text now, raising its syntax errors.
  void Compile();
  // Computes Text (compiling it first when needed) and returns the value.
  void Evaluate(Vdei::Variant& value);
  // The last value computed.
  const Vdei::Variant& Result() const { return result_; }

  // Resolves a name the way this parser's expressions do (above).
  void ResolveName(const std::string& name, const TExpArguments& args, int argCount,
                   Vdei::Variant& value, const TExpFrame& frame) override;

 private:
  bool RaiseOnEvaluate(const std::string& name, const TExpArguments& args, int argCount,
                       Vdei::Variant& value);

  std::string text_;
  bool processBeforeEvent_ = false;
  std::shared_ptr<const TExpProgram> program_;
  Vdei::Variant result_;
};

}  // namespace VdImport
