#include "menubuilder/AddDirectory.h"

namespace menubuilder {

// Not built yet: adds nothing.
void AddDirectory(std::string&) {}

}  // namespace menubuilder
