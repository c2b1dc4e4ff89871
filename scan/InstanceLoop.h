#pragma once

#include "WmiSession.h"

#include <string_view>

namespace quorvin {

// Runs the query on the session and visits every instance in the order delivered, leaving each
// in session.scanItem while it is visited (and the last one there afterwards).
template <typename Visit>
void forEachInstance(WmiSession& session, std::string_view wql, Visit&& visit) {
    session.scanItems = session.scanService->execQuery(wql);
    while (auto item = session.scanItems->next()) {
        session.scanItem = std::move(item);
        visit(static_cast<const wmi::WmiObject&>(*session.scanItem));
    }
}

} // namespace quorvin
