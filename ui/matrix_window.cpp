#include "ui/matrix_window.h"

#include <QBuffer>
#include <QHBoxLayout>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QScrollArea>
#include <QVBoxLayout>

#include "ui/export_actions.h"
#include "ui/matrix_image.h"

namespace pelmora {

MatrixWindow::MatrixWindow(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("MatrixWindow"));
    setWindowTitle(QStringLiteral("Pelmora: Matrix"));
    picture_ = new QLabel(this);
    picture_->setObjectName(QStringLiteral("matrixPicture"));
    auto* scroll = new QScrollArea(this);
    scroll->setWidget(picture_);
    scroll->setWidgetResizable(false);
    auto* save = new QPushButton(QStringLiteral("Save PNG…"), this);
    save->setObjectName(QStringLiteral("cmdSavePng"));
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(save);
    buttons->addStretch(1);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(scroll, 1);
    layout->addLayout(buttons);
    resize(820, 720);

    choosePngPath = [this] {
        return chooseSavePath(this, QStringLiteral("Save matrix as PNG"),
                              QStringLiteral("pelmora-matrix.png"),
                              QStringLiteral("PNG images (*.png)"));
    };
    reportProblem = [this](const QString& text) { showProblem(this, text); };
    connect(save, &QPushButton::clicked, this, [this] { savePng(); });
}

void MatrixWindow::showRun(const std::shared_ptr<const RunResult>& run) {
    image_ = matrixImage(*run);
    picture_->setPixmap(QPixmap::fromImage(image_));
    picture_->resize(image_.size());
}

bool MatrixWindow::savePng() {
    const QString path = choosePngPath();
    if (path.isEmpty()) {
        return false;
    }
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    image_.save(&buffer, "PNG");
    return writeChosenFile(path, png, reportProblem);
}

}  // namespace pelmora
