#pragma once
// Text between the libraries (UTF-8 std::string) and Qt (QString).

#include <QString>
#include <string>
#include <string_view>

namespace tolv::ui {

inline QString toQ(std::string_view text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }
inline std::string fromQ(const QString& text) { return text.toUtf8().toStdString(); }

}  // namespace tolv::ui
