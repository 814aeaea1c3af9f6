#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <new>
#include <utility>
#include <vector>

class TQvJSONbase;

// The memory of one parsed document: its values, pairs, strings, child lists
// and name-index nodes are carved from a few large blocks and go back all at
// once with the arena, without a destructor call per value. Values built on
// the heap and put into the document later are adopted: the arena frees those
// that are still held when it goes.
class DocumentArena {
public:
    // The first block has room for about `expected` bytes.
    explicit DocumentArena(size_t expected);
    ~DocumentArena();
    DocumentArena(const DocumentArena&) = delete;
    DocumentArena& operator=(const DocumentArena&) = delete;

    // Alignments are powers of two.
    void* Allocate(size_t bytes, size_t alignment)
    {
        size_t pad = (0 - reinterpret_cast<uintptr_t>(free_)) & (alignment - 1);
        if (pad + bytes > left_)
            return AllocateInNewBlock(bytes, alignment);
        void* result = free_ + pad;
        free_ += pad + bytes;
        left_ -= pad + bytes;
        return result;
    }

    char16_t* AllocateUnits(size_t count)
    {
        return static_cast<char16_t*>(Allocate(count * sizeof(char16_t), alignof(char16_t)));
    }

    // A value placed in the arena; its destructor never runs, so it must own
    // nothing outside the arena.
    template <class T, class... Args>
    T* Make(Args&&... args);

    // A heap value now held by a value of this arena, and one given up again.
    void Adopt(TQvJSONbase* value);
    void Disown(TQvJSONbase* value);

private:
    void* AllocateInNewBlock(size_t bytes, size_t alignment);

    std::vector<std::unique_ptr<std::byte[]>> blocks_;
    std::byte* free_ = nullptr;
    size_t left_ = 0;
    size_t nextBlock_;
    std::vector<TQvJSONbase*> adopted_;
};
