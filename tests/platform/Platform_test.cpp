#include "platform/Platform.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <thread>

#include "platform/HeadlessPlatform.h"
#include "platform/Mail.h"

namespace Vdei {
namespace {

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream content;
  content << in.rdbuf();
  return content.str();
}

void WriteFile(const std::string& path, const std::string& content, mode_t mode = 0644) {
  std::ofstream(path, std::ios::binary) << content;
  ::chmod(path.c_str(), mode);
}

std::string Lines(std::initializer_list<std::string> lines) {
  std::string out;
  for (const std::string& line : lines) out += line + "\n";
  return out;
}

// Decodes base64 lines (the test's own reading of what the mail layer wrote).
std::string DecodeBase64(const std::string& text) {
  const std::string alphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::string out;
  unsigned bits = 0;
  int count = 0;
  for (char c : text) {
    size_t v = alphabet.find(c);
    if (v == std::string::npos) continue;
    bits = bits << 6 | static_cast<unsigned>(v);
    if ((count += 6) >= 8) out += static_cast<char>((bits >> (count -= 8)) & 0xFF);
  }
  return out;
}

// The body of the MIME part whose headers contain header, up to the next
// boundary line.
std::string PartBody(const std::string& mail, const std::string& header) {
  size_t at = mail.find(header);
  if (at == std::string::npos) return "";
  size_t start = mail.find("\n\n", at) + 2;
  return mail.substr(start, mail.find("\n--", start) - start);
}

TEST(HeadlessPlatformTest, MessageBoxLogsOneLineAndAnswersTheDefault) {
  HeadlessPlatform headless;
  testing::internal::CaptureStderr();
  EXPECT_EQ(headless.MessageBox("Overwrite\r\nthe file?", "", mtConfirmation,
                                MsgButton(mbNo) | MsgButton(mbYes)),
            mrYes);
  EXPECT_EQ(headless.MessageBox("Caf\xE9", "Export", mtError, 0), mrOk);
  EXPECT_EQ(headless.MessageBox("x", "c", mtWarning, MsgButton(mbNo) | MsgButton(mbCancel)),
            mrCancel);
  EXPECT_EQ(headless.MessageBox("x", "c", mtWarning,
                                MsgButton(mbIgnore) | MsgButton(mbRetry) | MsgButton(mbAbort)),
            mrAbort);
  std::string log = testing::internal::GetCapturedStderr();
  EXPECT_EQ(log, "Confirm: Overwrite  the file?\nExport: Caf\xC3\xA9\nc: x\nc: x\n");

  SetPlatform(std::make_unique<HeadlessPlatform>());
  Platform().SetCursor(crHourGlass);
  EXPECT_EQ(Platform().Cursor(), crHourGlass);
  SetPlatform(nullptr);
  EXPECT_EQ(Platform().Cursor(), crDefault);  // fresh headless services again
}

TEST(MailTest, Base64FollowsTheStandardAlphabetAndLines) {
  const char* expected[] = {"", "Zg==", "Zm8=", "Zm9v", "Zm9vYg==", "Zm9vYmE=", "Zm9vYmFy"};
  std::string input = "foobar";
  for (size_t n = 0; n <= input.size(); ++n) {
    EXPECT_EQ(Base64Encode(input.substr(0, n), 0), expected[n]);
  }
  std::string lines = Base64Encode(std::string(100, '\xFF'), 76);
  EXPECT_EQ(lines, std::string(76, '/') + "\n" + std::string(56, '/') + "/w==\n");
}

// Runs with PATH set to a folder of fake programs that record what they get.
class ProgramsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/vdei-platform-XXXXXX";
    dir_ = ::mkdtemp(pattern);
    bin_ = dir_ + "/bin";
    ::mkdir(bin_.c_str(), 0755);
    savedPath_ = std::getenv("PATH") ? std::getenv("PATH") : "";
    ::setenv("PATH", bin_.c_str(), 1);
  }
  void TearDown() override {
    ::setenv("PATH", savedPath_.c_str(), 1);
    std::system(("rm -rf '" + dir_ + "'").c_str());
  }
  // A fake program: writes its arguments, one a line, to NAME.args, its
  // standard input to NAME.stdin, and exits with status.
  void FakeProgram(const std::string& name, int status, const std::string& extra = "") {
    std::string out = dir_ + "/" + name;
    WriteFile(
        bin_ + "/" + name,
        Lines({"#!/bin/sh",
               "for a in \"$@\"; do /usr/bin/printf '%s\\n' \"$a\"; done > " + out + ".args.tmp",
               extra, "/bin/cat > " + out + ".stdin",
               "/bin/mv " + out + ".args.tmp " + out + ".args", "exit " + std::to_string(status)}),
        0755);
  }
  std::string Recorded(const std::string& name, const char* what) {
    return ReadFile(dir_ + "/" + name + "." + what);
  }
  bool Ran(const std::string& name) {
    return ::access((dir_ + "/" + name + ".args").c_str(), F_OK) == 0;
  }
  bool WaitFor(const std::string& name) {
    for (int i = 0; i < 300 && !Ran(name); ++i)
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    return Ran(name);
  }
  std::string dir_, bin_, savedPath_;
};

TEST_F(ProgramsTest, ShellOpenStartsTheOpenerDetachedWithNothingOfOurs) {
  PlatformServices& services = Platform();
  EXPECT_FALSE(services.ShellOpen("report.htm"));  // no xdg-open

  FakeProgram(
      "xdg-open", 0,
      "fds=$(for fd in 0 1 2; do /usr/bin/readlink /proc/$$/fd/$fd; done); echo \"$fds\" > " +
          dir_ + "/xdg-open.fds; [ -e /proc/$$/fd/42 ] && echo leaked >> " + dir_ +
          "/xdg-open.fds");
  int leaky = ::open("/dev/zero", O_RDONLY);  // not close-on-exec
  ASSERT_EQ(::dup2(leaky, 42), 42);
  const std::string tricky = "my report; rm -rf \"x\" 'y'.htm";
  EXPECT_TRUE(services.ShellOpen(tricky));
  ::close(42);
  ::close(leaky);
  ASSERT_TRUE(WaitFor("xdg-open"));
  EXPECT_EQ(Recorded("xdg-open", "args"), tricky + "\n");
  EXPECT_EQ(Recorded("xdg-open", "fds"), "/dev/null\n/dev/null\n/dev/null\n");
  errno = 0;
  EXPECT_EQ(::waitpid(-1, nullptr, WNOHANG), -1);  // no child of ours left
  EXPECT_EQ(errno, ECHILD);

  ::unlink((dir_ + "/xdg-open.args").c_str());
  EXPECT_TRUE(services.ShellOpen("-v.htm"));
  ASSERT_TRUE(WaitFor("xdg-open"));
  EXPECT_EQ(Recorded("xdg-open", "args"), "./-v.htm\n");

  WriteFile(bin_ + "/xdg-open", "#!/nonexistent/interpreter\n", 0755);
  EXPECT_FALSE(services.ShellOpen("report.htm"));
  EXPECT_FALSE(services.ShellOpen(""));
}

TEST_F(ProgramsTest, ComposeWindowGetsTheMessageAsArguments) {
  MailMessage message{"Data \"export\"; \xE9t\xE9", "Line 1\r\nLine 2", "ann@example.com",
                      dir_ + "/VdExport.XML"};
  EXPECT_EQ(Platform().SendMail(message, true), -1);  // no mail program at all

  FakeProgram("xdg-email", 5);
  FakeProgram("sendmail", 0);
  EXPECT_EQ(Platform().SendMail(message, true), 5);  // the program's status
  EXPECT_FALSE(Ran("sendmail"));
  EXPECT_EQ(Recorded("xdg-email", "args"),
            Lines({"--subject", "Data \"export\"; \xC3\xA9t\xC3\xA9", "--body", "Line 1\r",
                   "Line 2", "--attach", dir_ + "/VdExport.XML", "ann@example.com"}));

  message.Recipient.clear();  // nobody to send to: composing, not sending
  message.AttachmentPath.clear();
  EXPECT_EQ(Platform().SendMail(message, false), 5);
  EXPECT_FALSE(Ran("sendmail"));
  EXPECT_EQ(Recorded("xdg-email", "args"), Lines({"--subject", "Data \"export\"; \xC3\xA9t\xC3\xA9",
                                                  "--body", "Line 1\r", "Line 2"}));

  for (std::string bad : {std::string("ann@example.com\nBcc: all@example.com"),
                          std::string("--utf8"), std::string("a\0b", 3)}) {
    message.Recipient = bad;
    EXPECT_EQ(Platform().SendMail(message, true), kMailUnknownRecipient) << bad;
  }
}

TEST_F(ProgramsTest, SendmailGetsAWholeMimeMessage) {
  std::string attachment("\x00\x01\xFF<xml/>\n", 10);
  WriteFile(dir_ + "/VdExport.XML", attachment);
  MailMessage message{"Report\r\nBcc: all@example.com \xE9", "Totals: 91\r\n", "ann@example.com",
                      dir_ + "/VdExport.XML"};
  FakeProgram("sendmail", 0);
  FakeProgram("xdg-email", 0);
  EXPECT_EQ(Platform().SendMail(message, false), 0);
  EXPECT_FALSE(Ran("xdg-email"));
  EXPECT_EQ(Recorded("sendmail", "args"), "-t\n-i\n");

  std::string mail = Recorded("sendmail", "stdin");
  std::string headers = mail.substr(0, mail.find("\n\n") + 1);
  EXPECT_NE(headers.find("\nTo: ann@example.com\n"), std::string::npos) << headers;
  EXPECT_EQ(headers.find("\nBcc:"), std::string::npos) << headers;
  EXPECT_NE(headers.find("MIME-Version: 1.0\n"), std::string::npos);
  EXPECT_NE(headers.find("Content-Type: multipart/mixed; boundary="), std::string::npos);
  size_t subject = headers.find("Subject: =?UTF-8?B?");
  ASSERT_NE(subject, std::string::npos) << headers;
  std::string word = headers.substr(subject + 19, headers.find("?=", subject) - subject - 19);
  EXPECT_EQ(DecodeBase64(word), "Report  Bcc: all@example.com \xC3\xA9");
  EXPECT_EQ(DecodeBase64(PartBody(mail, "Content-Type: text/plain")), "Totals: 91\r\n");
  EXPECT_NE(mail.find("filename=\"VdExport.XML\""), std::string::npos);
  EXPECT_EQ(DecodeBase64(PartBody(mail, "Content-Disposition: attachment")), attachment);

  // An attachment that cannot be read is not silently left out.
  ::unlink((dir_ + "/sendmail.args").c_str());
  message.AttachmentPath = dir_ + "/missing.xml";
  EXPECT_EQ(Platform().SendMail(message, false), kMailAttachmentNotFound);
  EXPECT_FALSE(Ran("sendmail"));

  // A sendmail that dies without reading: its status, and no SIGPIPE here.
  WriteFile(dir_ + "/big.bin", std::string(4 << 20, 'x'));
  message.AttachmentPath = dir_ + "/big.bin";
  WriteFile(bin_ + "/sendmail", "#!/bin/sh\nexit 75\n", 0755);
  EXPECT_EQ(Platform().SendMail(message, false), 75);
}

TEST_F(ProgramsTest, WithoutSendmailTheMessageIsComposed) {
  if (::access("/usr/sbin/sendmail", X_OK) == 0 || ::access("/usr/lib/sendmail", X_OK) == 0) {
    GTEST_SKIP() << "a real sendmail is installed";
  }
  FakeProgram("xdg-email", 0);
  EXPECT_EQ(Platform().SendMail({"s", "b", "ann@example.com", ""}, false), 0);
  EXPECT_EQ(Recorded("xdg-email", "args"),
            Lines({"--subject", "s", "--body", "b", "ann@example.com"}));
}

}  // namespace
}  // namespace Vdei
