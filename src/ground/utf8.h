#pragma once

#include <QString>
#include <string_view>

namespace tipora {

// The tables are written as UTF-8 literals; this makes a caption of one of them a QString.
inline QString fromUtf8(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace tipora
