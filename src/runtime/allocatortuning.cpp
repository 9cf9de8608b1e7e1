#include "runtime/allocatortuning.h"

#include <cstdlib> // defines __GLIBC__ where the C library is glibc

#if defined(__GLIBC__)
#include <malloc.h>
#endif

bool AllocatorTuning::keepFreedMemory()
{
#if defined(__GLIBC__)
    constexpr int LargestHeapBlock = 32 * 1024 * 1024; // glibc's ceiling for the setting
    constexpr int KeptFree = 256 * 1024 * 1024;
    return mallopt(M_MMAP_THRESHOLD, LargestHeapBlock) == 1 && mallopt(M_TRIM_THRESHOLD, KeptFree) == 1;
#else
    return false;
#endif
}
