#pragma once

#include "json/TQvBalNode.h"

#include <cstdint>
#include <memory>
#include <span>
#include <string_view>
#include <vector>

// The member-name index of one object: an AA tree over names, ordered code
// unit by code unit, whose leaves all point at one sentinel node.
class DocumentArena;

class TQvBalTree {
public:
    // Nodes come from the document's arena when given one, else from blocks
    // of the tree's own.
    explicit TQvBalTree(DocumentArena* arena = nullptr);
    ~TQvBalTree() = default;
    TQvBalTree(const TQvBalTree&) = delete;
    TQvBalTree& operator=(const TQvBalTree&) = delete;

    // Adds the name with its key; a name already present is left alone (false).
    bool Insert(std::u16string_view name, int32_t key);
    // The same for a name whose units outlive the tree (a pair's name in the
    // same document): the node refers to them instead of copying them.
    bool InsertLasting(std::u16string_view name, int32_t key);
    // The key of the name, or -1.
    int32_t Find(std::u16string_view name) const;
    // The same for a name of ASCII bytes, as its wide form would be found.
    int32_t FindAscii(std::string_view name) const;
    // Makes an empty tree what inserting `names` in order (each with its
    // position as key, names lasting as for InsertLasting) would make, given
    // `model`, a tree that holds exactly the same names inserted in the same
    // order: the same shape, without comparing names.
    void CopyShape(const TQvBalTree& model, std::span<const std::u16string_view> names);
    // Drops every node but the sentinel.
    void Clear();

    TQvBalNode* Root() const { return root_; }
    TQvBalNode* Bottom() const { return bottom_; }

    // The two rebalancing rotations, applied to the node a link holds.
    void Skew(TQvBalNode*& t) const;
    void Split(TQvBalNode*& t) const;

private:
    bool InsertAt(TQvBalNode*& link, std::u16string_view name, uint64_t head, int32_t key, bool copyName);

    // Room for a node and its name's units, taken from the current block.
    void* Allocate(size_t bytes, size_t alignment);

    // Nodes and their names live in blocks owned by the tree: a few
    // allocations per object instead of two per member.
    DocumentArena* arena_;
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
