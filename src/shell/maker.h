#pragma once
// The maker's addresses shown by the main menu, the information and the splash windows.
#include <QString>

namespace orv::shell {

inline const QString kMakerName = QStringLiteral("Dorvane Software");
inline const QString kMakerWeb = QStringLiteral("www.dorvanesoftware.it");
inline const QString kMakerMail = QStringLiteral("info@dorvanesoftware.it");

} // namespace orv::shell
