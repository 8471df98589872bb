#include "app/CommandTable.h"

#include <QMetaObject>
#include <QObject>

#include <algorithm>
#include <cstring>

namespace talwyn::app {

bool runCommand(QObject* window, const char* name) {
    const bool known =
        std::any_of(kMainCommands.begin(), kMainCommands.end(),
                    [&](const Command& c) { return std::strcmp(c.name, name) == 0; });
    return known && QMetaObject::invokeMethod(window, name, Qt::DirectConnection);
}

}  // namespace talwyn::app
