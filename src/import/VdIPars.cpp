#include "import/VdIPars.h"

#include "core/Properties.h"
#include "import/VdIParsFunctions.h"

namespace VdImport {

using Vdei::Variant;

const Vdei::TClassInfo& TVdIParser::StaticClassInfo() {
  using P = TVdIParser;
  static const Vdei::TClassInfo info =
      Vdei::ClassInfoBuilder<P, Vdei::TComponent>("TVdIParser")
          .Boolean(
              "ProcessBeforeEvent", [](const P& p) { return p.ProcessBeforeEvent(); },
              [](P& p, bool v) { p.SetProcessBeforeEvent(v); }, Variant(false))
          .String(
              "Text", [](const P& p) { return p.Text(); },
              [](P& p, std::string v) { p.SetText(std::move(v)); }, Variant(""))
          .Build();
  return info;
}

TVdIParser::TVdIParser(Vdei::TComponent* owner) : TComponent(owner) {}
TVdIParser::~TVdIParser() = default;

void TVdIParser::SetText(std::string text) {
  if (text == text_ && program_) return;
  text_ = std::move(text);
  program_.reset();
}

void TVdIParser::Compile() {
  program_ = std::make_shared<const TExpProgram>(this, text_);
}

void TVdIParser::Evaluate(Variant& value) {
  if (!program_) Compile();
  // The local reference keeps the tree alive should a handler set Text.
  const std::shared_ptr<const TExpProgram> program = program_;
  Variant computed;
  program->Evaluate(computed, TExpFrame{});
  result_ = computed;
  value = std::move(computed);
}

bool TVdIParser::RaiseOnEvaluate(const std::string& name, const TExpArguments& args, int argCount,
                                 Variant& value) {
  bool done = false;
  OnEvaluate(this, name, args, argCount, value, done);
  return done;
}

void TVdIParser::ResolveName(const std::string& name, const TExpArguments& args, int argCount,
                             Variant& value, const TExpFrame& frame) {
  if (!processBeforeEvent_ && OnEvaluate && RaiseOnEvaluate(name, args, argCount, value)) return;
  if (CallGlobalFunction(name, args, value, frame)) return;
  if (processBeforeEvent_ && OnEvaluate) RaiseOnEvaluate(name, args, argCount, value);
}

}  // namespace VdImport
