#pragma once
// Standard output or standard error as pelmora-cli writes them: buffered, every write
// checked, line ends as asked, and file names escaped when a terminal shows them.

#include <functional>
#include <string>
#include <string_view>

#include "formats/output_format.h"

namespace pelmora::cli {

class Output {
public:
    // `fd` 1 or 2. A terminal gets names escaped; a pipe or a file the exact text.
    explicit Output(int fd);
    ~Output();
    Output(const Output&) = delete;
    Output& operator=(const Output&) = delete;

    void setLineEnds(LineEnds ends);
    NameStyle names() const { return names_; }

    // Writes a text with CR LF or LF line ends as the stores hold it, in the line ends asked for.
    Output& text(std::string_view text);
    // Writes a name as this output shows names.
    Output& name(std::string_view name) { return raw(shownName(name, names_)); }
    // Writes as it is.
    Output& raw(std::string_view bytes);

    // Writes what is buffered; false once any write has failed.
    bool flush();
    // The output is complete: what waits for a line end goes too, then everything.
    [[nodiscard]] bool end();
    bool failed() const { return error_ != 0; }
    std::string errorText() const;

private:
    int fd_;
    NameStyle names_;
    std::string buffer_;
    LineEndWriter lines_;
    int error_ = 0;
};

// What `produce` gives to its visitor, written to `out` as text in the order given. `produce`
// runs on a thread of its own, so that making a long text and writing it out share two cores;
// it must only read what nothing changes meanwhile.
using TextProducer = std::function<void(const std::function<void(std::string_view)>& visit)>;
void writeProducedText(Output& out, const TextProducer& produce);

}  // namespace pelmora::cli
