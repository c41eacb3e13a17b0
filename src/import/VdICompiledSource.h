// TVdICompiledSource: one source expression of an import run, compiled
// once and evaluated for every row, with the same value a fresh parse of
// the text would give.
//
// The names of the expression are resolved by the import component's
// EvaluateIdentifier for the dataset field the source fills (none below
// 0), then, as in every parser, by a global user function of that name
// (so a bare PI is 3.14). A source of the base component (ImportKind 2)
// that starts with "Text" is no expression: the whole text is one name.
// A source that is a single name which no user function replaces is read
// without walking a tree.
#pragma once

#include <exception>
#include <memory>
#include <string>

#include "import/VdIParsTree.h"

namespace VdImport {

class TVdImportBaseComponent;

// What the evaluation of a source read: whether it read a cell of the row,
// and whether a cell it read held text (not only blanks, and a value the
// row has).
struct TVdICellUse {
  bool ReadCell = false;
  bool HadText = false;
};

class TVdICompiledSource : public TExpNameResolver {
 public:
  // A text the expression language cannot read raises its syntax error at
  // every Evaluate, so each row reports it.
  TVdICompiledSource(TVdImportBaseComponent& component, const std::string& source, int fieldIndex);
  TVdICompiledSource(const TVdICompiledSource&) = delete;
  TVdICompiledSource& operator=(const TVdICompiledSource&) = delete;

  // The value for the current row; cellUse learns of the cells it read.
  void Evaluate(Vdei::Variant& value, TVdICellUse& cellUse);

  void ResolveName(const std::string& name, const TExpArguments& args, int argCount,
                   Vdei::Variant& value, const TExpFrame& frame) override;

 private:
  void SetSingleName(const std::string& name);

  TVdImportBaseComponent& component_;
  std::exception_ptr syntaxError_;  // raised by every Evaluate
  int fieldIndex_;
  std::unique_ptr<TExpProgram> program_;
  // Set when the source is one name without arguments: the cell of that
  // name (square brackets or double quotes removed) is read directly.
  std::string singleName_;
  TVdICellUse* cellUse_ = nullptr;  // during Evaluate
};

}  // namespace VdImport
