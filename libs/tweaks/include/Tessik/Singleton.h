// tessik::Singleton<T>: one shared instance of T, registered by the first T constructed. Later instances (local
// ones) neither replace nor clear the shared pointer; destroying the registered instance clears it.
#pragma once

namespace tessik {

template <typename T>
class Singleton {
public:
    Singleton()
    {
        if (!ms_Singleton) ms_Singleton = static_cast<T*>(this);
    }
    ~Singleton()
    {
        if (ms_Singleton == static_cast<T*>(this)) ms_Singleton = nullptr;
    }
    Singleton(const Singleton&) = delete;
    Singleton& operator=(const Singleton&) { return *this; }

    // Only valid while an instance exists (see getSingletonPtr).
    static T& getSingleton() { return *ms_Singleton; }
    static T* getSingletonPtr() { return ms_Singleton; }

protected:
    static T* ms_Singleton;
};

template <typename T>
T* Singleton<T>::ms_Singleton = nullptr;

}  // namespace tessik
