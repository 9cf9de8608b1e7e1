#ifndef ZENTAVO_TESTENVIRONMENT_H
#define ZENTAVO_TESTENVIRONMENT_H

#include <QString>

// Points everything a test could write to (settings, data and config folders, HOME)
// into one temporary folder of its own, so no test touches the user's real files.
// Call before the application object is constructed: QTEST_MAIN does that through
// Q_COREAPP_STARTUP_FUNCTION in the test support library.
class TestEnvironment
{
public:
    static void isolate();
    // The temporary folder that stands in for HOME during the test run.
    static QString root();
};

#endif
