#ifndef ZENTAVO_ALLOCATORTUNING_H
#define ZENTAVO_ALLOCATORTUNING_H

#include "zentavo_export.h"

// How the C library's allocator treats the large blocks a render frees. By default glibc
// hands a block of a few megabytes or more back to the system as soon as it is freed,
// and trims the free top of its heap; the next document's template, texts and pictures
// then take fresh pages, each zero-filled by the kernel on first touch. On a report of
// 2 MB of text and 20 photos that is about a quarter of the render.
//
// A host that renders one document after another may have the allocator keep that
// memory for reuse: the process then holds on to its peak. The setting is the whole
// process's, so only a host decides it; the library never makes it on its own.
class ZENTAVO_EXPORT AllocatorTuning
{
public:
    // Blocks up to 32 MiB come from the heap, which keeps up to 256 MiB free for reuse.
    // False where the C library has no such setting, or the process's allocator is not
    // glibc's own (under a sanitizer, for one).
    static bool keepFreedMemory();
};

#endif
