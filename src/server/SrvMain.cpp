#include "server/SrvMain.h"

#include "core/Properties.h"
#include "dataset/DataSource.h"
#include "dataset/Query.h"
#include "export/VdE2HTML.h"
#include "export/VdE2XML.h"
#include "server/ServerSocket.h"
#include "server/SrvLog.h"
#include "server/SrvRequest.h"
#include "server/SrvSettings.h"

namespace Vdei {

namespace {

constexpr const char* kCaption = "VdExport/VdImport: 3tier streaming (server side)";
constexpr int kLeft = 78, kTop = 90, kWidth = 421, kHeight = 113;
constexpr int kStatusHeight = 13;

// Creates a component of the form (controls take the form, others an owner).
template <class T, class Owner>
T* Place(Owner* owner, const char* name) {
  T* component = new T(owner);
  component->SetName(name);
  return component;
}

}  // namespace

const TClassInfo& TfrmSrvMain::StaticClassInfo() {
  static const TClassInfo info = ClassInfoBuilder<TfrmSrvMain, TForm>("TfrmSrvMain").Build();
  return info;
}

TfrmSrvMain::TfrmSrvMain(TComponent* owner, const TSrvListenSettings& listen, bool logStatus)
    : TForm(owner), logStatus_(logStatus) {
  SetName("frmSrvMain");
  SetCaption(kCaption);
  SetPos(kLeft, kTop);
  SetClientSize(kWidth, kHeight);
  Font().SetName("MS Sans Serif");
  Font().SetSize(8);
  CreateComponents(listen);
  FormCreate(this);
}

TfrmSrvMain::~TfrmSrvMain() {
  FormDestroy(this);
}

void TfrmSrvMain::CreateComponents(const TSrvListenSettings& listen) {
  lblStatus = Place<TLabel>(this, "lblStatus");
  lblStatus->SetAutoSize(false);
  lblStatus->SetBounds(0, kHeight - kStatusHeight, kWidth, kStatusHeight);
  lblStatus->SetAlign(alBottom);

  qryExample1 = Place<TQuery>(this, "qryExample1");
  qryExample1->SetDatabaseName("DBDEMOS");
  qryExample1->SQL()->Add("SELECT *");
  qryExample1->SQL()->Add("FROM CUSTOMER");
  qryExample1->SQL()->Add("ORDER BY COMPANY");
  qryExample1->SetUniDirectional(true);  // each request reads it once, front to back

  dSrc = Place<TDataSource>(this, "dSrc");
  dSrc->SetDataSet(qryExample1);

  ServerSocket1 = Place<TServerSocket>(this, "ServerSocket1");
  ServerSocket1->SetPort(listen.Port);
  ServerSocket1->SetAddress(listen.Address);
  ServerSocket1->SetMaxConnections(listen.MaxConnections);
  ServerSocket1->SetIdleTimeout(listen.IdleTimeout);
  ServerSocket1->SetRequestTimeout(listen.RequestTimeout);
  ServerSocket1->SetNoProgressTimeout(listen.NoProgressTimeout);
  ServerSocket1->OnClientConnect = [this](TObject* sender, TServerClientWinSocket* socket) {
    ServerSocket1ClientConnect(sender, socket);
  };
  ServerSocket1->OnClientDisconnect = [this](TObject* sender, TServerClientWinSocket* socket) {
    ServerSocket1ClientDisconnect(sender, socket);
  };
  ServerSocket1->OnClientRead = [this](TObject* sender, TServerClientWinSocket* socket) {
    ServerSocket1ClientRead(sender, socket);
  };
  ServerSocket1->OnClientPause = [this](TObject*, TServerClientWinSocket* socket) {
    requests_->ClientPause(socket);
  };
  ServerSocket1->OnClientSent = [this](TObject*, TServerClientWinSocket* socket) {
    requests_->ClientSent(socket);
  };
  ServerSocket1->OnClientError = [this](TObject*, TServerClientWinSocket* socket,
                                        const std::string& message) {
    ShowStatus(message + " (client " + socket->RemoteAddress() + ")", true);
  };
  ServerSocket1->OnServerNotice = [this](TObject*, const std::string& message) {
    ShowStatus(message, true);
  };

  VdExportToHTML1 = Place<VdExport::TVdExportToHTML>(this, "VdExportToHTML1");
  VdExportToXML1 = Place<VdExport::TVdExportToXML>(this, "VdExportToXML1");
  for (VdExport::TVdExportBaseComponent* exporter :
       {static_cast<VdExport::TVdExportBaseComponent*>(VdExportToHTML1),
        static_cast<VdExport::TVdExportBaseComponent*>(VdExportToXML1)}) {
    exporter->SetDataSet(qryExample1);
    exporter->SetColumnSource(VdExport::csDataSet);
  }
  ApplyServerSettings(*VdExportToHTML1);
  ApplyServerSettings(*VdExportToXML1);

  requests_ = std::make_unique<TSrvRequestHandler>(*qryExample1, *VdExportToXML1, *VdExportToHTML1,
                                                   listen.MaxPendingBytes);
  requests_->OnStatus = [this](const std::string& text, bool isError) {
    ShowStatus(text, isError);
  };
}

void TfrmSrvMain::FormCreate(TObject*) {
  ServerSocket1->Open();
  lblStatus->SetCaption("Listening on " + ListeningOn());
}

void TfrmSrvMain::FormDestroy(TObject*) {
  ServerSocket1->Close();
}

void TfrmSrvMain::ServerSocket1ClientConnect(TObject*, TServerClientWinSocket* Socket) {
  requests_->ClientConnect(Socket);
}

void TfrmSrvMain::ServerSocket1ClientDisconnect(TObject*, TServerClientWinSocket* Socket) {
  requests_->ClientDisconnect(Socket);
}

void TfrmSrvMain::ServerSocket1ClientRead(TObject*, TServerClientWinSocket* Socket) {
  requests_->ClientRead(Socket);
}

void TfrmSrvMain::ShutDown(int graceSeconds, std::function<void()> done) {
  ShowStatus("Shutting down: no new clients; transfers in flight may finish", false);
  ServerSocket1->CloseGracefully(graceSeconds, std::move(done));
}

std::string TfrmSrvMain::ListeningOn() const {
  std::string address = ServerSocket1->LocalAddress();
  if (address.find(':') != std::string::npos) address = "[" + address + "]";
  return address + ":" + std::to_string(ServerSocket1->LocalPort());
}

void TfrmSrvMain::ShowStatus(const std::string& text, bool isError) {
  lblStatus->SetCaption(text);
  if (logStatus_ || isError) LogStatus(text);
}

}  // namespace Vdei
