#include <gtest/gtest.h>

#include <QGroupBox>
#include <QHeaderView>
#include <QPushButton>
#include <QStatusBar>
#include <QTableView>
#include <QTest>
#include <memory>

#include "FormControlsSupport.h"
#include "dataset/ClientDataSet.h"
#include "dataset/DataSource.h"
#include "platform/FormControls.h"
#include "platform/qt/QtFormView.h"
#include "platform/qt/RadioGroupBox.h"

namespace Vdei {
namespace {

// A window laid out like the client's, over a small table.
struct ClientForm {
  ClientForm() : form(std::make_unique<TForm>(nullptr)), table(nullptr), source(nullptr) {
    table.FieldDefs()->Add("Company", ftString, 30);
    table.FieldDefs()->Add("CustNo", ftInteger);
    table.CreateDataSet();
    AddRow("Blue Sports", 1510);
    AddRow("Caf\xE9 Lumi\xE8re", 2135);
    source.SetDataSet(&table);

    form->SetClientSize(548, 380);
    request = Add<TButton>("btnGetData", 8, 8, 201, 25);
    request->SetCaption("Request dataset from server");
    request->OnClick = [this](TObject*) { ++requests; };
    status = Add<TStatusBar>("StatusBar1", 0, 0, 0, 19);
    status->SetSimplePanel(true);
    status->SetSimpleText("Connected");
    preview = Add<TGroupBox>("gbPreview", 0, 0, 548, 300);
    preview->SetAlign(alBottom);
    preview->SetCaption(" Preview: records that we got form server ");
    grid = Add<TDBGridControl>("DBGrid1", 0, 0, 0, 0);
    grid->SetParent(preview);
    grid->SetAlign(alClient);
    grid->SetDataSource(&source);
    format = Add<TRadioGroup>("rgPackageFormat", 224, 0, 185, 57);
    format->SetCaption("Use package type ");
    format->SetColumns(2);
    format->Items()->Add("XML");
    format->Items()->Add("HTML");
    format->SetItemIndex(0);
    format->OnClick = [this](TObject*) { ++formatClicks; };
    form->Show();
  }
  void AddRow(const char* company, int custNo) {
    table.Append();
    table.Fields(0)->SetAsString(company);
    table.Fields(1)->SetAsInteger(custNo);
    table.Post();
  }
  template <class T>
  T* Add(const char* name, int left, int top, int width, int height) {
    return VdeiTest::AddControl<T>(*form, name, left, top, width, height);
  }
  template <class W>
  W* Widget(const TControl* control) const {
    return dynamic_cast<W*>(dynamic_cast<QtFormView*>(form->View())->WidgetOf(control));
  }

  std::unique_ptr<TForm> form;
  TClientDataSet table;
  TDataSource source;
  TButton* request;
  TStatusBar* status;
  TGroupBox* preview;
  TDBGridControl* grid;
  TRadioGroup* format;
  int requests = 0, formatClicks = 0;
};

TEST(QtFormControlsTest, ShowsTheClientWindowsControls) {
  ClientForm c;
  auto* box = c.Widget<QGroupBox>(c.preview);
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(box->title(), " Preview: records that we got form server ");
  EXPECT_EQ(box->geometry(), QRect(0, 380 - 19 - 300, 548, 300));

  auto* table = c.Widget<QTableView>(c.grid);
  ASSERT_NE(table, nullptr);
  EXPECT_EQ(table->parentWidget(), box);
  QAbstractItemModel* model = table->model();
  ASSERT_EQ(model->rowCount(), 2);
  EXPECT_EQ(model->headerData(1, Qt::Horizontal).toString(), "CustNo");
  EXPECT_EQ(model->index(1, 0).data().toString(), QString::fromUtf8("Caf\xC3\xA9 Lumi\xC3\xA8re"));
  c.AddRow("Kirk Enterprises", 3041);
  EXPECT_EQ(model->rowCount(), 3);

  auto* bar = c.Widget<QStatusBar>(c.status);
  ASSERT_NE(bar, nullptr);
  EXPECT_EQ(bar->currentMessage(), "Connected");
  EXPECT_EQ(bar->geometry(), QRect(0, 380 - 19, 548, 19));
  c.status->SetSimpleText("Read from server");
  EXPECT_EQ(bar->currentMessage(), "Read from server");

  auto* radios = c.Widget<RadioGroupBox>(c.format);
  ASSERT_NE(radios, nullptr);
  EXPECT_EQ(radios->title(), "Use package type ");
  ASSERT_NE(radios->Button(1), nullptr);
  EXPECT_EQ(radios->Button(0)->text(), "XML");
  EXPECT_EQ(radios->Button(1)->text(), "HTML");
  EXPECT_TRUE(radios->Button(0)->isChecked());
  EXPECT_EQ(radios->Button(0)->y(), radios->Button(1)->y());  // two columns
  EXPECT_GT(radios->Button(1)->x(), radios->Button(0)->geometry().right());

  QImage shot = dynamic_cast<QtFormView*>(c.form->View())->Window()->grab().toImage();
  EXPECT_EQ(shot.size(), QSize(548, 380) * shot.devicePixelRatio());
  EXPECT_TRUE(shot.save(VDEI_BINARY_DIR "/client-controls.png"));
}

TEST(QtFormControlsTest, ChoicesAndDisablingReachTheModel) {
  ClientForm c;
  auto* radios = c.Widget<RadioGroupBox>(c.format);
  QTest::mouseClick(radios->Button(1), Qt::LeftButton);
  EXPECT_EQ(c.format->ItemIndex(), 1);
  EXPECT_EQ(c.formatClicks, 1);
  c.format->SetItemIndex(0);
  EXPECT_TRUE(radios->Button(0)->isChecked());
  c.format->SetItemIndex(-1);
  EXPECT_FALSE(radios->Button(0)->isChecked());
  EXPECT_FALSE(radios->Button(1)->isChecked());

  // During a request the button and the choice take no clicks.
  c.request->SetEnabled(false);
  c.format->SetEnabled(false);
  auto* button = c.Widget<QPushButton>(c.request);
  EXPECT_FALSE(button->isEnabled());
  EXPECT_FALSE(radios->Button(0)->isEnabled());
  QTest::mouseClick(button, Qt::LeftButton);
  QTest::mouseClick(radios->Button(0), Qt::LeftButton);
  EXPECT_EQ(c.requests, 0);
  EXPECT_EQ(c.format->ItemIndex(), -1);
  EXPECT_EQ(c.formatClicks, 1);

  c.request->SetEnabled(true);
  c.format->SetEnabled(true);
  QTest::mouseClick(button, Qt::LeftButton);
  QTest::mouseClick(radios->Button(0), Qt::LeftButton);
  EXPECT_EQ(c.requests, 1);
  EXPECT_EQ(c.format->ItemIndex(), 0);

  // A click whose handler changes the items rebuilds the buttons,
  // the clicked one among them.
  c.format->OnClick = [&](TObject*) { c.format->Items()->Add("CSV"); };
  QTest::mouseClick(radios->Button(1), Qt::LeftButton);
  ASSERT_NE(radios->Button(2), nullptr);
  EXPECT_EQ(radios->Button(2)->text(), "CSV");
  c.grid->SetDataSource(nullptr);
  EXPECT_EQ(c.Widget<QTableView>(c.grid)->model()->rowCount(), 0);
}

}  // namespace
}  // namespace Vdei
