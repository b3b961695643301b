#pragma once
// The parts a workbook is written with: the book and its shared cell formats, and a sheet
// written row by row that notes, first and last, the rows a spreadsheet could not hold.

#include <locale.h>
#include <xlsxwriter.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <utility>

#include "exports/strength_colours.h"
#include "exports/workbook.h"
#include "formats/spreadsheet_cells.h"
#include "jobs/job.h"
#include "stores/text_encoding.h"

namespace pelmora::workbook {

// The longest text a cell holds, in bytes.
inline constexpr std::size_t kCellBytes = 32767;

// The library writes numbers with printf: in the C locale, whatever the user's, so that a
// figure is never written 0,5. Only for this thread and this workbook.
class CNumbers {
public:
    CNumbers() : c_(newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(0))) {
        if (c_ != static_cast<locale_t>(0)) {
            previous_ = uselocale(c_);
        }
    }
    ~CNumbers() {
        if (c_ != static_cast<locale_t>(0)) {
            uselocale(previous_);
            freelocale(c_);
        }
    }
    CNumbers(const CNumbers&) = delete;
    CNumbers& operator=(const CNumbers&) = delete;

private:
    locale_t c_;
    locale_t previous_ = static_cast<locale_t>(0);
};

// A cell's text as the file must hold it: UTF-8 in the format's escapes, which the library
// then writes as it is, and no longer than a cell takes.
inline std::string cellText(std::string_view text) {
    return workbookText(isValidUtf8(text) ? text : displayText(text), kCellBytes);
}

// Whether a text is its own cell text: printable ASCII, tabs and LFs, with no underscore that
// could start an escape, short enough for a cell. Most cells of a large workbook are, and
// skip the copies that cellText makes.
inline bool isPlainCell(std::string_view text) {
    if (text.size() > kCellBytes) {
        return false;
    }
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if ((c < 0x20 && c != '\t' && c != '\n') || c > 0x7E ||
            (c == '_' && i + 1 < text.size() && text[i + 1] == 'x')) {
            return false;
        }
    }
    return true;
}

// The workbook being written, the formats its cells share, and its first error.
class Book {
public:
    Book(const std::filesystem::path& file, const std::filesystem::path& folder, bool zip64,
         const CancelToken* cancel)
        : folder_(folder.string()), cancel_(cancel) {
        lxw_workbook_options options{};
        options.constant_memory = LXW_TRUE;  // rows go to disk as written
        options.tmpdir = folder_.data();     // beside the target, on the disk it fills
        options.use_zip64 = zip64 ? LXW_TRUE : LXW_FALSE;
        book_ = workbook_new_opt(file.c_str(), &options);
        if (book_ == nullptr) {
            error_ = LXW_ERROR_MEMORY_MALLOC_FAILED;
            return;
        }
        bold_ = workbook_add_format(book_);
        format_set_bold(bold_);
        plain_ = workbook_add_format(book_);
        for (int s = 0; s <= kNoPair; ++s) {
            for (int significant = 0; significant < 2; ++significant) {
                lxw_format* f = workbook_add_format(book_);
                format_set_bg_color(f, strengthRgb(s == kNoPair ? -1 : s));
                format_set_align(f, LXW_ALIGN_CENTER);
                if (significant != 0) {
                    // Outlined and bold, as the matrix window marks a pair off the norm.
                    format_set_bold(f);
                    format_set_border(f, LXW_BORDER_MEDIUM);
                }
                cells_[static_cast<std::size_t>(s * 2 + significant)] = f;
            }
        }
    }
    ~Book() {
        if (book_ != nullptr) {
            static_cast<void>(workbook_close(book_));
        }
    }
    Book(const Book&) = delete;
    Book& operator=(const Book&) = delete;

    bool ok() const { return error_ == LXW_NO_ERROR; }
    // Cancelled: the sheets stop taking rows, and the book is dropped unwritten.
    bool stopped() const { return cancel_ != nullptr && cancel_->cancelled(); }
    void abandon() {
        if (book_ != nullptr) {
            lxw_workbook_free(std::exchange(book_, nullptr));
        }
    }
    void note(lxw_error e) {
        if (error_ == LXW_NO_ERROR) {
            error_ = e;
        }
    }
    lxw_worksheet* addSheet(const char* name) {
        lxw_worksheet* sheet = book_ == nullptr ? nullptr : workbook_add_worksheet(book_, name);
        if (sheet == nullptr) {
            note(LXW_ERROR_PARAMETER_VALIDATION);
        }
        return sheet;
    }
    lxw_format* bold() const { return bold_; }
    lxw_format* plain() const { return plain_; }
    // The cell of a strength, or of no pair for any strength outside 0 to 5.
    lxw_format* strengthCell(int strength, bool significant) const {
        const int s = strength >= 0 && strength <= 5 ? strength : kNoPair;
        return cells_[static_cast<std::size_t>(s * 2 + (significant ? 1 : 0))];
    }
    // Writes the file; the first error of all.
    lxw_error close() {
        if (book_ != nullptr) {
            note(workbook_close(std::exchange(book_, nullptr)));
        }
        return error_;
    }

private:
    static constexpr int kNoPair = 6;  // after the formats of strengths 0 to 5

    std::string folder_;
    const CancelToken* cancel_ = nullptr;
    lxw_workbook* book_ = nullptr;
    lxw_error error_ = LXW_NO_ERROR;
    lxw_format* bold_ = nullptr;
    lxw_format* plain_ = nullptr;
    std::array<lxw_format*, 14> cells_{};
};

// The most rows a sheet keeps, and the words that say why it keeps no more.
struct RowLimit {
    std::int64_t rows;
    std::string why;
};

// Why the workbook keeps less of a sheet of pairs than a spreadsheet would take.
inline constexpr std::string_view kOpensQuickly = "so that a spreadsheet opens it quickly.";

// The spreadsheet's own bound.
inline RowLimit sheetRows(const SheetLimits& limits) {
    return {limits.rows, "a sheet holds " + std::to_string(limits.rows) + " rows at most."};
}

// The bound of a sheet that grows with the pairs: the workbook's own, where it is the lower.
inline RowLimit pairSheetRows(const SheetLimits& limits) {
    if (limits.pairRows >= limits.rows) {
        return sheetRows(limits);
    }
    return {std::max<std::int64_t>(0, limits.pairRows),
            "the workbook keeps " + std::to_string(limits.pairRows) + " rows of this sheet, " +
                std::string(kOpensQuickly)};
}

// One sheet, written row by row from the top. It takes at most `limit.rows` rows: a table
// of more keeps its first rows, and its first and last rows say how many `what` were left out,
// why, and where they all are.
class Sheet {
public:
    Sheet(Book& book, const char* name, std::int64_t rowsWanted, RowLimit limit,
          std::string what = "rows", std::string whole = "")
        : book_(book),
          sheet_(book.addSheet(name)),
          wanted_(rowsWanted),
          capacity_(rowsWanted <= limit.rows ? rowsWanted
                                             : std::max<std::int64_t>(0, limit.rows - 2)),
          why_(std::move(limit.why)),
          what_(std::move(what)),
          whole_(std::move(whole)) {
        if (wanted_ > capacity_) {
            noteFirst(cutNote());
        }
    }
    // The library keeps the temporary file of a sheet without cells open for good: a sheet
    // left empty gets one blank cell, so that no export costs the program a descriptor.
    ~Sheet() {
        if (sheet_ != nullptr && !wrote_) {
            book_.note(worksheet_write_blank(sheet_, 0, 0, book_.plain()));
        }
    }
    Sheet(const Sheet&) = delete;
    Sheet& operator=(const Sheet&) = delete;

    bool full() const { return row_ >= capacity_ || book_.stopped(); }
    lxw_worksheet* get() const { return sheet_; }

    // A row in bold above all the others, which then move down by one; before any of them.
    void noteFirst(const std::string& note) {
        if (sheet_ != nullptr && top_ == 0 && row_ == 0) {
            ++capacity_;
            text(0, note, book_.bold());
            --capacity_;
            top_ = 1;
        }
    }
    void text(int column, std::string_view text, lxw_format* format = nullptr) {
        if (text.empty() || !writable()) {
            return;
        }
        if (isPlainCell(text)) {
            cell_.assign(text);
        } else {
            cell_ = cellText(text);
        }
        book_.note(worksheet_write_string(sheet_, row(), static_cast<lxw_col_t>(column),
                                          cell_.c_str(), format));
        wrote_ = true;
    }
    void number(int column, double value, lxw_format* format = nullptr) {
        if (writable()) {
            book_.note(worksheet_write_number(sheet_, row(), static_cast<lxw_col_t>(column), value,
                                              format));
            wrote_ = true;
        }
    }
    void blank(int column, lxw_format* format) {
        if (writable()) {
            book_.note(
                worksheet_write_blank(sheet_, row(), static_cast<lxw_col_t>(column), format));
            wrote_ = true;
        }
    }
    void nextRow() { ++row_; }

    // A header row: all text, in bold.
    void header(const TableRow& cells) {
        for (std::size_t c = 0; c < cells.size(); ++c) {
            text(static_cast<int>(c), cells[c], book_.bold());
        }
        nextRow();
    }
    // A row of a table: names and codes as text, figures as numbers.
    void add(const TableRow& cells, const ColumnKinds& kinds) {
        for (std::size_t c = 0; c < cells.size(); ++c) {
            const int column = static_cast<int>(c);
            const std::optional<double> value =
                kinds[c] == CellKind::Number ? cellNumber(cells[c]) : std::nullopt;
            if (value) {
                number(column, *value);
            } else {
                text(column, cells[c]);
            }
        }
        nextRow();
    }
    // A table whose first row is its header, then its rows.
    void table(const std::vector<TableRow>& rows, const ColumnKinds& kinds) {
        for (std::size_t r = 0; r < rows.size() && !full(); ++r) {
            if (r == 0) {
                header(rows[r]);
            } else {
                add(rows[r], kinds);
            }
        }
    }
    void width(int first, int last, double characters) {
        if (sheet_ != nullptr) {
            book_.note(worksheet_set_column(sheet_, static_cast<lxw_col_t>(first),
                                            static_cast<lxw_col_t>(last), characters, nullptr));
        }
    }
    // Frozen below the note that leads a cut sheet.
    void freeze(int rows, int columns) {
        if (sheet_ != nullptr) {
            worksheet_freeze_panes(sheet_, static_cast<lxw_row_t>(rows + top_),
                                   static_cast<lxw_col_t>(columns));
        }
    }

    // The note on the rows left out, when any were.
    void finish() {
        if (wanted_ <= capacity_ || sheet_ == nullptr) {
            return;
        }
        const std::string note = cutNote();
        row_ = capacity_;
        ++capacity_;  // the row kept for the note
        text(0, note, book_.bold());
        nextRow();
    }

private:
    bool writable() const { return sheet_ != nullptr && row_ < capacity_ && !book_.stopped(); }
    lxw_row_t row() const { return static_cast<lxw_row_t>(row_ + top_); }
    std::string cutNote() const {
        std::string note =
            std::to_string(wanted_ - capacity_) + " more " + what_ + " left out: " + why_;
        return whole_.empty() ? note : note + " " + whole_;
    }

    Book& book_;
    lxw_worksheet* sheet_;
    std::int64_t wanted_, capacity_;
    std::int64_t row_ = 0;  // below the leading note, if any
    std::int64_t top_ = 0;  // rows above the table: 1 under a leading note
    std::string why_, what_, whole_;
    std::string cell_;  // the text of the cell being written, its room kept for the next
    bool wrote_ = false;
};

}  // namespace pelmora::workbook
