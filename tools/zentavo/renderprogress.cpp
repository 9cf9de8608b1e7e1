#include "renderprogress.h"

#include "toolconsole.h"

#include <QFileInfo>

#include <algorithm>

RenderProgress::RenderProgress(int expectedDocuments, bool terminal)
    : expected(std::max(expectedDocuments, 1)), terminal(terminal)
{
}

void RenderProgress::documentStarted(const QString& document)
{
    ++started;
    lastDocument = document;
    if (terminal)
        drawBar();
    else
        ToolConsole::err() << '[' << started << '/' << expected << "] " << document << Qt::endl;
}

void RenderProgress::drawBar()
{
    constexpr int width = 30;
    const int filled = std::min(width, started * width / expected);
    const QString name = QFileInfo(lastDocument).fileName().left(40);
    ToolConsole::err() << "\r\033[K[" << QString(filled, QLatin1Char('#')) << QString(width - filled, QLatin1Char('.'))
                       << "] " << started << '/' << expected << ' ' << name << Qt::flush;
}

void RenderProgress::finish()
{
    if (terminal && started > 0)
        ToolConsole::err() << "\r\033[K" << Qt::flush;
}
