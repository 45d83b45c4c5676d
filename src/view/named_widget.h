#pragma once

#include <QString>

// Widgets carry their component names, so tests and hints find them by object name.
template <typename W> W *Named(W *widget, const char *name) {
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}
