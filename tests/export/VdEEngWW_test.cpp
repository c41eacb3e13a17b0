#include "export/VdEEngWW.h"

#include <gtest/gtest.h>

#include "EngineTestTable.h"
#include "core/Exception.h"
#include "core/Properties.h"
#include "core/Strings.h"
#include "dataset/DataSource.h"

namespace VdExport {
namespace {

using namespace Vdei;

// A title object of a foreign grid's item.
class TTestTitle : public TPersistent {
 public:
  VDEI_CLASS(TTestTitle)
  std::string caption;
  TAlignment alignment = taLeftJustify;
  TFont fontData;
  TFont* font = &fontData;
  TColor color = clBlack;
};

const TClassInfo& TTestTitle::StaticClassInfo() {
  using T = TTestTitle;
  static const TClassInfo info = ClassInfoBuilder<T, TPersistent>("TTestTitle")
                                     .String("Caption", &T::caption, nullptr)
                                     .Enum("Alignment", {"l", "r", "c"}, &T::alignment, nullptr)
                                     .Object<TFont>("Font", &T::font, nullptr)
                                     .Integer("Color", &T::color, nullptr)
                                     .Build();
  return info;
}

// An item of a foreign grid's Fields or Columns collection; its Title is
// a TTestTitle or, with StringTitle, a plain text.
template <bool StringTitle>
class TTestItem : public TCollectionItem {
 public:
  VDEI_CLASS(TTestItem)
  using TCollectionItem::TCollectionItem;
  std::string fieldName;
  int alignment = taLeftJustify;  // published as an Integer
  TColor color = clWhite;
  TFont fontData;
  TFont* font = &fontData;
  bool visible = true;
  TTestTitle titleData;
  TTestTitle* title = &titleData;
};

template <bool StringTitle>
const TClassInfo& TTestItem<StringTitle>::StaticClassInfo() {
  using I = TTestItem<StringTitle>;
  static const TClassInfo info = [] {
    ClassInfoBuilder<I, TCollectionItem> b(StringTitle ? "TStringTitleItem" : "TTestItem");
    b.String("FieldName", &I::fieldName, nullptr)
        .Integer("Alignment", &I::alignment, nullptr)
        .Integer("Color", &I::color, nullptr)
        .template Object<TFont>("Font", &I::font, nullptr)
        .Boolean("Visible", &I::visible, nullptr);
    if constexpr (StringTitle) {
      b.String(
          "Title", [](const I& i) { return i.title->caption; }, nullptr);
    } else {
      b.template Object<TTestTitle>("Title", &I::title, nullptr);
    }
    return b.Build();
  }();
  return info;
}

// Published properties a test grid class has, as bits of its parameter.
enum : unsigned {
  kSource = 1,        // "DataSource"
  kSelected = 2,      // "Selected" string list
  kFields = 4,        // "Fields" collection of TTestItem<false>
  kStringFields = 8,  // "Fields" collection of TTestItem<true>
  kColumns = 16,      // "Columns" collection of TTestItem<false>
  kBareColumns = 32,  // "Columns" collection of items without FieldName
  kListColumns = 64,  // "Columns" that is a string list (or throws)
  kLook = 128,        // "Color", "Font", "TitleFont"
};

template <unsigned Props>
class TTestGrid : public TComponent {
 public:
  VDEI_CLASS(TTestGrid)
  using TComponent::TComponent;
  TDataSource* source = nullptr;
  TStringList selected;
  TOwnedCollection<TTestItem<false>> fields{nullptr};
  TOwnedCollection<TTestItem<true>> stringFields{nullptr};
  TOwnedCollection<TCollectionItem> bare{nullptr};
  bool throwColumns = false;
  TColor color = clRed;
  TFont font, titleFont;

  TObject* Columns() const {
    if (throwColumns) throw EListError("broken Columns");
    if ((Props & kBareColumns) != 0) return Mutable(bare);
    if ((Props & kListColumns) != 0) return Mutable(selected);
    return Mutable(fields);
  }
  // Published getters return objects that the property reader may change.
  template <class T>
  static T* Mutable(const T& object) {
    return const_cast<T*>(&object);
  }
};

template <unsigned Props>
const TClassInfo& TTestGrid<Props>::StaticClassInfo() {
  using G = TTestGrid<Props>;
  static const TClassInfo info = [] {
    ClassInfoBuilder<G, TComponent> b("TTestGrid" + std::to_string(Props));
    auto object = [&b](const char* name, auto get) {
      b.template Object<TObject>(name, get, nullptr);
    };
    if (Props & kSource) b.template Object<TDataSource>("DataSource", &G::source, nullptr);
    if (Props & kSelected) object("Selected", [](const G& g) { return G::Mutable(g.selected); });
    if (Props & kFields) object("Fields", [](const G& g) { return G::Mutable(g.fields); });
    if (Props & kStringFields) {
      object("Fields", [](const G& g) { return G::Mutable(g.stringFields); });
    }
    if (Props & (kColumns | kBareColumns | kListColumns)) object("Columns", &G::Columns);
    if (Props & kLook) {
      b.Integer("Color", &G::color, nullptr);
      object("Font", [](const G& g) { return G::Mutable(g.font); });
      object("TitleFont", [](const G& g) { return G::Mutable(g.titleFont); });
    }
    return b.Build();
  }();
  return info;
}

using TSelectedGrid = TTestGrid<kSource | kSelected | kLook>;
using TFieldsGrid = TTestGrid<kSource | kFields>;
using TStringFieldsGrid = TTestGrid<kSource | kStringFields>;

TEST(IsSupportedGrid, RecognisesGridsByTheirPublishedProperties) {
  TTestGrid<kSource | kColumns | kSelected> columns(nullptr);
  TTestGrid<kSource | kBareColumns> bareColumns(nullptr);
  TTestGrid<kSource | kListColumns | kSelected> listColumns(nullptr);
  TTestGrid<kSource | kColumns | kSelected> throwing(nullptr);
  throwing.throwColumns = true;
  TSelectedGrid selected(nullptr);
  TTestGrid<kSource | kFields | kSelected> both(nullptr);
  TFieldsGrid fields(nullptr);
  TTestGrid<kSelected> noSource(nullptr);
  TTestGrid<kSource> sourceOnly(nullptr);
  TDBGrid dbGrid(nullptr);
  TFont notComponent;
  struct Case {
    const TObject* control;
    bool accepted, selectedKind, fieldsKind;  // flags start true, true
  };
  const Case cases[] = {
      {&columns, true, false, false},     {&bareColumns, false, false, false},
      {&listColumns, false, true, true},  {&throwing, false, true, true},
      {&selected, true, true, false},     {&both, true, true, false},
      {&fields, true, false, true},       {&noSource, false, true, true},
      {&sourceOnly, false, true, true},   {&dbGrid, true, false, false},
      {&notComponent, false, true, true}, {nullptr, false, true, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.control ? c.control->ClassName() : "none");
    bool selectedKind = true;
    bool fieldsKind = true;
    EXPECT_EQ(IsSupportedGrid(c.control, selectedKind, fieldsKind), c.accepted);
    EXPECT_EQ(selectedKind, c.selectedKind);
    EXPECT_EQ(fieldsKind, c.fieldsKind);
  }
}

TEST(VdEPublishedGridDataEngine, SettersTakeOnlyTheirKindOfGrid) {
  TComponent form(nullptr);
  TClientDataSet* table = MakeEngineTable(&form);
  auto* source = new TDataSource(&form);
  source->SetDataSet(table);
  auto* selected = new TSelectedGrid(&form);
  selected->SetName("SelGrid");
  selected->source = source;
  auto* fields = new TFieldsGrid(&form);
  fields->SetName("FieldsGrid");
  TVdEwwDBGridDataEngine ww(nullptr);
  TVdEDBAdvStringGridDataEngine adv(nullptr);

  SetObjectProp(ww, "DBGrid", selected);
  adv.SetDBGrid(fields);
  EXPECT_EQ(ww.GetDataset(), table);
  EXPECT_EQ(adv.GetDataset(), nullptr);  // its grid has no data source set
  try {
    ww.SetDBGrid(fields);
    ADD_FAILURE() << "a Fields grid was taken";
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message(), "Property FieldsGrid is not specified.");
  }
  EXPECT_THROW(adv.SetDBGrid(selected), Exception);
  EXPECT_THROW(ww.SetDBGrid(new TTestGrid<kSelected>(&form)), Exception);
  EXPECT_EQ(ww.DBGrid(), selected);
  EXPECT_EQ(adv.DBGrid(), fields);

  delete selected;
  EXPECT_EQ(ww.DBGrid(), nullptr);
  EXPECT_EQ(ww.GetDataset(), nullptr);
  adv.SetDBGrid(nullptr);
  EXPECT_EQ(adv.DBGrid(), nullptr);
  delete fields;  // no longer referenced: nothing to clear
  TVdEColumns columns(nullptr);
  ww.FillColumns(columns, false);
  adv.FillColumns(columns, false);
  EXPECT_EQ(columns.Count(), 0);
}

TEST(VdEwwDBGridDataEngine, FillsColumnsFromTheSelectedList) {
  TComponent form(nullptr);
  TClientDataSet* table = MakeEngineTable(&form);
  table->FieldByName("Company")->SetVisible(false);
  table->FieldByName("CustNo")->SetDisplayLabel("Customer");
  auto* source = new TDataSource(&form);
  source->SetDataSet(table);
  TSelectedGrid grid(nullptr);
  grid.source = source;
  grid.font.SetSize(11);
  grid.titleFont.SetSize(13);
  TVdEwwDBGridDataEngine engine(nullptr);
  engine.SetDBGrid(&grid);
  TVdEColumns columns(nullptr);

  engine.FillColumns(columns, false);
  ASSERT_EQ(grid.selected.Count(), 2);  // the hidden Company is left out
  EXPECT_EQ(grid.selected[0], "CustNo\t11\tCustomer");
  ASSERT_EQ(FieldNames(columns), "CustNo;Amount;");
  EXPECT_EQ(Describe(*columns[0]), "CustNo a1 w11 p0 t3 cFF f11 | Customer a1 cC0C0C0 f13");

  grid.selected.Clear();
  for (const char* entry : {"Company\t5\tX", "NoTab", "Ghost\t3\tG"}) grid.selected.Add(entry);
  engine.FillColumns(columns, true);
  ASSERT_EQ(FieldNames(columns), "Ghost;;Company;");
  EXPECT_EQ(Describe(*columns[0]), "Ghost a0 w0 p0 t3 cFF f11 |  a0 cC0C0C0 f13");
  EXPECT_EQ(Describe(*columns[2]), "Company a0 w20 p0 t3 hidden cFF f11 | Company a0 cC0C0C0 f13");

  TVdEColumn& custNoValue = *columns.Add();
  custNoValue.SetFieldName("CustNo");
  EXPECT_EQ(Walk(engine, custNoValue), "123");
  EXPECT_EQ(engine.RecordCounter(), 3);
  EXPECT_TRUE(engine.IsFieldRow(2));
  engine.SetExportFooters(true);
  EXPECT_TRUE(engine.IsFieldRow(1));
  EXPECT_FALSE(engine.IsFieldRow(2));
}

TEST(VdEDBAdvStringGridDataEngine, FillsColumnsFromTheFieldsCollection) {
  TComponent form(nullptr);
  TClientDataSet* table = MakeEngineTable(&form);
  auto* source = new TDataSource(&form);
  source->SetDataSet(table);
  TFieldsGrid grid(nullptr);
  grid.source = source;
  TVdEDBAdvStringGridDataEngine engine(nullptr);
  engine.SetDBGrid(&grid);
  TVdEColumns columns(nullptr);
  int fills = 0;
  engine.OnFillColumns = [&](TObject*) { ++fills; };

  engine.FillColumns(columns, false);  // no items: as the dataset engine
  EXPECT_EQ(columns.Count(), 3);
  EXPECT_EQ(fills, 1);

  TTestItem<false>* amount = grid.fields.Add();
  amount->fieldName = "Amount";
  amount->alignment = taCenter;
  amount->color = clBlue;
  amount->font->SetSize(9);
  amount->visible = false;
  amount->title->caption = "Sum";
  amount->title->alignment = taRightJustify;
  amount->title->color = clGreen;
  amount->title->font->SetSize(15);
  grid.fields.Add()->fieldName = "Ghost";
  engine.FillColumns(columns, true);
  EXPECT_EQ(fills, 1);
  ASSERT_EQ(FieldNames(columns), "Ghost;Amount;");
  EXPECT_EQ(Describe(*columns[0]), "Ghost a0 w10 p0 t3 cFFFFFF f8 |  a0 c0 f8");
  EXPECT_EQ(Describe(*columns[1]), "Amount a2 w10 p0 t3 hidden cFF0000 f9 | Sum a1 c8000 f15");

  TStringFieldsGrid textTitles(nullptr);
  textTitles.source = source;
  TTestItem<true>* item = textTitles.stringFields.Add();
  item->fieldName = "CustNo";
  item->title->caption = "Number";
  engine.SetDBGrid(&textTitles);
  engine.FillColumns(columns, false);
  ASSERT_EQ(columns.Count(), 1);
  EXPECT_EQ(Describe(*columns[0]), "CustNo a0 w11 p0 t3 cFFFFFF f8 | Number a0 cC0C0C0 f8");
}

}  // namespace
}  // namespace VdExport
