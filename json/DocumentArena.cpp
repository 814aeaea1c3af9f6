#include "json/DocumentArena.h"

#include "json/TQvJSONbase.h"

#include <algorithm>
#include <cstdint>

// A huge text does not reserve its whole estimate up front: blocks double up
// to a limit as the values come.
DocumentArena::DocumentArena(size_t expected) : nextBlock_(std::clamp<size_t>(expected, 1024, size_t{1} << 20)) {}

DocumentArena::~DocumentArena()
{
    for (TQvJSONbase* value : adopted_)
        delete value;
}

void* DocumentArena::AllocateInNewBlock(size_t bytes, size_t alignment)
{
    const size_t size = std::max(nextBlock_, bytes + alignment);
    blocks_.reserve(blocks_.size() + 1);
    blocks_.push_back(std::make_unique_for_overwrite<std::byte[]>(size));
    free_ = blocks_.back().get();
    left_ = size;
    // A document that outgrows its first block grows in larger steps.
    nextBlock_ = std::min<size_t>(nextBlock_ * 2, size_t{1} << 24);
    return Allocate(bytes, alignment);
}

void DocumentArena::Adopt(TQvJSONbase* value) { adopted_.push_back(value); }

void DocumentArena::Disown(TQvJSONbase* value)
{
    auto found = std::find(adopted_.begin(), adopted_.end(), value);
    if (found != adopted_.end()) {
        *found = adopted_.back();
        adopted_.pop_back();
    }
}
