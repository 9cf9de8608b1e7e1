#include "runtime/abstractappender.h"

AbstractAppender::~AbstractAppender() = default;

Logger::LogLevel AbstractAppender::detailsLevel() const
{
    return threshold.load(std::memory_order_relaxed);
}

void AbstractAppender::setDetailsLevel(Logger::LogLevel level)
{
    threshold.store(level, std::memory_order_relaxed);
}
