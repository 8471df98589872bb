#pragma once

#include <QString>

namespace talwyn::app {

// The filter of the file-open dialogs as the program states it: 42 entries of "description|
// patterns|".
QString OpenFilterText();
// The same entries in the form Qt's file dialogs take: "description (patterns);;…".
QString QtOpenFilter();
// The description of one entry of QtOpenFilter(), exactly as the program states it.
QString OpenFilterDescription(const QString& qtEntry);

}  // namespace talwyn::app
