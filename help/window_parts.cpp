#include "help/window_parts.h"

namespace pelmora {

QLabel* makeText(QWidget* parent, const char* name, const char* text) {
    auto* label = new QLabel(QString::fromUtf8(text), parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setWordWrap(true);
    // Plain text: an '&' or '<' in a fixed text must show as written.
    label->setTextFormat(Qt::PlainText);
    return label;
}

QLabel* makeHeading(QWidget* parent, const char* name, const char* text) {
    QLabel* label = makeText(parent, name, text);
    QFont font = label->font();
    font.setBold(true);
    label->setFont(font);
    return label;
}

QPushButton* makeButton(QWidget* parent, const char* name, const char* caption) {
    auto* button = new QPushButton(QString::fromUtf8(caption), parent);
    button->setObjectName(QString::fromLatin1(name));
    return button;
}

QFrame* makeLine(QWidget* parent, const char* name) {
    auto* line = new QFrame(parent);
    line->setObjectName(QString::fromLatin1(name));
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    return line;
}

}  // namespace pelmora
