// TfrmCliMain: the main window of VDEI_CLI and the components on it.
//
// The form (client area 564 x 419, centred on the screen) holds the radio
// group rgPackageFormat (XML, HTML) and the button btnGetData at the top,
// the status bar StatusBar1 at the bottom edge and above it the group box
// gbPreview with the data grid DBGrid1, which shows ClientDataSet1 through
// DataSource1. The blocking socket ClientSocket1 and the two import
// components VdImportFromHTML1 and VdImportFromXML1 (the client's reader
// settings, VdIStructure.h) write into ClientDataSet1.
//
// A click on btnGetData runs one request (CliRequest.h) of the chosen
// type. For its whole length the button and the radio group are disabled
// and a second click does nothing. The socket's events set the status
// texts; a socket error shows one error box "Socket error:<code>" and the
// request then imports nothing, so the grid keeps its rows. Closing the
// window during a request cancels the running import; the window closes
// (OnClosed) only once the request has returned.
//
// The form is a model (platform/Forms.h); shown, the platform's view draws
// it. Created with Application() as owner, its components are found by
// "frmCliMain.<name>" (the import's LOOKUP).
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "client/CliRequest.h"
#include "platform/FormControls.h"

namespace VdImport {
class TVdImportBaseComponent;
class TVdImportFromHTML;
class TVdImportFromXML;
class TVdIColumns;
class TVdIStructureBuilder;
}  // namespace VdImport

namespace Vdei {

class TClientDataSet;
class TDataSource;
class TField;
class Variant;

class TfrmCliMain : public TForm {
 public:
  VDEI_CLASS(TfrmCliMain)
  // format: the radio group's choice at start.
  TfrmCliMain(TComponent* owner, const TCliConnection& connection, TCliPackageType format = ptXML);
  ~TfrmCliMain() override;

  // --- the components of the form ---
  TButton* btnGetData;
  TStatusBar* StatusBar1;
  TGroupBox* gbPreview;
  TDBGridControl* DBGrid1;
  TRadioGroup* rgPackageFormat;
  TClientSocket* ClientSocket1;
  TClientDataSet* ClientDataSet1;
  VdImport::TVdImportFromHTML* VdImportFromHTML1;
  VdImport::TVdImportFromXML* VdImportFromXML1;
  TDataSource* DataSource1;

  // --- handlers ---
  void btnGetDataClick(TObject* Sender);
  void ClientSocket1Lookup(TObject* Sender, TClientWinSocket* Socket);
  void ClientSocket1Connecting(TObject* Sender, TClientWinSocket* Socket);
  void ClientSocket1Connect(TObject* Sender, TClientWinSocket* Socket);
  void ClientSocket1Disconnect(TObject* Sender, TClientWinSocket* Socket);
  void ClientSocket1Read(TObject* Sender, TClientWinSocket* Socket);
  void ClientSocket1Write(TObject* Sender, TClientWinSocket* Socket);
  void ClientSocket1Error(TObject* Sender, TClientWinSocket* Socket, TErrorEvent ErrorEvent,
                          int& ErrorCode);
  void VdImportFromHTML1CreateStructure(TObject* Sender, VdImport::TVdIColumns* Columns);
  void VdImportFromXML1GetCellParams(TObject* Sender, TField* Field, Variant& Value);
  // The user closes the window: kept open (and the import canceled) while
  // a request runs, closed once it has returned.
  void FormClose(TObject* Sender, TCloseAction& Action);

  // The package type the radio group names.
  TCliPackageType PackageType() const;
  // The window has closed (the program ends its loop here).
  std::function<void()> OnClosed;

 private:
  class RequestScope;
  void CreateControls();
  void CreateComponents(const TCliConnection& connection);
  void BindSocketEvents();
  VdImport::TVdImportBaseComponent& ReaderFor(TCliPackageType type) const;
  void ReportRequestEnd(const TCliRequestResult& result,
                        const VdImport::TVdImportBaseComponent& reader);
  void ShowStatus(const std::string& text);
  void Closed();

  std::unique_ptr<VdImport::TVdIStructureBuilder> structure_;
  bool requestRunning_ = false;
  bool closePending_ = false;
};

}  // namespace Vdei
