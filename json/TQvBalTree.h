#pragma once

#include "json/TQvBalNode.h"

#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

// The member-name index of one object: an AA tree over names, ordered code
// unit by code unit, whose leaves all point at one sentinel node.
class TQvBalTree {
public:
    TQvBalTree();
    ~TQvBalTree() = default;
    TQvBalTree(const TQvBalTree&) = delete;
    TQvBalTree& operator=(const TQvBalTree&) = delete;

    // Adds the name with its key; a name already present is left alone (false).
    bool Insert(std::u16string_view name, int32_t key);
    // The key of the name, or -1.
    int32_t Find(std::u16string_view name) const;
    // Drops every node but the sentinel.
    void Clear();

    TQvBalNode* Root() const { return root_; }
    TQvBalNode* Bottom() const { return bottom_; }

    // The two rebalancing rotations, applied to the node a link holds.
    void Skew(TQvBalNode*& t) const;
    void Split(TQvBalNode*& t) const;

private:
    bool InsertAt(TQvBalNode*& link, std::u16string_view name, int32_t key);

    // Room for a node and its name's units, taken from the current block.
    void* Allocate(size_t bytes, size_t alignment);

    // Nodes and their names live in blocks owned by the tree: a few
    // allocations per object instead of two per member.
    std::unique_ptr<std::byte[]> firstBlock_;
    std::vector<std::unique_ptr<std::byte[]>> moreBlocks_;
    std::byte* free_ = nullptr;
    size_t left_ = 0;
    TQvBalNode sentinel_;
    TQvBalNode* bottom_;
    TQvBalNode* root_;
    // The spot node removal would use; nothing removes nodes.
    TQvBalNode* deleted_;
};
