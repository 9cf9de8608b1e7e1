#include "runtime/singletonregistry.h"

#include <QList>

#include <utility>

namespace {

QList<std::function<void()>>& destroyers()
{
    static QList<std::function<void()>> list;
    return list;
}

} // namespace

std::recursive_mutex& SingletonRegistry::creationMutex()
{
    static std::recursive_mutex mutex;
    return mutex;
}

void SingletonRegistry::add(std::function<void()> destroy)
{
    destroyers().append(std::move(destroy));
}

void SingletonRegistry::destroyAllForTesting()
{
    const std::lock_guard<std::recursive_mutex> guard(creationMutex());
    QList<std::function<void()>>& list = destroyers();
    while (!list.isEmpty())
        list.takeLast()();
}
