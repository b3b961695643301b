#pragma once
// Saving what the windows show: where to save, and writing the file whole or not at all; the
// exports of the evidence panel. Files are written only where the user chooses.

#include <QByteArray>
#include <QString>
#include <QWidget>
#include <functional>
#include <string_view>

#include "files/replacing_file.h"

namespace pelmora {

// A save dialog that opens away from the corpus folder and asks before overwriting.
QString chooseSavePath(QWidget* parent, const QString& caption, const QString& fileName,
                       const QString& filter);
// An open dialog starting where the last file was saved or read.
QString chooseOpenPath(QWidget* parent, const QString& caption, const QString& filter);
void showProblem(QWidget* parent, const QString& text);
// Writes what `write` gives, piece by piece, or `bytes` to `path` through the core's one file
// writer: whole or not at all, and only over a regular file. A failure is reported and gives
// false.
using ContentWriter = FileContent;
[[nodiscard]] bool writeChosenFile(const QString& path, const ContentWriter& write,
                                   const std::function<void(const QString&)>& reportProblem);
[[nodiscard]] bool writeChosenFile(const QString& path, const QByteArray& bytes,
                                   const std::function<void(const QString&)>& reportProblem);

}  // namespace pelmora
