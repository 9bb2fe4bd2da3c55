#pragma once
// The committed fixture files of the customer archive.
#include <QByteArray>
#include <QFile>
#include <QString>

namespace orv::test {

inline QByteArray fixture(const char* name)
{
    QFile f(QStringLiteral(ORV_FIXTURES "/archive/") + QString::fromLatin1(name));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace orv::test
