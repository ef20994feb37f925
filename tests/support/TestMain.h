#pragma once

#include <QApplication>
#include <QTemporaryDir>
#include <QTest>

// Replaces QTEST_MAIN: before Qt starts, the config and runtime folders are pointed at a private
// temporary folder (the owner's alone), so no test ever touches the real user's settings or instance lock.
#define VANTELO_TEST_MAIN(TestClass)                                                                                   \
    int main(int argc, char** argv)                                                                                    \
    {                                                                                                                  \
        QTemporaryDir home_;                                                                                           \
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
