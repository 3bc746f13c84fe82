#pragma once

#include <cstddef>
#include <cstdlib>
#include <new>
#include <type_traits>
#include <vector>

#include "shell/LargeBlocks.h"

// An array of plain records that grows to millions without copying what it holds and without a page fault
// per 4 KiB: past its first chunk, the records live in chunks of one large page each (see LargeBlocks).
// The first chunk grows by doubling, so a small array stays small. Elements stay where they are once the
// first chunk is whole.
template <typename T>
class SDChunkedArray {
    static_assert(std::is_trivially_copyable_v<T> && std::is_trivially_destructible_v<T>,
                  "records are moved as bytes");

  public:
    static constexpr size_t kChunk = kLargePageBytes / sizeof(T);

    SDChunkedArray() = default;
    SDChunkedArray(const SDChunkedArray&) = delete;
    SDChunkedArray& operator=(const SDChunkedArray&) = delete;
    ~SDChunkedArray() { release(); }

    size_t size() const { return m_size; }
    bool empty() const { return m_size == 0; }
    T& operator[](size_t index) { return m_chunks[index / kChunk][index % kChunk]; }
    const T& operator[](size_t index) const { return m_chunks[index / kChunk][index % kChunk]; }

    void push_back(const T& value) {
        const T copy = value;  // `value` may lie in the chunk that growing moves
        if (m_size == capacity()) {
            grow(m_size + 1);
        }
        (*this)[m_size++] = copy;
    }
    // New elements are value-initialised.
    void resize(size_t size) {
        if (size > capacity()) {
            grow(size);
        }
        for (size_t i = m_size; i < size; ++i) {
            (*this)[i] = T{};
        }
        m_size = size;
    }
    // Empties the array and gives its memory back.
    void clear() {
        release();
        m_size = 0;
        m_firstCapacity = 0;
    }
    // Bytes held on the heap.
    size_t memoryBytes() const {
        const size_t large = m_chunks.empty() ? 0 : m_chunks.size() - 1;
        return m_firstCapacity * sizeof(T) + large * kLargePageBytes + m_chunks.capacity() * sizeof(T*);
    }

  private:
    size_t capacity() const {
        return m_chunks.empty() ? 0 : m_firstCapacity + (m_chunks.size() - 1) * kChunk;
    }
    void grow(size_t wanted) {
        if (m_firstCapacity < kChunk) {
            size_t first = m_firstCapacity == 0 ? 64 : m_firstCapacity;
            while (first < wanted && first < kChunk) {
                first *= 2;
            }
            first = first < kChunk ? first : kChunk;
            void* moved = std::realloc(m_chunks.empty() ? nullptr : m_chunks[0], first * sizeof(T));
            if (moved == nullptr) {
                throw std::bad_alloc();
            }
            if (m_chunks.empty()) {
                m_chunks.push_back(nullptr);
            }
            m_chunks[0] = static_cast<T*>(moved);
            m_firstCapacity = first;
        }
        while (capacity() < wanted) {
            void* block = allocateLargeBlock(kLargePageBytes);
            if (block == nullptr) {
                throw std::bad_alloc();
            }
            m_chunks.push_back(static_cast<T*>(block));
        }
    }
    void release() {
        for (size_t i = 0; i < m_chunks.size(); ++i) {
            if (i == 0) {
                std::free(m_chunks[i]);
            } else {
                freeLargeBlock(m_chunks[i]);
            }
        }
        m_chunks.clear();
    }

    std::vector<T*> m_chunks;
    size_t m_size = 0;
    size_t m_firstCapacity = 0;
};
