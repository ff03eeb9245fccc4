#pragma once

#include <QApplication>
#include <QLocale>
#include <QStandardPaths>
#include <QTest>

// Runs a Qt Test class on the offscreen platform (unless the caller chose another), with
// C-locale number formatting and the settings of the standard paths kept in a test area.
#define SLABRATING_UI_TEST_MAIN(TestClass)                    \
    int main(int argc, char* argv[]) {                        \
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) { \
            qputenv("QT_QPA_PLATFORM", "offscreen");          \
        }                                                     \
        QLocale::setDefault(QLocale::c());                    \
        QStandardPaths::setTestModeEnabled(true);             \
        QApplication app(argc, argv);                         \
        TestClass test;                                       \
        return QTest::qExec(&test, argc, argv);               \
    }
