// Texts from the program's string table.
#pragma once

#include <string>

namespace zelvo {

// Loads a string-table text by its identifier; throws when it is missing.
std::string LoadStr(unsigned id);

}  // namespace zelvo
