// The texts of a list control's entries, in order: what a person sees in the list.
#pragma once

#include <QListWidget>
#include <QStringList>

namespace vx::test {

inline QStringList entries(const QListWidget& list) {
    QStringList out;
    for (int i = 0; i < list.count(); ++i) out << list.item(i)->text();
    return out;
}

}  // namespace vx::test
