#include "server/SrvRequest.h"

#include <gtest/gtest.h>

#include <string>

#include "server/SrvLog.h"
#include "server/SrvOptions.h"

namespace Vdei {
namespace {

TEST(RequestText, IsCompleteOnceAPercentSignEndsTheTypeWord) {
  TRequestText request;
  request.Append("%GET DA");
  EXPECT_FALSE(request.HasMarker());
  request.Append("TA%HT");
  EXPECT_TRUE(request.HasMarker());
  EXPECT_FALSE(request.Complete()) << "the type word may still grow";
  request.Append("ML");
  EXPECT_FALSE(request.AsksForHTML());
  request.Append("%\r\n");
  EXPECT_TRUE(request.Complete());
  EXPECT_TRUE(request.AsksForHTML());

  request.Clear();
  request.Append("%get data%html%");  // the markers are case-sensitive
  EXPECT_FALSE(request.HasMarker());
  EXPECT_FALSE(request.AsksForHTML());
  request.Clear();
  request.Append("%HTML% before %GET DATA%");  // anywhere, in any order
  EXPECT_TRUE(request.HasMarker());
  EXPECT_FALSE(request.Complete());
  EXPECT_TRUE(request.AsksForHTML());
}

TEST(RequestText, KeepsTheFirstMarkerWhateverComesWithOrAfterIt) {
  // Before a marker only the newest bytes count; a marker split over the
  // bound between two pieces is still found.
  TRequestText request;
  request.Append(std::string(3 * TRequestText::kLimit, 'x') + "%GET D");
  EXPECT_EQ(request.Text().size(), TRequestText::kLimit);
  request.Append("ATA%");
  EXPECT_TRUE(request.HasMarker());

  // A marker at the start of a piece far larger than the bound.
  request.Clear();
  request.Append("%GET DATA%" + std::string(3 * TRequestText::kLimit, 'y'));
  EXPECT_TRUE(request.HasMarker());
  EXPECT_LE(request.Text().size(), TRequestText::kLimit + 10);
  request.Append("%HTML%");  // beyond the bound after the marker: dropped
  EXPECT_FALSE(request.Complete());
  EXPECT_FALSE(request.AsksForHTML());

  // Long garbage before the marker keeps the request and its type.
  request.Clear();
  request.Append(std::string(TRequestText::kLimit + 7, 'z') + "%GET DATA%HTML%");
  EXPECT_TRUE(request.Complete());
  EXPECT_TRUE(request.AsksForHTML());
  EXPECT_LE(request.Text().size(), 2 * TRequestText::kLimit);
}

TSrvOptions Parse(std::initializer_list<const char*> args) {
  std::vector<const char*> argv{"VDEI_SRV"};
  argv.insert(argv.end(), args);
  return ParseSrvOptions(static_cast<int>(argv.size()), argv.data());
}

TEST(SrvOptions, ReadsValuesInBothFormsAndRefusesWhatItDoesNotKnow) {
  TSrvOptions defaults = Parse({});
  EXPECT_EQ(defaults.Port, 1024);
  EXPECT_EQ(defaults.Bind, "");
  EXPECT_EQ(defaults.MaxConnections, 256);
  EXPECT_EQ(defaults.IdleTimeout, 300);
  EXPECT_EQ(defaults.RequestTimeout, 10);
  EXPECT_EQ(defaults.NoProgressTimeout, 30);
  EXPECT_EQ(defaults.MaxPendingMb, 1024);
  EXPECT_EQ(defaults.ShutdownGrace, 10);
  EXPECT_FALSE(defaults.Headless);

  TSrvOptions o =
      Parse({"--port=0", "--bind", "127.0.0.1", "--database", "x.db", "--headless",
             "--max-connections", "3", "--idle-timeout=0", "--request-timeout", "2",
             "--no-progress-timeout=0", "--max-pending-mb", "5", "--shutdown-grace", "0"});
  EXPECT_EQ(o.Port, 0);
  EXPECT_EQ(o.Bind, "127.0.0.1");
  EXPECT_EQ(o.Database, "x.db");
  EXPECT_TRUE(o.Headless);
  EXPECT_EQ(o.MaxConnections, 3);
  EXPECT_EQ(o.IdleTimeout, 0);
  EXPECT_EQ(o.RequestTimeout, 2);
  EXPECT_EQ(o.NoProgressTimeout, 0);
  EXPECT_EQ(o.MaxPendingMb, 5);
  EXPECT_EQ(o.ShutdownGrace, 0);

  for (auto bad : std::vector<std::vector<const char*>>{{"--port", "65536"},
                                                        {"--port", "-1"},
                                                        {"--port", "12x"},
                                                        {"--port", ""},
                                                        {"--port"},
                                                        {"--max-connections", "0"},
                                                        {"--max-pending-mb", "0"},
                                                        {"--shutdown-grace", "-1"},
                                                        {"--headless=yes"},
                                                        {"--bind="},
                                                        {"-port", "1"},
                                                        {"extra"}}) {
    std::vector<const char*> argv{"VDEI_SRV"};
    argv.insert(argv.end(), bad.begin(), bad.end());
    EXPECT_THROW(ParseSrvOptions(static_cast<int>(argv.size()), argv.data()), ESrvOptionError)
        << bad[0];
  }
}

TEST(SrvOptions, APathBecomesASqliteUrlAndUrlsStayAsTheyAre) {
  EXPECT_EQ(DatabaseUrl("/tmp/x.db"), "sqlite:/tmp/x.db");
  EXPECT_EQ(DatabaseUrl("SQLite:/tmp/x.db"), "SQLite:/tmp/x.db");
  EXPECT_EQ(DatabaseUrl("postgresql:///db?host=/tmp"), "postgresql:///db?host=/tmp");
  EXPECT_EQ(DatabaseUrl("postgres://u@h/db"), "postgres://u@h/db");
}

TEST(SrvLog, OneStampedUtf8LinePerText) {
  const std::string line = StatusLogLine(0, "Export failed: caf\xE9\r\nline two");
  // "YYYY-MM-DD HH:MM:SS " in local time, then the text on one line.
  ASSERT_GT(line.size(), 20u);
  EXPECT_EQ(line[4], '-');
  EXPECT_EQ(line[10], ' ');
  EXPECT_EQ(line[13], ':');
  EXPECT_EQ(line.substr(20), "Export failed: caf\xC3\xA9  line two");
}

}  // namespace
}  // namespace Vdei
