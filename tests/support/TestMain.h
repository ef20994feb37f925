#pragma once

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <QTest>

// Replaces QTEST_MAIN: before Qt starts, the config and runtime folders are pointed at a private temporary
// folder, so no test touches the real user's settings or instance lock; in memory where the system offers
// it, since every setting written is synced to disk and a busy disk would make the tests wait.
#define VANTELO_TEST_MAIN(TestClass)                                                                                   \
    int main(int argc, char** argv)                                                                                    \
    {                                                                                                                  \
        QTemporaryDir home_(                                                                                           \
            (QFileInfo(QStringLiteral("/dev/shm")).isWritable() ? QStringLiteral("/dev/shm") : QDir::tempPath()) +     \
            QStringLiteral("/vantelo-test-XXXXXX"));                                                                   \
        if (!home_.isValid())                                                                                          \
            return 2;                                                                                                  \
        qputenv("XDG_CONFIG_HOME", (home_.path() + QStringLiteral("/config")).toLocal8Bit());                          \
        qputenv("XDG_RUNTIME_DIR", home_.path().toLocal8Bit());                                                        \
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))                                                            \
            qputenv("QT_QPA_PLATFORM", "offscreen");                                                                   \
        QApplication app(argc, argv);                                                                                  \
        app.setAttribute(Qt::AA_Use96Dpi, true);                                                                       \
        TestClass test;                                                                                                \
        QTEST_SET_MAIN_SOURCE_PATH                                                                                     \
        return QTest::qExec(&test, argc, argv);                                                                        \
    }
