#include "catalog/approachcatalog.h"

#include "runtime/singletonregistry.h"

namespace {
ApproachCatalog* instance = nullptr;
}

ApproachCatalog::ApproachCatalog() : approaches{0, 1, 2}
{
}

ApproachCatalog* ApproachCatalog::getInstance()
{
    return SingletonRegistry::instance(instance);
}
