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

std::string readAll(const std::filesystem::path& file);

}  // namespace pelmora::test
