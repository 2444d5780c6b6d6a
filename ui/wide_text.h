#pragma once
// Text is UTF-16 in Qt and UTF-8 everywhere else.

#include <QString>

#include <string_view>

namespace kvorn {

inline QString Widen(std::string_view text) { return QString::fromUtf8(text.data(), qsizetype(text.size())); }

}  // namespace kvorn
