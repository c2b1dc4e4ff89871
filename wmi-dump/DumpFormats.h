#pragma once

#include "ClassDump.h"
#include "platform/snapshot/Snapshot.h"

#include <string>

namespace quorvin::dump {

// One JSON object, classes in query order: text (uint64 values included) as strings, integers
// and doubles as numbers, null as null.
std::string jsonText(const snapshot::Snapshot& answers);

// The same for a person: one block per class, one indented line per property; with notes, the
// heading of each class says which sources answered it, or that none did.
std::string readableText(const snapshot::Snapshot& answers,
                         const snapshot::SourceNotes* sources = nullptr);

} // namespace quorvin::dump
