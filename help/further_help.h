#pragma once
// The help window's section on what the main form offers around the report: the run
// summary, "Details", "Matrix", the exports and the input warnings. Fixed texts only.

#include <QWidget>

namespace pelmora {

QWidget* makeFurtherHelp(QWidget* parent);

}  // namespace pelmora
