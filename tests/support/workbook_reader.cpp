#include "tests/support/workbook_reader.h"

#include <sys/wait.h>

#include <cstdio>
#include <sstream>

namespace pelmora::test {

namespace {

std::string quoted(const std::string& arg) {
    std::string q = "'";
    for (const char c : arg) {
        q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    }
    return q + "'";
}

// Python's zip and XML readers open the file and check every XML member, as a spreadsheet
// program's would; what each cell holds comes out as records "WHAT NUMBERS... LENGTH\nTEXT".
// A text reads as such a program reads it: XML's entities and line ends (a raw CR or CR LF is
// one LF), then the format's own escapes _xHHHH_, of which _x005F_ is the underscore that keeps
// a written "_x0001_" from being read as one.
constexpr const char* kReader = R"py(
import re, sys, zipfile, xml.etree.ElementTree as ET
M = "{http://schemas.openxmlformats.org/spreadsheetml/2006/main}"
R = "{http://schemas.openxmlformats.org/officeDocument/2006/relationships}"
def put(head, text=""):
    b = text.encode("utf-8", "surrogatepass")
    sys.stdout.buffer.write(f"{head} {len(b)}\n".encode() + b)
def plain(s):
    return re.sub("_x([0-9A-Fa-f]{4})_", lambda m: chr(int(m[1], 16)), s or "")
def texts(e):
    return "".join(plain(t.text) for t in e.iter(M + "t"))
try:
    with zipfile.ZipFile(sys.argv[1]) as z:
        xml = {n: ET.fromstring(z.read(n)) for n in z.namelist() if n.endswith((".xml", ".rels"))}
    rels = {r.get("Id"): r.get("Target") for r in xml["xl/_rels/workbook.xml.rels"]}
    book = xml["xl/workbook.xml"]
except Exception as e:
    put("problem", f"no readable workbook: {e!r}")
    sys.exit()
shared = [texts(si) for si in xml.get("xl/sharedStrings.xml", ET.Element("")).iter(M + "si")]
styles = xml.get("xl/styles.xml", ET.Element(""))
fills = [f.find(".//" + M + "fgColor") for f in styles.iterfind(M + "fills/" + M + "fill")]
fills = ["" if c is None else c.get("rgb", "") for c in fills]
fills = [rgb[2:] if len(rgb) == 8 else rgb for rgb in fills]
for xf in styles.iterfind(M + "cellXfs/" + M + "xf"):
    k = int(xf.get("fillId", 0))
    put("fill", fills[k] if k < len(fills) else "")
for s in book.iter(M + "sheet"):
    target = "xl/" + rels.get(s.get(R + "id"), "")
    if target not in xml:
        put("problem", f"sheet {s.get('name')} has no {target}")
        sys.exit()
    put("sheet", s.get("name"))
    for p in xml[target].iter(M + "pane"):
        if p.get("state") == "frozen":
            put("pane", p.get("topLeftCell", ""))
    for row in xml[target].iter(M + "row"):
        put("row " + row.get("r"))
        for c in row.iter(M + "c"):
            letters, number = re.fullmatch("([A-Z]+)([0-9]+)", c.get("r")).groups()
            column = 0
            for l in letters:
                column = column * 26 + ord(l) - 64
            f, v, i, t = c.find(M + "f"), c.find(M + "v"), c.find(M + "is"), c.get("t", "")
            if f is not None:
                kind, text = 2, plain(f.text)
            elif i is not None:
                kind, text = 0, texts(i)
            elif v is None:
                kind, text = 3, ""
            elif t == "s":
                kind, text = 0, shared[int(v.text)]
            else:
                kind, text = (0 if t in ("str", "inlineStr") else 1), plain(v.text)
            put(f"cell {int(number) - 1} {column - 1} {kind} {c.get('s', 0)}", text)
)py";

}  // namespace

const WorkbookCell* WorkbookSheet::at(std::size_t row, std::size_t column) const {
    if (row >= rows.size() || column >= rows[row].size() || !rows[row][column].present) {
        return nullptr;
    }
    return &rows[row][column];
}

std::vector<std::string> WorkbookSheet::texts(std::size_t row) const {
    std::vector<std::string> out;
    if (row < rows.size()) {
        for (const WorkbookCell& c : rows[row]) {
            out.push_back(c.text);
        }
    }
    return out;
}

std::string Workbook::fillOf(const WorkbookCell& cell) const {
    const auto s = static_cast<std::size_t>(cell.style);
    return s < fills.size() ? fills[s] : "";
}

Workbook readWorkbook(const std::filesystem::path& file) {
    Workbook book;
    const std::string command =
        "python3 -c " + quoted(kReader) + " " + quoted(file.string()) + " 2>&1";
    FILE* pipe = ::popen(command.c_str(), "r");
    if (pipe == nullptr) {
        book.problem = "python3 could not be started";
        return book;
    }
    std::string out;
    char buffer[1 << 16];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) {
        out.append(buffer, n);
    }
    const int status = ::pclose(pipe);
    std::istringstream in(out);
    WorkbookSheet* sheet = nullptr;
    for (std::string what; in >> what;) {
        std::size_t row = 0, column = 0, length = 0;
        WorkbookCell cell;
        int kind = 0;
        if (what == "row") {
            in >> row;
        } else if (what == "cell") {
            in >> row >> column >> kind >> cell.style;
        }
        in >> length;
        std::string text(length, '\0');
        in.ignore(1).read(text.data(), static_cast<std::streamsize>(length));
        // Every cell comes after its row, every row and pane after its sheet.
        if (!in || (sheet == nullptr && (what == "pane" || what == "row" || what == "cell")) ||
            (what == "cell" && row >= sheet->rows.size())) {
            book.problem = "the reader's output is cut short: " + out;
            return book;
        }
        if (what == "problem") {
            book.problem = text;
            return book;
        } else if (what == "fill") {
            book.fills.push_back(text);
        } else if (what == "sheet") {
            book.names.push_back(text);
            sheet = &book.sheets[text];
        } else if (what == "pane") {
            sheet->frozenPane = text;
        } else if (what == "row" && sheet->rows.size() < row) {
            sheet->rows.resize(row);
        } else if (what == "cell") {
            cell.kind = static_cast<WorkbookCell::Kind>(kind);
            cell.text = text;
            cell.present = true;
            if (sheet->rows[row].size() <= column) {
                sheet->rows[row].resize(column + 1);
            }
            sheet->rows[row][column] = cell;
        }
    }
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        book.problem = "the reader failed: " + out;
    }
    return book;
}

}  // namespace pelmora::test
