#pragma once
// Finding entries of the index by what the user types: every word of the
// text must lie somewhere in the name the menu shows, without regard to case
// (`fold` maps a code unit to its case-folded form, as the platform's sort
// keys ignore case). Names that begin with the first word come first, then
// shallower before deeper, then the menus' order.

#include "search/SearchIndex.h"

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

namespace search {

struct Found {
    std::vector<std::uint32_t> entries;  // the best `limit` matches, in order
    std::size_t total = 0;               // every match
};

namespace detail {

template <class Char, class Fold>
std::vector<std::basic_string<Char>> FoldedWords(std::basic_string_view<Char> text, Fold fold) {
    std::vector<std::basic_string<Char>> words(1);
    for (const Char c : text) {
        if (c == static_cast<Char>(' ') || c == static_cast<Char>('\t')) {
            if (!words.back().empty()) words.emplace_back();
        } else {
            words.back() += fold(c);
        }
    }
    if (words.back().empty()) words.pop_back();
    return words;
}

struct Candidate {
    std::uint32_t entry;
    std::uint8_t depth;
    bool begins;
};

}  // namespace detail

template <class Char, class Fold>
Found Query(const SearchIndex<Char>& index, std::basic_string_view<Char> text, Fold fold, std::size_t limit) {
    using Text = std::basic_string<Char>;
    const std::vector<Text> words = detail::FoldedWords(text, fold);
    Found found;
    if (words.empty()) return found;
    std::vector<detail::Candidate> candidates;
    Text folded;
    index.ForEachEntry([&](std::uint32_t i) {
        const IndexEntry& entry = index.EntryAt(i);
        const std::basic_string_view<Char> name = index.DisplayNameOf(entry);
        folded.resize(name.size());
        std::transform(name.begin(), name.end(), folded.begin(), fold);
        const bool all =
            std::all_of(words.begin(), words.end(), [&](const Text& w) { return folded.find(w) != Text::npos; });
        if (all) candidates.push_back({i, entry.depth, folded.compare(0, words[0].size(), words[0]) == 0});
    });
    found.total = candidates.size();
    const auto before = [&](const detail::Candidate& a, const detail::Candidate& b) {
        if (a.begins != b.begins) return a.begins;
        if (a.depth != b.depth) return a.depth < b.depth;
        return index.MenuOrderBefore(a.entry, b.entry);
    };
    const auto end = candidates.begin() + static_cast<std::ptrdiff_t>(std::min(limit, candidates.size()));
    std::partial_sort(candidates.begin(), end, candidates.end(), before);
    for (auto c = candidates.begin(); c != end; ++c) found.entries.push_back(c->entry);
    return found;
}

}  // namespace search
