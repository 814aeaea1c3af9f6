#include "json/TQvBalTree.h"

#include "json/DocumentArena.h"

#include <algorithm>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <new>
#include <string_view>
#include <type_traits>

// Nodes are dropped with their blocks, never destroyed one by one.
static_assert(std::is_trivially_destructible_v<TQvBalNode>);

namespace {

// Small enough for the allocator's per-thread caches; an object of a dozen
// members fits in one block.
constexpr size_t block_bytes = 960;

// Four bytes as four units in one word, in memory order: the first byte in
// the lowest unit.
inline uint64_t widen4(const char* bytes)
{
    uint32_t word;
    std::memcpy(&word, bytes, 4);
    uint64_t x = word;
    x = (x | x << 16) & 0x0000FFFF0000FFFFULL;
    return (x | x << 8) & 0x00FF00FF00FF00FFULL;
}

// The head of a name as a node keeps it; an ASCII name in bytes has the
// head of its wide form.
template <class Unit>
inline uint64_t name_head(std::basic_string_view<Unit> name)
{
    // Most ASCII keys have four bytes or more: their head is their first four
    // widened, the first unit moved to the top.
    if constexpr (sizeof(Unit) == 1 && std::endian::native == std::endian::little) {
        if (name.size() >= 4)
            return __builtin_bswap64(widen4(name.data())) >> 8;
    }

    uint64_t head = 0;
    const size_t units = std::min<size_t>(name.size(), 4);
    for (size_t i = 0; i < units; ++i)
        head |= uint64_t{static_cast<std::make_unsigned_t<Unit>>(name[i])} << (48 - 16 * i);
    return head;
}

// The same order between an ASCII name in bytes and a wide name.
inline int compare_names(std::string_view a, uint64_t aHead, std::u16string_view b, uint64_t bHead)
{
    if (aHead != bHead)
        return aHead < bHead ? -1 : 1;
    const size_t common = std::min(a.size(), b.size());
    size_t i = std::min<size_t>(common, 4);
    // Four bytes at a time against four units, as with two wide names.
    if constexpr (std::endian::native == std::endian::little) {
        for (; i + 4 <= common; i += 4) {
            const uint64_t x = widen4(a.data() + i);
            uint64_t y;
            std::memcpy(&y, b.data() + i, 8);
            if (x != y) {
                const size_t at = i + static_cast<size_t>(std::countr_zero(x ^ y) / 16);
                return static_cast<unsigned char>(a[at]) < b[at] ? -1 : 1;
            }
        }
    }
    for (; i < common; ++i) {
        const char16_t unit = static_cast<unsigned char>(a[i]);
        if (unit != b[i])
            return unit < b[i] ? -1 : 1;
    }
    return a.size() < b.size() ? -1 : a.size() > b.size() ? 1 : 0;
}

// Name order: unit by unit as unsigned numbers, a prefix before the longer
// name. Heads that differ decide at once; equal heads mean the first
// min(4, shorter size) units agree.
inline int compare_names(std::u16string_view a, uint64_t aHead, std::u16string_view b, uint64_t bHead)
{
    if (aHead != bHead)
        return aHead < bHead ? -1 : 1;
    const size_t common = std::min(a.size(), b.size());
    size_t i = std::min<size_t>(common, 4);
    // Four units at a time: the lowest differing unit of the two words decides.
    for (; i + 4 <= common; i += 4) {
        uint64_t x;
        uint64_t y;
        std::memcpy(&x, a.data() + i, 8);
        std::memcpy(&y, b.data() + i, 8);
        if (x != y) {
            if constexpr (std::endian::native == std::endian::little) {
                const size_t at = i + static_cast<size_t>(std::countr_zero(x ^ y) / 16);
                return a[at] < b[at] ? -1 : 1;
            }
            break;
        }
    }
    for (; i < common; ++i)
        if (a[i] != b[i])
            return a[i] < b[i] ? -1 : 1;
    return a.size() < b.size() ? -1 : a.size() > b.size() ? 1 : 0;
}

} // namespace

TQvBalTree::TQvBalTree(DocumentArena* arena) : arena_(arena), bottom_(&sentinel_), root_(&sentinel_), deleted_(&sentinel_)
{
    sentinel_.Left = bottom_;
    sentinel_.Right = bottom_;
    sentinel_.Level = 0;
}

bool TQvBalTree::Insert(std::u16string_view name, int32_t key)
{
    return InsertAt(root_, name, name_head(name), key, true);
}

bool TQvBalTree::InsertLasting(std::u16string_view name, int32_t key)
{
    return InsertAt(root_, name, name_head(name), key, false);
}

bool TQvBalTree::InsertAt(TQvBalNode*& link, std::u16string_view name, uint64_t head, int32_t key, bool copyName)
{
    if (link == bottom_) {
        if (copyName && !name.empty()) {
            auto* units = static_cast<char16_t*>(Allocate(name.size() * sizeof(char16_t), alignof(char16_t)));
            std::memcpy(units, name.data(), name.size() * sizeof(char16_t));
            name = std::u16string_view(units, name.size());
        }
        auto* node = new (Allocate(sizeof(TQvBalNode), alignof(TQvBalNode))) TQvBalNode;
        node->Left = bottom_;
        node->Right = bottom_;
        node->Level = 1;
        node->Key = key;
        node->NodeName = name;
        node->NameHead = head;
        link = node;
        return true;
    }
    int order = compare_names(name, head, link->NodeName, link->NameHead);
    if (order == 0)
        return false;
    bool inserted = order < 0 ? InsertAt(link->Left, name, head, key, copyName)
                              : InsertAt(link->Right, name, head, key, copyName);
    Skew(link);
    Split(link);
    return inserted;
}

namespace {

template <class Unit>
int32_t find_in(const TQvBalNode* node, const TQvBalNode* bottom, std::basic_string_view<Unit> name)
{
    const uint64_t head = name_head(name);
    while (node != bottom) {
        if (head != node->NameHead) {
            node = head < node->NameHead ? node->Left : node->Right;
            continue;
        }
        int order = compare_names(name, head, node->NodeName, node->NameHead);
        if (order == 0)
            return node->Key;
        node = order < 0 ? node->Left : node->Right;
    }
    return -1;
}

} // namespace

int32_t TQvBalTree::Find(std::u16string_view name) const { return find_in(root_, bottom_, name); }

int32_t TQvBalTree::FindAscii(std::string_view name) const { return find_in(root_, bottom_, name); }

void TQvBalTree::CopyShape(const TQvBalTree& model, std::span<const std::u16string_view> names)
{
    // A node's key is the position of its name, so the key names the copy of
    // each node; positions of repeated names get no node.
    auto* nodes = static_cast<TQvBalNode*>(Allocate(names.size() * sizeof(TQvBalNode), alignof(TQvBalNode)));
    auto copy_of = [this, nodes, &model](const TQvBalNode* node) {
        return node == model.bottom_ ? bottom_ : &nodes[node->Key];
    };
    // Depth first over the model; an AA tree of 2^31 names is under 64 levels deep.
    const TQvBalNode* stack[128];
    size_t depth = 0;
    if (model.root_ != model.bottom_)
        stack[depth++] = model.root_;
    while (depth > 0) {
        const TQvBalNode* node = stack[--depth];
        TQvBalNode* copy = new (&nodes[node->Key]) TQvBalNode;
        copy->Left = copy_of(node->Left);
        copy->Right = copy_of(node->Right);
        copy->Level = node->Level;
        copy->Key = node->Key;
        copy->NodeName = names[static_cast<size_t>(node->Key)];
        copy->NameHead = node->NameHead;
        if (node->Left != model.bottom_)
            stack[depth++] = node->Left;
        if (node->Right != model.bottom_)
            stack[depth++] = node->Right;
    }
    root_ = copy_of(model.root_);
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
    if (arena_)
        return arena_->Allocate(bytes, alignment);
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
