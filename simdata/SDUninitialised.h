#pragma once

#include <memory>
#include <new>
#include <utility>
#include <vector>

// An allocator that leaves elements made without a value as they come (default-initialised), for vectors
// that are sized once and then written whole: a vector of millions of numbers no longer clears its memory
// only for every element to be written over, and its pages are first touched where they are written.
template <class T>
class SDUninitialised : public std::allocator<T> {
  public:
    template <class U>
    struct rebind {
        using other = SDUninitialised<U>;
    };
    SDUninitialised() = default;
    template <class U>
    SDUninitialised(const SDUninitialised<U>&) noexcept {}

    template <class U>
    void construct(U* at) noexcept(std::is_nothrow_default_constructible<U>::value) {
        ::new (static_cast<void*>(at)) U;
    }
    template <class U, class... Arguments>
    void construct(U* at, Arguments&&... arguments) {
        ::new (static_cast<void*>(at)) U(std::forward<Arguments>(arguments)...);
    }
};

// A vector whose sizing leaves the new elements unwritten.
template <class T>
using SDUninitialisedVector = std::vector<T, SDUninitialised<T>>;
