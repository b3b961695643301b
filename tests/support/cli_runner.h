#pragma once
// Runs the built pelmora-cli as a user would and collects what it wrote.

#include <filesystem>
#include <string>
#include <vector>

namespace pelmora::test {

struct CliResult {
    int status = -1;  // exit status, -1 when it did not exit normally
    std::string out, err;
};

CliResult runCli(const std::vector<std::string>& args);

// Runs a bash script in which $CLI names the built pelmora-cli; collects what it wrote.
CliResult runShell(const std::string& script);

// An argument quoted for a shell.
std::string shellQuoted(const std::string& arg);

std::string readAll(const std::filesystem::path& file);

// The rows of a tab-separated table as the command line prints it.
std::vector<std::vector<std::string>> tableRows(const std::string& out);

}  // namespace pelmora::test
