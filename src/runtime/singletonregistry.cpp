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

void SingletonRegistry::add(std::function<void()> destroy)
{
    destroyers().append(std::move(destroy));
}

void SingletonRegistry::destroyAllForTesting()
{
    QList<std::function<void()>>& list = destroyers();
    while (!list.isEmpty())
        list.takeLast()();
}
