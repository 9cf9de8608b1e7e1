#ifndef ZENTAVO_FUZZAPPLICATION_H
#define ZENTAVO_FUZZAPPLICATION_H

// The application object a fuzz target needs (pictures are decoded through the GUI
// module), made once for the whole run. The run's settings, data and catalog database
// live in a temporary folder of their own (see TestEnvironment).
class FuzzApplication
{
public:
    static void ensure();
};

#endif
