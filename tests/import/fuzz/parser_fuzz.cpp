// libFuzzer target: random texts as expressions, user-function
// definitions, date-time texts and Base64 texts. Only the language's own
// errors (Vdei::Exception) may come out; anything else, a crash or a hang
// is a fault.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/Exception.h"
#include "import/VdIMIME.h"
#include "import/VdIPars.h"
#include "import/VdIParsFunctions.h"
#include "import/VdIUtils.h"

namespace {

using Vdei::Variant;

// Answers names with a number, a Null or (leaving the value) their text.
void AnswerName(Vdei::TObject*, const std::string& name, const VdImport::TExpArguments&, int,
                Variant& value, bool& done) {
  switch (name.size() % 3) {
    case 0:
      value = 1.5;
      break;
    case 1:
      value = Variant::Null();
      break;
    default:
      break;
  }
  done = name.size() % 2 == 0;
}

template <class F>
void Guarded(F body) {
  try {
    body();
  } catch (const Vdei::Exception&) {
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  Guarded([&] {
    VdImport::TVdIParser parser(nullptr);
    parser.OnEvaluate = AnswerName;
    parser.SetText(text);
    Variant value;
    parser.Evaluate(value);
    parser.Evaluate(value);
  });
  Guarded([&] {
    VdImport::TVdIParserFunction function;
    function.SetDefinition(text);
    VdImport::TExpArguments args;
    args[0] = 2.0;
    args[1] = "text";
    function.SetArguments(args);
    Variant value;
    function.Calculate(value);
  });
  Guarded([&] { VdImport::ParseDateTime(text, "MM/DD/YYYY HH:NN:SS", '/', ':'); });
  Guarded([&] { VdImport::ParseDateTime(text, "YYYYMMDDTHHNNSSZZZ", '.', '-'); });
  Guarded([&] { VdImport::DecodeBase64(text); });
  return 0;
}
