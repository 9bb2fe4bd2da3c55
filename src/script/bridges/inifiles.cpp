#include "script/bridges/inifiles.h"

#include "platform/core/cp1252.h"
#include "platform/core/formats.h"
#include "platform/core/services.h"
#include "platform/core/text.h"
#include "script/bridges/register.h"

#include <QFile>

namespace orv::script {
using namespace orv::platform;
} // namespace orv::script

namespace orv::script::bridges {

ORV_RTTI_DEFINE_NAMED(CustomIniFile, platform::rtti::Object, "TCustomIniFile") {}
ORV_RTTI_DEFINE_NAMED(MemIniFile, CustomIniFile, "TMemIniFile") {}
ORV_RTTI_DEFINE_NAMED(IniFileObject, CustomIniFile, "TIniFile") {}

namespace {

QStringList readAllLines(const QString& path)
{
    if (path.isEmpty())
        return {};
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    Strings lines;
    lines.SetText(platform::cp1252::decode(f.readAll()));
    return lines.lines();
}

void writeAllLines(const QString& path, const QStringList& lines)
{
    QFile f(path);
    QString text;
    for (const QString& l : lines)
        text += l + QLatin1String("\r\n");
    const QByteArray bytes = platform::cp1252::encode(text);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(bytes) != bytes.size())
        throw EFileError(QStringLiteral("Cannot create file \"%1\"").arg(path));
}

} // namespace

void CustomIniFile::Open(const QString& fileName)
{
    m_fileName = fileName;
    m_ini = std::make_unique<IniFile>(fileName);
}

IniFile& CustomIniFile::ini()
{
    if (!m_ini)
        throw orv::platform::Exception(invalidObjectReferenceText());
    return *m_ini;
}

QStringList CustomIniFile::Lines() { return readAllLines(ini().fileName()); }

void CustomIniFile::SetLines(const QStringList& lines)
{
    // Through the settings file's own writer: another program writing a key meanwhile
    // waits for the lock, and a failure half-way leaves the old file whole.
    IniFile& file = ini();
    try {
        file.setLines(lines);
    } catch (const IniFileError&) {
        throw EFileError(QStringLiteral("Cannot create file \"%1\"").arg(file.fileName()));
    }
}

void MemIniFile::Open(const QString& fileName)
{
    m_fileName = fileName;
    m_copy = std::make_unique<QTemporaryFile>();
    if (!m_copy->open())
        throw EFileError(QStringLiteral("Cannot create file \"%1\"").arg(m_copy->fileTemplate()));
    m_copy->close();
    m_ini = std::make_unique<IniFile>(m_copy->fileName());
    writeAllLines(m_copy->fileName(), readAllLines(fileName));
}

namespace inifiles {

namespace {

QString boolText(bool b) { return b ? QStringLiteral("1") : QStringLiteral("0"); }

double readDate(IniFile& ini, const QString& section, const QString& name, double def, int which)
{
    const QString s = trimmed(ini.readString(section, name, QString()));
    if (s.isEmpty())
        return def;
    TDateTime d = 0, t = 0;
    if (which == 0)
        return tryStrToDate(s, d, currentYear()) ? d : def;
    if (which == 2)
        return tryStrToTime(s, t) ? t : def;
    if (tryStrToDate(s, d, currentYear()))
        return d;
    const qsizetype blank = s.indexOf(u' ');
    if (blank > 0 && tryStrToDate(s.left(blank), d, currentYear()) && tryStrToTime(trimmed(s.mid(blank + 1)), t))
        return d < 0 ? d - t : d + t;
    return def;
}

} // namespace

TFunctions::TFunctions(TfsScript* AScript) : BridgeModule(AScript)
{
    const TfsCallMethodNewEvent call = callback();
    TfsScript* s = AScript;
    if (auto* c = s->AddClass(&CustomIniFile::staticClassInfo(), QStringLiteral("TObject"))) {
        c->AddConstructor(QStringLiteral("constructor Create(const FileName: String)"), call);
        for (const char* m : {
                 "function ReadInteger(const Section, Ident: String; Default: LongInt): LongInt",
                 "procedure WriteInteger(const Section, Ident: String; Value: LongInt)",
                 "function ReadBool(const Section, Ident: String; Default: Boolean): Boolean",
                 "procedure WriteBool(const Section, Ident: String; Value: Boolean)",
                 "function ReadDate(const Section, Name: String; Default: TDateTime): TDateTime",
                 "procedure WriteDate(const Section, Name: String; Value: TDateTime)",
                 "function ReadDateTime(const Section, Name: String; Default: TDateTime): TDateTime",
                 "procedure WriteDateTime(const Section, Name: String; Value: TDateTime)",
                 "function ReadFloat(const Section, Name: String; Default: Double): Double",
                 "procedure WriteFloat(const Section, Name: String; Value: Double)",
                 "function ReadTime(const Section, Name: String; Default: TDateTime): TDateTime",
                 "procedure WriteTime(const Section, Name: String; Value: TDateTime);",
                 "function ReadBinaryStream(const Section, Name: String; Value: TStream): Integer",
                 "procedure WriteBinaryStream(const Section, Name: String; Value: TStream)",
                 "function SectionExists(const Section: String): Boolean",
                 "function ValueExists(const Section, Ident: String): Boolean",
                 "procedure WriteTStrings(const Section :String; Value :TStrings; IsClear :Boolean = True)",
                 "function ReadTStrings(const Section :String; Value :TStrings; IsClear :Boolean = True): String;",
             })
            c->AddMethod(QString::fromLatin1(m), call);
        c->AddProperty(QStringLiteral("FileName"), QStringLiteral("String"), getter());
    }
    const char* fileMembers[] = {
        "procedure WriteString(const Section, Ident, Value: String)",
        "function ReadString(const Section, Ident, Default: String): String;",
        "procedure ReadSectionValuesEx(const Section: String; Strings: TStrings)",
        "procedure DeleteKey(const Section, Ident: String)",
        "procedure ReadSection(const Section: String; Strings: TStrings)",
        "procedure ReadSections(Strings: TStrings)",
        "procedure ReadSectionValues(const Section: String; Strings: TStrings)",
        "procedure EraseSection(const Section: String)",
    };
    if (auto* c = s->AddClass(&MemIniFile::staticClassInfo(), QStringLiteral("TCustomIniFile"))) {
        c->AddConstructor(QStringLiteral("constructor Create(const FileName: String)"), call);
        for (const char* m : fileMembers)
            c->AddMethod(QString::fromLatin1(m), call);
        for (const char* m : {"procedure Clear", "procedure GetStrings(List: TStrings)",
                              "procedure SetStrings(List: TStrings)", "procedure SaveIniFileToStream(oStream: TStream)",
                              "procedure LoadIniFileFromStream(oStream: TStream)"})
            c->AddMethod(QString::fromLatin1(m), call);
    }
    if (auto* c = s->AddClass(&IniFileObject::staticClassInfo(), QStringLiteral("TCustomIniFile"))) {
        for (const char* m : fileMembers)
            c->AddMethod(QString::fromLatin1(m), call);
        for (const char* m : {"procedure SaveIniFileToStream(oStream: TStream)",
                              "procedure LoadIniFileFromStream(oStream: TStream)"})
            c->AddMethod(QString::fromLatin1(m), call);
    }
}

Value TFunctions::InvokeMethod(TfsObject Instance, TfsClass ClassType, const QString& MethodName,
                               TfsMethodHelper* c)
{
    const QString& m = MethodName;
    const bool custom = ClassType == &CustomIniFile::staticClassInfo();
    if (!custom && ClassType != &MemIniFile::staticClassInfo() && ClassType != &IniFileObject::staticClassInfo())
        return Value(0);
    auto& file = self<CustomIniFile>(Instance);
    if (is(m, "CREATE")) {
        file.Open(argString(c, 0));
        return objectValue(Instance);
    }
    IniFile& ini = file.ini();
    if (custom) {
        const QString section = argString(c, 0);
        if (is(m, "READINTEGER"))
            return Value(ini.readInteger(section, argString(c, 1), argInt(c, 2)));
        if (is(m, "WRITEINTEGER"))
            ini.writeInteger(section, argString(c, 1), argInt(c, 2));
        else if (is(m, "READBOOL"))
            return Value(ini.readInteger(section, argString(c, 1), argBool(c, 2) ? 1 : 0) != 0);
        else if (is(m, "WRITEBOOL"))
            ini.writeString(section, argString(c, 1), boolText(argBool(c, 2)));
        else if (is(m, "READDATE"))
            return Value::fromDate(readDate(ini, section, argString(c, 1), argValue(c, 2).toDate(), 0));
        else if (is(m, "READDATETIME"))
            return Value::fromDate(readDate(ini, section, argString(c, 1), argValue(c, 2).toDate(), 1));
        else if (is(m, "READTIME"))
            return Value::fromDate(readDate(ini, section, argString(c, 1), argValue(c, 2).toDate(), 2));
        else if (is(m, "WRITEDATE"))
            ini.writeString(section, argString(c, 1), dateToStr(argValue(c, 2).toDate()));
        else if (is(m, "WRITEDATETIME"))
            ini.writeString(section, argString(c, 1), dateTimeToStr(argValue(c, 2).toDate()));
        else if (is(m, "WRITETIME"))
            ini.writeString(section, argString(c, 1), timeToStr(argValue(c, 2).toDate()));
        else if (is(m, "READFLOAT")) {
            double v = 0;
            return Value(tryStrToFloat(trimmed(ini.readString(section, argString(c, 1), QString())), v)
                             ? v
                             : argFloat(c, 2));
        } else if (is(m, "WRITEFLOAT"))
            ini.writeString(section, argString(c, 1), floatToStr(argFloat(c, 2)));
        else if (is(m, "READBINARYSTREAM")) {
            const QByteArray bytes = QByteArray::fromHex(ini.readString(section, argString(c, 1), QString()).toLatin1());
            if (auto* st = argAs<Stream>(c, 2))
                st->Write(bytes.constData(), bytes.size());
            return Value(int(bytes.size()));
        } else if (is(m, "WRITEBINARYSTREAM")) {
            auto* st = argAs<Stream>(c, 2);
            ini.writeString(section, argString(c, 1), st ? QString::fromLatin1(st->ReadRest().toHex().toUpper()) : QString());
        } else if (is(m, "SECTIONEXISTS"))
            return Value(ini.sectionExists(section));
        else if (is(m, "VALUEEXISTS"))
            return Value(ini.valueExists(section, argString(c, 1)));
        else if (is(m, "WRITETSTRINGS")) {
            auto* list = argAs<Strings>(c, 1);
            if (argBool(c, 2))
                ini.eraseSection(section);
            const int count = list ? list->Count() : 0;
            for (int i = 0; i < count; ++i)
                ini.writeString(section, QStringLiteral("Items%1").arg(i), list->Get(i));
            ini.writeInteger(section, QStringLiteral("Count"), count);
        } else if (is(m, "READTSTRINGS")) {
            // Gives the list's text back as well, so the declared String result means
            // something.
            auto* list = argAs<Strings>(c, 1);
            if (!list)
                return Value(QString());
            const int count = ini.readInteger(section, QStringLiteral("Count"), 0);
            if (argBool(c, 2))
                list->Clear();
            for (int i = 0; i < count; ++i)
                list->Add(ini.readString(section, QStringLiteral("Items%1").arg(i), QString()));
            return Value(list->Text());
        }
        return Value(0);
    }
    // TMemIniFile and TIniFile.
    if (is(m, "WRITESTRING"))
        ini.writeString(argString(c, 0), argString(c, 1), argString(c, 2));
    else if (is(m, "READSTRING"))
        return Value(ini.readString(argString(c, 0), argString(c, 1), argString(c, 2)));
    else if (is(m, "READSECTIONVALUESEX")) {
        // Only the values, in order; a name given twice yields its first value each time.
        if (auto* list = argAs<Strings>(c, 1)) {
            Strings pairs;
            pairs.setLines(ini.sectionValues(argString(c, 0)));
            list->Clear();
            for (int i = 0; i < pairs.Count(); ++i)
                list->Add(pairs.ValueOf(pairs.Name(i)));
        }
    } else if (is(m, "DELETEKEY"))
        ini.deleteKey(argString(c, 0), argString(c, 1));
    else if (is(m, "READSECTION")) {
        if (auto* list = argAs<Strings>(c, 1)) {
            list->Clear();
            for (const QString& line : ini.sectionValues(argString(c, 0)))
                list->Add(line.left(line.indexOf(u'=')));
        }
    } else if (is(m, "READSECTIONS")) {
        if (auto* list = argAs<Strings>(c, 0))
            list->setLines(ini.sections());
    } else if (is(m, "READSECTIONVALUES")) {
        if (auto* list = argAs<Strings>(c, 1))
            list->setLines(ini.sectionValues(argString(c, 0)));
    } else if (is(m, "ERASESECTION"))
        ini.eraseSection(argString(c, 0));
    else if (ClassType == &MemIniFile::staticClassInfo() && is(m, "CLEAR"))
        file.SetLines({});
    else if (ClassType == &MemIniFile::staticClassInfo() && is(m, "GETSTRINGS")) {
        if (auto* list = argAs<Strings>(c, 0))
            list->setLines(file.Lines());
    } else if (ClassType == &MemIniFile::staticClassInfo() && is(m, "SETSTRINGS")) {
        if (auto* list = argAs<Strings>(c, 0))
            file.SetLines(list->lines());
    } else if (is(m, "SAVEINIFILETOSTREAM")) {
        if (auto* st = argAs<Stream>(c, 0)) {
            Strings text;
            text.setLines(file.Lines());
            text.SaveToStream(*st);
        }
    } else if (is(m, "LOADINIFILEFROMSTREAM")) {
        if (auto* st = argAs<Stream>(c, 0)) {
            Strings text;
            text.LoadFromStream(*st);
            file.SetLines(text.lines());
        }
    }
    return Value(0);
}

Value TFunctions::ReadProperty(TfsObject Instance, TfsClass ClassType, const QString& PropName)
{
    if (ClassType == &CustomIniFile::staticClassInfo() && is(PropName, "FILENAME"))
        return Value(self<CustomIniFile>(Instance).FileName());
    return Value(0);
}

void TFunctions::WriteProperty(TfsObject, TfsClass, const QString&, const Value&) {}

} // namespace inifiles

} // namespace orv::script::bridges
