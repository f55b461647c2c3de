#pragma once
// What deleting a group of tree items does to the image list their icons live
// in. Removing one image from a list moves every later image down by one
// index, so removing the images one at a time, each removal followed by a
// renumbering walk over the whole tree, costs a walk and a move of the list's
// tail per image. This plans the same end state at once: the released images
// leave the list, the kept ones close up in their order, and every index an
// item may hold maps to where the one-at-a-time removal would leave it.

#include <cstddef>
#include <utility>
#include <vector>

namespace tree {

struct ImageMove {
    int from;
    int to;
};

// Old image index to new image index.
class ImageIndexMap {
public:
    ImageIndexMap(std::vector<int> newIndexes, int removedCount)
        : m_newIndexes(std::move(newIndexes)), m_removedCount(removedCount) {}

    // Indexes of 0 and below own nothing and stay; an index beyond the list
    // moves down by every removed image.
    int operator()(int oldIndex) const {
        if (oldIndex <= 0) return oldIndex;
        if (static_cast<std::size_t>(oldIndex) >= m_newIndexes.size()) return oldIndex - m_removedCount;
        return m_newIndexes[static_cast<std::size_t>(oldIndex)];
    }

private:
    std::vector<int> m_newIndexes;
    int m_removedCount;
};

class ImageRemoval {
public:
    explicit ImageRemoval(int imageCount);

    // Releases the images of one deleted item: its selected image when above
    // 0 and different from its image, and its image when above 0. An index
    // outside the list owns nothing.
    void ReleaseItem(int image, int selectedImage);

    int RemovedCount() const { return m_removedCount; }
    int RemainingCount() const { return m_imageCount - m_removedCount; }

    // True when no kept image changes its index (the released images were the
    // last ones of the list), so that no item needs renumbering.
    bool KeepsIndexes() const { return m_removedCount == 0 || m_lowestRemoved >= RemainingCount(); }

    // The copies within the list that close the gaps, lowest first: each
    // copy's target is free, or was copied away before.
    std::vector<ImageMove> Moves() const;

    // The released images, highest first: removed one at a time in this
    // order, each removal leaves the indexes of those still to go unchanged,
    // and the list ends as the moves and the cut leave it.
    std::vector<int> ReleasedHighestFirst() const;

    // Where every index lands: down by one for each released image below it.
    ImageIndexMap NewIndexes() const;

private:
    void Release(int index);

    int m_imageCount;
    int m_removedCount = 0;
    int m_lowestRemoved;
    std::vector<bool> m_removed;
};

}  // namespace tree
