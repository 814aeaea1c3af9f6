#include "json/TQvBalTree.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <new>
#include <type_traits>

// Nodes are dropped with their blocks, never destroyed one by one.
static_assert(std::is_trivially_destructible_v<TQvBalNode>);

namespace {

// Small enough for the allocator's per-thread caches; an object of a dozen
// members fits in one block.
constexpr size_t block_bytes = 960;

// Name order: unit by unit as unsigned numbers, a prefix before the longer name.
int compare_names(std::u16string_view a, std::u16string_view b)
{
    size_t common = std::min(a.size(), b.size());
    for (size_t i = 0; i < common; ++i)
        if (a[i] != b[i])
            return a[i] < b[i] ? -1 : 1;
    return a.size() < b.size() ? -1 : a.size() > b.size() ? 1 : 0;
}

} // namespace

TQvBalTree::TQvBalTree() : bottom_(&sentinel_), root_(&sentinel_), deleted_(&sentinel_)
{
    sentinel_.Left = bottom_;
    sentinel_.Right = bottom_;
    sentinel_.Level = 0;
}

bool TQvBalTree::Insert(std::u16string_view name, int32_t key) { return InsertAt(root_, name, key); }

bool TQvBalTree::InsertAt(TQvBalNode*& link, std::u16string_view name, int32_t key)
{
    if (link == bottom_) {
        auto* units = static_cast<char16_t*>(Allocate(name.size() * sizeof(char16_t), alignof(char16_t)));
        if (!name.empty())
            std::memcpy(units, name.data(), name.size() * sizeof(char16_t));
        auto* node = new (Allocate(sizeof(TQvBalNode), alignof(TQvBalNode))) TQvBalNode;
        node->Left = bottom_;
        node->Right = bottom_;
        node->Level = 1;
        node->Key = key;
        node->NodeName = std::u16string_view(units, name.size());
        link = node;
        return true;
    }
    int order = compare_names(name, link->NodeName);
    if (order == 0)
        return false;
    bool inserted = order < 0 ? InsertAt(link->Left, name, key) : InsertAt(link->Right, name, key);
    Skew(link);
    Split(link);
    return inserted;
}

int32_t TQvBalTree::Find(std::u16string_view name) const
{
    const TQvBalNode* node = root_;
    while (node != bottom_) {
        int order = compare_names(name, node->NodeName);
        if (order == 0)
            return node->Key;
        node = order < 0 ? node->Left : node->Right;
    }
    return -1;
}

void TQvBalTree::Skew(TQvBalNode*& t) const
{
    if (t == bottom_ || t->Left->Level != t->Level)
        return;
    TQvBalNode* left = t->Left;
    t->Left = left->Right;
    left->Right = t;
    t = left;
}

void TQvBalTree::Split(TQvBalNode*& t) const
{
    if (t == bottom_ || t->Right->Right->Level != t->Level)
        return;
    TQvBalNode* right = t->Right;
    t->Right = right->Left;
    right->Left = t;
    t = right;
    ++t->Level;
}

void* TQvBalTree::Allocate(size_t bytes, size_t alignment)
{
    // Alignments are powers of two.
    size_t pad = (0 - reinterpret_cast<uintptr_t>(free_)) & (alignment - 1);
    if (free_ == nullptr || pad + bytes > left_) {
        size_t size = std::max(block_bytes, bytes + alignof(std::max_align_t));
        auto block = std::make_unique_for_overwrite<std::byte[]>(size);
        free_ = block.get();
        if (!firstBlock_)
            firstBlock_ = std::move(block);
        else
            moreBlocks_.push_back(std::move(block));
        left_ = size;
        pad = (0 - reinterpret_cast<uintptr_t>(free_)) & (alignment - 1);
    }
    void* result = free_ + pad;
    free_ += pad + bytes;
    left_ -= pad + bytes;
    return result;
}

void TQvBalTree::Clear()
{
    moreBlocks_.clear();
    firstBlock_.reset();
    free_ = nullptr;
    left_ = 0;
    root_ = bottom_;
    deleted_ = bottom_;
}
