#pragma once

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <cstdio>
#include <cstdlib>

// Replaces QTEST_MAIN: before Qt starts, the config and runtime folders are pointed at a private
// temporary folder, so no test ever reads or writes the real user's settings or instance lock.
#define VANTELO_TEST_MAIN(TestClass)                                                                                   \
    int main(int argc, char** argv)                                                                                    \
    {                                                                                                                  \
        QTemporaryDir home_;                                                                                           \
        if (!home_.isValid())                                                                                          \
            return 2;                                                                                                  \
        qputenv("XDG_CONFIG_HOME", (home_.path() + QStringLiteral("/config")).toLocal8Bit());                          \
        qputenv("XDG_RUNTIME_DIR", (home_.path() + QStringLiteral("/runtime")).toLocal8Bit());                         \
        QDir().mkpath(home_.path() + QStringLiteral("/runtime"));                                                      \
        QFile::setPermissions(home_.path() + QStringLiteral("/runtime"),                                               \
                              QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);               \
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))                                                            \
            qputenv("QT_QPA_PLATFORM", "offscreen");                                                                   \
        QApplication app(argc, argv);                                                                                  \
        app.setAttribute(Qt::AA_Use96Dpi, true);                                                                       \
        TestClass test;                                                                                                \
        QTEST_SET_MAIN_SOURCE_PATH                                                                                     \
        return QTest::qExec(&test, argc, argv);                                                                        \
    }
