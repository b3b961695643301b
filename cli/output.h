#pragma once
// Standard output or standard error as pelmora-cli writes them: buffered, every write
// checked, line ends as asked, and file names escaped when a terminal shows them.

#include <string>
#include <string_view>

#include "evidence/output_format.h"

namespace pelmora::cli {

class Output {
public:
    // `fd` 1 or 2. A terminal gets names escaped; a pipe or a file the exact text.
    explicit Output(int fd);
    ~Output();
    Output(const Output&) = delete;
    Output& operator=(const Output&) = delete;

    void setLineEnds(LineEnds ends) { ends_ = ends; }
    NameStyle names() const { return names_; }

    // Writes a text with CR LF or LF line ends as the stores hold it, in the line ends asked for.
    Output& text(std::string_view text);
    // Writes a name as this output shows names.
    Output& name(std::string_view name) { return raw(shownName(name, names_)); }
    // Writes as it is.
    Output& raw(std::string_view bytes);

    // Writes what is buffered; false once any write has failed.
    bool flush();
    bool failed() const { return error_ != 0; }
    std::string errorText() const;

private:
    int fd_;
    NameStyle names_;
    LineEnds ends_ = LineEnds::Lf;
    std::string buffer_;
    bool pendingCr_ = false;  // a CR at the end of the last text, perhaps the start of CR LF
    int error_ = 0;
};

}  // namespace pelmora::cli
