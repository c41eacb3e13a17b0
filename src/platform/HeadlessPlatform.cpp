#include "platform/HeadlessPlatform.h"

#include <algorithm>
#include <cstdio>

#include "core/CodePage.h"

namespace Vdei {

TModalResult HeadlessPlatform::MessageBox(const std::string& text, const std::string& caption,
                                          TMsgDlgType type, TMsgDlgButtons buttons) {
  std::string line = MessageCaption(caption, type) + ": " + text;
  std::replace_if(
      line.begin(), line.end(), [](char c) { return c == '\r' || c == '\n'; }, ' ');
  line = AnsiToUtf8(line) + "\n";
  std::fputs(line.c_str(), stderr);
  return ModalResultOf(DefaultButton(buttons));
}

}  // namespace Vdei
