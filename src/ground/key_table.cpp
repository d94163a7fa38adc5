#include "ground/key_table.h"

#include <algorithm>

namespace tipora {

std::optional<KeyDef> findKey(int code) {
    const auto* it = std::find_if(kKeyTable.begin(), kKeyTable.end(),
                                  [code](const KeyDef& key) { return key.code == code; });
    if (it == kKeyTable.end()) {
        return std::nullopt;
    }
    return *it;
}

} // namespace tipora
