#include "runtime/allocatortuning.h"

#include <QtTest>

#include <cstdlib>
#if defined(__GLIBC__)
#include <malloc.h>
#endif

// A host that asks the allocator to keep freed memory gets it kept: a block of the size
// a report's text takes stays with the process after it is freed, ready for the next
// document, instead of going back to the system.
class TestAllocatorTuning : public QObject
{
    Q_OBJECT

private slots:
    void freedBlockStaysWithTheProcess();
};

void TestAllocatorTuning::freedBlockStaysWithTheProcess()
{
#if !defined(__GLIBC__)
    QSKIP("only glibc's allocator has the setting");
#elif defined(__SANITIZE_ADDRESS__)
    QSKIP("the sanitizer's allocator stands in for glibc's");
#else
    QVERIFY(AllocatorTuning::keepFreedMemory());
    constexpr size_t size = 12 * 1024 * 1024;
    const size_t freeBefore = mallinfo2().fordblks;
    char* block = static_cast<char*>(malloc(size));
    QVERIFY(block);
    block[0] = block[size - 1] = 1;
    free(block);
    QVERIFY2(mallinfo2().fordblks >= freeBefore + size, "the freed block went back to the system");
#endif
}

QTEST_GUILESS_MAIN(TestAllocatorTuning)
#include "tst_allocatortuning.moc"
