#include "export/VdEEngWW.h"

#include <initializer_list>
#include <optional>
#include <string>

#include "core/Exception.h"
#include "core/Properties.h"
#include "core/Strings.h"
#include "dataset/DataSource.h"
#include "export/ExCnst.h"

namespace VdExport {

using Vdei::ClassInfoBuilder;
using Vdei::TClassInfo;
using Vdei::TComponent;
using Vdei::TDataSet;
using Vdei::TField;
using Vdei::TPropInfo;
using Vdei::TTypeKind;

namespace {

constexpr int kWidthWithoutField = 10;

// The published property of that name when it is of one of the kinds.
const TPropInfo* FindProp(const TClassInfo& info, std::string_view name,
                          std::initializer_list<TTypeKind> kinds) {
  const TPropInfo* prop = Vdei::GetPropInfo(info, name);
  if (prop == nullptr) return nullptr;
  for (TTypeKind kind : kinds) {
    if (prop->Kind == kind) return prop;
  }
  return nullptr;
}

bool HasClassProp(const Vdei::TObject& object, std::string_view name) {
  return Vdei::PropIsType(object, name, Vdei::tkClass);
}

// Ordinals outside TAlignment (an alignment enumeration of another grid
// with more values) read as taLeftJustify.
TAlignment ToAlignment(int64_t ordinal) {
  return ordinal >= Vdei::taLeftJustify && ordinal <= Vdei::taCenter
             ? static_cast<TAlignment>(ordinal)
             : Vdei::taLeftJustify;
}

// The look a foreign grid's item or title publishes: each property found
// with a usable kind, else nullptr (and then skipped).
struct PublishedLook {
  explicit PublishedLook(const TClassInfo& info)
      : alignment(FindProp(info, "Alignment", {Vdei::tkEnumeration, Vdei::tkInteger})),
        color(FindProp(info, "Color", {Vdei::tkInteger})),
        font(FindProp(info, "Font", {Vdei::tkClass})) {}

  std::optional<TAlignment> Alignment(const Vdei::TObject& object) const {
    if (alignment == nullptr) return std::nullopt;
    return ToAlignment(alignment->Get(object).AsInteger());
  }
  std::optional<TColor> Color(const Vdei::TObject& object) const {
    if (color == nullptr) return std::nullopt;
    return static_cast<TColor>(color->Get(object).AsInteger());
  }
  const TFont* Font(const Vdei::TObject& object) const {
    return font != nullptr ? dynamic_cast<const TFont*>(font->GetObject(object)) : nullptr;
  }

  const TPropInfo* alignment;
  const TPropInfo* color;
  const TPropInfo* font;
};

// Caption, Alignment, Font and Color of a foreign title object, each when
// its class publishes it.
void ReadTitleObject(const Vdei::TObject& source, TVdEColumnTitle& title) {
  const TClassInfo& info = source.ClassInfo();
  if (const TPropInfo* caption = FindProp(info, "Caption", {Vdei::tkString})) {
    title.SetCaption(caption->Get(source).AsString());
  }
  const PublishedLook look(info);
  if (auto alignment = look.Alignment(source)) title.SetAlignment(*alignment);
  title.SetFont(look.Font(source));
  if (auto color = look.Color(source)) title.SetColor(*color);
}

// The properties of the item class of a Columns or Fields collection.
struct ItemProps {
  explicit ItemProps(const TClassInfo& info)
      : fieldName(FindProp(info, "FieldName", {Vdei::tkString})),
        visible(FindProp(info, "Visible", {Vdei::tkBoolean})),
        title(FindProp(info, "Title", {Vdei::tkClass, Vdei::tkString})),
        look(info) {}

  const TPropInfo* fieldName;
  const TPropInfo* visible;
  const TPropInfo* title;
  PublishedLook look;
};

void AddItemColumn(TVdEColumns& columns, const Vdei::TObject& item, const ItemProps& props,
                   const TDataSet* dataset) {
  TVdEColumn* column = columns.Add();
  if (props.fieldName != nullptr) column->SetFieldName(props.fieldName->Get(item).AsString());
  if (auto alignment = props.look.Alignment(item)) column->SetAlignment(*alignment);
  const TField* field = dataset != nullptr ? dataset->FindField(column->FieldName()) : nullptr;
  column->SetWidth(field != nullptr ? field->DisplayWidth() : kWidthWithoutField);
  if (auto color = props.look.Color(item)) column->SetColor(*color);
  column->SetFont(props.look.Font(item));
  if (props.visible != nullptr) column->SetVisible(props.visible->Get(item).AsBoolean());
  if (props.title == nullptr) return;
  if (props.title->Kind == Vdei::tkString) {
    column->Title()->SetCaption(props.title->Get(item).AsString());
  } else if (const Vdei::TObject* title = props.title->GetObject(item)) {
    ReadTitleObject(*title, *column->Title());
  }
}

// The look a Selected-kind grid gives all its columns.
struct GridLook {
  std::optional<TColor> color;
  const TFont* font = nullptr;
  const TFont* titleFont = nullptr;
};

// An entry of a Selected list: "FieldName TAB DisplayWidth TAB DisplayLabel".
std::string SelectedEntry(const TField& field) {
  return field.FieldName() + '\t' + std::to_string(field.DisplayWidth()) + '\t' +
         field.DisplayLabel();
}

void FillSelectedList(Vdei::TStrings& selected, const TDataSet& dataset) {
  selected.BeginUpdate();
  try {
    for (int i = 0; i < dataset.FieldCount(); ++i) {
      const TField& field = *dataset.Fields(i);
      if (field.Visible()) selected.Add(SelectedEntry(field));
    }
  } catch (...) {
    selected.EndUpdate();
    throw;
  }
  selected.EndUpdate();
}

void AddSelectedColumn(TVdEColumns& columns, const std::string& entry, const TDataSet* dataset,
                       const GridLook& look) {
  const size_t tab = entry.find('\t');
  TVdEColumn* column = columns.Add();
  if (tab != std::string::npos) column->SetFieldName(entry.substr(0, tab));
  TVdEColumnTitle* title = column->Title();
  const TField* field = dataset != nullptr && !column->FieldName().empty()
                            ? dataset->FindField(column->FieldName())
                            : nullptr;
  if (field != nullptr) {
    column->SetAlignment(field->Alignment());
    column->SetWidth(field->DisplayWidth());
    column->SetVisible(field->Visible());
    title->SetCaption(field->DisplayLabel());
    title->SetAlignment(field->Alignment());
  }
  if (look.color) column->SetColor(*look.color);
  column->SetFont(look.font);
  title->SetFont(look.titleFont);
  title->SetColor(Vdei::clSilver);
}

}  // namespace

// --- IsSupportedGrid ------------------------------------------------------

bool IsSupportedGrid(const Vdei::TObject* control, bool& selectedKind, bool& fieldsKind) {
  if (dynamic_cast<const TComponent*>(control) == nullptr) return false;
  if (!HasClassProp(*control, "DataSource")) return false;
  if (HasClassProp(*control, "Columns")) {
    const Vdei::TObject* columns = nullptr;
    try {
      columns = Vdei::GetObjectProp(*control, "Columns");
    } catch (const std::exception&) {
      return false;
    }
    const auto* collection = dynamic_cast<const Vdei::TCollection*>(columns);
    if (collection == nullptr) return false;
    selectedKind = false;
    fieldsKind = false;
    return Vdei::GetPropInfo(collection->ItemClass(), "FieldName") != nullptr;
  }
  if (HasClassProp(*control, "Selected")) {
    selectedKind = true;
    fieldsKind = false;
    return true;
  }
  if (HasClassProp(*control, "Fields")) {
    selectedKind = false;
    fieldsKind = true;
    return true;
  }
  return false;
}

// --- TVdEPublishedGridDataEngine ------------------------------------------

const TClassInfo& TVdEPublishedGridDataEngine::StaticClassInfo() {
  static const TClassInfo info =
      ClassInfoBuilder<TVdEPublishedGridDataEngine, TVdECustomDBDataEngine>(
          "TVdEPublishedGridDataEngine")
          .Object<TCustomControl>("DBGrid", &TVdEPublishedGridDataEngine::DBGrid,
                                  &TVdEPublishedGridDataEngine::SetDBGrid)
          .Build();
  return info;
}

void TVdEPublishedGridDataEngine::SetDBGrid(TCustomControl* value) {
  if (value != nullptr) {
    bool selectedKind = false;
    bool fieldsKind = false;
    const bool supported = IsSupportedGrid(value, selectedKind, fieldsKind);
    if (!supported || !(kind_ == gkSelected ? selectedKind : fieldsKind)) {
      throw Vdei::Exception(FormatMessageText(ExportMessage(SPropertyNotSpecified), value->Name()));
    }
  }
  if (value == grid_) return;
  if (grid_ != nullptr) RemoveFreeNotification(grid_);
  grid_ = value;
  if (grid_ != nullptr) grid_->FreeNotification(this);
}

TDataSet* TVdEPublishedGridDataEngine::GetDataset() const {
  const auto* source = dynamic_cast<const Vdei::TDataSource*>(GridObject("DataSource"));
  return source != nullptr ? source->DataSet() : nullptr;
}

Vdei::TObject* TVdEPublishedGridDataEngine::GridObject(std::string_view name) const {
  if (grid_ == nullptr || !HasClassProp(*grid_, "DataSource") || !HasClassProp(*grid_, name)) {
    return nullptr;
  }
  return Vdei::GetObjectProp(*grid_, name);
}

void TVdEPublishedGridDataEngine::Notification(TComponent* component, Vdei::TOperation operation) {
  if (operation == Vdei::opRemove && component != nullptr && component == grid_) grid_ = nullptr;
  TVdECustomDBDataEngine::Notification(component, operation);
}

// --- TVdEwwDBGridDataEngine -----------------------------------------------

const TClassInfo& TVdEwwDBGridDataEngine::StaticClassInfo() {
  static const TClassInfo info =
      ClassInfoBuilder<TVdEwwDBGridDataEngine, TVdEPublishedGridDataEngine>(
          "TVdEwwDBGridDataEngine")
          .Boolean("ExportFooters", &TVdEwwDBGridDataEngine::ExportFooters,
                   &TVdEwwDBGridDataEngine::SetExportFooters, Variant(false))
          .Build();
  return info;
}

void TVdEwwDBGridDataEngine::FillColumns(TVdEColumns& columns, bool rightToLeft) {
  columns.Clear();
  auto* selected = dynamic_cast<Vdei::TStrings*>(GridObject("Selected"));
  if (selected == nullptr) return;
  const TDataSet* dataset = GetDataset();
  if (selected->Count() == 0 && dataset != nullptr) FillSelectedList(*selected, *dataset);
  GridLook look;
  if (const TPropInfo* color = FindProp(DBGrid()->ClassInfo(), "Color", {Vdei::tkInteger})) {
    look.color = static_cast<TColor>(color->Get(*DBGrid()).AsInteger());
  }
  look.font = dynamic_cast<const TFont*>(GridObject("Font"));
  look.titleFont = dynamic_cast<const TFont*>(GridObject("TitleFont"));
  ForEachIndex(selected->Count(), rightToLeft,
               [&](int i) { AddSelectedColumn(columns, (*selected)[i], dataset, look); });
}

bool TVdEwwDBGridDataEngine::IsFieldRow(int row) {
  return !(exportFooters_ && row >= GetRecordCount() - 1);
}

void TVdEwwDBGridDataEngine::MoveFirst() {
  recordCounter_ = 0;
  TVdEPublishedGridDataEngine::MoveFirst();
}

void TVdEwwDBGridDataEngine::MoveNext() {
  ++recordCounter_;
  TVdEPublishedGridDataEngine::MoveNext();
}

// --- TVdEDBAdvStringGridDataEngine ----------------------------------------

const TClassInfo& TVdEDBAdvStringGridDataEngine::StaticClassInfo() {
  static const TClassInfo info =
      ClassInfoBuilder<TVdEDBAdvStringGridDataEngine, TVdEPublishedGridDataEngine>(
          "TVdEDBAdvStringGridDataEngine")
          .Build();
  return info;
}

void TVdEDBAdvStringGridDataEngine::FillColumns(TVdEColumns& columns, bool rightToLeft) {
  columns.Clear();
  const bool hasColumns = DBGrid() != nullptr && HasClassProp(*DBGrid(), "Columns");
  const auto* items =
      dynamic_cast<const Vdei::TCollection*>(GridObject(hasColumns ? "Columns" : "Fields"));
  if (items == nullptr || items->Count() == 0) {
    TVdECustomDBDataEngine::FillColumns(columns, rightToLeft);
    return;
  }
  const ItemProps props(items->ItemClass());
  const TDataSet* dataset = GetDataset();
  ForEachIndex(items->Count(), rightToLeft, [&](int i) {
    const Vdei::TCollectionItem& item = *items->Items(i);
    // An item of another class than the collection declares is read
    // through its own class information.
    if (item.InheritsFrom(items->ItemClass())) {
      AddItemColumn(columns, item, props, dataset);
    } else {
      AddItemColumn(columns, item, ItemProps(item.ClassInfo()), dataset);
    }
  });
}

}  // namespace VdExport
