#pragma once
// Helpers shared by the window tests.

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSet>
#include <QTest>
#include <QWidget>
#include <filesystem>
#include <iterator>
#include <utility>

#include "ui/details_window.h"

namespace pelmora::testing {

inline std::filesystem::path sampleFolder() {
    return std::filesystem::path(PELMORA_SOURCE_DIR) / "samples";
}

// The corpus of texts on every threshold.
inline std::filesystem::path boundaryFolder() {
    return std::filesystem::path(PELMORA_SOURCE_DIR) / "tests/data/boundary";
}

// Five texts of about 100 words from the corpus of texts on every threshold, with their codes
// as worked out by hand from the rules, in the order the run lists them.
inline constexpr std::pair<const char*, const char*> kHandTexts[] = {
    {"a_high_above.txt", "01202"},   {"f_def_at.txt", "01200"},     {"o_at.txt", "01200"},
    {"o_strong_above.txt", "01220"}, {"r_tie_formal.txt", "20200"},
};

// The report of those five, worked out by hand: a pair's strength is its agreeing digits; the
// ten strengths 4 3 3 2 5 4 3 4 3 2 have the mean 3.4 and the sample standard deviation
// sqrt(8.4 / 9) = 0.9661; only the 5 lies more than 1.65 of them from the mean, and the two 2s
// are minimal. Lines end in CR LF as in the report box.
inline const char* const kHandReport =
    "Text Pair\tStrength of Intertextual relationship\r\n"
    "a_high_above.txt-f_def_at.txt\t4\r\n"
    "a_high_above.txt-o_at.txt\t4\r\n"
    "a_high_above.txt-o_strong_above.txt\t3\r\n"
    "a_high_above.txt-r_tie_formal.txt\t2\r\n"
    "f_def_at.txt-o_at.txt\t5\r\n"
    "f_def_at.txt-o_strong_above.txt\t4\r\n"
    "f_def_at.txt-r_tie_formal.txt\t3\r\n"
    "o_at.txt-o_strong_above.txt\t4\r\n"
    "o_at.txt-r_tie_formal.txt\t3\r\n"
    "o_strong_above.txt-r_tie_formal.txt\t2\r\n"
    "\r\n"
    "a_high_above.txt-r_tie_formal.txt\t2\r\n"
    "o_strong_above.txt-r_tie_formal.txt\t2\r\n"
    "\r\n"
    "The maximum intertextual type-relationship is calculated from a variety of textual "
    "features and \r\nhas a maximum strength of 5. Values below 3 are considered to indicate a "
    "minimal intertextual type-relationship. This may have implications for inter-text "
    "comparisons in this group of texts.\r\n"
    "Arithmetic Mean\t3.4\r\n"
    "Sample Standard Deviation\t0.9661\r\n"
    "The following intertextual type-relationships were significantly different from the norm "
    "for this group of texts:\r\n"
    "f_def_at.txt-o_at.txt\t5\r\n"
    "\r\n"
    "The following texts were found to have a minimal intertextual type-relationship, which may "
    "have implications for inter-text comparisons in this group of texts:\r\n"
    "a_high_above.txt-r_tie_formal.txt\t2\r\n"
    "o_strong_above.txt-r_tie_formal.txt\t2\r\n"
    "\r\n";

// Copies the first `count` of those texts into `folder`.
inline bool writeHandFolder(const QString& folder, std::size_t count = std::size(kHandTexts)) {
    const std::filesystem::path boundary = boundaryFolder();
    for (std::size_t i = 0; i < count; ++i) {
        const QString name = QString::fromLatin1(kHandTexts[i].first);
        if (!QFile::copy(QString::fromStdString((boundary / kHandTexts[i].first).string()),
                         folder + u'/' + name)) {
            return false;
        }
    }
    return true;
}

template <typename T>
T* child(QWidget* window, const char* name) {
    T* found = window->findChild<T*>(QString::fromLatin1(name));
    if (found == nullptr) {
        qFatal("no %s named %s", T::staticMetaObject.className(), name);
    }
    return found;
}

inline QSet<QString> labelTexts(QWidget* window) {
    QSet<QString> texts;
    for (const QLabel* label : window->findChildren<QLabel*>()) {
        texts.insert(label->text());
    }
    return texts;
}

inline QString boxText(QWidget* window, const char* name) {
    return child<QPlainTextEdit>(window, name)->toPlainText();
}

// Lets windows closed with Qt::WA_DeleteOnClose actually go away.
inline void processDeletions() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
}

// The evidence Details shows once it has written it for the selected text.
inline QString evidenceOf(const DetailsWindow* details) {
    static_cast<void>(QTest::qWaitFor([details] { return !details->composing(); }, 10000));
    return details->evidence()->toPlainText();
}

}  // namespace pelmora::testing
