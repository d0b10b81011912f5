// Runs the Qt Quick tests in tests/qml (the pages' JavaScript and QML units).
#include <QtQuickTest>

QUICK_TEST_MAIN(skarn)
