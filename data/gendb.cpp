// vdei-gendb: writes the sample database, a CUSTOMER table of fictional
// companies, with the SQLite C API.
//
//   vdei-gendb OUT.db              the 55 sample rows (the DBDEMOS alias)
//   vdei-gendb --rows N OUT.db     N generated rows of the same schema
//
// The file is written beside OUT.db and renamed into place, so a reader
// never sees half a database. Exit 0, 1 on failure, 2 on a usage error.
#include <sqlite3.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

namespace {

struct DatabaseCloser {
  void operator()(sqlite3* db) const { sqlite3_close_v2(db); }
};
struct StatementFinalizer {
  void operator()(sqlite3_stmt* statement) const { sqlite3_finalize(statement); }
};

struct Failure {
  std::string Message;
};

void Check(sqlite3* db, int rc, const char* what) {
  if (rc != SQLITE_OK && rc != SQLITE_DONE) throw Failure{std::string(what) + ": " + sqlite3_errmsg(db)};
}

constexpr const char* kSchema =
    "CREATE TABLE CUSTOMER ("
    "CustNo REAL PRIMARY KEY, Company VARCHAR(30), Addr1 VARCHAR(30), Addr2 VARCHAR(30), "
    "City VARCHAR(15), State VARCHAR(20), Zip VARCHAR(10), Country VARCHAR(20), "
    "Phone VARCHAR(15), FAX VARCHAR(15), TaxRate REAL, Contact VARCHAR(20), "
    "LastInvoiceDate DATETIME)";

// Invented names; a few hold the characters markup must escape.
constexpr const char* kCompanies[55] = {
    "Amberfin Outfitters",      "Barnacle & Bream Supply", "Coral Lantern Trading",
    "Driftwood Gear Co.",       "Eelgrass Marine",         "Fathom Five Rentals",
    "Gullwing Charters",        "Harbor Moth Diving",      "Inkfish Imports",
    "Jetty Lights Ltd",         "Kelpwise Traders",        "Lagoon Loft",
    "Mantaray Works",           "Nautilus & Nettle",       "O'Briain Sea Sports",
    "Pebble Cove Supply",       "Quayside Kayaks",         "Reefwalker Tours",
    "Saltmarsh Provisions",     "Tidepool Toys",           "Undertow Depot",
    "Velella Boats",            "Wavecrest Goods",         "Xiphias Tackle",
    "Yellowtail Yachting",      "Zephyr Sails",            "Anchorage <North>",
    "Brine Shrimp Bazaar",      "Current Affairs Dive",    "Dolphin's Rest Inn",
    "Estuary Outpost",          "Flotsam Finds",           "Grotto Gear",
    "High Tide Hardware",       "Island Hop Travel",       "Jellyfish Junction",
    "Keel & Rudder",            "Lighthouse Lane Shop",    "Moonsnail Market",
    "Nor'easter Supply",        "Oyster Bay Outfit",       "Periwinkle Press",
    "Quillback Charters",       "Riptide Rentals",         "Seafoam Studio",
    "Trawler Town Traders",     "Urchin Undersea",         "Volcano Isle Dive",
    "Whelk & Winkle",           "Xanadu Reef Resort",      "Yawl Yard",
    "Zostera Aquatics",         "Atoll Adventures",        "Bluewater <Depth> Club",
    "Cormorant Coast Co."};

constexpr const char* kStreets[] = {"Harbour Road", "Shell Street", "Pier Avenue", "Dune Way",
                                    "Lagoon Drive", "Wharf Lane", "Coral Close"};
struct Place {
  const char* City;
  const char* State;
  const char* Country;
};
constexpr Place kPlaces[] = {{"Port Alder", "Coast Province", "Norland"},
                             {"Kelvik", nullptr, "Ostria"},
                             {"Saltmere", "West Shore", "Marivia"},
                             {"Brackwater", "Isle District", "Norland"},
                             {"Tidewick", nullptr, "Coralis"},
                             {"Fenhaven", "North Reach", "Marivia"}};
constexpr const char* kContacts[] = {"Ada Marlow",  "Bo Fenwick",  "Cass Orrin", "Dara Quill",
                                     "Eli Strand",  "Fay Tolland", "Gus Harrow", "Hana Venn",
                                     "Ivo Brask",   "Jun Calder",  "Kit Dorran"};

struct Row {
  double CustNo;
  std::string Company, Addr1, Addr2, City, State, Zip, Country, Phone, Fax;
  double TaxRate;
  std::string Contact, LastInvoiceDate;
  bool HasAddr2, HasState, HasFax, HasDate;
};

std::string Printf(const char* format, long a, long b = 0, long c = 0) {
  char text[64];
  std::snprintf(text, sizeof text, format, a, b, c);
  return text;
}

Row MakeRow(long i, const std::string& company) {
  const Place& place = kPlaces[i % std::size(kPlaces)];
  Row row;
  row.CustNo = 1000 + i * 7;
  row.Company = company;
  row.Addr1 = Printf("%ld ", 1 + (i * 37) % 900) + kStreets[i % std::size(kStreets)];
  row.HasAddr2 = i % 6 == 2;
  row.Addr2 = Printf("Suite %ld", 100 + i % 50);
  row.City = place.City;
  row.HasState = place.State != nullptr;
  row.State = place.State ? place.State : "";
  row.Zip = Printf("%05ld", (i * 7919) % 100000);
  row.Country = place.Country;
  row.Phone = Printf("%03ld-%03ld-%04ld", 200 + i % 700, (i * 13) % 1000, (i * 97) % 10000);
  row.HasFax = i % 5 != 3;
  row.Fax = Printf("%03ld-%03ld-%04ld", 200 + i % 700, (i * 13) % 1000, (i * 89 + 1) % 10000);
  row.TaxRate = (i % 5) * 2.5;
  row.Contact = kContacts[i % std::size(kContacts)];
  row.HasDate = i % 11 != 7;
  row.LastInvoiceDate = Printf("%04ld-%02ld-%02ld", 1988 + i % 8, 1 + i % 12, 1 + i % 28) +
                        (i % 4 == 0 ? "" : Printf(" %02ld:%02ld:%02ld", (i * 5) % 24, (i * 17) % 60,
                                                  (i * 29) % 60));
  return row;
}

void BindText(sqlite3_stmt* s, int index, const std::string& text, bool present = true) {
  if (present) {
    sqlite3_bind_text(s, index, text.c_str(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
  } else {
    sqlite3_bind_null(s, index);
  }
}

void InsertRow(sqlite3* db, sqlite3_stmt* s, const Row& row) {
  sqlite3_reset(s);
  sqlite3_bind_double(s, 1, row.CustNo);
  BindText(s, 2, row.Company);
  BindText(s, 3, row.Addr1);
  BindText(s, 4, row.Addr2, row.HasAddr2);
  BindText(s, 5, row.City);
  BindText(s, 6, row.State, row.HasState);
  BindText(s, 7, row.Zip);
  BindText(s, 8, row.Country);
  BindText(s, 9, row.Phone);
  BindText(s, 10, row.Fax, row.HasFax);
  sqlite3_bind_double(s, 11, row.TaxRate);
  BindText(s, 12, row.Contact);
  BindText(s, 13, row.LastInvoiceDate, row.HasDate);
  Check(db, sqlite3_step(s), "insert");
}

void Write(const std::string& path, long rows, bool sample) {
  std::remove(path.c_str());
  sqlite3* raw = nullptr;
  const int rc = sqlite3_open_v2(path.c_str(), &raw, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE,
                                 nullptr);
  std::unique_ptr<sqlite3, DatabaseCloser> db(raw);
  if (rc != SQLITE_OK) throw Failure{"cannot create " + path};
  Check(db.get(), sqlite3_exec(db.get(), kSchema, nullptr, nullptr, nullptr), "create table");
  Check(db.get(), sqlite3_exec(db.get(), "BEGIN", nullptr, nullptr, nullptr), "begin");
  sqlite3_stmt* statement = nullptr;
  Check(db.get(),
        sqlite3_prepare_v2(db.get(), "INSERT INTO CUSTOMER VALUES (?,?,?,?,?,?,?,?,?,?,?,?,?)", -1,
                           &statement, nullptr),
        "prepare");
  std::unique_ptr<sqlite3_stmt, StatementFinalizer> insert(statement);
  for (long i = 0; i < rows; ++i) {
    const std::string company =
        sample ? kCompanies[i] : Printf("Company %07ld", i) + " " + kStreets[i % 7];
    InsertRow(db.get(), insert.get(), MakeRow(i, company.substr(0, 30)));
  }
  insert.reset();
  Check(db.get(), sqlite3_exec(db.get(), "COMMIT", nullptr, nullptr, nullptr), "commit");
}

int Usage(const char* message) {
  std::fprintf(stderr, "vdei-gendb: %s\nusage: vdei-gendb [--rows N] OUT.db\n", message);
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  long rows = std::size(kCompanies);
  bool sample = true;
  std::string out;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--rows") == 0 && i + 1 < argc) {
      char* end = nullptr;
      rows = std::strtol(argv[++i], &end, 10);
      sample = false;
      if (*end != 0 || rows < 0) return Usage("--rows needs a count");
    } else if (argv[i][0] == '-' || !out.empty()) {
      return Usage("unexpected argument");
    } else {
      out = argv[i];
    }
  }
  if (out.empty()) return Usage("no output file");
  const std::string temporary = out + ".tmp";
  try {
    Write(temporary, rows, sample);
    if (std::rename(temporary.c_str(), out.c_str()) != 0) throw Failure{"cannot write " + out};
  } catch (const Failure& failure) {
    std::remove(temporary.c_str());
    std::fprintf(stderr, "vdei-gendb: %s\n", failure.Message.c_str());
    return 1;
  }
  return 0;
}
