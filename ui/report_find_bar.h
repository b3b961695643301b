#pragma once
// The find bar under the report box: the phrase, Previous, Next, what the search found and
// Close. Enter and F3 go to the next match, with Shift to the previous one; Escape closes.

#include <QString>
#include <QWidget>

class QLabel;
class QLineEdit;

namespace pelmora {

class ReportFindBar : public QWidget {
    Q_OBJECT

public:
    explicit ReportFindBar(QWidget* parent = nullptr);

    QString phrase() const;
    // Puts `phrase` in the bar and clears what the last search found.
    void setPhrase(const QString& phrase);
    void setStatus(const QString& status);
    // Gives the phrase the keyboard, all of it selected.
    void focusPhrase();

signals:
    void findRequested(bool backward);
    void closeRequested();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLineEdit* edit_ = nullptr;
    QLabel* status_ = nullptr;
};

}  // namespace pelmora
