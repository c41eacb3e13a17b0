// VDEI_SRV: serves the CUSTOMER query of the DBDEMOS database as an XML
// package or an HTML page over TCP (SrvRequest.h tells the protocol).
//
// Exit status 0 after the window was closed or SIGINT / SIGTERM came (the
// first signal stops accepting and lets transfers in flight finish for
// --shutdown-grace seconds; what is left then is reset); 1
// when the server cannot start (the port is taken, a bad address); 2 on a
// usage error. Options: SrvOptions.h.
#include <QCoreApplication>
#include <cstdio>
#include <memory>

#include "dataset/Database.h"
#include "platform/qt/PlatformApplication.h"
#include "server/SrvMain.h"
#include "server/SrvOptions.h"
#include "server/SrvSignals.h"

namespace {

void Fail(const std::string& message) {
  std::fprintf(stderr, "VDEI_SRV: %s\n", message.c_str());
}

Vdei::TSrvListenSettings ListenSettings(const Vdei::TSrvOptions& options) {
  Vdei::TSrvListenSettings listen;
  listen.Port = options.Port;
  listen.Address = options.Bind;
  listen.MaxConnections = options.MaxConnections;
  listen.IdleTimeout = options.IdleTimeout;
  listen.RequestTimeout = options.RequestTimeout;
  listen.NoProgressTimeout = options.NoProgressTimeout;
  listen.MaxPendingBytes = int64_t{options.MaxPendingMb} << 20;
  return listen;
}

int Serve(int argc, char** argv, const Vdei::TSrvOptions& options) {
  Vdei::PlatformApplication app(argc, argv, options.Headless);
  std::unique_ptr<Vdei::TfrmSrvMain> form;
  // The first signal lets transfers in flight finish; a second one ends
  // the loop at once.
  bool shuttingDown = false;
  Vdei::TQuitOnSignals quitOnSignals([&] {
    if (shuttingDown || !form) return QCoreApplication::quit();
    shuttingDown = true;
    form->ShutDown(options.ShutdownGrace, [] { QCoreApplication::quit(); });
  });
  try {
    form = std::make_unique<Vdei::TfrmSrvMain>(nullptr, ListenSettings(options), !app.HasWindows());
  } catch (const Vdei::Exception& e) {
    Fail(e.Message());
    return 1;
  }
  std::fprintf(stderr, "listening on %s\n", form->ListeningOn().c_str());
  std::fflush(stderr);
  if (app.HasWindows()) {
    form->OnClose = [](Vdei::TObject*, Vdei::TCloseAction&) { QCoreApplication::quit(); };
    form->Show();
  }
  app.Exec();
  form.reset();  // FormDestroy: the listening socket and every connection close
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  Vdei::TSrvOptions options;
  try {
    options = Vdei::ParseSrvOptions(argc, argv);
  } catch (const Vdei::ESrvOptionError& e) {
    Fail(e.Message() + "\n" + Vdei::SrvUsage());
    return 2;
  }
  if (options.Help) {
    std::fputs(Vdei::SrvUsage().c_str(), stdout);
    return 0;
  }
  if (options.Version) {
    std::printf("VDEI_SRV %s\n", VDEI_VERSION);
    return 0;
  }
  if (!options.Database.empty()) Vdei::SetAlias("DBDEMOS", Vdei::DatabaseUrl(options.Database));
  return Serve(argc, argv, options);
}
