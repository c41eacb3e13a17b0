// User functions of the expression language, defined by text, and the
// process-wide list of them that every parser consults.
//
// A definition is "NAME=body" or "NAME(p1, p2, ...)=body" with at most 11
// parameters: the header before the first "=", the body after it (a text
// without "=" defines a function with neither name nor body). In the body a
// parameter name (without regard to case) stands for the argument in its
// slot (Empty when the call gave fewer); any other name is resolved by the
// owning parser when one is linked, else by the global functions, else it
// stays its own text. So "F(x)=SQR1(x)+PI" gives x*x+3.14.
//
// The body is compiled once, on its first calculation, and again only
// after a new definition. Calls nest at most kMaxCallDepth deep (a function
// that calls itself ends with an error rather than a crash).
//
// GlobalFunctions() lives for the whole process and starts with three
// entries: "SQR1(x)=x*x" and "SQRT1(x)=x^(1/2)" (category "Functions",
// group "Math") and "PI=3.14" (category "Constants", group "<All>").
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "core/Object.h"
#include "core/Strings.h"
#include "import/VdIParsTree.h"

namespace VdImport {

class TVdIParser;

constexpr int kMaxCallDepth = 32;

class TVdIParserFunction : public Vdei::TObject, public TExpNameResolver {
 public:
  TVdIParserFunction();
  ~TVdIParserFunction() override;

  // Raises "Function \"%s\" is not valid." (no name), "Function header
  // \"%s\" is not valid.", "Function parse error: delimitor \",\" expected
  // between arguments." or "Function header \"%s\" has more than 11
  // parameters."; the function keeps its previous definition then.
  void SetDefinition(std::string_view text);
  const std::string& Definition() const { return definition_; }
  const std::string& Name() const { return name_; }
  const std::string& Body() const { return body_; }
  const Vdei::TStringList& Params() const { return params_; }
  int ParamCount() const { return params_.Count(); }

  // Sets the argument slots that Calculate uses.
  void SetArguments(const TExpArguments& args) { slots_ = args; }
  void Calculate(Vdei::Variant& value);
  // Evaluates the body with the given arguments at the given depth of
  // nested calls (1 for a call from an expression), leaving the slots of
  // SetArguments alone.
  void Call(const TExpArguments& args, Vdei::Variant& value, int callDepth);

  // The parser that resolves the body's other names; none by default.
  TVdIParser* Parser() const { return parser_; }
  void SetParser(TVdIParser* parser) { parser_ = parser; }
  const std::string& Category() const { return category_; }
  void SetCategory(std::string value) { category_ = std::move(value); }
  const std::string& Group() const { return group_; }
  void SetGroup(std::string value) { group_ = std::move(value); }

  void ResolveName(const std::string& name, const TExpArguments& args, int argCount,
                   Vdei::Variant& value, const TExpFrame& frame) override;

 private:
  std::shared_ptr<const TExpProgram> Program();

  std::string definition_;
  std::string name_;
  std::string body_;
  Vdei::TStringList params_;
  TExpArguments slots_;
  std::shared_ptr<const TExpProgram> program_;
  TVdIParser* parser_ = nullptr;
  std::string category_;
  std::string group_;
};

// An owning list of user functions.
class TVdIParserFunctions {
 public:
  // Creates an entry with that definition (its errors leave the list as it
  // was), appends it and returns it.
  TVdIParserFunction* Add(std::string_view definition);
  // Frees the entry; EListError outside 0..Count-1.
  void Delete(int index);
  int Count() const { return static_cast<int>(items_.size()); }
  // The entry, nullptr outside 0..Count-1.
  TVdIParserFunction* Items(int index) const;
  // The first entry of that name (without regard to case), or nullptr.
  TVdIParserFunction* FindFunction(std::string_view name) const;

 private:
  std::vector<std::unique_ptr<TVdIParserFunction>> items_;
};

TVdIParserFunctions& GlobalFunctions();

// Calculates the global function of that name into value, one call deeper
// than frame; false when there is none.
bool CallGlobalFunction(const std::string& name, const TExpArguments& args, Vdei::Variant& value,
                        const TExpFrame& frame);

}  // namespace VdImport
