#pragma once

#include <optional>

namespace tipora {

// A shared setting that may never have been assigned. Unassigned it reads as 0, so a test for
// 1 fails on it; the settings dialog still needs to tell "never read" from a real 0.
class SharedValue {
public:
    SharedValue() = default;
    explicit SharedValue(int value) : value_(value) {}

    SharedValue& operator=(int value) {
        value_ = value;
        return *this;
    }

    bool isSet() const { return value_.has_value(); }
    int value() const { return value_.value_or(0); }
    void reset() { value_.reset(); }

    friend bool operator==(const SharedValue& a, int b) { return a.value() == b; }

private:
    std::optional<int> value_;
};

} // namespace tipora
