#include "client/CliMain.h"

#include "core/Properties.h"
#include "dataset/ClientDataSet.h"
#include "dataset/DataSource.h"
#include "import/VdI2HTML.h"
#include "import/VdI2XML.h"
#include "import/VdIStat.h"
#include "import/VdIStructure.h"
#include "platform/Platform.h"

namespace Vdei {

namespace {

constexpr const char* kCaption = "VdExport/Vdimport: 3tier streaming (client side)";
constexpr int kWidth = 564, kHeight = 419;
// The strip above the preview that holds the radio group and the button.
constexpr int kTopStrip = 52;
constexpr int kStatusBarHeight = 19;

// A component of the form, named (controls take the form as owner too).
template <class T, class Owner>
T* Named(Owner* owner, const char* name) {
  T* component = new T(owner);
  component->SetName(name);
  return component;
}

}  // namespace

// Marks a request as running for its whole length: the button and the
// package choice are disabled, and enabled again however the request ends.
class TfrmCliMain::RequestScope {
 public:
  explicit RequestScope(TfrmCliMain& form) : form_(form) { Enable(false); }
  ~RequestScope() { Enable(true); }
  RequestScope(const RequestScope&) = delete;
  RequestScope& operator=(const RequestScope&) = delete;

 private:
  void Enable(bool enabled) {
    form_.requestRunning_ = !enabled;
    form_.btnGetData->SetEnabled(enabled);
    form_.rgPackageFormat->SetEnabled(enabled);
  }
  TfrmCliMain& form_;
};

const TClassInfo& TfrmCliMain::StaticClassInfo() {
  static const TClassInfo info = ClassInfoBuilder<TfrmCliMain, TForm>("TfrmCliMain").Build();
  return info;
}

TfrmCliMain::TfrmCliMain(TComponent* owner, const TCliConnection& connection,
                         TCliPackageType format)
    : TForm(owner) {
  SetName("frmCliMain");
  SetCaption(kCaption);
  SetClientSize(kWidth, kHeight);
  SetPosition(poScreenCenter);
  CreateControls();
  CreateComponents(connection);
  rgPackageFormat->SetItemIndex(format);
  OnClose = [this](TObject* sender, TCloseAction& action) { FormClose(sender, action); };
}

TfrmCliMain::~TfrmCliMain() = default;

void TfrmCliMain::CreateControls() {
  btnGetData = Named<TButton>(this, "btnGetData");
  btnGetData->SetBounds(204, 14, 185, 25);
  btnGetData->SetCaption("Request dataset from server");
  btnGetData->OnClick = [this](TObject* sender) { btnGetDataClick(sender); };

  // Made before gbPreview, so that it takes the bottom edge and the
  // preview stands on it.
  StatusBar1 = Named<TStatusBar>(this, "StatusBar1");
  StatusBar1->SetBounds(0, kHeight - kStatusBarHeight, kWidth, kStatusBarHeight);
  StatusBar1->SetSimplePanel(true);

  gbPreview = Named<TGroupBox>(this, "gbPreview");
  gbPreview->SetBounds(0, kTopStrip, kWidth, kHeight - kTopStrip - kStatusBarHeight);
  gbPreview->SetAlign(alBottom);
  gbPreview->SetCaption(" Preview: records that we got form server ");

  DBGrid1 = Named<TDBGridControl>(this, "DBGrid1");
  DBGrid1->SetParent(gbPreview);
  DBGrid1->SetAlign(alClient);

  rgPackageFormat = Named<TRadioGroup>(this, "rgPackageFormat");
  rgPackageFormat->SetBounds(8, 4, 185, 41);
  rgPackageFormat->SetCaption("Use package type ");
  rgPackageFormat->SetColumns(2);
  rgPackageFormat->Items()->Add("XML");
  rgPackageFormat->Items()->Add("HTML");
  rgPackageFormat->SetItemIndex(0);
}

void TfrmCliMain::CreateComponents(const TCliConnection& connection) {
  ClientSocket1 = Named<TClientSocket>(this, "ClientSocket1");
  ConfigureClientSocket(*ClientSocket1, connection);
  BindSocketEvents();

  ClientDataSet1 = Named<TClientDataSet>(this, "ClientDataSet1");
  structure_ = std::make_unique<VdImport::TVdIStructureBuilder>(*ClientDataSet1);
  VdImportFromHTML1 = Named<VdImport::TVdImportFromHTML>(this, "VdImportFromHTML1");
  VdImportFromXML1 = Named<VdImport::TVdImportFromXML>(this, "VdImportFromXML1");
  for (VdImport::TVdImportBaseComponent* reader :
       {static_cast<VdImport::TVdImportBaseComponent*>(VdImportFromHTML1),
        static_cast<VdImport::TVdImportBaseComponent*>(VdImportFromXML1)}) {
    VdImport::SetClientReaderSettings(*reader);
    structure_->Attach(*reader);
    reader->OnCreateStructure = [this](TObject* sender, VdImport::TVdIColumns* columns) {
      VdImportFromHTML1CreateStructure(sender, columns);
    };
    reader->OnGetCellParams = [this](TObject* sender, TField* field, Variant& value) {
      VdImportFromXML1GetCellParams(sender, field, value);
    };
  }

  DataSource1 = Named<TDataSource>(this, "DataSource1");
  DataSource1->SetDataSet(ClientDataSet1);
  DBGrid1->SetDataSource(DataSource1);
}

void TfrmCliMain::BindSocketEvents() {
  ClientSocket1->OnLookup = [this](TObject* s, TClientWinSocket* c) { ClientSocket1Lookup(s, c); };
  ClientSocket1->OnConnecting = [this](TObject* s, TClientWinSocket* c) {
    ClientSocket1Connecting(s, c);
  };
  ClientSocket1->OnConnect = [this](TObject* s, TClientWinSocket* c) {
    ClientSocket1Connect(s, c);
  };
  ClientSocket1->OnDisconnect = [this](TObject* s, TClientWinSocket* c) {
    ClientSocket1Disconnect(s, c);
  };
  ClientSocket1->OnRead = [this](TObject* s, TClientWinSocket* c) { ClientSocket1Read(s, c); };
  ClientSocket1->OnWrite = [this](TObject* s, TClientWinSocket* c) { ClientSocket1Write(s, c); };
  ClientSocket1->OnError = [this](TObject* s, TClientWinSocket* c, TErrorEvent event, int& code) {
    ClientSocket1Error(s, c, event, code);
  };
}

TCliPackageType TfrmCliMain::PackageType() const {
  return rgPackageFormat->ItemIndex() == 1 ? ptHTML : ptXML;
}

VdImport::TVdImportBaseComponent& TfrmCliMain::ReaderFor(TCliPackageType type) const {
  if (type == ptHTML) return *VdImportFromHTML1;
  return *VdImportFromXML1;
}

void TfrmCliMain::btnGetDataClick(TObject*) {
  if (requestRunning_) return;
  {
    RequestScope running(*this);
    VdImport::TVdImportBaseComponent& reader = ReaderFor(PackageType());
    ReportRequestEnd(RunCliRequest(*ClientSocket1, PackageType(), reader), reader);
  }
  if (closePending_) Closed();
}

// Socket errors had their box already. What else went wrong stays in the
// status bar (the progress window that told it is gone); an error the
// reader raised gets the box the application shows for any error.
void TfrmCliMain::ReportRequestEnd(const TCliRequestResult& result,
                                   const VdImport::TVdImportBaseComponent& reader) {
  if (result.End == reSocketError) return;
  if (result.End == reReaderError) {
    Platform().MessageBox(result.ReaderError, "", mtError, MsgButton(mbOK));
    return;
  }
  const std::string failure = DescribeRequestFailure(result, reader);
  if (!failure.empty()) ShowStatus(failure);
}

void TfrmCliMain::ClientSocket1Lookup(TObject*, TClientWinSocket*) {
  ShowStatus("Lookup the server");
}

void TfrmCliMain::ClientSocket1Connecting(TObject*, TClientWinSocket*) {
  ShowStatus("Connecting...");
}

void TfrmCliMain::ClientSocket1Connect(TObject*, TClientWinSocket*) {
  ShowStatus("Connected");
}

void TfrmCliMain::ClientSocket1Disconnect(TObject*, TClientWinSocket*) {
  ShowStatus("Disconnected");
}

void TfrmCliMain::ClientSocket1Read(TObject*, TClientWinSocket*) {
  ShowStatus("Read from server");
}

void TfrmCliMain::ClientSocket1Write(TObject*, TClientWinSocket*) {
  ShowStatus("Write to server");
}

void TfrmCliMain::ClientSocket1Error(TObject*, TClientWinSocket*, TErrorEvent, int& ErrorCode) {
  Platform().MessageBox("Socket error:" + std::to_string(ErrorCode), "", mtError, MsgButton(mbOK));
  ErrorCode = 0;
}

void TfrmCliMain::VdImportFromHTML1CreateStructure(TObject* Sender,
                                                   VdImport::TVdIColumns* Columns) {
  structure_->CreateStructure(Sender, Columns);
}

void TfrmCliMain::VdImportFromXML1GetCellParams(TObject*, TField* Field, Variant& Value) {
  VdImport::FilterCellValue(Field, Value);
}

void TfrmCliMain::FormClose(TObject*, TCloseAction& Action) {
  if (!requestRunning_) return Closed();
  Action = caNone;
  closePending_ = true;
  for (VdImport::TVdImportBaseComponent* reader : {&ReaderFor(ptXML), &ReaderFor(ptHTML)}) {
    if (reader->Running() && reader->ProgressWindow()) reader->ProgressWindow()->SetCanceled(true);
  }
}

void TfrmCliMain::Closed() {
  closePending_ = false;
  Hide();
  if (OnClosed) OnClosed();
}

// The socket's events come while the window thread is held by the
// transfer: a new text is painted at once, a repeated one costs nothing.
void TfrmCliMain::ShowStatus(const std::string& text) {
  if (StatusBar1->SimpleText() == text) return;
  StatusBar1->SetSimpleText(text);
  Repaint();
}

}  // namespace Vdei
