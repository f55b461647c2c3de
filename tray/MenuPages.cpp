#include "tray/MenuPages.h"

#include "menubuilder/MenuPath.h"

#include <algorithm>
#include <string_view>
#include <utility>

namespace tray {
namespace {

const wchar_t kOpenFolderText[] = L"Open this folder";
const wchar_t kSearchText[] = L"Search...";
const wchar_t kRangeDash[] = L" \u2013 ";  // an en dash, drawn as wide text
const wchar_t kEmptyText[] = L"(empty)";
const wchar_t kNotAvailableText[] = L"(not available)";

Line EntryLine(const FolderReading& reading, const Entry& entry) {
    if (entry.group == listing::Group::kFolder) {
        return FolderLine(entry.name, reading.directory + entry.name + L'\\', reading.menuFolder + entry.name + L'\\',
                          entry.attributes);
    }
    Line line;
    line.kind = Line::Kind::kFile;
    line.text = std::wstring(listing::DisplayName(entry));
    line.path = (entry.group == listing::Group::kItem ? reading.menuFolder : reading.directory) + entry.name;
    line.attributes = entry.attributes;
    return line;
}

bool StartsWith(std::wstring_view text, wchar_t character) {
    return !text.empty() && menubuilder::FoldAsciiCase(text[0]) == menubuilder::FoldAsciiCase(character);
}

// How many code units two names share from their start, as a typed letter
// compares them.
size_t CommonStart(std::wstring_view a, std::wstring_view b) {
    size_t length = 0;
    while (length < a.size() && length < b.size() &&
           menubuilder::FoldAsciiCase(a[length]) == menubuilder::FoldAsciiCase(b[length]))
        ++length;
    return length;
}

bool IsHighSurrogate(wchar_t c) {
    return c >= 0xD800 && c <= 0xDBFF;
}

// The shortest start of `name` that `neighbour` does not begin with (the
// whole name when there is none), never cutting a character in two.
std::wstring_view DistinctStart(std::wstring_view name, std::wstring_view neighbour) {
    size_t length = std::min(CommonStart(name, neighbour) + 1, name.size());
    if (length < name.size() && IsHighSurrogate(name[length - 1])) ++length;
    return name.substr(0, length);
}

std::wstring_view NameAt(const FolderReading& reading, size_t index) {
    return index < reading.entries.size() ? listing::DisplayName(reading.entries[index]) : std::wstring_view();
}

// A range is named by its first and last names, each as far as it tells
// them from the names just outside the range.
Line RangeLine(const FolderReading& reading, size_t first, size_t end) {
    Line line;
    line.kind = Line::Kind::kRange;
    line.text = std::wstring(DistinctStart(NameAt(reading, first), first > 0 ? NameAt(reading, first - 1) : L""));
    line.text += kRangeDash;
    line.text += DistinctStart(NameAt(reading, end - 1), NameAt(reading, end));
    line.first = first;
    line.end = end;
    return line;
}

bool RangeHolds(const FolderReading& reading, const Line& range, wchar_t character) {
    for (size_t index = range.first; index < range.end; ++index) {
        if (StartsWith(NameAt(reading, index), character)) return true;
    }
    return false;
}

bool Answers(const Line& line, const FolderReading* reading, wchar_t character) {
    switch (line.kind) {
        case Line::Kind::kRange: return reading && RangeHolds(*reading, line, character);
        case Line::Kind::kSearch:
        case Line::Kind::kSeparator: return false;
        default: return StartsWith(line.text, character);
    }
}

std::uint64_t Power(std::uint64_t base, int exponent) {
    std::uint64_t result = 1;
    while (exponent-- > 0) result *= base;
    return result;
}

// The menu folder's items, which lead the listing, stay at the top of a
// folder's menu unless they fill more than a page themselves.
size_t ItemsOnTop(const std::vector<Entry>& entries) {
    const auto items = std::find_if(entries.begin(), entries.end(),
                                    [](const Entry& entry) { return entry.group != listing::Group::kItem; });
    const auto count = static_cast<size_t>(items - entries.begin());
    return count <= kPageSize ? count : 0;
}

}  // namespace

Line NoteLine(const wchar_t* text) {
    Line line;
    line.kind = Line::Kind::kNote;
    line.text = text;
    return line;
}

Line SeparatorLine() {
    Line line;
    line.kind = Line::Kind::kSeparator;
    return line;
}

Line OpenFolderLine(const std::wstring& directory) {
    Line line;
    line.kind = Line::Kind::kOpenFolder;
    line.text = kOpenFolderText;
    line.path = directory;
    line.attributes = listing::kAttributeDirectory;
    return line;
}

Line SearchLine(unsigned command) {
    Line line;
    line.kind = Line::Kind::kSearch;
    line.text = kSearchText;
    line.id = command;
    line.icon = kNoIcon;
    return line;
}

Line FolderLine(std::wstring text, std::wstring directory, std::wstring menuFolder, std::uint32_t attributes) {
    Line line;
    line.kind = Line::Kind::kFolder;
    line.text = std::move(text);
    line.path = std::move(directory);
    line.menuFolder = std::move(menuFolder);
    line.attributes = attributes | listing::kAttributeDirectory;
    return line;
}

bool OpensSubmenu(const Line& line) {
    return line.kind == Line::Kind::kFolder || line.kind == Line::Kind::kRange;
}

bool IsShellEntry(const Line& line) {
    return line.kind == Line::Kind::kFile || line.kind == Line::Kind::kFolder || line.kind == Line::Kind::kOpenFolder;
}

std::vector<Line> FolderLines(const std::shared_ptr<const FolderReading>& reading, bool listed) {
    std::vector<Line> lines;
    if (!listed) {
        lines.push_back(NoteLine(kNotAvailableText));
        return lines;
    }
    lines.push_back(OpenFolderLine(reading->directory));
    lines.push_back(SeparatorLine());
    if (reading->entries.empty()) lines.push_back(NoteLine(kEmptyText));
    const size_t items = ItemsOnTop(reading->entries);
    AppendEntries(*reading, 0, items, lines);
    AppendEntries(*reading, items, reading->entries.size(), lines);
    return lines;
}

// The fewest levels of menus that reach each entry within kPageSize per
// menu, and within those levels the shortest menus, as many ranges in each
// as entries in each range (the square root of the count for two levels,
// the cube root for three).
size_t RangeCount(size_t count) {
    int levels = 2;
    for (std::uint64_t reach = std::uint64_t{kPageSize} * kPageSize; reach < count; reach *= kPageSize) ++levels;
    size_t ranges = 2;
    while (Power(ranges, levels) < count) ++ranges;
    return ranges;
}

void AppendEntries(const FolderReading& reading, size_t first, size_t end, std::vector<Line>& lines) {
    const size_t count = end - first;
    if (count <= kPageSize) {
        for (size_t index = first; index < end; ++index) lines.push_back(EntryLine(reading, reading.entries[index]));
        return;
    }
    const size_t ranges = RangeCount(count);
    const auto start = [&](size_t range) { return first + static_cast<size_t>(std::uint64_t{count} * range / ranges); };
    for (size_t range = 0; range < ranges; ++range) lines.push_back(RangeLine(reading, start(range), start(range + 1)));
}

MenuCharAnswer AnswerMenuChar(const std::vector<Line>& lines, const FolderReading* reading, size_t highlighted,
                              wchar_t character) {
    std::vector<size_t> matches;
    for (size_t position = 0; position < lines.size(); ++position) {
        if (Answers(lines[position], reading, character)) matches.push_back(position);
    }
    if (matches.empty()) {
        const auto search =
            std::find_if(lines.begin(), lines.end(), [](const Line& line) { return line.kind == Line::Kind::kSearch; });
        if (search == lines.end() || !StartsWith(search->text, character)) return {};
        return {MenuCharAnswer::Action::kExecute, static_cast<size_t>(search - lines.begin())};
    }
    if (matches.size() == 1) return {MenuCharAnswer::Action::kExecute, matches.front()};
    const auto next = std::upper_bound(matches.begin(), matches.end(), highlighted);
    return {MenuCharAnswer::Action::kSelect, next == matches.end() ? matches.front() : *next};
}

// Vista and later draw alpha bitmaps in themed menus; XP does not blend
// their alpha, and 95 and NT 4.0 have no bitmaps in items at all.
MenuLook MenuLookFor(unsigned major, unsigned minor, bool nt) {
    if (nt && major >= 6) return MenuLook::kThemed;
    if (nt ? major >= 5 : major > 4 || (major == 4 && minor >= 10)) return MenuLook::kBitmapCallback;
    return MenuLook::kOwnerDrawn;
}

}  // namespace tray
