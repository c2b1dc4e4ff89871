#pragma once

#include "ClassDump.h"

#include <string>
#include <vector>

namespace quorvin::dump {

// One JSON object, classes in query order: text (uint64 values included) as strings, integers
// and doubles as numbers, null as null.
std::string jsonText(const std::vector<ClassAnswer>& answers);

// The same for a person: one block per class, one indented line per property.
std::string readableText(const std::vector<ClassAnswer>& answers);

} // namespace quorvin::dump
