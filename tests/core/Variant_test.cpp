#include "core/Variant.h"

#include <gtest/gtest.h>

#include <limits>

#include "core/Exception.h"
#include "core/FormatSettings.h"

namespace Vdei {
namespace {

const Variant kNull = Variant::Null();
const Variant kEmpty;

template <class E>
std::string MessageOf(const std::function<void()>& f) {
  try {
    f();
  } catch (const E& e) {
    return e.Message();
  }
  return "no exception";
}

TEST(Variant, KindsAndTheirTexts) {
  EXPECT_EQ(kEmpty.Type(), varEmpty);
  EXPECT_EQ(kNull.TypeName(), std::string("Null"));
  EXPECT_EQ(Variant(5).Type(), varInteger);
  EXPECT_EQ(Variant(2.5).TypeName(), std::string("Double"));
  EXPECT_EQ(Variant::Currency(1).TypeName(), std::string("Currency"));
  EXPECT_EQ(Variant::DateTime(1).TypeName(), std::string("Date"));
  EXPECT_TRUE(Variant::DateTime(1).IsNumeric());
  EXPECT_FALSE(Variant(true).IsNumeric());
  EXPECT_EQ(kEmpty.AsString(), "");
  EXPECT_EQ(kNull.AsString(), "");
  EXPECT_EQ(Variant(int64_t{-12}).AsString(), "-12");
  EXPECT_EQ(Variant(0.1 + 0.2).AsString(), "0.3");
  EXPECT_EQ(Variant::Currency(1.23456).AsString(), "1.2346");
  EXPECT_EQ(Variant::DateTime(EncodeDate(2001, 3, 15)).AsString(), "3/15/2001");
  EXPECT_EQ(Variant::DateTime(36965.5).AsString(), "3/15/2001 12:00:00 PM");
  EXPECT_EQ(Variant(true).AsString(), "True");
  EXPECT_EQ(Variant(false).AsString(), "False");
  EXPECT_THROW(Variant::Array(0, 1).AsString(), EVariantError);
  FormatSettingsGuard guard;
  FormatSettings().DecimalSeparator = ',';
  EXPECT_EQ(Variant(1.5).AsString(), "1,5");
  EXPECT_EQ(Variant("2,5").AsFloat(), 2.5);
}

TEST(Variant, ConversionsToNumbers) {
  EXPECT_EQ(kEmpty.AsInteger(), 0);
  EXPECT_EQ(Variant(2.5).AsInteger(), 3);
  EXPECT_EQ(Variant(-2.5).AsInteger(), -3);
  EXPECT_EQ(Variant(2.4999).AsInteger(), 2);
  EXPECT_EQ(Variant::Currency(7.5).AsInteger(), 8);
  EXPECT_EQ(Variant(true).AsInteger(), -1);
  EXPECT_EQ(Variant(" 42 ").AsInteger(), 42);
  EXPECT_EQ(Variant("$10").AsInteger(), 16);
  EXPECT_EQ(Variant("2.5").AsInteger(), 3);
  EXPECT_EQ(Variant("1e3").AsInteger(), 1000);
  EXPECT_EQ(Variant("$10").AsFloat(), 16);
  EXPECT_EQ(Variant(false).AsFloat(), 0);
  EXPECT_EQ(Variant(true).AsFloat(), -1);
  EXPECT_EQ(Variant::DateTime(2.25).AsFloat(), 2.25);
  EXPECT_EQ(MessageOf<EConvertError>([] { kNull.AsInteger(); }),
            "Could not convert variant of type (Null) into type (Integer)");
  EXPECT_EQ(MessageOf<EConvertError>([] { Variant("abc").AsInteger(); }),
            "Could not convert variant of type (String) into type (Integer)");
  EXPECT_EQ(MessageOf<EConvertError>([] { Variant("abc").AsFloat(); }),
            "Could not convert variant of type (String) into type (Double)");
  EXPECT_EQ(MessageOf<EConvertError>([] { Variant(1e30).AsInteger(); }),
            "Could not convert variant of type (Double) into type (Integer)");
  EXPECT_THROW(Variant(std::numeric_limits<double>::quiet_NaN()).AsInteger(), EConvertError);
  EXPECT_THROW(kNull.AsFloat(), EConvertError);
  EXPECT_THROW(Variant::Array(0, 0).AsInteger(), EConvertError);
  EXPECT_THROW(Variant::Array(0, 0).AsFloat(), EConvertError);
}

TEST(Variant, ConversionsToBooleanAndDate) {
  EXPECT_FALSE(kEmpty.AsBoolean());
  EXPECT_TRUE(Variant(2).AsBoolean());
  EXPECT_FALSE(Variant(0.0).AsBoolean());
  EXPECT_TRUE(Variant("TRUE").AsBoolean());
  EXPECT_FALSE(Variant("false").AsBoolean());
  EXPECT_TRUE(Variant("-1").AsBoolean());
  EXPECT_FALSE(Variant("0.0").AsBoolean());
  EXPECT_EQ(MessageOf<EConvertError>([] { Variant("yes").AsBoolean(); }),
            "Could not convert variant of type (String) into type (Boolean)");
  EXPECT_THROW(kNull.AsBoolean(), EConvertError);
  EXPECT_EQ(kEmpty.AsDateTime(), 0);
  EXPECT_EQ(Variant(3).AsDateTime(), 3);
  EXPECT_EQ(Variant("3/15/2001").AsDateTime(), EncodeDate(2001, 3, 15));
  EXPECT_DOUBLE_EQ(Variant("3/15/2001 6:00:00 AM").AsDateTime(), EncodeDate(2001, 3, 15) + 0.25);
  EXPECT_EQ(MessageOf<EConvertError>([] { Variant(true).AsDateTime(); }),
            "Could not convert variant of type (Boolean) into type (Date)");
  EXPECT_THROW(Variant("someday").AsDateTime(), EConvertError);
  EXPECT_THROW(kNull.AsDateTime(), EConvertError);
}

TEST(Variant, ArraysWithBoundsAndCopyOnWrite) {
  Variant a = Variant::Array(3, 5);
  EXPECT_TRUE(a.IsArray());
  EXPECT_EQ(a.LowBound(), 3);
  EXPECT_EQ(a.HighBound(), 5);
  EXPECT_EQ(a.ElementCount(), 3);
  EXPECT_TRUE(a[4].IsEmpty());
  a[3] = Variant("x");
  a[5] = Variant::Array({Variant(1), Variant(2)}, -1);
  Variant copy = a;
  copy[3] = Variant("changed");
  copy[5][0] = Variant(20);
  EXPECT_EQ(a[3].AsString(), "x");
  EXPECT_EQ(a[5][0].AsInteger(), 2);
  EXPECT_EQ(copy[5][0].AsInteger(), 20);
  EXPECT_EQ(copy[5][-1].AsInteger(), 1);
  const Variant& constA = a;
  EXPECT_EQ(MessageOf<EVariantError>([&] { constA[6]; }),
            "Variant or safe array index out of bounds");
  EXPECT_THROW(a[2], EVariantError);
  EXPECT_THROW(Variant(1)[0], EVariantError);
  EXPECT_THROW(Variant(1).LowBound(), EVariantError);
  EXPECT_EQ(Variant::Array(1, 0).ElementCount(), 0);
  EXPECT_THROW(Variant::Array(1, -1), EVariantError);
  EXPECT_THROW(Variant(1).StringRef(), EVariantError);
}

TEST(Variant, NullAndEmptyInArithmetic) {
  for (auto op : {+[](const Variant&a, const Variant&b) { return a + b; },
                  +[](const Variant&a, const Variant&b) { return a - b; },
                  +[](const Variant&a, const Variant&b) { return a * b; },
                  +[](const Variant&a, const Variant&b) { return a / b; },
                  +[](const Variant&a, const Variant&b) { return VarIntDiv(a, b); },
                  +[](const Variant&a, const Variant&b) { return VarMod(a, b); }}) {
    EXPECT_TRUE(op(kNull, Variant(1)).IsNull());
    EXPECT_TRUE(op(Variant("x"), kNull).IsNull());
    EXPECT_TRUE(op(kNull, Variant(0)).IsNull());  // even beside a zero divisor
    EXPECT_THROW(op(Variant::Array(0, 0), Variant(1)), EVariantError);
  }
  EXPECT_TRUE((-kNull).IsNull());
  EXPECT_EQ((kEmpty + Variant(5)).AsInteger(), 5);
  EXPECT_EQ((kEmpty + Variant(5)).Type(), varInteger);
  EXPECT_EQ((Variant("ab") + kEmpty).AsString(), "ab");
  EXPECT_EQ((kEmpty + Variant("ab")).Type(), varString);
  EXPECT_EQ((Variant(7) - kEmpty).AsInteger(), 7);
  EXPECT_EQ(MessageOf<EVariantError>([] { Variant::Array(0, 0) + Variant("s"); }),
            "Invalid variant operation");
}

TEST(Variant, StringsMeetingNumbers) {
  EXPECT_EQ((Variant("ab") + Variant("cd")).AsString(), "abcd");
  Variant sum = Variant("12") + Variant(3);
  EXPECT_EQ(sum.Type(), varInteger);
  EXPECT_EQ(sum.AsInteger(), 15);
  Variant real = Variant("1.5") + Variant(1);
  EXPECT_EQ(real.Type(), varFloat);
  EXPECT_EQ(real.AsFloat(), 2.5);
  EXPECT_EQ((Variant("10") - Variant("4")).AsInteger(), 6);  // only + concatenates
  EXPECT_EQ((Variant("3") * Variant("4")).AsInteger(), 12);
  EXPECT_EQ((Variant(true) + Variant(1)).AsInteger(), 0);  // true is -1
  EXPECT_EQ(MessageOf<EConvertError>([] { Variant("abc") + Variant(1); }),
            "Could not convert variant of type (String) into type (Double)");
  EXPECT_THROW(Variant(2) * Variant("x"), EConvertError);
  EXPECT_EQ((-Variant("4")).AsInteger(), -4);
  EXPECT_THROW(-Variant("four"), EConvertError);
}

TEST(Variant, KindOfArithmeticResults) {
  EXPECT_EQ((Variant(2) * Variant(3)).Type(), varInteger);
  EXPECT_EQ((Variant(2) + Variant(0.5)).Type(), varFloat);
  EXPECT_EQ((Variant::Currency(2) + Variant(1)).Type(), varCurrency);
  EXPECT_EQ((Variant::Currency(2) * Variant::Currency(3)).Type(), varCurrency);
  EXPECT_EQ((Variant::Currency(2) + Variant(0.5)).Type(), varFloat);
  Variant later = Variant::DateTime(100) + Variant(1.5);
  EXPECT_EQ(later.Type(), varDateTime);
  EXPECT_EQ(later.AsFloat(), 101.5);
  EXPECT_EQ((Variant(1) + Variant::DateTime(100)).Type(), varDateTime);
  EXPECT_EQ((Variant::DateTime(100) - Variant(1)).Type(), varDateTime);
  Variant span = Variant::DateTime(100) - Variant::DateTime(98.5);
  EXPECT_EQ(span.Type(), varFloat);
  EXPECT_EQ(span.AsFloat(), 1.5);
  EXPECT_EQ((Variant::DateTime(2) * Variant(2)).Type(), varFloat);
  Variant big = Variant(std::numeric_limits<int64_t>::max()) + Variant(1);
  EXPECT_EQ(big.Type(), varFloat);
  EXPECT_EQ(big.AsFloat(), 9223372036854775808.0);
  EXPECT_EQ((Variant(std::numeric_limits<int64_t>::min()) - Variant(1)).Type(), varFloat);
  EXPECT_EQ((Variant(int64_t{1} << 40) * Variant(int64_t{1} << 40)).Type(), varFloat);
  EXPECT_EQ((-Variant(std::numeric_limits<int64_t>::min())).Type(), varFloat);
  EXPECT_EQ((-Variant::Currency(2)).Type(), varCurrency);
  EXPECT_EQ((-Variant(true)).AsInteger(), 1);
}

TEST(Variant, DivisionsAndTheirZeroDivisors) {
  Variant q = Variant(7) / Variant(2);
  EXPECT_EQ(q.Type(), varFloat);
  EXPECT_EQ(q.AsFloat(), 3.5);
  EXPECT_EQ((Variant(6) / Variant(3)).Type(), varFloat);
  EXPECT_EQ(MessageOf<EZeroDivide>([] { Variant(1) / Variant(0); }),
            "Floating point division by zero");
  EXPECT_THROW(Variant(0.0) / Variant(0.0), EZeroDivide);
  EXPECT_THROW(Variant(1) / kEmpty, EZeroDivide);
  EXPECT_EQ(VarIntDiv(Variant(7), Variant(2)).AsInteger(), 3);
  EXPECT_EQ(VarIntDiv(Variant(-7), Variant(2)).AsInteger(), -3);
  EXPECT_EQ(VarIntDiv(Variant(7), Variant(-2)).AsInteger(), -3);
  EXPECT_EQ(VarMod(Variant(7), Variant(3)).AsInteger(), 1);
  EXPECT_EQ(VarMod(Variant(-7), Variant(3)).AsInteger(), -1);
  EXPECT_EQ(VarMod(Variant(7), Variant(-3)).AsInteger(), 1);
  EXPECT_EQ(VarIntDiv(Variant(7.6), Variant(2.4)).AsInteger(), 4);  // 8 div 2
  EXPECT_EQ(VarMod(Variant("9"), Variant("4")).AsInteger(), 1);
  EXPECT_EQ(VarIntDiv(Variant(7), Variant(2)).Type(), varInteger);
  EXPECT_EQ(MessageOf<EZeroDivide>([] { VarIntDiv(Variant(1), Variant(0)); }), "Division by zero");
  EXPECT_THROW(VarMod(Variant(1), Variant(0.4)), EZeroDivide);  // 0.4 rounds to 0
  const Variant min(std::numeric_limits<int64_t>::min());
  EXPECT_EQ(VarMod(min, Variant(-1)).AsInteger(), 0);
  EXPECT_EQ(VarIntDiv(min, Variant(-1)).AsFloat(), 9223372036854775808.0);
  EXPECT_THROW(VarIntDiv(Variant("x"), Variant(1)), EConvertError);
}

TEST(Variant, ComparisonsOfMixedKinds) {
  EXPECT_TRUE(kNull == kNull);
  EXPECT_FALSE(kNull == Variant(0));
  EXPECT_FALSE(kNull == kEmpty);
  EXPECT_TRUE(kNull != Variant(0));
  EXPECT_FALSE(kNull < Variant(1));
  EXPECT_FALSE(Variant(1) > kNull);
  EXPECT_FALSE(kNull <= kNull);
  EXPECT_FALSE(kNull >= kNull);
  EXPECT_TRUE(kEmpty == kEmpty);
  EXPECT_TRUE(kEmpty == Variant(""));
  EXPECT_TRUE(kEmpty == Variant(0));
  EXPECT_TRUE(kEmpty == Variant(false));
  EXPECT_TRUE(kEmpty < Variant(1));
  EXPECT_TRUE(kEmpty < Variant("a"));
  EXPECT_FALSE(kEmpty == Variant("0"));  // beside a string it is ""
  EXPECT_TRUE(Variant("abc") < Variant("abd"));
  EXPECT_TRUE(Variant("B") < Variant("a"));     // case-sensitive, byte-wise
  EXPECT_TRUE(Variant("a") < Variant("\xe9"));  // bytes above 127 sort last
  EXPECT_FALSE(Variant("a") == Variant("A"));
  EXPECT_TRUE(Variant("10") > Variant(9));  // numerically, not "10" < "9"
  EXPECT_TRUE(Variant(9) < Variant("10"));
  EXPECT_TRUE(Variant("1.5") == Variant(1.5));
  EXPECT_TRUE(Variant(0.0) == Variant("0"));
  EXPECT_FALSE(Variant("abc") == Variant(0));  // texts: "abc" against "0"
  EXPECT_TRUE(Variant("abc") > Variant(0));
  EXPECT_TRUE(Variant(0) < Variant("abc"));
  EXPECT_TRUE(Variant("True") == Variant(true));  // as texts
  EXPECT_TRUE(Variant(true) < Variant(false));    // -1 < 0
  EXPECT_TRUE(Variant(true) == Variant(-1));
  EXPECT_TRUE(Variant(2) == Variant(2.0));
  EXPECT_TRUE(Variant::DateTime(36526) == Variant(36526));
  EXPECT_TRUE(Variant::Currency(1.5) >= Variant(1.5));
  EXPECT_TRUE(Variant(std::numeric_limits<int64_t>::max()) >
              Variant(std::numeric_limits<int64_t>::max() - 1));  // exact for integers
  const Variant nan(std::numeric_limits<double>::quiet_NaN());
  EXPECT_FALSE(nan == nan);
  EXPECT_FALSE(nan < Variant(1));
  EXPECT_FALSE(nan >= Variant(1));
}

TEST(Variant, ArrayComparisons) {
  Variant a = Variant::Array({Variant(1), Variant("x"), kNull}, 1);
  Variant b = Variant::Array({Variant(1.0), Variant("x"), kNull}, 1);
  EXPECT_TRUE(a == b);
  b[2] = Variant("y");
  EXPECT_TRUE(a != b);
  EXPECT_THROW(a == Variant::Array({Variant(1), Variant("x"), kNull}, 0), EVariantError);
  EXPECT_THROW(a == Variant(1), EVariantError);
  EXPECT_THROW(a < b, EVariantError);
  EXPECT_FALSE(a == kNull);
}

TEST(Variant, LogicalAndBitwiseOperators) {
  const Variant t(true), f(false);
  EXPECT_EQ(VarAnd(t, f).Type(), varBoolean);
  EXPECT_FALSE(VarAnd(t, f).AsBoolean());
  EXPECT_TRUE(VarOr(t, f).AsBoolean());
  EXPECT_TRUE(VarXor(t, f).AsBoolean());
  EXPECT_FALSE(VarXor(t, t).AsBoolean());
  EXPECT_TRUE(VarAnd(t, Variant(2)).AsBoolean());  // a Boolean makes it logical
  EXPECT_EQ(VarAnd(t, Variant(2)).Type(), varBoolean);
  EXPECT_EQ(VarAnd(Variant(12), Variant(10)).AsInteger(), 8);
  EXPECT_EQ(VarOr(Variant(12), Variant(3)).AsInteger(), 15);
  EXPECT_EQ(VarXor(Variant(12), Variant(10)).AsInteger(), 6);
  EXPECT_EQ(VarAnd(Variant("12"), Variant(2.6)).AsInteger(), 0);  // 12 and 3
  EXPECT_TRUE(VarAnd(Variant("True"), Variant("true")).AsBoolean());
  EXPECT_THROW(VarAnd(t, Variant("maybe")), EConvertError);
  EXPECT_FALSE(VarAnd(kNull, f).AsBoolean());
  EXPECT_FALSE(VarAnd(f, kNull).IsNull());
  EXPECT_TRUE(VarAnd(kNull, t).IsNull());
  EXPECT_TRUE(VarOr(t, kNull).AsBoolean());
  EXPECT_TRUE(VarOr(kNull, f).IsNull());
  EXPECT_TRUE(VarXor(kNull, t).IsNull());
  EXPECT_TRUE(VarAnd(kNull, Variant(0)).IsNull());
  EXPECT_TRUE(VarAnd(kNull, kNull).IsNull());
  EXPECT_THROW(VarOr(Variant::Array(0, 0), t), EVariantError);
  EXPECT_FALSE(VarNot(t).AsBoolean());
  EXPECT_EQ(VarNot(Variant(0)).AsInteger(), -1);
  EXPECT_EQ(VarNot(Variant(1)).AsInteger(), -2);
  EXPECT_TRUE(VarNot(Variant(1)).AsBoolean());  // only -1 negates to false
  EXPECT_FALSE(VarNot(Variant(-1)).AsBoolean());
  EXPECT_EQ(VarNot(Variant(2.6)).AsInteger(), -4);
  EXPECT_TRUE(VarNot(kNull).IsNull());
  EXPECT_EQ(VarNot(Variant("FALSE")).Type(), varBoolean);
  EXPECT_TRUE(VarNot(Variant("FALSE")).AsBoolean());
  EXPECT_EQ(VarNot(Variant("5")).AsInteger(), -6);
  EXPECT_THROW(VarNot(Variant("x")), EConvertError);
  EXPECT_THROW(VarNot(Variant::Array(0, 0)), EVariantError);
}

}  // namespace
}  // namespace Vdei
