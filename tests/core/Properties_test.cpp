#include "core/Properties.h"

#include <gtest/gtest.h>

#include "core/Component.h"
#include "core/Exception.h"
#include "core/Graphics.h"
#include "core/Strings.h"

namespace Vdei {
namespace {

enum TShade { shLight, shDark, shNone };

// A class with a published property of every kind.
class TSample : public TComponent {
 public:
  VDEI_CLASS(TSample)
  using TComponent::TComponent;
  int Count = 3;
  double Ratio = 0.5;
  bool Active = false;
  std::string Caption;
  char Separator = ',';
  TShade Shade = shLight;
  TFontStyles Styles = 0;
  TStringList Lines;
  TFont Font;
  TComponent* Buddy = nullptr;
  int Version() const { return 7; }
  void SetLines(TStrings* value) { Lines.Assign(*value); }
  void SetFont(TFont* value) { Font.Assign(*value); }
};

const TClassInfo& TSample::StaticClassInfo() {
  static const TClassInfo info =
      ClassInfoBuilder<TSample, TComponent>("TSample")
          .Integer(
              "Count", [](const TSample& s) { return s.Count; },
              [](TSample& s, int64_t v) { s.Count = static_cast<int>(v); }, Variant(3))
          .Float(
              "Ratio", [](const TSample& s) { return s.Ratio; },
              [](TSample& s, double v) { s.Ratio = v; })
          .Boolean(
              "Active", [](const TSample& s) { return s.Active; },
              [](TSample& s, bool v) { s.Active = v; })
          .String(
              "Caption", [](const TSample& s) { return s.Caption; },
              [](TSample& s, std::string v) { s.Caption = std::move(v); })
          .Char(
              "Separator", [](const TSample& s) { return s.Separator; },
              [](TSample& s, char v) { s.Separator = v; })
          .Enum(
              "Shade", {"shLight", "shDark", "shNone"}, [](const TSample& s) { return s.Shade; },
              [](TSample& s, TShade v) { s.Shade = v; })
          .Set(
              "Styles", {"fsBold", "fsItalic", "fsUnderline", "fsStrikeOut"},
              [](const TSample& s) { return s.Styles; },
              [](TSample& s, TFontStyles v) { s.Styles = v; })
          .Integer("Version", &TSample::Version, nullptr)
          .Object<TStrings>(
              "Lines", [](const TSample& s) { return const_cast<TStringList*>(&s.Lines); },
              &TSample::SetLines)
          .Object<TFont>(
              "Font", [](const TSample& s) { return const_cast<TFont*>(&s.Font); },
              &TSample::SetFont)
          .Object<TComponent>(
              "Buddy", [](const TSample& s) { return s.Buddy; }, nullptr)
          .Build();
  return info;
}

TEST(Properties, ScalarKindsByNameWithoutRegardToCase) {
  TSample s(nullptr);
  EXPECT_EQ(GetPropValue(s, "COUNT").AsInteger(), 3);
  SetPropValue(s, "count", Variant("12"));
  EXPECT_EQ(s.Count, 12);
  SetPropValue(s, "Ratio", Variant(2));
  EXPECT_EQ(s.Ratio, 2.0);
  SetPropValue(s, "active", Variant("True"));
  EXPECT_TRUE(s.Active);
  EXPECT_EQ(GetPropValue(s, "Active").Type(), varBoolean);
  SetPropValue(s, "Caption", Variant(1.5));
  EXPECT_EQ(s.Caption, "1.5");
  EXPECT_EQ(GetPropValue(s, "Separator").AsString(), ",");
  SetPropValue(s, "Separator", Variant(";"));
  EXPECT_EQ(s.Separator, ';');
  SetPropValue(s, "Separator", Variant(""));
  EXPECT_EQ(s.Separator, '\0');
  EXPECT_EQ(GetPropValue(s, "Separator").AsString(), "");
  SetPropValue(s, "Styles", Variant(FontStyleBit(fsBold) | FontStyleBit(fsUnderline)));
  EXPECT_EQ(s.Styles, 5);
  EXPECT_EQ(GetPropValue(s, "Name").AsString(), "");  // inherited
  EXPECT_THROW(SetPropValue(s, "Count", Variant("many")), EConvertError);
}

TEST(Properties, EnumerationsByOrdinalOrName) {
  TSample s(nullptr);
  SetPropValue(s, "Shade", Variant(1));
  EXPECT_EQ(s.Shade, shDark);
  EXPECT_EQ(GetEnumProp(s, "shade"), "shDark");
  SetPropValue(s, "Shade", Variant("SHNONE"));
  EXPECT_EQ(s.Shade, shNone);
  EXPECT_EQ(GetPropValue(s, "Shade").AsInteger(), 2);
  EXPECT_THROW(SetPropValue(s, "Shade", Variant(3)), EConvertError);
  EXPECT_THROW(SetPropValue(s, "Shade", Variant("shPurple")), EConvertError);
  EXPECT_EQ(s.Shade, shNone);
  EXPECT_THROW(GetEnumProp(s, "Count"), EPropertyError);
}

TEST(Properties, ReadOnlyAndUnknownNames) {
  TSample s(nullptr);
  EXPECT_EQ(GetPropValue(s, "Version").AsInteger(), 7);
  try {
    SetPropValue(s, "version", Variant(8));
    FAIL();
  } catch (const EPropertyError& e) {
    EXPECT_EQ(e.Message(), "Property Version is read-only");
  }
  try {
    GetPropValue(s, "Colour");
    FAIL();
  } catch (const EPropertyError& e) {
    EXPECT_EQ(e.Message(), "Unknown property: 'Colour'");
  }
  EXPECT_THROW(SetPropValue(s, "Colour", Variant(1)), EPropertyError);
  EXPECT_THROW(GetObjectProp(s, "Colour"), EPropertyError);
  EXPECT_EQ(GetPropInfo(s, "Colour"), nullptr);
  EXPECT_FALSE(IsPublishedProp(s, "Colour"));
  EXPECT_TRUE(IsPublishedProp(s, "caption"));
  EXPECT_TRUE(PropIsType(s, "Lines", tkClass));
  EXPECT_FALSE(PropIsType(s, "Lines", tkString));
  EXPECT_THROW(SetObjectProp(s, "Buddy", nullptr), EPropertyError);
  EXPECT_THROW(GetPropValue(s, "Lines"), EPropertyError);
  EXPECT_THROW(GetObjectProp(s, "Count"), EPropertyError);
}

TEST(Properties, ObjectPropertiesAndTheirClasses) {
  TSample s(nullptr);
  const TPropInfo* lines = GetPropInfo(s, "lines");
  ASSERT_NE(lines, nullptr);
  EXPECT_EQ(lines->PropClass, &TStrings::StaticClassInfo());
  TObject* object = GetObjectProp(s, "Lines");
  ASSERT_NE(As<TStrings>(object), nullptr);
  EXPECT_TRUE(object->InheritsFrom(TStrings::StaticClassInfo()));
  EXPECT_EQ(object->ClassName(), "TStringList");
  TStringList given{"a=1", "b=2"};
  SetObjectProp(s, "Lines", &given);
  EXPECT_EQ(s.Lines.Values("b"), "2");
  TFont font;
  font.SetSize(12);
  SetObjectProp(s, "Font", &font);
  EXPECT_EQ(s.Font.Size(), 12);
  EXPECT_EQ(GetPropValue(*GetObjectProp(s, "Font"), "Height").AsInteger(), -16);
  try {
    SetObjectProp(s, "Font", &given);
    FAIL();
  } catch (const EInvalidCast& e) {
    EXPECT_EQ(e.Message(), "Invalid class typecast");
  }
  EXPECT_EQ(GetObjectProp(s, "Buddy"), nullptr);
}

TEST(Properties, ClassInformationWalksTheParents) {
  TSample s(nullptr);
  EXPECT_EQ(s.ClassName(), "TSample");
  EXPECT_TRUE(s.InheritsFrom(TComponent::StaticClassInfo()));
  EXPECT_TRUE(s.InheritsFrom(TObject::StaticClassInfo()));
  EXPECT_FALSE(s.InheritsFrom(TStrings::StaticClassInfo()));
  std::vector<const TPropInfo*> all = s.ClassInfo().AllProperties();
  ASSERT_EQ(all.size(), 12u);
  EXPECT_EQ(all.front()->Name, "Name");  // the oldest ancestor's first
  EXPECT_EQ(all.back()->Name, "Buddy");
  EXPECT_EQ(GetPropInfo(s, "Count")->Default.AsInteger(), 3);
  EXPECT_EQ(GetPropInfo(TSample::StaticClassInfo(), "shade")->EnumNames.size(), 3u);
  TObject plain;
  EXPECT_EQ(As<TSample>(static_cast<TObject*>(nullptr)), nullptr);
  EXPECT_THROW(As<TSample>(&plain), EInvalidCast);
}

}  // namespace
}  // namespace Vdei
