// VDEI_CLI: asks VDEI_SRV for its table and shows it in a grid, or, with
// --fetch, prints it (CliOptions.h tells the command line).
//
// Exit status 0 after the window was closed or the fetched table was
// printed; 1 when a fetch failed or there is no display for the window; 2
// on a usage error.
#include <QCoreApplication>
#include <cstdio>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "client/CliFetch.h"
#include "client/CliMain.h"
#include "client/CliOptions.h"
#include "platform/Application.h"
#include "platform/qt/PlatformApplication.h"

namespace {

int ShowWindow(int argc, char** argv, const Vdei::TCliOptions& options) {
  if (!Vdei::WantsWindows(false)) {
    std::fputs("VDEI_CLI: no display for the window; use --fetch xml|html to print the table\n",
               stderr);
    return 1;
  }
  Vdei::PlatformApplication app(argc, argv, false);
  auto form =
      std::make_unique<Vdei::TfrmCliMain>(&Vdei::Application(), options.Connection, options.Format);
  form->OnClosed = [] { QCoreApplication::quit(); };
  form->Show();
  const int status = app.Exec();
  form.reset();  // before the platform goes
  return status;
}

}  // namespace

int main(int argc, char** argv) {
  Vdei::TCliOptions options;
  try {
    options = Vdei::ParseCliOptions(std::vector<std::string>(argv + 1, argv + argc));
  } catch (const Vdei::EUsageError& e) {
    std::fprintf(stderr, "VDEI_CLI: %s\n%s", e.Message().c_str(), Vdei::CliUsage());
    return 2;
  }
  if (options.Help) {
    std::fputs(Vdei::CliUsage(), stdout);
    return 0;
  }
  if (options.Version) {
    std::printf("VDEI_CLI %s\n", VDEI_VERSION);
    return 0;
  }
  if (options.Fetch) {
    std::ios::sync_with_stdio(false);
    return Vdei::FetchAndPrint(options.Connection, *options.Fetch, options.Print, std::cout,
                               std::cerr);
  }
  return ShowWindow(argc, argv, options);
}
