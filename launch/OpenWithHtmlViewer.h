#pragma once
// Opening a document (a path or a URL) with the program the class registry
// names for HTML files.

#include <string>

namespace launch {

// Looks the ".htm" open command up afresh, puts the document into it and
// starts it without waiting. An empty document starts nothing; failures are
// silent. Shows the wait cursor meanwhile.
void OpenWithHtmlViewer(const std::string& document);

}  // namespace launch
