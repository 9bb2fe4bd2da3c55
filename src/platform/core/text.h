#pragma once
// Text rules the program applies everywhere in place of Qt's Unicode-aware ones:
// trimming removes code points <= 32 only, and case folding touches a-z / A-Z only.
#include <QString>

namespace orv::platform {

QString trimmed(const QString& s);
QString trimmedLeft(const QString& s);
QString trimmedRight(const QString& s);

// Upper-/lower-cases the ASCII letters only; accented letters stay as they are.
QString upperAZ(const QString& s);
QString lowerAZ(const QString& s);

inline QChar upperAZ(QChar c) { return (c >= u'a' && c <= u'z') ? QChar(c.unicode() - 32) : c; }
inline QChar lowerAZ(QChar c) { return (c >= u'A' && c <= u'Z') ? QChar(c.unicode() + 32) : c; }

// Comparison by UTF-16 code units after folding A-Z: <0, 0, >0.
int compareTextAZ(const QString& a, const QString& b);
inline bool sameTextAZ(const QString& a, const QString& b) { return compareTextAZ(a, b) == 0; }
// True when needle occurs in hay, ignoring the case of A-Z only. An empty needle occurs.
bool containsAZ(const QString& hay, const QString& needle);
// Where needle first occurs in hay, ignoring the case of A-Z only; -1 when it does not
// (0 for an empty needle). Nothing is copied: memos look for their macros on every page.
qsizetype indexOfAZ(QStringView hay, QStringView needle);

} // namespace orv::platform
