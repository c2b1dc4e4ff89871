#pragma once

namespace quorvin::windows {

// Joins the calling thread to a single-threaded COM apartment for its lifetime. Every COM object
// made on the thread must be released before the apartment is left. Throws WmiError when the
// thread already runs a multithreaded apartment or COM cannot start.
class ComApartment {
public:
    ComApartment();
    ~ComApartment();
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;
};

} // namespace quorvin::windows
