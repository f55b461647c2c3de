#include "tree/ImageRemoval.h"

namespace tree {

ImageRemoval::ImageRemoval(int imageCount)
    : m_imageCount(imageCount > 0 ? imageCount : 0),
      m_lowestRemoved(m_imageCount),
      m_removed(static_cast<std::size_t>(m_imageCount), false) {}

void ImageRemoval::ReleaseItem(int image, int selectedImage) {
    if (selectedImage != image) Release(selectedImage);
    Release(image);
}

void ImageRemoval::Release(int index) {
    if (index <= 0 || index >= m_imageCount) return;
    const auto slot = static_cast<std::size_t>(index);
    if (m_removed[slot]) return;
    m_removed[slot] = true;
    ++m_removedCount;
    if (index < m_lowestRemoved) m_lowestRemoved = index;
}

std::vector<ImageMove> ImageRemoval::Moves() const {
    std::vector<ImageMove> moves;
    if (KeepsIndexes()) return moves;
    int target = m_lowestRemoved;
    for (int index = m_lowestRemoved + 1; index < m_imageCount; ++index) {
        if (!m_removed[static_cast<std::size_t>(index)]) moves.push_back({index, target++});
    }
    return moves;
}

std::vector<int> ImageRemoval::ReleasedHighestFirst() const {
    std::vector<int> released;
    for (int index = m_imageCount - 1; index >= m_lowestRemoved; --index) {
        if (m_removed[static_cast<std::size_t>(index)]) released.push_back(index);
    }
    return released;
}

ImageIndexMap ImageRemoval::NewIndexes() const {
    std::vector<int> newIndexes(static_cast<std::size_t>(m_imageCount));
    int removedBelow = 0;
    for (int index = 0; index < m_imageCount; ++index) {
        newIndexes[static_cast<std::size_t>(index)] = index - removedBelow;
        if (m_removed[static_cast<std::size_t>(index)]) ++removedBelow;
    }
    return ImageIndexMap(std::move(newIndexes), m_removedCount);
}

}  // namespace tree
