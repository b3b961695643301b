#include "ui/report_rows.h"

#include <algorithm>

namespace pelmora {

namespace {

bool drawnDifferently(QChar c) {
    const char16_t u = c.unicode();
    return (u < 0x20 && u != u'\t') || u == 0x7f || u == 0x2028 || u == 0x2029;
}

}  // namespace

QString shownLine(std::string_view line) {
    QString row = QString::fromUtf8(line.data(), static_cast<qsizetype>(line.size()));
    if (row.endsWith(QLatin1Char('\n'))) {
        row.chop(1);
        if (row.endsWith(QLatin1Char('\r'))) {
            row.chop(1);
        }
    }
    return row;
}

QString drawnText(const QString& row) {
    if (std::none_of(row.begin(), row.end(), drawnDifferently)) {
        return row;
    }
    QString out = row;
    for (QChar& c : out) {
        const char16_t u = c.unicode();
        if (u < 0x20 && u != u'\t') {
            c = QChar(static_cast<char16_t>(0x2400 + u));
        } else if (u == 0x7f) {
            c = QChar(0x2421);
        } else if (u == 0x2028 || u == 0x2029) {
            c = QChar(0x2424);
        }
    }
    return out;
}

}  // namespace pelmora
