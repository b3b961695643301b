#include "ui/text_bridge.h"

#include <QFile>

#include "evidence/output_format.h"

namespace pelmora {

QString toQt(const std::string& text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

std::string fromQt(const QString& text) {
    return text.toStdString();
}

QString shownText(const std::string& text) {
    return toQt(withLineEnds(text, LineEnds::Lf));
}

std::string typedText(const QString& text) {
    QString typed = text;
    // A pasted text may already carry CR LF; keep those and add CR only where it is missing.
    typed.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    typed.replace(QStringLiteral("\n"), QStringLiteral("\r\n"));
    return fromQt(typed);
}

QString pathToQt(const std::filesystem::path& path) {
    return QFile::decodeName(path.c_str());
}

std::filesystem::path pathFromQt(const QString& path) {
    return std::filesystem::path(QFile::encodeName(path).toStdString());
}

}  // namespace pelmora
