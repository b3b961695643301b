#include "ui/text_bridge.h"

#include <QFile>
#include <QLocale>
#include <QMessageBox>

#include "formats/output_format.h"

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

bool refusedAsTooLongToCopy(QWidget* parent, std::int64_t lines) {
    if (lines <= mostCopiedLines) {
        return false;
    }
    auto* box = new QMessageBox(
        QMessageBox::Information, QStringLiteral("Pelmora"),
        QStringLiteral("The report has %1 lines, too many to copy at once. Save it to a file "
                       "with \u201cSave report\u2026\u201d instead.")
            .arg(QLocale().toString(static_cast<qlonglong>(lines))),
        QMessageBox::Ok, parent);
    box->setObjectName(QStringLiteral("copyRefused"));
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->open();
    return true;
}

QString pathToQt(const std::filesystem::path& path) {
    return QFile::decodeName(path.c_str());
}

std::filesystem::path pathFromQt(const QString& path) {
    return std::filesystem::path(QFile::encodeName(path).toStdString());
}

}  // namespace pelmora
