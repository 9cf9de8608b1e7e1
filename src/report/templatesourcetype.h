#ifndef ZENTAVO_TEMPLATESOURCETYPE_H
#define ZENTAVO_TEMPLATESOURCETYPE_H

// Where a template, or a resource of the template server, comes from.
enum templatesourcetype_t {
    TEMPLATE_SOURCE_FROM_PATH = 0, // decide from the location: http:// or https:// is network
    TEMPLATE_SOURCE_DISK = 1,
    TEMPLATE_SOURCE_NETWORK = 2
};

#endif
