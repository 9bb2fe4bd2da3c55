#pragma once
// INI files for scripts: TIniFile reads and writes the file key by key; TMemIniFile keeps
// the file's content in memory and never writes it back by itself.
#include "platform/core/inifile.h"
#include "script/bridges/classlib.h"

#include <QTemporaryFile>
#include <memory>

namespace orv::script::bridges {

class CustomIniFile : public platform::rtti::Object {
    ORV_RTTI_CLASS(CustomIniFile)
public:
    virtual void Open(const QString& fileName);
    const QString& FileName() const { return m_fileName; }
    // The file the operations act on.
    platform::IniFile& ini();
    // The whole text, and its replacement.
    virtual QStringList Lines();
    virtual void SetLines(const QStringList& lines);

protected:
    QString m_fileName;
    std::unique_ptr<platform::IniFile> m_ini;
};

class MemIniFile : public CustomIniFile {
    ORV_RTTI_CLASS(MemIniFile)
public:
    // The content lives in a private copy, so that it is read and changed by the same
    // rules as every settings file while the named file stays as it was.
    void Open(const QString& fileName) override;

private:
    std::unique_ptr<QTemporaryFile> m_copy;
};

class IniFileObject : public CustomIniFile {
    ORV_RTTI_CLASS(IniFileObject)
};

} // namespace orv::script::bridges
