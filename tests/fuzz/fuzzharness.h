#ifndef ZENTAVO_FUZZHARNESS_H
#define ZENTAVO_FUZZHARNESS_H

#include <QString>

class AutoEvaluation;

#include <cstddef>
#include <cstdint>

// What the fuzz targets share. The run's settings, data and catalog database live in a
// temporary folder of their own (see TestEnvironment).
class FuzzHarness
{
public:
    // The application object, made once for the whole run: pictures are decoded through
    // the GUI module.
    static void ensureApplication();
    // The input written to a file of the given name in a temporary folder, for the code
    // that reads files; empty when it cannot be written.
    // An evaluation whose agreement number holds tag text in both bracket forms and
    // markup, and with two appraisers, for the template passes to resolve; the
    // application is made first.
    static AutoEvaluation& evaluation();
    static QString inputFile(const uint8_t* data, size_t size, const QString& name);
};

#endif
