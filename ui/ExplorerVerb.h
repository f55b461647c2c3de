#pragma once
// The Explorer verb "Add to RootCaster!" on directories, in the program's own
// classes (settings::OwnClasses).

namespace ui {

// Installs the verb (non-zero flag) or removes it with everything below its
// key (zero), together with a verb that an earlier version left in the
// machine's classes where the rights allow. Reports nothing.
void UpdateExplorerVerb(int install);

}  // namespace ui
