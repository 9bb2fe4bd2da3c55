// Template inheritance: a report whose layout builds on a parent template file. The
// parent is loaded into the report first, its objects marked as inherited; the child's
// own attributes and objects are read over it, the inherited ones by name.
#include "platform/core/text.h"
#include "report/base/errors.h"
#include "report/base/resources.h"
#include "report/base/utils.h"
#include "report/model/pages.h"
#include "report/model/report.h"

#include <QBuffer>
#include <QDir>
#include <QFileInfo>

#include <functional>

namespace orv::report {

namespace {

std::function<TfrxInheriteMode(const QString&)>& inheritPrompt()
{
    static std::function<TfrxInheriteMode(const QString&)> prompt;
    return prompt;
}

// The parent templates being loaded at the moment, by full path: a template that names
// itself, directly or through its own parents, would load for ever.
QStringList& templatesLoading()
{
    static QStringList loading;
    return loading;
}

bool isExplicitPath(const QString& name)
{
    return name.startsWith(u'.') || name.startsWith(u'\\') || name.startsWith(u'/');
}

QString fullPath(const QString& name)
{
    return isExplicitPath(name) ? QFileInfo(name).absoluteFilePath() : name;
}

// A copy of a whole report through its template text.
void copyReport(TfrxReport& from, TfrxReport& to)
{
    QBuffer buffer;
    buffer.open(QIODevice::ReadWrite);
    from.SaveToStream(buffer);
    buffer.seek(0);
    to.LoadFromStream(buffer);
}

} // namespace

void frxSetInheritErrorPrompt(std::function<TfrxInheriteMode(const QString& Message)> Prompt)
{
    inheritPrompt() = std::move(Prompt);
}

void TfrxReport::loadParentTemplate(const QString& Name)
{
    QString path = Name;
    if (!OnLoadTemplate && QFileInfo(Name).isRelative()) {
        const QString besideReport =
            FileName.isEmpty() ? QString() : QFileInfo(FileName).absoluteDir().filePath(Name);
        path = !besideReport.isEmpty() && QFileInfo::exists(besideReport)
                   ? besideReport
                   : QDir(GetApplicationFolder()).filePath(Name);
    }
    if (!OnLoadTemplate)
        path = QFileInfo(path).absoluteFilePath();
    QStringList& loading = templatesLoading();
    if (loading.contains(path))
        throw orv::report::Error(QStringLiteral("The parent template \"%1\" descends from itself").arg(Name));
    loading << path;
    struct Done {
        QStringList& list;
        ~Done() { list.removeLast(); }
    } done{loading};
    if (OnLoadTemplate)
        OnLoadTemplate(this, Name);
    else
        LoadFromFile(path, true);
}

void TfrxReport::SetParentReport(const QString& v)
{
    m_parentReportObject.reset();
    if (v.isEmpty()) {
        for (TfrxComponent* c : AllObjects())
            c->SetIsInherited(false);
        m_parentReport.clear();
        return;
    }
    const QString fileName = FileName;
    loadParentTemplate(v);
    m_parentReportObject = std::make_unique<TfrxReport>();
    copyReport(*this, *m_parentReportObject);
    for (TfrxComponent* c : m_parentReportObject->Objects())
        if (auto* page = dynamic_cast<TfrxReportPage*>(c))
            page->SetPaperSize(256);
    FileName = fileName;
    for (TfrxComponent* c : AllObjects())
        c->SetIsInherited(true);
    m_parentReport = v;
}

bool TfrxReport::InheritFromTemplate(const QString& templName, TfrxInheriteMode InheriteMode)
{
    if (fullPath(templName) == fullPath(FileName))
        return false;
    TfrxReport previous;
    copyReport(*this, previous);
    previous.FileName = FileName;

    const QString folder = FileName.isEmpty() ? QString() : QFileInfo(FileName).absolutePath();
    SetParentReport(folder.isEmpty() ? templName : QDir(folder).relativeFilePath(QFileInfo(templName).absoluteFilePath()));

    // The report's own objects go back in, beside the template's. Where a name clashes
    // with a template object, the object is dropped or renamed, as asked.
    QHash<const TfrxComponent*, TfrxComponent*> placed;
    QHash<TfrxComponent*, const TfrxComponent*> copiedFrom;
    placed.insert(&previous, this);
    bool asked = false;
    for (TfrxComponent* old : previous.AllObjects()) {
        TfrxComponent* parent = placed.value(old->Parent());
        if (!parent)
            continue; // below a dropped object
        TfrxComponent* existing = FindObject(old->Name());
        if (existing && dynamic_cast<TfrxPage*>(old)) {
            // A page of the template's name takes the report's objects of that page.
            placed.insert(old, existing);
            continue;
        }
        bool rename = false;
        if (existing) {
            TfrxInheriteMode mode = InheriteMode;
            if (mode == imDefault) {
                if (!asked) {
                    mode = inheritPrompt() ? inheritPrompt()(frxStringResources()->Get(QStringLiteral("6001")))
                                           : imRename;
                    asked = true;
                    InheriteMode = mode;
                }
                if (mode == imDefault) {
                    // Cancelled: the report goes back to what it was.
                    copyReport(previous, *this);
                    FileName = previous.FileName;
                    return false;
                }
            }
            if (mode == imDelete)
                continue;
            rename = true;
        }
        auto* copy = dynamic_cast<TfrxComponent*>(old->classInfo().create(parent));
        if (!copy)
            continue;
        copy->Assign(old);
        if (rename)
            copy->CreateUniqueName();
        else
            copy->SetName(old->Name());
        placed.insert(old, copy);
        copiedFrom.insert(copy, old);
    }
    // References between the report's objects follow them to their copies (a copy read
    // by name would find an object not copied yet, or the template's object of a clashing
    // name); one to a dropped object goes to the template's object of that name.
    for (auto it = copiedFrom.cbegin(); it != copiedFrom.cend(); ++it) {
        TfrxComponent* copy = it.key();
        const TfrxComponent* old = it.value();
        for (const orv::platform::rtti::PropInfo* prop : copy->classInfo().properties()) {
            if (prop->kind != orv::platform::rtti::Kind::Class || !prop->isWritable())
                continue;
            auto* oldTarget = dynamic_cast<TfrxComponent*>(prop->readObject(*old));
            if (!oldTarget || oldTarget->Report() != &previous)
                continue;
            TfrxComponent* target = placed.value(oldTarget);
            if (!target)
                target = FindObject(oldTarget->Name());
            if (target)
                prop->write(*copy, QVariant::fromValue(static_cast<orv::platform::rtti::Object*>(target)));
        }
    }

    QString open, close;
    if (orv::platform::sameTextAZ(previous.ScriptLanguage(), QStringLiteral("VoriroVoreva"))) {
        open = QStringLiteral("{");
        close = QStringLiteral("}");
    } else if (orv::platform::sameTextAZ(previous.ScriptLanguage(), QStringLiteral("RadivEdurav"))) {
        open = close = QStringLiteral("/\\");
    } else {
        open = QStringLiteral("/*");
        close = QStringLiteral("*/");
    }
    QStringList script = ScriptText()->lines();
    script << open << QStringLiteral("**********Script from parent report**********");
    script << previous.ScriptText()->lines();
    script << close;
    ScriptText()->SetText(script.join(QStringLiteral("\r\n")));

    for (int i = 0; i < previous.DataSets()->Count(); ++i) {
        TfrxDataSet* ds = FindDataSet(nullptr, previous.DataSets()->Items(i)->DataSetName());
        if (ds && !m_dataSets->Find(ds))
            m_dataSets->Add(ds);
    }
    FileName = previous.FileName;
    return true;
}

} // namespace orv::report
