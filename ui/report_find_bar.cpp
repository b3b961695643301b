#include "ui/report_find_bar.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>

namespace pelmora {

ReportFindBar::ReportFindBar(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("reportFindBar"));
    setAutoFillBackground(true);
    auto* caption = new QLabel(QStringLiteral("&Find:"), this);
    edit_ = new QLineEdit(this);
    edit_->setObjectName(QStringLiteral("reportFind"));
    caption->setBuddy(edit_);
    const auto tool = [this](const char* name, const QString& text, const QString& tip) {
        auto* button = new QToolButton(this);
        button->setObjectName(QString::fromLatin1(name));
        button->setText(text);
        button->setToolTip(tip);
        button->setFocusPolicy(Qt::NoFocus);
        button->setAutoRaise(true);
        return button;
    };
    QToolButton* previous =
        tool("reportFindPrevious", QStringLiteral("Previous"), QStringLiteral("Shift+F3"));
    QToolButton* next = tool("reportFindNext", QStringLiteral("Next"), QStringLiteral("F3"));
    status_ = new QLabel(this);
    status_->setObjectName(QStringLiteral("reportFindStatus"));
    QToolButton* close = tool("reportFindClose", QStringLiteral("Close"), QStringLiteral("Esc"));
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(4, 2, 4, 2);
    row->addWidget(caption);
    row->addWidget(edit_, 1);
    row->addWidget(previous);
    row->addWidget(next);
    row->addWidget(status_);
    row->addWidget(close);
    edit_->installEventFilter(this);
    connect(edit_, &QLineEdit::textEdited, status_, &QLabel::clear);
    connect(previous, &QToolButton::clicked, this, [this] { emit findRequested(true); });
    connect(next, &QToolButton::clicked, this, [this] { emit findRequested(false); });
    connect(close, &QToolButton::clicked, this, &ReportFindBar::closeRequested);
}

QString ReportFindBar::phrase() const {
    return edit_->text();
}

void ReportFindBar::setPhrase(const QString& phrase) {
    edit_->setText(phrase);
    status_->clear();
}

void ReportFindBar::setStatus(const QString& status) {
    status_->setText(status);
}

void ReportFindBar::focusPhrase() {
    edit_->setFocus(Qt::ShortcutFocusReason);
    edit_->selectAll();
}

bool ReportFindBar::eventFilter(QObject* watched, QEvent* event) {
    if (watched == edit_ &&
        (event->type() == QEvent::KeyPress || event->type() == QEvent::ShortcutOverride)) {
        auto* key = static_cast<QKeyEvent*>(event);
        const bool ours = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter ||
                          key->key() == Qt::Key_F3 || key->key() == Qt::Key_Escape;
        if (!ours) {
            return QWidget::eventFilter(watched, event);
        }
        if (event->type() == QEvent::ShortcutOverride) {
            event->accept();
            return true;
        }
        if (key->key() == Qt::Key_Escape) {
            emit closeRequested();
        } else {
            emit findRequested(key->modifiers() & Qt::ShiftModifier);
        }
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace pelmora
