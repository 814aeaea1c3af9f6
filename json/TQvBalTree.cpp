#include "json/TQvBalTree.h"

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
        TQvBalNode& node = nodes_.emplace_back();
        node.Left = bottom_;
        node.Right = bottom_;
        node.Level = 1;
        node.Key = key;
        node.NodeName = name;
        link = &node;
        return true;
    }
    int order = name.compare(link->NodeName);
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
        int order = name.compare(node->NodeName);
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

void TQvBalTree::Clear()
{
    nodes_.clear();
    root_ = bottom_;
    deleted_ = bottom_;
}
