#ifndef ZENTAVO_SINGLETONREGISTRY_H
#define ZENTAVO_SINGLETONREGISTRY_H

#include "zentavo_export.h"

#include <functional>
#include <mutex>

// The library's singletons live until the process ends. Each records here how it is
// destroyed, so that tests can start a case from fresh singletons. This header is
// not installed: hosts never destroy singletons.
class ZENTAVO_EXPORT SingletonRegistry
{
public:
    // Called by a getInstance() right after it created its instance.
    static void add(std::function<void()> destroy);
    // Destroys every recorded singleton, newest first, and forgets them. Tests only.
    static void destroyAllForTesting();

    // The usual getInstance(): creates the instance on the first call, runs setUp on it
    // once, and records how to destroy it. Two threads asking at once get one instance.
    // Call it from the class's own source file only, so that the library holds the one
    // slot of each class.
    template <typename T, typename SetUp>
    static T* instance(SetUp setUp)
    {
        // Recursive: a setUp may ask for another singleton.
        const std::lock_guard<std::recursive_mutex> guard(creationMutex());
        T*& slot = slotOf<T>();
        if (!slot) {
            slot = new T();
            add([] {
                T*& created = slotOf<T>();
                delete created;
                created = nullptr;
            });
            setUp(slot);
        }
        return slot;
    }

    template <typename T>
    static T* instance()
    {
        return instance<T>([](T*) {});
    }

private:
    static std::recursive_mutex& creationMutex();

    template <typename T>
    static T*& slotOf()
    {
        static T* slot = nullptr;
        return slot;
    }
};

#endif
