#pragma once

// Text between Qt and the core: the panel holds the game's 8-bit code page,
// dialogs and paths hold UTF-8.

#include <QString>
#include <string>

#include "platform/text_codec.h"

namespace quorvik::qt {

inline QString fromAnsi(const platform::CodePage& codePage, const std::string& bytes) {
    return QString::fromStdU16String(codePage.decode(bytes));
}

inline std::string toAnsi(const platform::CodePage& codePage, const QString& text) {
    return codePage.encode(text.toStdU16String());
}

inline QString fromUtf8(const std::string& text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

inline std::string toUtf8(const QString& text) {
    const QByteArray bytes = text.toUtf8();
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

}  // namespace quorvik::qt
