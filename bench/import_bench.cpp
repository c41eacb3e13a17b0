// Speed of the import's per-cell work: evaluating a compiled mapping-source
// expression, and converting cell texts to field values.
#include <chrono>
#include <cstdio>
#include <map>
#include <string>
#include <string_view>

#include "core/StrUtils.h"
#include "dataset/Fields.h"
#include "import/VdIConvert.h"
#include "import/VdIPars.h"

namespace {

using Vdei::Variant;
using VdImport::TExpArguments;

// Runs body the given number of times and returns the calls per second.
template <class F>
double PerSecond(long iterations, F body) {
  const auto start = std::chrono::steady_clock::now();
  for (long i = 0; i < iterations; ++i) body(i);
  const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
  return iterations / elapsed.count();
}

void Report(const char* what, const char* unit, double rate) {
  std::printf("%-44s %12.0f %s/s\n", what, rate, unit);
}

// The pairwise key / result lookup of the import's SUBSTITUTE.
Variant Substitute(const std::string& value, std::string_view keys, std::string_view results) {
  while (!keys.empty()) {
    const size_t keyEnd = std::min(keys.find(';'), keys.size());
    const size_t resultEnd = std::min(results.find(';'), results.size());
    if (keys.substr(0, keyEnd) == value) return std::string(results.substr(0, resultEnd));
    keys.remove_prefix(std::min(keyEnd + 1, keys.size()));
    results.remove_prefix(std::min(resultEnd + 1, results.size()));
  }
  return Variant::Null();
}

// Stands in for the import's identifier callback over one source row.
class TRow {
 public:
  void Evaluate(Vdei::TObject*, const std::string& name, const TExpArguments& args, int,
                Variant& value, bool&) const {
    if (Vdei::SameText(name, "SUBSTITUTE")) {
      value = Substitute(args[0].AsString(), args[1].AsString(), args[2].AsString());
      return;
    }
    auto cell = cells_.find(name);
    if (cell != cells_.end()) value = cell->second;
  }

 private:
  std::map<std::string, Variant, std::less<>> cells_{
      {"CUSTNO", "1221"}, {"STATE", "NY"}, {"PRICE", 140.0}};
};

void BenchEvaluation(const char* what, const char* text, long iterations) {
  TRow row;
  VdImport::TVdIParser parser(nullptr);
  parser.SetText(text);
  parser.OnEvaluate = [&row](Vdei::TObject* sender, const std::string& name,
                             const TExpArguments& args, int count, Variant& value,
                             bool& done) { row.Evaluate(sender, name, args, count, value, done); };
  Variant value;
  Report(what, "evaluations", PerSecond(iterations, [&](long) { parser.Evaluate(value); }));
}

template <class F>
void BenchConversion(const char* what, const char* text, const VdImport::TVdIDataFormats& formats,
                     int importKind, long iterations) {
  F field;
  field.SetFieldName("FIELD");
  Variant value;
  Report(what, "conversions", PerSecond(iterations, [&](long) {
           value = text;
           VdImport::ConvertFieldValue(value, field, formats, importKind, importKind == 7);
         }));
}

}  // namespace

int main() {
  const long n = 1000000;
  BenchEvaluation("expression: column name", "CUSTNO", n);
  BenchEvaluation("expression: SUBSTITUTE call",
                  "SUBSTITUTE(STATE, 'CA;NY;TX', 'California;New York;Texas')", n);
  BenchEvaluation("expression: IIF with arithmetic", "IIF(PRICE > 100, PRICE * 0.9, PRICE + 5)", n);
  TRow row;
  Report("expression: IIF, parsed afresh each time", "evaluations", PerSecond(n / 10, [&](long) {
           VdImport::TVdIParser parser(nullptr);
           parser.SetText("IIF(PRICE > 100, PRICE * 0.9, PRICE + 5)");
           parser.OnEvaluate = [&row](Vdei::TObject* s, const std::string& name,
                                      const TExpArguments& a, int c, Variant& v,
                                      bool& d) { row.Evaluate(s, name, a, c, v, d); };
           Variant value;
           parser.Evaluate(value);
         }));

  VdImport::TVdIDataFormats formats;
  BenchConversion<Vdei::TIntegerField>("conversion: integer 12345", "12345", formats, 3, n);
  BenchConversion<Vdei::TFloatField>("conversion: float $1,234.50", "$1,234.50", formats, 3, n);
  BenchConversion<Vdei::TDateTimeField>("conversion: date 03/15/2001 14:30:00",
                                        "03/15/2001 14:30:00", formats, 3, n);
  formats.SetCustomDateTimeFormat("yyyymmddThhnnsszzz");
  BenchConversion<Vdei::TDateTimeField>("conversion: XML date-time 20010315T14:30:05123",
                                        "20010315T14:30:05123", formats, 7, n);
  return 0;
}
