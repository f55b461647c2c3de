// Fuzzes the reader of the extension's item IDs, which any program may hand
// it: any bytes of any length are read within their size, and an item it
// takes names one plain directory entry and writes back as the same bytes.

#include "shellext/ItemLayout.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace {

bool IsPlainUnit(char16_t unit) {
    return unit >= 0x20 && std::u16string_view(u"\\/:*?\"<>|").find(unit) == std::u16string_view::npos;
}

void CheckPlainName(const std::u16string& name) {
    // A trailing dot or blank would be stripped by the platform; that covers "." and "..".
    if (name.empty() || name.size() > shellext::kLongestItemName || name.back() == u'.' || name.back() == u' ') {
        std::abort();
    }
    for (const char16_t unit : name) {
        if (!IsPlainUnit(unit)) std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // A block of exactly `size` bytes: a read past it is an error the sanitizer reports.
    const std::vector<unsigned char> item(data, data + size);
    const std::optional<shellext::ItemFields> fields = shellext::ReadItem(item.data(), item.size());
    if (!fields) return 0;
    if (shellext::ItemSize(fields->nameLength) != size) std::abort();
    std::u16string name(fields->nameLength, u'\0');
    std::memcpy(name.data(), item.data() + shellext::kItemNameAt, name.size() * sizeof(char16_t));
    CheckPlainName(name);

    // Written again, the same bytes but for the size field, which the caller reads.
    std::vector<unsigned char> written(size);
    shellext::WriteItem(*fields, name.data(), written.data());
    if (std::memcmp(written.data() + 2, item.data() + 2, size - 2) != 0) std::abort();
    return 0;
}
