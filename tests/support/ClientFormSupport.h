// What the client's form tests share: the status texts a request goes
// through, and the sample table as the database holds it.
#pragma once

#include <sstream>
#include <string>
#include <vector>

#include "SrvProcess.h"
#include "client/CliMain.h"
#include "dataset/Query.h"
#include "dataset/TablePrinter.h"

namespace VdeiTest {

// Records the status bar's text after each socket event the form handles
// (the form's own handlers still run first).
class StatusTrail {
 public:
  explicit StatusTrail(Vdei::TfrmCliMain& form) {
    Vdei::TClientSocket& socket = *form.ClientSocket1;
    for (auto* event : {&socket.OnLookup, &socket.OnConnecting, &socket.OnConnect, &socket.OnWrite,
                        &socket.OnRead, &socket.OnDisconnect}) {
      *event = [this, &form, handler = *event](Vdei::TObject* s, Vdei::TClientWinSocket* c) {
        handler(s, c);
        Note(form.StatusBar1->SimpleText());
      };
    }
  }
  // The texts in order, a run of "Read from server" kept once.
  const std::vector<std::string>& Texts() const { return texts_; }
  int Reads() const { return reads_; }
  void Clear() { texts_.clear(), reads_ = 0; }

 private:
  void Note(const std::string& text) {
    if (text == "Read from server") ++reads_;
    if (texts_.empty() || texts_.back() != text) texts_.push_back(text);
  }
  std::vector<std::string> texts_;
  int reads_ = 0;
};

// The status texts of a request that went well.
inline const std::vector<std::string> kWholeRequest = {"Lookup the server", "Connecting...",
                                                       "Connected",         "Write to server",
                                                       "Read from server",  "Disconnected"};

inline std::string TsvOf(Vdei::TDataSet& dataSet) {
  std::ostringstream out;
  Vdei::PrintTable(dataSet, out, {Vdei::pfTsv, true});
  return out.str();
}

// The server's table, read from its SQLite database directly, as tsv.
inline std::string CustomerTsv(const std::string& database = SampleDatabase()) {
  Vdei::TQuery query(nullptr);
  query.SetDatabaseName("sqlite:" + database);
  query.SQL()->SetText("SELECT * FROM CUSTOMER ORDER BY COMPANY");
  query.Open();
  return TsvOf(query);
}

inline Vdei::TCliConnection Loopback(int port, int timeout = 10) {
  return {"127.0.0.1", port, timeout};
}

}  // namespace VdeiTest
