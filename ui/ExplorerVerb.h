#pragma once
// The Explorer verb "Add to RootCaster!" on directories.

namespace ui {

// Installs the verb (non-zero flag) or removes it with everything below its
// key (zero). Reports nothing.
void UpdateExplorerVerb(int install);

}  // namespace ui
