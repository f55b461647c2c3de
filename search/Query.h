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
#include <string_view>
#include <tuple>
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

// A match's place in the results, compared as a whole: whether it fails to
// begin with the first word, its depth, its folder's place in the menus, and
// the entry itself, which its folder's block holds in the menus' order.
using Rank = std::tuple<bool, std::uint8_t, std::uint32_t, std::uint32_t>;

}  // namespace detail

// Searches one index as the user types. Typing on only narrows what the text
// before found, so each further keystroke looks at those matches alone, as
// long as the index stays as it was.
template <class Char>
class Search {
public:
    using Text = std::basic_string<Char>;
    using View = std::basic_string_view<Char>;

    template <class Fold>
    Found Find(const SearchIndex<Char>& index, View text, Fold fold, std::size_t limit) {
        const std::vector<Text> words = detail::FoldedWords(text, fold);
        Found found;
        if (words.empty()) {
            m_text.clear();
            return found;
        }
        if (index.Version() != m_version) {
            m_ranks = index.MenuOrderRanks();
            m_text.clear();
        }
        // The matches are gathered where the last ones lay: a first keystroke
        // finds tens of thousands, and memory that large would otherwise be
        // given back to the system and faulted in again at every keystroke.
        const auto fails = [&](std::uint32_t entry) { return !Matches(index, entry, words, fold); };
        if (Narrows(text)) {
            m_matches.erase(std::remove_if(m_matches.begin(), m_matches.end(), fails), m_matches.end());
        } else {
            m_matches.clear();
            index.ForEachEntry([&](std::uint32_t entry) {
                if (!fails(entry)) m_matches.push_back(entry);
            });
        }
        m_text = Text(text);
        m_version = index.Version();
        found.total = m_matches.size();
        found.entries = Best(index, words.front(), fold, limit);
        return found;
    }

private:
    // Whether `text` can only find what the last text found: it types on,
    // and every word of the last text stays within a word of it.
    bool Narrows(View text) const {
        return !m_text.empty() && text.size() >= m_text.size() && text.compare(0, m_text.size(), m_text) == 0;
    }

    // Folds the name as it reads it: most names fail at the first word, and
    // a folded copy of each would cost more than the search.
    template <class Fold>
    static bool Matches(const SearchIndex<Char>& index, std::uint32_t entry, const std::vector<Text>& words,
                        Fold fold) {
        const View name = index.DisplayNameOf(index.EntryAt(entry));
        const auto same = [&](Char c, Char folded) { return fold(c) == folded; };
        return std::all_of(words.begin(), words.end(), [&](const Text& word) {
            return std::search(name.begin(), name.end(), word.begin(), word.end(), same) != name.end();
        });
    }

    // The best `limit` matches, kept in a heap whose top is the worst of
    // them: most matches lose against it at once.
    template <class Fold>
    std::vector<std::uint32_t> Best(const SearchIndex<Char>& index, const Text& first, Fold fold, std::size_t limit) {
        std::vector<detail::Rank> best;
        best.reserve(std::min(limit, m_matches.size()));
        for (const std::uint32_t entry : m_matches) {
            const IndexEntry& record = index.EntryAt(entry);
            const View name = index.DisplayNameOf(record);
            const bool begins = name.size() >= first.size() && std::equal(first.begin(), first.end(), name.begin(),
                                                                          [&](Char w, Char c) { return w == fold(c); });
            const detail::Rank rank(!begins, record.depth, m_ranks[record.folder], entry);
            if (best.size() < limit) {
                best.push_back(rank);
                std::push_heap(best.begin(), best.end());
            } else if (!best.empty() && rank < best.front()) {
                std::pop_heap(best.begin(), best.end());
                best.back() = rank;
                std::push_heap(best.begin(), best.end());
            }
        }
        std::sort_heap(best.begin(), best.end());
        std::vector<std::uint32_t> entries;
        entries.reserve(best.size());
        for (const detail::Rank& rank : best) entries.push_back(std::get<3>(rank));
        return entries;
    }

    static constexpr std::uint64_t kNoVersion = ~std::uint64_t{0};

    // The last text with words, what it found in the index of m_version,
    // and that index's MenuOrderRanks.
    Text m_text;
    std::vector<std::uint32_t> m_matches;
    std::uint64_t m_version = kNoVersion;
    std::vector<std::uint32_t> m_ranks;
};

}  // namespace search
