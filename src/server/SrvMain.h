// TfrmSrvMain: the main window of VDEI_SRV and the components on it.
//
// The form owns the status label lblStatus (at the bottom edge), the query
// qryExample1 (alias DBDEMOS, SELECT * FROM CUSTOMER ORDER BY COMPANY, not
// open until the first request), the data source dSrc, the listening socket
// ServerSocket1 and the two export components VdExportToHTML1 and
// VdExportToXML1 with the server's stored settings (SrvSettings.h). The
// socket's three events are handled by TSrvRequestHandler (SrvRequest.h);
// the form only shows what happens.
//
// The constructor runs FormCreate, which opens the listening socket: it
// raises ESocketError when the port cannot be had. The destructor runs
// FormDestroy, which closes it and with it every connection.
//
// The form is a model (platform/Forms.h): shown, the platform's view draws
// it; with logStatus (a server without a window) every status text is also
// written to standard error as a timestamped line. Failures are logged in
// either case.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "platform/Forms.h"

namespace VdExport {
class TVdExportToHTML;
class TVdExportToXML;
}  // namespace VdExport

namespace Vdei {

class TDataSource;
class TQuery;
class TServerClientWinSocket;
class TServerSocket;
class TSrvRequestHandler;

// Where the form listens and how it bounds its connections.
struct TSrvListenSettings {
  int Port = 1024;
  std::string Address;  // empty: all local addresses
  int MaxConnections = 256;
  int IdleTimeout = 300;       // seconds; 0: never
  int RequestTimeout = 10;     // seconds from connecting to a complete request; 0: never
  int NoProgressTimeout = 30;  // seconds a transfer may stall; 0: never
  int64_t MaxPendingBytes = int64_t{1024} << 20;  // held by packages being sent
};

class TfrmSrvMain : public TForm {
 public:
  VDEI_CLASS(TfrmSrvMain)
  TfrmSrvMain(TComponent* owner, const TSrvListenSettings& listen, bool logStatus);
  ~TfrmSrvMain() override;

  // --- the components of the form ---
  TLabel* lblStatus;
  TQuery* qryExample1;
  TDataSource* dSrc;
  TServerSocket* ServerSocket1;
  VdExport::TVdExportToHTML* VdExportToHTML1;
  VdExport::TVdExportToXML* VdExportToXML1;

  // --- handlers ---
  void FormCreate(TObject* Sender);
  void FormDestroy(TObject* Sender);
  void ServerSocket1ClientConnect(TObject* Sender, TServerClientWinSocket* Socket);
  void ServerSocket1ClientDisconnect(TObject* Sender, TServerClientWinSocket* Socket);
  void ServerSocket1ClientRead(TObject* Sender, TServerClientWinSocket* Socket);

  // Stops accepting, lets transfers in flight finish for at most
  // graceSeconds (then resets them) and calls done.
  void ShutDown(int graceSeconds, std::function<void()> done);

  // "ADDRESS:PORT" of the listening socket ("[::]:1024" for IPv6 addresses).
  std::string ListeningOn() const;

 private:
  void CreateComponents(const TSrvListenSettings& listen);
  void ShowStatus(const std::string& text, bool isError);

  std::unique_ptr<TSrvRequestHandler> requests_;
  bool logStatus_;
};

}  // namespace Vdei
