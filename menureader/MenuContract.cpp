#include "menureader/MenuContract.h"

#include "menubuilder/MenuPath.h"

namespace menureader {
namespace {

// The class identifier a marker names, or a note that it names none.
std::string NamedClassId(const std::string& bytes) {
    constexpr std::string_view kClsidLine = "CLSID=";
    const std::size_t start = bytes.find(kClsidLine);
    if (start == std::string::npos) return "no identifier";
    const std::size_t end = bytes.find_first_of("\r\n", start);
    return bytes.substr(start + kClsidLine.size(), end == std::string::npos ? end : end - start - kClsidLine.size());
}

}  // namespace

std::string MarkerProblem(const MarkerFacts& facts, int depth) {
    if (!facts.folderIsSystem) return "folder lacks the System attribute";
    if (!facts.markerExists) return "no desktop.ini";
    if (!facts.markerIsHidden) return "desktop.ini is not hidden";
    const char* wanted = menubuilder::ClassIdForDepth(depth);
    if (facts.markerBytes == menubuilder::DesktopIniText(wanted)) return std::string();
    const std::string named = NamedClassId(facts.markerBytes);
    if (named != wanted) return "desktop.ini names " + named + " where " + wanted + " belongs";
    return "desktop.ini is not the 65-byte marker (" + std::to_string(facts.markerBytes.size()) + " bytes)";
}

}  // namespace menureader
