#pragma once

// Finding a window's controls by their objectNames, as automation does.
#include <QAction>
#include <QLabel>
#include <QObject>

namespace Controls {

// The child of `owner` named `name`; the test process stops when there is none.
template <class T> T* find(const QObject* owner, const QString& name) {
    T* found = owner->findChild<T*>(name);
    if (!found)
        qFatal("no %s named %s", T::staticMetaObject.className(), qPrintable(name));
    return found;
}

inline QAction* action(const QObject* owner, const QString& name) {
    return find<QAction>(owner, name);
}

inline QString text(const QObject* owner, const QString& labelName) {
    return find<QLabel>(owner, labelName)->text();
}

} // namespace Controls
