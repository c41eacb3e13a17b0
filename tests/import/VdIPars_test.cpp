#include "import/VdIPars.h"

#include <gtest/gtest.h>

#include "core/DateTime.h"
#include "core/Exception.h"
#include "import/VdIParsFunctions.h"

namespace VdImport {
namespace {

using Vdei::Variant;

Variant Eval(const std::string& text, TOnEvaluate handler = {}, bool processBeforeEvent = false) {
  TVdIParser parser(nullptr);
  parser.SetText(text);
  parser.OnEvaluate = std::move(handler);
  parser.SetProcessBeforeEvent(processBeforeEvent);
  Variant value;
  parser.Evaluate(value);
  EXPECT_EQ(parser.Result(), value);
  return value;
}

std::string ErrorOf(const std::string& text) {
  try {
    Eval(text);
  } catch (const Vdei::Exception& e) {
    return e.Message();
  }
  return "no error";
}

// Answers every name with a value from a small table of cells.
TOnEvaluate Cells(std::map<std::string, Variant> cells) {
  return [cells](Vdei::TObject*, const std::string& name, const TExpArguments&, int, Variant& value,
                 bool&) {
    auto it = cells.find(name);
    if (it != cells.end()) value = it->second;
  };
}

TEST(ExpTokenTest, SplitsWordsNumbersOperatorsQuotesAndBrackets) {
  TExpParser tokenizer;
  tokenizer.SetExpression("  a1 >= ' b ' , 12.5(x)\"q\" [Ship Date] AND and 2*-3<>!  ");
  std::vector<std::string> texts;
  std::string kinds;
  for (const TExpToken* token : tokenizer.ReadAll()) {
    texts.push_back(token->Text);
    kinds += static_cast<char>('0' + token->Kind);
  }
  EXPECT_EQ(texts,
            (std::vector<std::string>{"a1", ">=", " b ", ",", "12.5", "(", "x", ")", "q",
                                      "[Ship Date]", "AND", "and", "2", "*", "-", "3", "<>", "!"}));
  EXPECT_EQ(kinds, "151624141151255255");
  EXPECT_EQ(CharKind('.', false), 2);
  EXPECT_EQ(CharKind('(', true), 1);
  EXPECT_EQ(IndexOfText("NOT", OperatorTable), 16);
}

TEST(ExpNodeTest, TreesGroupByPrecedenceAndLinkParents) {
  TExpProgram program(nullptr, "1 + 2 * 3 - 4");
  const TExpNode& root = program.Root();
  ASSERT_EQ(root.MainToken()->Text, "-");
  const TExpNode& sum = root.Child(0);
  EXPECT_EQ(sum.MainToken()->Text, "+");
  EXPECT_EQ(sum.Child(1).MainToken()->Text, "*");
  EXPECT_EQ(sum.Child(1).Depth(), 2);
  EXPECT_EQ(sum.Child(1).Parent(), &sum);
  EXPECT_EQ(sum.Tokens().size(), 5u);
  Variant value;
  program.Evaluate(value, {});
  EXPECT_EQ(value, Variant(3.0));
}

TEST(ExpParserTest, OperatorsFollowPrecedenceAndGrouping) {
  const std::pair<const char*, Variant> cases[] = {
      {"2 ^ 3", 8.0},
      {"(1 + 2) * 3", 9.0},
      {"1 + 2 * 3", 7.0},
      {"8 - 3 - 2", 3.0},
      {"8 / 4 / 2", 1.0},
      {"2 ^ 3 ^ 2", 512.0},
      {"-5", -5.0},
      {"2 * -3", -6.0},
      {"- -2", 2.0},
      {"-2 ^ 2", 4.0},
      {"1 + 2 = 3", true},
      {"NOT 1 = 2", true},
      {"NOT (1 = 1) OR 2 > 1", true},
      {"!(1 = 2)", true},
      {"!0", Variant(int64_t{-1})},
      {"1 < 2 AND 3 <= 2", false},
      {"1 OR 2", Variant(int64_t{3})},
      {"2 != 2", false},
      {"'ab' + 'cd'", "abcd"},
      {"' a '", " a "},
      {"", ""},
      {"3 <> 4", true},
      {"6 AND 3", Variant(int64_t{2})},
      {"10 >= 10", true},
  };
  for (const auto& [text, expected] : cases) EXPECT_EQ(Eval(text), expected) << text;
  const TOnEvaluate cells = Cells({{"a", 1.0}, {"b", 2.0}, {"x", true}, {"y", false}});
  EXPECT_EQ(Eval("a = 1 AND b = 2", cells), Variant(true));
  EXPECT_EQ(Eval("x AND y", cells), Variant(false));
  EXPECT_EQ(Eval("x OR y", cells), Variant(true));
}

TEST(ExpParserTest, BuiltInFunctions) {
  Vdei::SetClockForTesting([] { return Vdei::EncodeDate(2026, 2, 3) + 0.5; });
  const std::pair<const char*, const char*> cases[] = {
      {"SUBSTR('abcdef', 2, 3)", "bcd"},
      {"substring('abc', 0, 9)", "abc"},
      {"CHR(65)", "A"},
      {"UPPER('aB')", "AB"},
      {"LOWER('aB')", "ab"},
      {"TRIM(' a ')", "a"},
      {"TRIMLEFT(' a ')", "a "},
      {"TRIMRIGHT(' a ')", " a"},
      {"POS('c', 'abc')", "3"},
      {"POS('z', 'abc')", "0"},
      {"STRTOFLOAT('1.5') * 2", "3"},
      {"STRTOINT('42') + 1", "43"},
      {"LENGTH('abc')", "3"},
      {"ORD('A')", "65"},
      {"INTTOSTR(41.6)", "42"},
      {"FLOATTOSTR(1.5)", "1.5"},
      {"MAX(3, 7)", "7"},
      {"MAX(-3, -7)", "-3"},
      {"MIN(3, 7)", "3"},
      {"MIN(5)", "5"},
      {"MAX", "0"},
      {"COUNT(1, 2, 3)", "3"},
      {"COUNT", "0"},
      {"SUM(1, 2, 3)", "6"},
      {"AVG(2, 4)", "3"},
      {"AVG", "0"},
      {"FRAC(2.25)", "0.25"},
      {"INT(-2.5)", "-2"},
      {"ROUND(2.5)", "2"},
      {"ROUND(3.5)", "4"},
      {"DIV(7, 2)", "3"},
      {"MOD(7, 2)", "1"},
      {"ABS(-2)", "2"},
      {"POWER(2, 10)", "1024"},
      {"EXP(0)", "1"},
      {"LN(1)", "0"},
      {"LOG(1000)", "3"},
      {"SQR(3)", "9"},
      {"SQRT(16)", "4"},
      {"IIF(1 = 1, 'yes', 'no')", "yes"},
      {"IIF(1 = 2, 'yes', 'no')", "no"},
      {"DATETOSTR(STRTODATE('3/15/2001'))", "3/15/2001"},
      {"YEAR(STRTODATE('3/15/2001')) * 100 + MONTH(STRTODATE('3/15/2001'))", "200103"},
      {"DAY(STRTODATE('3/15/2001'))", "15"},
      {"HOUR(DATETIMEFROMSTRING('14:30:05', 'HH:NN:SS', '/', ':'))", "14"},
      {"MINUTE(DATETIMEFROMSTRING('14.30.05', 'HH.NN.SS', 1, '.'))", "30"},
      {"SECOND(DATETIMEFROMSTRING('14:30:05', 'HH:NN:SS', '/', ':'))", "5"},
      {"DATEPART(GETDATE) = STRTODATE('2/3/2026')", "True"},
      {"TIMEPART(GETDATE)", "0.5"},
      {"ISNULL(1)", "False"},
      {"SQR1(3)", "9"},
      {"SQRT1(16)", "4"},
      {"PI * 2", "6.28"},
  };
  for (const auto& [text, expected] : cases) EXPECT_EQ(Eval(text).AsString(), expected) << text;
  Vdei::SetClockForTesting({});
  EXPECT_EQ(Eval("ISNULL(GONE)", Cells({{"GONE", Variant::Null()}})), Variant(true));
  EXPECT_EQ(Eval("YEAR", Cells({{"YEAR", "a column"}})), Variant("a column"));
  for (int i = 0; i < 20; ++i) {
    const double unit = Eval("RANDOM").AsFloat();
    EXPECT_TRUE(unit >= 0 && unit < 1);
    const Variant die = Eval("RANDOM(6)");
    EXPECT_EQ(die.Type(), Vdei::varInteger);
    EXPECT_TRUE(die.AsInteger() >= 0 && die.AsInteger() < 6);
  }
}

TEST(ExpParserTest, IifEvaluatesOnlyTheChosenBranch) {
  int calls = 0;
  TOnEvaluate handler = [&](Vdei::TObject*, const std::string& name, const TExpArguments&, int,
                            Variant&, bool&) {
    ++calls;
    if (name == "BAD") throw Vdei::Exception("evaluated");
  };
  EXPECT_EQ(Eval("IIF(1 = 1, 'yes', BAD)", handler), Variant("yes"));
  EXPECT_EQ(Eval("IIF(1 = 2, BAD, 'no')", handler), Variant("no"));
  EXPECT_EQ(calls, 2);  // the two quoted texts only
}

TEST(ExpParserTest, CallbackSeesNamesArgumentsAndOrder) {
  std::vector<std::string> seen;
  std::vector<int> argCounts;
  TOnEvaluate handler = [&](Vdei::TObject* sender, const std::string& name,
                            const TExpArguments& args, int argCount, Variant& value, bool& done) {
    EXPECT_NE(dynamic_cast<TVdIParser*>(sender), nullptr);
    argCounts.push_back(argCount);
    EXPECT_FALSE(done);
    EXPECT_EQ(value, Variant(name));
    seen.push_back(name + "/" + args[0].AsString() + "/" + args[1].AsString() + "/" +
                   (args[2].IsEmpty() ? "empty" : "set"));
    if (name == "PI") value = 1.0;
    if (name == "DONE") {
      value = 2.0;
      done = true;
    }
  };
  EXPECT_EQ(Eval("FOO(1 + 1, 'a')", handler), Variant("FOO"));
  EXPECT_EQ(Eval("[Ship Date] + \"Order No\"", handler), Variant("[Ship Date]Order No"));
  EXPECT_EQ(Eval("PI", handler), Variant(3.14));  // the user function replaces the handler's value
  EXPECT_EQ(seen, (std::vector<std::string>{"a///empty", "FOO/2/a/empty", "[Ship Date]///empty",
                                            "Order No///empty", "PI///empty"}));
  EXPECT_EQ(argCounts, (std::vector<int>{0, 2, 0, 0, 0}));  // the real number of arguments
  EXPECT_EQ(Eval("DONE", handler), Variant(2.0));
  seen.clear();
  EXPECT_EQ(Eval("PI + LENGTH(COL)", handler, true), Variant(3.14 + 3));
  EXPECT_EQ(seen, (std::vector<std::string>{"COL///empty"}));  // PI never reaches the handler
  EXPECT_EQ(Eval("CUSTNO"), Variant("CUSTNO"));                // no handler: its own text
}

TEST(ExpParserTest, UserFunctionsDefinitionsAndCalls) {
  TVdIParserFunctions& globals = GlobalFunctions();
  ASSERT_EQ(globals.Count(), 3);
  EXPECT_EQ(globals.Items(2)->Category(), "Constants");
  EXPECT_EQ(globals.Items(0)->Group(), "Math");
  EXPECT_EQ(globals.Items(3), nullptr);
  TVdIParserFunction* cube = globals.Add("CUBE(A, b)=a*a*a + B + SQR1(a) + PI");
  EXPECT_EQ(cube->ParamCount(), 2);
  EXPECT_EQ(cube->Params()[0], "A");
  EXPECT_EQ(Eval("cube(2, 1)").AsFloat(), 8 + 1 + 4 + 3.14);
  globals.Add("LOOP(x)=LOOP(x) + 1");
  EXPECT_EQ(ErrorOf("LOOP(1)"), "Calculate error: function \"LOOP\" nested too deeply.");
  globals.Delete(4);
  globals.Delete(3);
  EXPECT_EQ(globals.FindFunction("cube"), nullptr);
  EXPECT_THROW(globals.Delete(3), Vdei::EListError);

  TVdIParserFunction function;
  function.SetDefinition("F(x, y)=x - y");
  TExpArguments args;
  args[0] = 5.0;
  args[1] = 2.0;
  function.SetArguments(args);
  Variant value;
  function.Calculate(value);
  EXPECT_EQ(value, Variant(3.0));
  function.SetDefinition("NOEQUALS");
  EXPECT_EQ(function.Name(), "");
  const std::pair<const char*, const char*> errors[] = {
      {"=x", "Function \"=x\" is not valid."},
      {"(x)=1", "Function \"(x)=1\" is not valid."},
      {"F)x(=1", "Function header \"F)x(\" is not valid."},
      {"F(x y)=1", "Function parse error: delimitor \",\" expected between arguments."},
      {"F(x,=1", "Function header \"F(x,\" is not valid."},
      {"F(x,)=1", "Function header \"F(x,)\" is not valid."},
      {"F(x) y=1", "Function header \"F(x) y\" is not valid."},
      {"F(a,b,c,d,e,f,g,h,i,j,k,l)=1",
       "Function header \"F(a,b,c,d,e,f,g,h,i,j,k,l)\" has more than 11 parameters."},
  };
  function.SetDefinition("G(a)=a");
  for (const auto& [definition, message] : errors) {
    try {
      function.SetDefinition(definition);
      ADD_FAILURE() << definition;
    } catch (const Vdei::Exception& e) {
      EXPECT_EQ(e.Message(), message);
    }
  }
  EXPECT_EQ(function.Definition(), "G(a)=a");  // a failed definition keeps the old one
}

TEST(ExpParserTest, ErrorsOfTheLanguage) {
  const std::pair<std::string, const char*> cases[] = {
      {std::string("a\0b", 3), "Parse error: illegal character \"\" at position 2."},
      {"(1 + 2", "Compile error: parenthesis mismatch."},
      {"1 + 2)", "Compile error: parenthesis mismatch."},
      {"F(1,,2)", "Function parse error."},
      {"F(1 2)", "Function parse error."},
      {"1 2", "Compile error: syntax fault."},
      {"F()", "Compile error: syntax fault."},
      {"x y", "Compile error: syntax fault."},
      {"()", "Compile error: syntax fault."},
      {"NOT", "Calculate error: syntax tree fault."},
      {"!", "Calculate error: syntax tree fault."},
      {"5 +", "Calculate error: syntax tree fault."},
      {"* 2", "Calculate error: syntax tree fault."},
      {"(5 -)", "Calculate error: syntax tree fault."},
      {"F(1,2,3,4,5,6,7,8,9,10,11,12)",
       "Function parse error: \"F\" is called with more than 11 arguments."},
      {"ORD('')", "Calculate error: ORD of an empty text."},
      {"SUBSTR('a')", "List index out of bounds (1)"},
      {std::string(300, '(') + "1" + std::string(300, ')'),
       "Compile error: expression nested too deeply."},
      {"1" + std::string(600, '+').replace(0, 600,
                                           [] {
                                             std::string s;
                                             for (int i = 0; i < 300; ++i) s += "+1";
                                             return s;
                                           }()),
       "Compile error: expression nested too deeply."},
      {"LN(0)", "Invalid floating point operation"},
      {"EXP(1000)", "Floating point overflow"},
      {"CHR(256)", "Calculate error: 256 is not a character code (0 to 255)."},
  };
  for (const auto& [text, message] : cases) EXPECT_EQ(ErrorOf(text), message) << text;
  EXPECT_THROW(Eval("1.2.3"), Vdei::EConvertError);
  EXPECT_THROW(Eval("'a' * 2"), Vdei::EConvertError);
  EXPECT_THROW(Eval("1 / 0"), Vdei::EZeroDivide);
  EXPECT_EQ(Eval("IIF(1 = 1, 1, 1.2.3)"), Variant(1.0));  // only evaluated numbers fail
}

TEST(ExpParserTest, CompiledTextEvaluatesAgainWithFreshNames) {
  double price = 50;
  TVdIParser parser(nullptr);
  parser.SetText("IIF(PRICE > 100, PRICE * 0.5, PRICE + 1)");
  parser.OnEvaluate = [&](Vdei::TObject*, const std::string&, const TExpArguments&, int,
                          Variant& value, bool&) { value = price; };
  parser.Compile();
  Variant value;
  for (price = 0; price < 300; price += 25) {
    parser.Evaluate(value);
    EXPECT_EQ(value, Variant(price > 100 ? price * 0.5 : price + 1));
  }
  parser.SetText("PRICE(");
  EXPECT_THROW(parser.Compile(), Vdei::Exception);
  parser.SetText("PRICE - 1");
  parser.OnEvaluate = [&](Vdei::TObject* sender, const std::string&, const TExpArguments&, int,
                          Variant& value, bool&) {
    static_cast<TVdIParser*>(sender)->SetText("0");  // a new text waits for the next Evaluate
    value = 10.0;
  };
  parser.Evaluate(value);
  EXPECT_EQ(value, Variant(9.0));
  parser.Evaluate(value);
  EXPECT_EQ(value, Variant(0.0));
}

}  // namespace
}  // namespace VdImport
