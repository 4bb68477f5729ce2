#include "support/run_program.h"

#include <sys/wait.h>

#include <cstdlib>

namespace wavora::test {

std::string Quote(const std::string& s) {
    std::string q = "'";
    for (char c : s) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
}

Ran RunShell(const TempDir& dir, const std::string& commandLine) {
    const std::string out = dir.File(".stdout"), err = dir.File(".stderr");
    const std::string command = commandLine + " > " + Quote(out) + " 2> " + Quote(err) + " < /dev/null";
    const int rc = std::system(command.c_str());
    return {WIFEXITED(rc) ? WEXITSTATUS(rc) : -1, ReadAll(out), ReadAll(err)};
}

Ran RunProgram(const std::string& program, const TempDir& dir, const std::vector<std::string>& args) {
    std::string command = Quote(program);
    for (const auto& a : args) command += " " + Quote(a);
    return RunShell(dir, command);
}

}  // namespace wavora::test
