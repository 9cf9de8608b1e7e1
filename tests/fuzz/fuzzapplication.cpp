#include "fuzzapplication.h"

#include <QGuiApplication>

void FuzzApplication::ensure()
{
    static int argc = 1;
    static char name[] = "zentavo-fuzz";
    static char* argv[] = {name, nullptr};
    static QGuiApplication application(argc, argv);
}
