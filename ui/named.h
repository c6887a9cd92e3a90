// Controls carry their window's control names as object names, so tests and the layout can find
// them by name.
#pragma once

#include <QObject>
#include <QString>

namespace vx {

// Gives the object its control name and returns it, for use inside a construction expression.
template <typename T>
T* named(T* object, const char* name) {
    object->setObjectName(QString::fromLatin1(name));
    return object;
}

}  // namespace vx
