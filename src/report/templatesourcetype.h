#ifndef ZENTAVO_TEMPLATESOURCETYPE_H
#define ZENTAVO_TEMPLATESOURCETYPE_H

#include "zentavo_export.h"

class QString;

// Where a template, or a resource of the template server, comes from.
enum templatesourcetype_t {
    TEMPLATE_SOURCE_FROM_PATH = 0, // decide from the location (sourceTypeOfLocation)
    TEMPLATE_SOURCE_DISK = 1,
    TEMPLATE_SOURCE_NETWORK = 2
};

// The network for a location that starts with "http://" or holds "https://", else the
// disk.
ZENTAVO_EXPORT templatesourcetype_t sourceTypeOfLocation(const QString& location);

#endif
