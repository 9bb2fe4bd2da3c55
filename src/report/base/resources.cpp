#include "report/base/resources.h"

#include "platform/core/cp1252.h"
#include "platform/core/formats.h"
#include "platform/core/text.h"
#include "report/base/errors.h"
#include "report/base/xml.h"
#include "script/front/messages.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QPainter>

namespace orv::report {
using namespace orv::script;
} // namespace orv::report

namespace orv::report {

const QStringList& frxScriptMessageNames()
{
    static const QStringList names = {
        QStringLiteral("SLangNotFound"),     QStringLiteral("SInvalidLanguage"), QStringLiteral("SIdRedeclared"),
        QStringLiteral("SUnknownType"),      QStringLiteral("SIncompatibleTypes"), QStringLiteral("SIdUndeclared"),
        QStringLiteral("SClassRequired"),    QStringLiteral("SIndexRequired"),   QStringLiteral("SStringError"),
        QStringLiteral("SClassError"),       QStringLiteral("SArrayRequired"),   QStringLiteral("SVarRequired"),
        QStringLiteral("SNotEnoughParams"),  QStringLiteral("STooManyParams"),   QStringLiteral("SLeftCantAssigned"),
        QStringLiteral("SForError"),         QStringLiteral("SEventError"),
    };
    return names;
}

TfrxResources::TfrxResources()
{
    // Language files are looked for in the current folder; nothing reads the list.
    for (const QString& file : QDir::current().entryList({QStringLiteral("*.frc")}, QDir::Files)) {
        QString name = orv::platform::lowerAZ(file);
        if (!name.isEmpty())
            name[0] = name[0].toUpper();
        const qsizetype ext = name.indexOf(QStringLiteral(".frc"));
        if (ext >= 0)
            name.remove(ext, 4);
        m_languages << name;
    }
    m_languages.sort();
}

QString TfrxResources::Get(const QString& StrName) const
{
    const auto it = m_names.constFind(orv::platform::upperAZ(StrName));
    QString result = it != m_names.constEnd() ? m_values.Get(it.value()) : StrName;
    if (result.startsWith(u'!'))
        result.remove(0, 1);
    const qsizetype amp = result.indexOf(u'&');
    if (amp >= 0)
        result.remove(amp, 1);
    return result;
}

void TfrxResources::AddW(const QString& Ref, const QString& Str)
{
    const QString key = orv::platform::upperAZ(Ref);
    const auto it = m_names.constFind(key);
    if (it != m_names.constEnd()) {
        m_values.Put(it.value(), Str);
        return;
    }
    m_names.insert(key, m_values.Add(Str));
}

void TfrxResources::AddStrings(const QString& Str)
{
    TfrxWideStrings lines;
    lines.SetText(Str);
    for (int i = 0; i < lines.Count(); ++i) {
        const QString line = lines.Get(i);
        const qsizetype eq = line.indexOf(u'=');
        if (eq <= 0 || eq == line.size() - 1)
            continue;
        Add(line.left(eq), line.mid(eq + 1));
    }
}

void TfrxResources::AddXML(const QByteArray& Str)
{
    QByteArray bytes = Str;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    LoadFromStream(buffer);
}

void TfrxResources::LoadFromStream(QIODevice& Stream)
{
    {
        TfrxXMLDocument doc;
        doc.LoadFromStream(Stream);
        TfrxXMLItem* root = doc.Root();
        if (root->Name.compare(QStringLiteral("Resources"), Qt::CaseInsensitive) == 0) {
            const QString cp = root->Prop(QStringLiteral("CodePage"));
            int codePage = 0;
            if (!orv::platform::tryStrToInt(cp, codePage))
                throw orv::report::ConvertError(QStringLiteral("'%1' is not a valid integer value").arg(cp));
            m_codePage = codePage;
            for (int i = 0; i < root->Count(); ++i) {
                TfrxXMLItem* item = root->Items(i);
                if (item->Name.compare(QStringLiteral("StrRes"), Qt::CaseInsensitive) != 0)
                    continue;
                QString text = item->Prop(QStringLiteral("Text"));
                if (doc.OldVersion())
                    text = QString::fromUtf8(orv::platform::cp1252::encode(text));
                AddW(item->Prop(QStringLiteral("Name")), text);
            }
        }
    }
    UpdateFSResources();
}

void TfrxResources::LoadFromFile(const QString& FileName)
{
    QFile file(FileName);
    if (!file.exists() || !file.open(QIODevice::ReadOnly))
        return;
    LoadFromStream(file);
}

void TfrxResources::Clear()
{
    m_names.clear();
    m_values.Clear();
}

void TfrxResources::UpdateFSResources()
{
    static_assert(fsMessageCount == 17);
    const QStringList& names = frxScriptMessageNames();
    for (int i = 0; i < fsMessageCount; ++i)
        fsSetMessage(TfsMessage(i), Get(names[i]));
}

QImage TfrxResources::LoadImageFromResouce(int RowId, int ColId) const
{
    QImage image(16, 16, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    if (!m_images.isNull()) {
        QPainter p(&image);
        p.drawImage(QPoint(0, 0), m_images, QRect(ColId * 16, RowId * 16, 16, 16));
    }
    return image;
}

QImage TfrxResources::LoadImageFromResouce(int Index) const
{
    const int columns = m_images.isNull() ? 10 : std::max(1, m_images.width() / 16);
    return LoadImageFromResouce(Index / columns, Index % columns);
}

TfrxResources* frxStringResources()
{
    static TfrxResources* resources = [] {
        auto* r = new TfrxResources;
        r->AddXML(frxEngineStringResources());
        return r;
    }();
    return resources;
}

QString frxResourceText(int Id) { return frxStringResources()->Get(QString::number(Id)); }

} // namespace orv::report
