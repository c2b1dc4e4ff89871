#pragma once

#include <algorithm>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace quorvin::snapshot {

// Which of a backend's sources answered each class ("SMBIOS tables", "/proc"), so support staff
// can tell a value the machine lacks from a source that could not be read.
class SourceNotes {
public:
    // Adds the source to the class's list unless it is there already.
    void note(std::string_view className, std::string_view source) {
        auto entry = std::find_if(notes_.begin(), notes_.end(),
                                  [&](const auto& n) { return n.first == className; });
        if (entry == notes_.end())
            entry = notes_.insert(notes_.end(), {std::string(className), {}});
        if (std::find(entry->second.begin(), entry->second.end(), source) == entry->second.end())
            entry->second.emplace_back(source);
    }

    // In the order they were noted; empty when none answered.
    std::vector<std::string> sourcesOf(std::string_view className) const {
        for (const auto& [name, sources] : notes_)
            if (name == className)
                return sources;
        return {};
    }

private:
    std::vector<std::pair<std::string, std::vector<std::string>>> notes_;
};

} // namespace quorvin::snapshot
