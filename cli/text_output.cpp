#include <ostream>

#include "cli/cli_command.h"

namespace pelmora::cli {

void writeText(std::ostream& out, std::string_view text, bool crlf) {
    if (crlf) {
        out << text;
        return;
    }
    std::size_t start = 0;
    for (std::size_t pos; (pos = text.find("\r\n", start)) != std::string_view::npos;
         start = pos + 2) {
        out << text.substr(start, pos - start) << '\n';
    }
    out << text.substr(start);
}

int usageError(std::ostream& err, std::string_view message) {
    err << "pelmora-cli: " << message << "\n";
    return kExitUsage;
}

}  // namespace pelmora::cli
