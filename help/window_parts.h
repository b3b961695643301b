#pragma once
// Named widgets the windows are built from; every widget gets its store or command name as
// object name, so that code and tests find it by that name.

#include <QFrame>
#include <QLabel>
#include <QPushButton>

namespace pelmora {

// A word-wrapped static text.
QLabel* makeText(QWidget* parent, const char* name, const char* text);
// A static text in bold, for captions above a group.
QLabel* makeHeading(QWidget* parent, const char* name, const char* text);
QPushButton* makeButton(QWidget* parent, const char* name, const char* caption);
// A horizontal separator line.
QFrame* makeLine(QWidget* parent, const char* name);

}  // namespace pelmora
