// The plan for removing a deleted subtree's images at once, checked against
// the one-at-a-time removal it replaces: each image taken out of the list on
// its own, each removal followed by a renumbering walk over the whole tree.
// Both ways the plan empties the list (moves and a cut, or removals highest
// first) end there.

#include "tree/ImageRemoval.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

namespace {

using tree::ImageRemoval;

// Placeholders (0) and failed icons (-1) own nothing; an item whose two
// images are one gives back one.
TEST(ImageRemoval, ReleasesOnlyImagesItemsOwn) {
    ImageRemoval removal(10);
    removal.ReleaseItem(0, 0);
    removal.ReleaseItem(-1, -1);
    removal.ReleaseItem(10, 12);
    EXPECT_EQ(removal.RemovedCount(), 0);
    EXPECT_TRUE(removal.KeepsIndexes());

    removal.ReleaseItem(-1, 7);
    removal.ReleaseItem(3, 3);
    EXPECT_EQ(removal.RemovedCount(), 2);
    const tree::ImageIndexMap newIndex = removal.NewIndexes();
    EXPECT_EQ(newIndex(-1), -1);
    EXPECT_EQ(newIndex(2), 2);
    EXPECT_EQ(newIndex(4), 3);
    EXPECT_EQ(newIndex(9), 7);
    EXPECT_EQ(newIndex(12), 10);
}

// A tree of items as the directory tree builds it, with its image list as
// the identities of the images at each index.
struct Item {
    int image = 0;
    int selectedImage = 0;
    int imageId = -1;  // which image the item was given, -1 for none
    int selectedId = -1;
    std::vector<int> children;
};

struct Model {
    std::vector<Item> items;
    std::vector<int> list;
    int nextId = 0;

    int Append() {
        list.push_back(nextId++);
        return static_cast<int>(list.size()) - 1;
    }
    int AddPlaceholder(int parent) {
        items.emplace_back();
        const int placeholder = static_cast<int>(items.size()) - 1;
        items[static_cast<size_t>(parent)].children.push_back(placeholder);
        return placeholder;
    }
    // An item with its icons appended (either may fail) and its placeholder.
    void AddItem(int parent, bool imageFails, bool selectedFails) {
        Item item;
        item.image = imageFails ? -1 : Append();
        item.imageId = imageFails ? -1 : list.back();
        item.selectedImage = selectedFails ? -1 : Append();
        item.selectedId = selectedFails ? -1 : list.back();
        items.push_back(item);
        const int added = static_cast<int>(items.size()) - 1;
        items[static_cast<size_t>(parent)].children.push_back(added);
        AddPlaceholder(added);
    }
    Item& At(int index) { return items[static_cast<size_t>(index)]; }
};

// The one-at-a-time procedure: every child deleted depth first, each of its
// images removed on its own and followed by a walk over the whole tree.
class OneAtATime {
public:
    explicit OneAtATime(Model& model) : m_model(model) {}

    void DeleteChildren(int item) {
        while (!m_model.At(item).children.empty()) {
            const int child = m_model.At(item).children.front();
            DeleteChildren(child);
            RemoveItemIcons(child);
            auto& children = m_model.At(item).children;
            children.erase(children.begin());
        }
    }

private:
    void RemoveItemIcons(int item) {
        const int image = m_model.At(item).image;
        const int selected = m_model.At(item).selectedImage;
        if (selected > 0 && selected != image) Remove(selected);
        if (image > 0) Remove(image);
    }
    void Remove(int index) {
        m_model.list.erase(m_model.list.begin() + index);
        Shift(0, index);
    }
    void Shift(int start, int removed) {
        for (int child : m_model.At(start).children) {
            Item& item = m_model.At(child);
            if (item.image > removed) --item.image;
            if (item.selectedImage > removed) --item.selectedImage;
            Shift(child, removed);
        }
    }

    Model& m_model;
};

// How the released images leave the list: closed up by the moves and cut, or
// (common controls 4.00) removed one at a time, highest first.
enum class ListRemoval { Moves, OneByOne };

void RemoveFromList(std::vector<int>& list, const ImageRemoval& removal, ListRemoval how) {
    if (how == ListRemoval::OneByOne) {
        for (const int index : removal.ReleasedHighestFirst()) list.erase(list.begin() + index);
        return;
    }
    for (const tree::ImageMove& move : removal.Moves()) {
        list[static_cast<size_t>(move.to)] = list[static_cast<size_t>(move.from)];
    }
    list.resize(static_cast<size_t>(removal.RemainingCount()));
}

// The planned removal: every image of the subtree released, the list closed
// up, every remaining item renumbered in one walk. True when items were
// renumbered.
bool DeleteChildrenAtOnce(Model& model, int item, ListRemoval how) {
    ImageRemoval removal(static_cast<int>(model.list.size()));
    std::vector<int> pending = model.At(item).children;
    while (!pending.empty()) {
        const int next = pending.back();
        pending.pop_back();
        removal.ReleaseItem(model.At(next).image, model.At(next).selectedImage);
        pending.insert(pending.end(), model.At(next).children.begin(), model.At(next).children.end());
    }
    model.At(item).children.clear();
    RemoveFromList(model.list, removal, how);
    if (removal.KeepsIndexes()) return false;
    const tree::ImageIndexMap newIndex = removal.NewIndexes();
    for (Item& kept : model.items) {
        kept.image = newIndex(kept.image);
        kept.selectedImage = newIndex(kept.selectedImage);
    }
    return true;
}

void ExpectSameTree(Model& planned, Model& reference, int item) {
    for (size_t i = 0; i < reference.At(item).children.size(); ++i) {
        const int child = reference.At(item).children[i];
        ASSERT_EQ(planned.At(item).children.at(i), child);
        const Item& mine = planned.At(child);
        const Item& theirs = reference.At(child);
        EXPECT_EQ(mine.image, theirs.image) << "item " << child;
        EXPECT_EQ(mine.selectedImage, theirs.selectedImage) << "item " << child;
        // And the item still shows its own images.
        if (mine.imageId >= 0) EXPECT_EQ(planned.list.at(static_cast<size_t>(mine.image)), mine.imageId);
        if (mine.selectedId >= 0) EXPECT_EQ(planned.list.at(static_cast<size_t>(mine.selectedImage)), mine.selectedId);
        ExpectSameTree(planned, reference, child);
    }
}

// "My Computer" and every item below it.
std::vector<int> Reachable(Model& model) {
    std::vector<int> found;
    std::vector<int> pending{0};
    while (!pending.empty()) {
        const int next = pending.back();
        pending.pop_back();
        found.push_back(next);
        pending.insert(pending.end(), model.At(next).children.begin(), model.At(next).children.end());
    }
    return found;
}

TEST(ImageRemoval, EndsWhereRemovingImagesOneAtATimeEnds) {
    constexpr int kDrives = 3;
    std::mt19937 random(20240611);
    Model model;
    model.Append();  // two blanks, then "My Computer"
    model.Append();
    Item myComputer;
    myComputer.image = myComputer.selectedImage = model.Append();
    model.items.push_back(myComputer);
    for (int drive = 0; drive < kDrives; ++drive) model.AddItem(0, false, false);

    int collapses = 0;
    int renumbered = 0;
    for (int step = 0; step < 1500; ++step) {
        const std::vector<int> items = Reachable(model);
        const int item = items[std::uniform_int_distribution<size_t>(0, items.size() - 1)(random)];
        const std::vector<int>& children = model.At(item).children;
        if (children.empty()) continue;
        const Item& first = model.At(children[0]);
        if (first.image == 0 && first.children.empty()) {
            // Collapsed: its placeholder gives way to the entries of a new level.
            DeleteChildrenAtOnce(model, item, ListRemoval::Moves);
            const int count = std::uniform_int_distribution<int>(0, 6)(random);
            for (int i = 0; i < count; ++i) {
                const int failure = std::uniform_int_distribution<int>(0, 9)(random);
                model.AddItem(item, failure == 0, failure == 1);
            }
            continue;
        }
        Model reference = model;
        OneAtATime(reference).DeleteChildren(item);
        Model oneByOne = model;
        DeleteChildrenAtOnce(oneByOne, item, ListRemoval::OneByOne);
        if (DeleteChildrenAtOnce(model, item, ListRemoval::Moves)) ++renumbered;
        ASSERT_EQ(model.list, reference.list) << "step " << step;
        ExpectSameTree(model, reference, 0);
        ASSERT_EQ(oneByOne.list, reference.list) << "step " << step << ", one by one";
        ExpectSameTree(oneByOne, reference, 0);
        ++collapses;
        if (item == 0) {
            for (int drive = 0; drive < kDrives; ++drive) model.AddItem(0, false, false);
        } else {
            model.AddPlaceholder(item);
        }
    }
    EXPECT_GT(collapses, 100);
    EXPECT_GT(renumbered, 30);
}

}  // namespace
