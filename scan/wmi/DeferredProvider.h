#pragma once

#include "Wmi.h"

#include <functional>
#include <memory>

namespace quorvin::wmi {

// A provider that makes the real one at the first bind: nothing of the machine is read, nor a
// recording loaded, before the scan opens its session (so not before the disclaimer is accepted).
class DeferredProvider : public WmiProvider {
public:
    using Make = std::function<std::unique_ptr<WmiProvider>()>;

    explicit DeferredProvider(Make make)
        : make_(std::move(make)) {}

    std::unique_ptr<WmiService> bind(std::string_view objectPath) override {
        if (!inner_)
            inner_ = make_();
        return inner_->bind(objectPath);
    }

private:
    Make make_;
    std::unique_ptr<WmiProvider> inner_;
};

} // namespace quorvin::wmi
