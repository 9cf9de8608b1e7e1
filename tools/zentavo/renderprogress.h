#ifndef ZENTAVO_TOOL_RENDERPROGRESS_H
#define ZENTAVO_TOOL_RENDERPROGRESS_H

#include <QString>

// Progress of a render on standard error: a bar redrawn in place on a terminal, one
// plain line per document otherwise (for logs and pipes).
class RenderProgress
{
public:
    RenderProgress(int expectedDocuments, bool terminal);

    void documentStarted(const QString& document);
    // Ends the bar's line.
    void finish();

private:
    void drawBar();

    int expected;
    int started = 0;
    bool terminal;
    QString lastDocument;
};

#endif
