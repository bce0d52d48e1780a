// The process's table of live named kernel objects of one kind (mutexes, file mappings), keyed by name,
// so that handles to one name in one process share one object.
#pragma once

#include <pthread.h>

#include <map>
#include <memory>
#include <mutex>
#include <string>

namespace platform {

template <class T>
struct NamedObjects {
    std::mutex lock;
    std::map<std::string, std::weak_ptr<T>> byKey;
};

// The table for T. A child forked from this process (tests) must not share the parent's objects, whose
// locks belong to open files it inherited: it starts with an empty table. The old one is never
// destroyed, since handles may still close during exit.
template <class T>
NamedObjects<T>& namedObjects() {
    static NamedObjects<T>* current = nullptr;
    static std::once_flag once;
    std::call_once(once, [] {
        current = new NamedObjects<T>;
        pthread_atfork(nullptr, nullptr, [] { current = new NamedObjects<T>; });
    });
    return *current;
}

}  // namespace platform
