#pragma once
// "Matrix": the strengths of the last run as a coloured grid that scrolls, savable as PNG.

#include <QImage>
#include <QWidget>
#include <functional>
#include <memory>

class QLabel;

namespace pelmora {

struct RunResult;

class MatrixWindow : public QWidget {
    Q_OBJECT

public:
    explicit MatrixWindow(QWidget* parent = nullptr);

    void showRun(const std::shared_ptr<const RunResult>& run);
    const QImage& image() const { return image_; }

    // Asks where to save; returns an empty text when the user cancels. Tests replace it.
    std::function<QString()> choosePngPath;
    std::function<void(const QString&)> reportProblem;

    // Saves the grid as PNG at the chosen place; false when cancelled or not written.
    bool savePng();

private:
    QLabel* picture_ = nullptr;
    QImage image_;
};

}  // namespace pelmora
