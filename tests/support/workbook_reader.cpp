#include "tests/support/workbook_reader.h"

#include <sys/wait.h>

#include <cstdio>
#include <functional>
#include <optional>
#include <string_view>

namespace pelmora::test {

namespace {

std::string quoted(const std::string& arg) {
    std::string q = "'";
    for (const char c : arg) {
        q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    }
    return q + "'";
}

// One member of the zip, or nothing when unzip cannot give it.
std::optional<std::string> member(const std::filesystem::path& zip, const std::string& name) {
    const std::string command =
        "unzip -p " + quoted(zip.string()) + " " + quoted(name) + " 2>/dev/null";
    FILE* pipe = ::popen(command.c_str(), "r");
    if (pipe == nullptr) {
        return std::nullopt;
    }
    std::string out;
    char buffer[1 << 16];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) {
        out.append(buffer, n);
    }
    const int status = ::pclose(pipe);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        return std::nullopt;
    }
    return out;
}

// Every XML member of the zip parses as XML, as a spreadsheet program's reader needs: the
// reader below is lenient and would not notice.
std::optional<std::string> notWellFormed(const std::filesystem::path& zip) {
    const std::string command =
        "python3 -c 'import sys, zipfile, xml.dom.minidom as dom\n"
        "with zipfile.ZipFile(sys.argv[1]) as z:\n"
        "    for n in z.namelist():\n"
        "        if n.endswith((\".xml\", \".rels\")):\n"
        "            try: dom.parseString(z.read(n))\n"
        "            except Exception as e: sys.exit(n + \": \" + str(e))' " +
        quoted(zip.string()) + " 2>&1";
    FILE* pipe = ::popen(command.c_str(), "r");
    if (pipe == nullptr) {
        return "python3 could not be started";
    }
    std::string out;
    char buffer[4096];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) {
        out.append(buffer, n);
    }
    const int status = ::pclose(pipe);
    if (WIFEXITED(status) && WEXITSTATUS(status) == 0) {
        return std::nullopt;
    }
    return out.empty() ? std::string("not a zip of XML") : out;
}

void appendUtf8(std::string& out, unsigned long c) {
    if (c < 0x80) {
        out.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (c >> 6)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (c >> 12)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (c >> 18)));
        out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
}

bool isHex(char c) {
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
}

// A text as a spreadsheet program reads it: XML's line ends (a raw CR or CR LF is one LF) and
// entities, then the format's own escapes _xHHHH_, of which _x005F_ is the underscore that
// keeps a written "_x0001_" from being read as one.
std::string unescaped(std::string_view s) {
    std::string xml;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '\r') {
            xml.push_back('\n');
            if (i + 1 < s.size() && s[i + 1] == '\n') {
                ++i;
            }
            continue;
        }
        if (s[i] != '&') {
            xml.push_back(s[i]);
            continue;
        }
        const std::size_t semi = s.find(';', i);
        const std::string_view entity = s.substr(i + 1, semi - i - 1);
        if (entity == "amp") {
            xml.push_back('&');
        } else if (entity == "lt") {
            xml.push_back('<');
        } else if (entity == "gt") {
            xml.push_back('>');
        } else if (entity == "quot") {
            xml.push_back('"');
        } else if (entity == "apos") {
            xml.push_back('\'');
        } else if (!entity.empty() && entity[0] == '#') {
            const bool hex = entity.size() > 1 && entity[1] == 'x';
            appendUtf8(xml,
                       std::stoul(std::string(entity.substr(hex ? 2 : 1)), nullptr, hex ? 16 : 10));
        } else {
            xml.append(1, '&').append(entity).append(1, ';');
        }
        i = semi;
    }
    std::string out;
    for (std::size_t i = 0; i < xml.size(); ++i) {
        if (xml.compare(i, 2, "_x") == 0 && i + 6 < xml.size() && xml[i + 6] == '_' &&
            isHex(xml[i + 2]) && isHex(xml[i + 3]) && isHex(xml[i + 4]) && isHex(xml[i + 5])) {
            appendUtf8(out, std::stoul(xml.substr(i + 2, 4), nullptr, 16));
            i += 6;
        } else {
            out.push_back(xml[i]);
        }
    }
    return out;
}

struct Tag {
    std::string name;
    bool closing = false, selfClosing = false;
    std::map<std::string, std::string> attributes;

    std::string operator[](const std::string& attribute) const {
        const auto found = attributes.find(attribute);
        return found == attributes.end() ? std::string() : found->second;
    }
};

// Every tag in order, with the text that follows it up to the next tag.
void scan(std::string_view xml, const std::function<void(const Tag&, std::string_view)>& visit) {
    for (std::size_t at = xml.find('<'); at != std::string_view::npos; at = xml.find('<', at + 1)) {
        const std::size_t end = xml.find('>', at);
        if (end == std::string_view::npos) {
            return;
        }
        std::string_view inside = xml.substr(at + 1, end - at - 1);
        if (inside.empty() || inside[0] == '?' || inside[0] == '!') {
            continue;
        }
        Tag tag;
        if (inside[0] == '/') {
            tag.closing = true;
            inside.remove_prefix(1);
        }
        if (!inside.empty() && inside.back() == '/') {
            tag.selfClosing = true;
            inside.remove_suffix(1);
        }
        const std::size_t space = inside.find_first_of(" \t\r\n");
        tag.name = std::string(inside.substr(0, space));
        std::size_t p = space;
        while (p != std::string_view::npos && p < inside.size()) {
            const std::size_t eq = inside.find('=', p);
            if (eq == std::string_view::npos) {
                break;
            }
            const std::size_t open = inside.find_first_of("\"'", eq);
            const std::size_t close = inside.find(inside[open], open + 1);
            std::string_view key = inside.substr(p, eq - p);
            while (!key.empty() && (key.front() == ' ' || key.front() == '\n')) {
                key.remove_prefix(1);
            }
            tag.attributes[std::string(key)] = unescaped(inside.substr(open + 1, close - open - 1));
            p = close + 1;
        }
        const std::size_t next = xml.find('<', end);
        visit(tag, xml.substr(end + 1, next == std::string_view::npos ? next : next - end - 1));
    }
}

// "B12" as column 1, row 11.
std::pair<std::size_t, std::size_t> cellPosition(const std::string& ref) {
    std::size_t column = 0, i = 0;
    while (i < ref.size() && ref[i] >= 'A' && ref[i] <= 'Z') {
        column = column * 26 + static_cast<std::size_t>(ref[i] - 'A' + 1);
        ++i;
    }
    return {std::stoul(ref.substr(i)) - 1, column - 1};
}

std::vector<std::string> sharedStrings(const std::string& xml) {
    std::vector<std::string> out;
    bool inText = false;
    scan(xml, [&](const Tag& tag, std::string_view text) {
        if (tag.name == "si" && !tag.closing) {
            out.emplace_back();
        } else if (tag.name == "t") {
            inText = !tag.closing && !tag.selfClosing;
            if (inText && !out.empty()) {
                out.back() += unescaped(text);
            }
        }
    });
    return out;
}

WorkbookSheet parseSheet(const std::string& xml, const std::vector<std::string>& shared) {
    WorkbookSheet sheet;
    WorkbookCell cell;
    std::string type;
    std::pair<std::size_t, std::size_t> at{0, 0};
    bool inInline = false;
    const auto store = [&] {
        if (sheet.rows.size() <= at.first) {
            sheet.rows.resize(at.first + 1);
        }
        std::vector<WorkbookCell>& row = sheet.rows[at.first];
        if (row.size() <= at.second) {
            row.resize(at.second + 1);
        }
        row[at.second] = cell;
        row[at.second].present = true;
    };
    scan(xml, [&](const Tag& tag, std::string_view text) {
        if (tag.name == "pane" && tag["state"] == "frozen") {
            sheet.frozenPane = tag["topLeftCell"];
        } else if (tag.name == "row" && !tag.closing) {
            const std::size_t r = std::stoul(tag["r"]);
            if (sheet.rows.size() < r) {
                sheet.rows.resize(r);
            }
        } else if (tag.name == "c" && !tag.closing) {
            cell = WorkbookCell{};
            at = cellPosition(tag["r"]);
            type = tag["t"];
            cell.style = tag["s"].empty() ? 0 : std::stoi(tag["s"]);
            if (tag.selfClosing) {
                store();
            }
        } else if (tag.name == "c") {
            store();
        } else if (tag.name == "f" && !tag.closing) {
            cell.kind = WorkbookCell::Kind::Formula;
            cell.text = unescaped(text);
        } else if (tag.name == "is") {
            inInline = !tag.closing;
        } else if (tag.name == "t" && !tag.closing && !tag.selfClosing && inInline) {
            cell.kind = WorkbookCell::Kind::Text;
            cell.text += unescaped(text);
        } else if (tag.name == "v" && !tag.closing && cell.kind != WorkbookCell::Kind::Formula) {
            if (type == "s") {
                cell.kind = WorkbookCell::Kind::Text;
                const std::size_t k = std::stoul(std::string(text));
                cell.text =
                    k < shared.size() ? shared[k] : "<no shared string " + std::string(text) + ">";
            } else if (type == "str" || type == "inlineStr") {
                cell.kind = WorkbookCell::Kind::Text;
                cell.text = unescaped(text);
            } else {
                cell.kind = WorkbookCell::Kind::Number;
                cell.text = unescaped(text);
            }
        }
    });
    return sheet;
}

std::vector<std::string> fillsByStyle(const std::string& xml) {
    std::vector<std::string> fills, styles;
    bool inFills = false, inCellXfs = false;
    scan(xml, [&](const Tag& tag, std::string_view) {
        if (tag.name == "fills") {
            inFills = !tag.closing;
        } else if (tag.name == "cellXfs") {
            inCellXfs = !tag.closing;
        } else if (inFills && tag.name == "fill" && !tag.closing) {
            fills.emplace_back();
        } else if (inFills && tag.name == "fgColor" && !fills.empty()) {
            const std::string rgb = tag["rgb"];
            fills.back() = rgb.size() == 8 ? rgb.substr(2) : rgb;
        } else if (inCellXfs && tag.name == "xf" && !tag.closing) {
            const std::size_t fill = tag["fillId"].empty() ? 0 : std::stoul(tag["fillId"]);
            styles.push_back(fill < fills.size() ? fills[fill] : "");
        }
    });
    return styles;
}

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
    const std::optional<std::string> workbook = member(file, "xl/workbook.xml");
    const std::optional<std::string> relations = member(file, "xl/_rels/workbook.xml.rels");
    if (!workbook || !relations) {
        book.problem = "no workbook in " + file.string();
        return book;
    }
    if (const std::optional<std::string> bad = notWellFormed(file)) {
        book.problem = "not well-formed: " + *bad;
        return book;
    }
    std::map<std::string, std::string> targets;
    scan(*relations, [&](const Tag& tag, std::string_view) {
        if (tag.name == "Relationship") {
            targets[tag["Id"]] = tag["Target"];
        }
    });
    std::vector<std::string> shared;
    if (const auto strings = member(file, "xl/sharedStrings.xml")) {
        shared = sharedStrings(*strings);
    }
    if (const auto styles = member(file, "xl/styles.xml")) {
        book.fills = fillsByStyle(*styles);
    }
    std::vector<std::pair<std::string, std::string>> sheets;
    scan(*workbook, [&](const Tag& tag, std::string_view) {
        if (tag.name == "sheet") {
            sheets.emplace_back(tag["name"], targets[tag["r:id"]]);
        }
    });
    for (const auto& [name, target] : sheets) {
        const std::optional<std::string> xml = member(file, "xl/" + target);
        if (!xml) {
            book.problem = "sheet " + name + " has no " + target;
            return book;
        }
        book.names.push_back(name);
        book.sheets[name] = parseSheet(*xml, shared);
    }
    return book;
}

}  // namespace pelmora::test
