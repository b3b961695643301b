#include "tests/support/cli_runner.h"

#include <sys/wait.h>

#include <cstdlib>
#include <fstream>
#include <iterator>

#include "tests/support/report_pairs.h"
#include "tests/support/temp_folder.h"
#include "tests/support/test_data.h"

namespace pelmora::test {

namespace fs = std::filesystem;

std::string shellQuoted(const std::string& arg) {
    std::string q = "'";
    for (const char c : arg) {
        q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    }
    return q + "'";
}

std::string readAll(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::vector<std::vector<std::string>> tableRows(const std::string& out) {
    std::vector<std::vector<std::string>> rows;
    for (const std::string& line : textLines(out)) {
        rows.push_back(splitFields(line, '\t'));
    }
    return rows;
}

CliResult runCli(const std::vector<std::string>& args) {
#ifdef PELMORA_CLI_PATH
    static TempFolder outputs;
    std::string command = shellQuoted(PELMORA_CLI_PATH);
    for (const std::string& arg : args) {
        command += ' ';
        command += shellQuoted(arg);
    }
    const fs::path out = outputs.path() / "out", err = outputs.path() / "err";
    command += " >" + shellQuoted(out.string()) + " 2>" + shellQuoted(err.string()) + " </dev/null";
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

CliResult runShell(const std::string& script) {
    static TempFolder outputs;
    const fs::path file = outputs.path() / "script.sh";
    std::ofstream(file) << "CLI=" << shellQuoted(PELMORA_CLI_PATH) << "\n" << script << "\n";
    const fs::path out = outputs.path() / "out", err = outputs.path() / "err";
    const std::string command = "bash " + shellQuoted(file.string()) + " >" +
                                shellQuoted(out.string()) + " 2>" + shellQuoted(err.string()) +
                                " </dev/null";
    const int raw = std::system(command.c_str());
    return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, readAll(out), readAll(err)};
}

}  // namespace pelmora::test
