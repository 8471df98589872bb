#pragma once

#include <QString>

namespace talwyn::app {

// The filter of the file-open dialogs as the program states it: 42 entries of "description|
// patterns|".
QString OpenFilterText();
// The same entries in the form Qt's file dialogs take.
QString QtOpenFilter();

}  // namespace talwyn::app
