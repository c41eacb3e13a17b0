#include "platform/Mail.h"

#include <algorithm>
#include <cstdio>

#include "core/CodePage.h"
#include "core/Exception.h"
#include "core/Stream.h"
#include "platform/Process.h"

namespace Vdei {

namespace {

constexpr std::string_view kBase64Alphabet =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
// Bytes of UTF-8 per encoded-word: 60 base64 characters, so that a word
// with its "=?UTF-8?B?" frame stays within a 76-character header line.
constexpr size_t kEncodedWordBytes = 45;
constexpr size_t kLongestPlainHeader = 900;

bool IsPrintableAscii(std::string_view text) {
  return std::all_of(text.begin(), text.end(), [](char c) { return c >= 0x20 && c < 0x7F; });
}

bool IsUtf8Continuation(char c) {
  return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

std::string OnOneLine(std::string text) {
  std::replace_if(
      text.begin(), text.end(), [](char c) { return c == '\r' || c == '\n'; }, ' ');
  return text;
}

// A header value as plain text when it is short printable ASCII, else as
// folded RFC 2047 encoded-words that never split a UTF-8 character.
std::string EncodeHeaderText(std::string_view utf8) {
  if (IsPrintableAscii(utf8) && utf8.size() <= kLongestPlainHeader) return std::string(utf8);
  std::string out;
  size_t pos = 0;
  while (pos < utf8.size()) {
    size_t end = std::min(pos + kEncodedWordBytes, utf8.size());
    size_t cut = end;
    while (cut > pos && cut < utf8.size() && IsUtf8Continuation(utf8[cut])) --cut;
    if (cut > pos) end = cut;
    if (!out.empty()) out += "\n ";
    out += "=?UTF-8?B?" + Base64Encode(utf8.substr(pos, end - pos), 0) + "?=";
    pos = end;
  }
  return out;
}

bool IsAttributeChar(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
         std::string_view("!#$&+-.^_`|~").find(c) != std::string_view::npos;
}

// key="value", or key*=UTF-8''percent-encoded (RFC 2231) when the value
// holds anything a quoted string cannot carry plainly.
std::string Parameter(std::string_view key, std::string_view utf8) {
  bool plain = IsPrintableAscii(utf8) && utf8.find_first_of("\"\\") == std::string_view::npos;
  if (plain) return std::string(key) + "=\"" + std::string(utf8) + "\"";
  std::string out = std::string(key) + "*=UTF-8''";
  for (char c : utf8) {
    if (IsAttributeChar(c)) {
      out += c;
    } else {
      char escaped[4];
      std::snprintf(escaped, sizeof escaped, "%%%02X", static_cast<unsigned char>(c));
      out += escaped;
    }
  }
  return out;
}

std::string RfcDate(std::time_t when) {
  static constexpr const char* kDays[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
  static constexpr const char* kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                            "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
  std::tm t{};
  localtime_r(&when, &t);
  long offset = t.tm_gmtoff / 60;
  char sign = offset < 0 ? '-' : '+';
  offset = offset < 0 ? -offset : offset;
  char text[64];
  std::snprintf(text, sizeof text, "%s, %02d %s %04d %02d:%02d:%02d %c%02ld%02ld", kDays[t.tm_wday],
                t.tm_mday, kMonths[t.tm_mon], t.tm_year + 1900, t.tm_hour, t.tm_min, t.tm_sec, sign,
                offset / 60, offset % 60);
  return text;
}

std::string BaseName(std::string_view path) {
  size_t slash = path.rfind('/');
  return std::string(slash == std::string_view::npos ? path : path.substr(slash + 1));
}

bool ReadWholeFile(const std::string& fileName, std::string& content) {
  try {
    TMemoryStream stream;
    stream.LoadFromFile(fileName);
    content = stream.Release();
    return true;
  } catch (const Exception&) {
    return false;
  }
}

// PATH first; a local sendmail usually lives in a folder that a user's
// PATH leaves out.
std::string FindSendmail() {
  std::string found = FindProgram("sendmail");
  for (const char* path : {"/usr/sbin/sendmail", "/usr/lib/sendmail"}) {
    if (found.empty()) found = FindProgram(path);
  }
  return found;
}

int SendWithSendmail(const std::string& sendmail, const MailMessage& message) {
  std::string attachment;
  if (!message.AttachmentPath.empty() && !ReadWholeFile(message.AttachmentPath, attachment)) {
    return kMailAttachmentNotFound;
  }
  std::string mail = ComposeMailMessage(message, attachment, std::time(nullptr));
  return RunProgram(sendmail, {"-t", "-i"}, mail);
}

}  // namespace

bool IsAddressableRecipient(std::string_view recipient) {
  return !recipient.empty() && recipient.front() != '-' &&
         recipient.find_first_of(std::string_view("\r\n\0", 3)) == std::string_view::npos;
}

std::string Base64Encode(std::string_view data, size_t lineLength) {
  std::string out;
  out.reserve((data.size() + 2) / 3 * 4 + (lineLength ? data.size() / lineLength + 2 : 0));
  size_t column = 0;
  auto put = [&](char c) {
    out += c;
    if (lineLength && ++column == lineLength) {
      out += '\n';
      column = 0;
    }
  };
  size_t i = 0;
  for (; i + 3 <= data.size(); i += 3) {
    unsigned n = static_cast<unsigned char>(data[i]) << 16 |
                 static_cast<unsigned char>(data[i + 1]) << 8 |
                 static_cast<unsigned char>(data[i + 2]);
    for (int shift = 18; shift >= 0; shift -= 6) put(kBase64Alphabet[(n >> shift) & 63]);
  }
  size_t rest = data.size() - i;
  if (rest > 0) {
    unsigned n = static_cast<unsigned char>(data[i]) << 16;
    if (rest == 2) n |= static_cast<unsigned char>(data[i + 1]) << 8;
    put(kBase64Alphabet[(n >> 18) & 63]);
    put(kBase64Alphabet[(n >> 12) & 63]);
    put(rest == 2 ? kBase64Alphabet[(n >> 6) & 63] : '=');
    put('=');
  }
  if (lineLength && column > 0) out += '\n';
  return out;
}

std::vector<std::string> XdgEmailArguments(const MailMessage& message) {
  std::vector<std::string> args = {"--subject", AnsiToUtf8(OnOneLine(message.Subject)), "--body",
                                   AnsiToUtf8(message.NoteText)};
  if (!message.AttachmentPath.empty()) {
    args.push_back("--attach");
    args.push_back(message.AttachmentPath);
  }
  if (!message.Recipient.empty()) args.push_back(AnsiToUtf8(message.Recipient));
  return args;
}

std::string ComposeMailMessage(const MailMessage& message, std::string_view attachment,
                               std::time_t when) {
  // Base64 never holds '_', so this boundary cannot occur inside a part.
  const std::string boundary = "=_VdeiMailPart_" + std::to_string(when);
  std::string out = "Date: " + RfcDate(when) + "\n";
  if (!message.Recipient.empty()) out += "To: " + AnsiToUtf8(message.Recipient) + "\n";
  out += "Subject: " + EncodeHeaderText(AnsiToUtf8(OnOneLine(message.Subject))) + "\n";
  out += "MIME-Version: 1.0\n";
  out += "Content-Type: multipart/mixed; boundary=\"" + boundary + "\"\n\n";
  out += "This is a message in MIME format.\n";
  out += "--" + boundary + "\n";
  out += "Content-Type: text/plain; charset=UTF-8\n";
  out += "Content-Transfer-Encoding: base64\n\n";
  out += Base64Encode(AnsiToUtf8(message.NoteText), 76);
  if (!message.AttachmentPath.empty()) {
    std::string name = AnsiToUtf8(BaseName(message.AttachmentPath));
    out += "--" + boundary + "\n";
    out += "Content-Type: application/octet-stream; " + Parameter("name", name) + "\n";
    out += "Content-Transfer-Encoding: base64\n";
    out += "Content-Disposition: attachment; " + Parameter("filename", name) + "\n\n";
    out += Base64Encode(attachment, 76);
  }
  out += "--" + boundary + "--\n";
  return out;
}

int DeliverMail(const MailMessage& message, bool dialog) {
  if (!message.Recipient.empty() && !IsAddressableRecipient(message.Recipient)) {
    return kMailUnknownRecipient;
  }
  if (!dialog && !message.Recipient.empty()) {
    std::string sendmail = FindSendmail();
    if (!sendmail.empty()) return SendWithSendmail(sendmail, message);
  }
  std::string xdgEmail = FindProgram("xdg-email");
  if (xdgEmail.empty()) return -1;
  return RunProgram(xdgEmail, XdgEmailArguments(message), "");
}

}  // namespace Vdei
