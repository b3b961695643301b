#pragma once
// A workbook read back as a spreadsheet program would find it, by Python's zip and XML readers:
// every XML member checked to parse, every sheet by its name, each cell with what the file says
// it is (text, number, formula) and the fill colour of its style. Knows nothing of how the
// workbook was written.

#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace pelmora::test {

struct WorkbookCell {
    enum class Kind { Text, Number, Formula, Blank };
    Kind kind = Kind::Blank;
    std::string text;  // the string, or the number as the file writes it
    int style = 0;
    bool present = false;  // false for a place before a cell of its row that the file lacks
};

struct WorkbookSheet {
    // By row and column from 0; a row without cells is an empty vector.
    std::vector<std::vector<WorkbookCell>> rows;
    std::string frozenPane;  // the pane's topLeftCell when it is frozen, as "B2"; else empty

    // The cell the file has there, or nullptr.
    const WorkbookCell* at(std::size_t row, std::size_t column) const;
    // The texts of a row's cells (numbers as written), empty for cells without any.
    std::vector<std::string> texts(std::size_t row) const;
};

struct Workbook {
    std::string problem;             // why it could not be read; empty when it was
    std::vector<std::string> names;  // the sheets in order
    std::map<std::string, WorkbookSheet> sheets;
    std::vector<std::string> fills;  // by style: the fill's RRGGBB, empty for none

    std::string fillOf(const WorkbookCell& cell) const;
};

Workbook readWorkbook(const std::filesystem::path& file);

}  // namespace pelmora::test
