#include "tests/support/cli_runner.h"

#include <sys/wait.h>

#include <cstdlib>
#include <fstream>
#include <iterator>

#include "tests/support/temp_folder.h"

namespace pelmora::test {

namespace fs = std::filesystem;

namespace {

std::string quoted(const std::string& arg) {
    std::string q = "'";
    for (const char c : arg) {
        q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    }
    return q + "'";
}

}  // namespace

std::string readAll(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

CliResult runCli(const std::vector<std::string>& args) {
#ifdef PELMORA_CLI_PATH
    static TempFolder outputs;
    std::string command = quoted(PELMORA_CLI_PATH);
    for (const std::string& arg : args) {
        command += ' ';
        command += quoted(arg);
    }
    const fs::path out = outputs.path() / "out", err = outputs.path() / "err";
    command += " >" + quoted(out.string()) + " 2>" + quoted(err.string()) + " </dev/null";
    const int raw = std::system(command.c_str());
    CliResult result;
    result.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    result.out = readAll(out);
    result.err = readAll(err);
    return result;
#else
    (void)args;
    return {-1, "", "pelmora-cli is not built"};
#endif
}

}  // namespace pelmora::test
