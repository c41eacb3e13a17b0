#include "import/VdIParsFunctions.h"

#include "core/Exception.h"
#include "core/StrUtils.h"
#include "import/VdIPars.h"
#include "import/VdIParsMessages.h"

namespace VdImport {

using Vdei::Variant;

namespace {

[[noreturn]] void FailWith(const char* pattern, std::string_view text) {
  throw Vdei::Exception(Vdei::Format(pattern, std::string(text).c_str()));
}

bool IsPlainWord(const TExpToken* token) {
  return token != nullptr && token->Kind == tkWord && !token->Quoted;
}
bool IsParenthesis(const TExpToken* token, char c) {
  return token != nullptr && token->Kind == tkParenthesis && token->Text[0] == c;
}

// Reads the parameter list of a header after its name.
void ReadParameters(TExpParser& header, std::string_view headerText, Vdei::TStringList& params) {
  const TExpToken* token = header.NextToken();
  if (token == nullptr) return;  // no parameters
  if (!IsParenthesis(token, '(')) FailWith(SFunctionHeaderNotValid, headerText);
  bool expectName = true;
  for (token = header.NextToken();; token = header.NextToken()) {
    if (token == nullptr) FailWith(SFunctionHeaderNotValid, headerText);
    if (expectName) {
      if (IsParenthesis(token, ')') && params.Count() == 0) break;  // "F()"
      if (!IsPlainWord(token)) FailWith(SFunctionHeaderNotValid, headerText);
      if (params.Count() == kMaxArguments) FailWith(STooManyParameters, headerText);
      params.Add(token->Text);
      expectName = false;
    } else if (IsParenthesis(token, ')')) {
      break;
    } else if (token->Kind == tkComma) {
      expectName = true;
    } else if (token->Kind == tkParenthesis) {
      FailWith(SFunctionHeaderNotValid, headerText);
    } else {
      throw Vdei::Exception(SDelimiterExpected);
    }
  }
  if (header.NextToken() != nullptr) FailWith(SFunctionHeaderNotValid, headerText);
}

}  // namespace

TVdIParserFunction::TVdIParserFunction() = default;
TVdIParserFunction::~TVdIParserFunction() = default;

void TVdIParserFunction::SetDefinition(std::string_view text) {
  std::string name, body;
  Vdei::TStringList params;
  const size_t equals = text.find('=');
  if (equals != std::string_view::npos) {
    const std::string_view headerText = text.substr(0, equals);
    body = text.substr(equals + 1);
    TExpParser header;
    header.SetExpression(headerText);
    const TExpToken* token = header.FirstToken();
    if (!IsPlainWord(token)) FailWith(SFunctionNotValid, text);
    name = token->Text;
    ReadParameters(header, headerText, params);
  }
  definition_ = text;
  name_ = std::move(name);
  body_ = std::move(body);
  params_.Assign(params);
  program_.reset();
}

std::shared_ptr<const TExpProgram> TVdIParserFunction::Program() {
  if (!program_) program_ = std::make_shared<const TExpProgram>(this, body_);
  return program_;
}

void TVdIParserFunction::Calculate(Variant& value) {
  Call(slots_, value, 1);
}

void TVdIParserFunction::Call(const TExpArguments& args, Variant& value, int callDepth) {
  if (callDepth > kMaxCallDepth) FailWith(SCallsTooDeep, name_);
  // The local reference keeps the tree alive should the body's evaluation
  // give this function a new definition.
  const std::shared_ptr<const TExpProgram> program = Program();
  program->Evaluate(value, TExpFrame{&args, callDepth});
}

void TVdIParserFunction::ResolveName(const std::string& name, const TExpArguments& args,
                                     int argCount, Variant& value, const TExpFrame& frame) {
  const int index = params_.IndexOf(name);
  if (index >= 0) {
    value = frame.Params != nullptr ? (*frame.Params)[index] : Variant();
    return;
  }
  if (parser_ != nullptr) return parser_->ResolveName(name, args, argCount, value, frame);
  CallGlobalFunction(name, args, value, frame);
}

TVdIParserFunction* TVdIParserFunctions::Add(std::string_view definition) {
  auto function = std::make_unique<TVdIParserFunction>();
  function->SetDefinition(definition);
  items_.push_back(std::move(function));
  return items_.back().get();
}

void TVdIParserFunctions::Delete(int index) {
  if (index < 0 || index >= Count()) Vdei::ThrowListIndexError(index);
  items_.erase(items_.begin() + index);
}

TVdIParserFunction* TVdIParserFunctions::Items(int index) const {
  return index >= 0 && index < Count() ? items_[index].get() : nullptr;
}

TVdIParserFunction* TVdIParserFunctions::FindFunction(std::string_view name) const {
  for (const auto& function : items_) {
    if (Vdei::SameText(function->Name(), name)) return function.get();
  }
  return nullptr;
}

TVdIParserFunctions& GlobalFunctions() {
  static TVdIParserFunctions functions = [] {
    TVdIParserFunctions list;
    struct TEntry {
      const char* Definition;
      const char* Category;
      const char* Group;
    };
    for (const TEntry& entry : {TEntry{"SQR1(x)=x*x", "Functions", "Math"},
                                TEntry{"SQRT1(x)=x^(1/2)", "Functions", "Math"},
                                TEntry{"PI=3.14", "Constants", "<All>"}}) {
      TVdIParserFunction* function = list.Add(entry.Definition);
      function->SetCategory(entry.Category);
      function->SetGroup(entry.Group);
    }
    return list;
  }();
  return functions;
}

bool CallGlobalFunction(const std::string& name, const TExpArguments& args, Variant& value,
                        const TExpFrame& frame) {
  TVdIParserFunction* function = GlobalFunctions().FindFunction(name);
  if (function == nullptr) return false;
  function->Call(args, value, frame.CallDepth + 1);
  return true;
}

}  // namespace VdImport
