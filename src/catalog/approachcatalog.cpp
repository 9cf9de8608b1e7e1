#include "catalog/approachcatalog.h"

#include "runtime/singletonregistry.h"

ApproachCatalog::ApproachCatalog() : approaches{0, 1, 2}
{
}

ApproachCatalog* ApproachCatalog::getInstance()
{
    return SingletonRegistry::instance<ApproachCatalog>();
}
