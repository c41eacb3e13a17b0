// Starting other programs without a shell: arguments go to the program as
// they are (a quote or ';' in one is just a character of it).
//
// Every program started here gets standard streams that do not reach this
// process's terminal unless asked, and none of this process's other file
// descriptors (a listening socket must not live on in a browser).
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace Vdei {

// The full path of an executable file named name in one of the folders of
// PATH (the system's default path when PATH is not set); "" when none.
std::string FindProgram(std::string_view name);

// Starts path with args in a session of its own and returns without
// waiting: the program is not this process's child, so it leaves no zombie.
// Its standard input, output and error are /dev/null. False when the
// program could not be started (not found, not executable, bad format).
bool SpawnDetached(const std::string& path, const std::vector<std::string>& args);

// Runs path with args, writes input to its standard input (then closes
// it), and waits for it to end. Standard output goes to /dev/null, the
// standard error stays this process's. Returns the exit status, 128 + n
// when signal n ended it, and -1 when it could not be started.
int RunProgram(const std::string& path, const std::vector<std::string>& args,
               std::string_view input);

}  // namespace Vdei
