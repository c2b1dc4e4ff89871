#pragma once

#include <QString>

#include <string>

namespace quorvin::qt {

// The core keeps its texts as UTF-8; Qt keeps them as UTF-16.
inline QString toQString(const std::string& text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

inline std::string toUtf8(const QString& text) {
    const QByteArray bytes = text.toUtf8();
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

// A tooltip that shows the text as it stands: Qt would take a text that looks like markup for
// rich text, so it is escaped, and its blanks are kept.
inline QString plainToolTip(const QString& text) {
    return QStringLiteral("<p style=\"white-space:pre\">") + text.toHtmlEscaped() +
           QStringLiteral("</p>");
}

} // namespace quorvin::qt
