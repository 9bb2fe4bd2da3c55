#pragma once
// A made-up source tree in a temporary folder, for feeding the layering checks files
// that are right and wrong on purpose.
#include <gtest/gtest.h>

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QString>
#include <QTemporaryDir>

namespace orv::test {

class SourceTree {
public:
    QString path() const { return dir.path(); }
    bool isValid() const { return dir.isValid(); }
    void write(const QString& rel, const QByteArray& text) const
    {
        QDir(dir.path()).mkpath(QFileInfo(rel).path());
        QFile f(dir.filePath(rel));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly)) << rel.toStdString();
        f.write(text);
    }

private:
    QTemporaryDir dir;
};

} // namespace orv::test
