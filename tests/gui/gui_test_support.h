#pragma once
// Helpers shared by the window tests.

#include <QApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSet>
#include <QWidget>
#include <filesystem>

namespace pelmora::testing {

inline std::filesystem::path sampleFolder() {
    return std::filesystem::path(PELMORA_SOURCE_DIR) / "samples";
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

}  // namespace pelmora::testing
