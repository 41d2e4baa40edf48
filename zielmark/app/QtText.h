// Texts between the core (UTF-8 std::string) and the widgets (QString).
#pragma once
#include <QString>

#include <string>

inline QString Q(const std::string& text) {
    return QString::fromStdString(text);
}
inline std::string S(const QString& text) {
    return text.toStdString();
}
