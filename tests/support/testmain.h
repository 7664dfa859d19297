#pragma once
// main() for the test suites: the same process set-up as the program.
#include "shell/appsetup.h"

#include <QApplication>
#include <QTest>

#define QUORVIK_TEST_MAIN(TestObject)                                                                              \
    int main(int argc, char *argv[])                                                                               \
    {                                                                                                              \
        appsetup::prepareEnvironment();                                                                            \
        QApplication app(argc, argv);                                                                              \
        QTEST_SET_MAIN_SOURCE_PATH                                                                                 \
        TestObject tc;                                                                                             \
        return QTest::qExec(&tc, argc, argv);                                                                      \
    }
