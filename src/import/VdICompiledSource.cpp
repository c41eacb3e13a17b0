#include "import/VdICompiledSource.h"

#include "import/VdIBase.h"
#include "import/VdIParsFunctions.h"

namespace VdImport {

using Vdei::Variant;

TVdICompiledSource::TVdICompiledSource(TVdImportBaseComponent& component, const std::string& source,
                                       int fieldIndex)
    : component_(component), fieldIndex_(fieldIndex) {
  if (component.ImportKind() == kImportKindBase && source.starts_with("Text")) {
    SetSingleName(source);
    return;
  }
  try {
    program_ = std::make_unique<TExpProgram>(this, source);
  } catch (...) {
    syntaxError_ = std::current_exception();
    return;
  }
  const TExpNode& root = program_->Root();
  if (root.IsExternalName() && GlobalFunctions().FindFunction(root.Name()) == nullptr) {
    SetSingleName(root.Name());
    program_.reset();
  }
}

void TVdICompiledSource::SetSingleName(const std::string& name) {
  Variant unwrapped(name);
  UnwrapName(unwrapped);
  singleName_ = unwrapped.StringRef();
}

void TVdICompiledSource::Evaluate(Variant& value, TVdICellUse& cellUse) {
  if (syntaxError_) std::rethrow_exception(syntaxError_);
  if (!program_) return component_.ReadCell(singleName_, value, fieldIndex_, &cellUse);
  cellUse_ = &cellUse;
  struct Forget {
    TVdICellUse*& use;
    ~Forget() { use = nullptr; }
  } forget{cellUse_};
  program_->Evaluate(value, TExpFrame{});
}

void TVdICompiledSource::ResolveName(const std::string& name, const TExpArguments& args,
                                     int argCount, Variant& value, const TExpFrame& frame) {
  component_.EvaluateIdentifier(args, argCount, value, fieldIndex_, cellUse_);
  CallGlobalFunction(name, args, value, frame);
}

}  // namespace VdImport
