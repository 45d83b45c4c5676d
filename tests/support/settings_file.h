#pragma once

#include "settings/settings.h"

#include <QByteArray>
#include <QFile>
#include <gtest/gtest.h>

// The settings file the window reads at start and writes at close, for tests that set it up
// or read it back.
inline void WriteSettingsFile(const QByteArray &bytes) {
    QFile file(SettingsFilePath());
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

inline QByteArray SettingsFileBytes() {
    QFile file(SettingsFilePath());
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}
