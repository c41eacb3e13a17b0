// Mail through the programs of the desktop, in place of a system mail
// library: a compose window of the desktop's mail program (xdg-email), or
// a message handed to the local mail transfer agent (`sendmail -t`).
//
// Texts of a MailMessage are in the ANSI code page and reach the programs
// as UTF-8. Nothing passes through a shell.
#pragma once

#include <ctime>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Platform.h"

namespace Vdei {

// False for a recipient that would change the meaning of the command line
// or of the message headers: a line break, a NUL, or a leading '-'.
bool IsAddressableRecipient(std::string_view recipient);

// The arguments of xdg-email for message: --subject, --body, --attach when
// there is an attachment, then the recipient when there is one.
std::vector<std::string> XdgEmailArguments(const MailMessage& message);

// The message for `sendmail -t`: Date (of when), To, Subject (RFC 2047
// encoded when it is not plain ASCII), and a MIME multipart/mixed body
// with the note text and, when message has an attachment path, the bytes
// attachment as a base64 part named by the file's base name. Lines end
// with LF, as a local sendmail takes them.
std::string ComposeMailMessage(const MailMessage& message, std::string_view attachment,
                               std::time_t when);

// Base64 (RFC 4648 alphabet, '=' padding) in lines of lineLength
// characters, each ending with LF; lineLength 0: one line, no LF.
std::string Base64Encode(std::string_view data, size_t lineLength);

// Sends or composes message as PlatformServices::SendMail describes.
int DeliverMail(const MailMessage& message, bool dialog);

}  // namespace Vdei
