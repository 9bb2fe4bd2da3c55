#include "report/base/serializer.h"

#include "platform/core/cp1252.h"
#include "platform/core/formats.h"
#include "platform/core/text.h"
#include "report/base/errors.h"
#include "report/base/propstream.h"
#include "report/base/resources.h"
#include "report/base/utils.h"
#include "report/base/widestrings.h"
#include "report/base/xml.h"
#include "report/model/report.h"
#include "report/model/views.h"

#include <cmath>

namespace orv::report {
using namespace orv::script;
} // namespace orv::report

namespace orv::report {

using namespace orv::report;
using orv::platform::rtti::Kind;
using orv::platform::rtti::Object;
using orv::platform::rtti::PropInfo;

namespace {

bool isOrdinal(Kind k)
{
    return k == Kind::Integer || k == Kind::Char || k == Kind::WChar || k == Kind::Enumeration || k == Kind::Set ||
           k == Kind::Int64;
}

// A memo's text as a template holds it: its lines joined by CR LF, without the break
// that follows the last line.
QString memoText(const TfrxCustomMemoView* memo)
{
    QString text = memo->Text();
    if (text.endsWith(QStringLiteral("\r\n")))
        text.chop(2);
    return text;
}

QString listText(const StringList* list)
{
    QString text = list->Text();
    if (text.endsWith(QStringLiteral("\r\n")))
        text.chop(2);
    return text;
}

QString variantText(const QVariant& v)
{
    if (!v.isValid() || v.isNull())
        return {};
    switch (v.typeId()) {
    case QMetaType::Bool:
        return v.toBool() ? QStringLiteral("True") : QStringLiteral("False");
    case QMetaType::Double:
    case QMetaType::Float:
        return orv::platform::floatToStr(v.toDouble());
    default:
        return v.toString();
    }
}

QString utf8Decoded(const QString& ansi) { return QString::fromUtf8(orv::platform::cp1252::encode(ansi)); }

// A report component is marked as being written for the duration of a write.
class WritingMark {
public:
    WritingMark(Object* a, Object* b)
    {
        mark(a);
        mark(b);
    }
    ~WritingMark()
    {
        for (TfrxComponent* c : m_marked)
            c->SetIsWriting(false);
    }
    WritingMark(const WritingMark&) = delete;
    WritingMark& operator=(const WritingMark&) = delete;

private:
    void mark(Object* o)
    {
        if (auto* c = dynamic_cast<TfrxComponent*>(o); c && !c->IsWriting()) {
            c->SetIsWriting(true);
            m_marked << c;
        }
    }
    QList<TfrxComponent*> m_marked;
};

} // namespace

TfrxXMLSerializer::TfrxXMLSerializer(QIODevice* Stream) : m_stream(Stream) {}

TfrxXMLSerializer::~TfrxXMLSerializer() = default;

// ---------------------------------------------------------------- writing objects

QString TfrxXMLSerializer::ObjToXML(Object* Obj, const QString& Add, Object* Ancestor)
{
    if (!Obj)
        return {};
    auto* comp = dynamic_cast<TfrxComponent*>(Obj);
    if (comp && !Ancestor && OnGetAncestor)
        OnGetAncestor(comp->Name(), Ancestor);
    if (Ancestor && &Ancestor->classInfo() != &Obj->classInfo() && !Obj->InheritsFrom(Ancestor->classInfo()))
        Ancestor = nullptr;
    WritingMark marking(Obj, Ancestor);
    const TfrxReport* report = dynamic_cast<TfrxReport*>(Owner);
    if (!report && Owner)
        report = Owner->Report();

    QString out;
    auto append = [&](const QString& name, const QString& value) {
        if (value.isEmpty())
            return;
        out += u' ';
        out += Add;
        out += name;
        out += QStringLiteral("=\"");
        out += value;
        out += u'"';
    };

    for (const PropInfo* p : Obj->classInfo().properties()) {
        if (!p->isReadable() || !p->isStored(*Obj))
            continue;
        if (isOrdinal(p->kind)) {
            const qint64 v = p->readOrdinal(*Obj);
            const bool isDefault = Ancestor ? v == p->readOrdinal(*Ancestor)
                                            : (p->defaultValue.has_value() && *p->defaultValue == v);
            if (isDefault && !SerializeDefaultValues)
                continue;
            if (p->kind == Kind::Enumeration)
                append(p->name, p->enumType->identifier(v));
            else
                append(p->name, QString::number(v));
        } else if (p->kind == Kind::Float) {
            const double v = p->readFloat(*Obj);
            if (Ancestor && std::fabs(v - p->readFloat(*Ancestor)) < 0.000001 && !SerializeDefaultValues)
                continue;
            append(p->name, orv::platform::floatToStr(v));
        } else if (p->kind == Kind::String) {
            const QString v = p->readString(*Obj);
            const bool isDefault = Ancestor ? v == p->readString(*Ancestor) : v.isEmpty();
            if (isDefault && !SerializeDefaultValues)
                continue;
            append(p->name, frxEscapeXMLText(v));
        } else if (p->kind == Kind::Variant) {
            const QVariant v = p->read(*Obj);
            if (Ancestor && v == p->read(*Ancestor) && !SerializeDefaultValues)
                continue;
            append(p->name, frxEscapeXMLText(variantText(v)));
        } else if (p->kind == Kind::Class) {
            Object* value = p->readObject(*Obj);
            Object* ancestorValue = Ancestor ? p->readObject(*Ancestor) : nullptr;
            const orv::platform::rtti::ClassInfo* cls = p->propertyClass();
            if (cls && cls->inheritsFrom(orv::platform::Component::staticClassInfo())) {
                auto* c = dynamic_cast<orv::platform::Component*>(value);
                auto* a = dynamic_cast<orv::platform::Component*>(ancestorValue);
                if (Ancestor) {
                    if ((!c && !a) || (c && a && orv::platform::sameTextAZ(c->Name(), a->Name())))
                        continue;
                    if (!c && a) {
                        append(p->name, QStringLiteral("nil"));
                        continue;
                    }
                }
                if (c)
                    append(p->name, frxEscapeXMLText(frxQualifiedComponentName(report, c)));
            } else if (auto* list = dynamic_cast<StringList*>(value)) {
                const QString text = listText(list);
                if (auto* a = dynamic_cast<StringList*>(ancestorValue); a && listText(a) == text)
                    continue;
                out += u' ' + Add + p->name + QStringLiteral(".Text=\"") + frxEscapeXMLText(text) + u'"';
            } else if (dynamic_cast<TfrxWideStrings*>(value)) {
                continue;
            } else if (value) {
                out += ObjToXML(value, Add + p->name + u'.', ancestorValue);
            }
        }
    }

    if (auto* memo = dynamic_cast<TfrxCustomMemoView*>(Obj)) {
        const QString text = memoText(memo);
        auto* a = dynamic_cast<TfrxCustomMemoView*>(Ancestor);
        if (!a || memoText(a) != text)
            out += u' ' + Add + QStringLiteral("Text=\"") + frxEscapeXMLText(text) + u'"';
    }

    if (auto* extra = dynamic_cast<DefinesProperties*>(Obj)) {
        const QByteArray bytes = writeExtraData(*extra);
        bool write = !bytes.isEmpty();
        if (write && Ancestor)
            if (auto* a = dynamic_cast<DefinesProperties*>(Ancestor))
                write = frxChecksum(bytes) != frxChecksum(writeExtraData(*a));
        if (write)
            append(QStringLiteral("PropData"), frxBytesToHex(bytes));
    }
    return out;
}

// ---------------------------------------------------------------- reading objects

void TfrxXMLSerializer::XMLToObj(const QString& Text, Object* Obj)
{
    if (!Obj)
        return;
    forEachAttribute(Text, [&](QStringView name, QStringView value) {
        try {
            applyAttribute(Obj, name.toString(), value.toString());
        } catch (const std::exception& e) {
            Errors.Add(exceptionText(e));
        }
    });
}

void TfrxXMLSerializer::applyAttribute(Object* obj, const QString& name, const QString& rawValue)
{
    // Follow a dotted name through class-typed properties; a part that names no such
    // property makes the rest one (unknown) name.
    Object* target = obj;
    QString last = name;
    if (name.contains(u'.')) {
        const QStringList parts = name.split(u'.');
        qsizetype k = 0;
        for (; k + 1 < parts.size(); ++k) {
            const PropInfo* p = target->classInfo().findProperty(parts[k]);
            if (!p)
                break;
            if (p->kind != Kind::Class || !p->isReadable())
                return;
            Object* next = p->readObject(*target);
            if (!next)
                return;
            target = next;
        }
        last = parts.mid(k).join(u'.');
    }

    // Looked for only where a name can be one of the memo's own: every object read back
    // passes here for each attribute of its difference.
    const auto memoOf = [](Object* o) {
        auto* c = orv::platform::rtti::objectCast<TfrxComponent>(o);
        return c ? c->asMemo() : nullptr;
    };
    auto* comp = last.size() == 1 ? orv::platform::rtti::objectCast<TfrxComponent>(target) : nullptr;
    if (comp) {
        TfrxCustomMemoView* memo = nullptr;
        switch (last[0].unicode()) {
        case u'l':
            comp->SetLeft(frxTextToFloat(rawValue));
            return;
        case u't':
            comp->SetTop(frxTextToFloat(rawValue));
            return;
        case u'w':
            comp->SetWidth(frxTextToFloat(rawValue));
            return;
        case u'h':
            comp->SetHeight(frxTextToFloat(rawValue));
            return;
        case u'x':
            if ((memo = comp->asMemo()))
                memo->SetText(frxUnescapeXMLText(rawValue));
            return;
        case u'u':
            if ((memo = comp->asMemo())) {
                const QString v = frxUnescapeXMLText(rawValue);
                memo->SetText(OldFormat ? utf8Decoded(v) : v);
            }
            return;
        default:
            break;
        }
    }
    if (last == QStringLiteral("Text")) {
        // The memo first: every memo read back has its text set here.
        if (auto* memo = memoOf(target)) {
            const QString v = frxUnescapeXMLText(rawValue);
            memo->SetText(OldFormat ? utf8Decoded(v) : v);
            return;
        }
        if (auto* list = dynamic_cast<StringList*>(target)) {
            list->SetText(frxUnescapeXMLText(rawValue));
            return;
        }
        if (auto* lines = dynamic_cast<TfrxWideStrings*>(target)) {
            lines->SetText(frxUnescapeXMLText(rawValue));
            return;
        }
    }
    if (last == QStringLiteral("PropData")) {
        if (auto* extra = dynamic_cast<DefinesProperties*>(target))
            readExtraData(*extra, frxHexToBytes(rawValue));
        return;
    }
    if (last == QStringLiteral("Name")) {
        if (auto* c = orv::platform::rtti::objectCast<TfrxComponent>(target); c && c->asReport())
            return;
    }

    const PropInfo* p = target->classInfo().findProperty(last);
    if (!p || !p->isWritable())
        return;
    switch (p->kind) {
    case Kind::Integer:
    case Kind::Char:
    case Kind::WChar:
    case Kind::Set:
    case Kind::Int64: {
        qint64 v = 0;
        if (!orv::platform::tryStrToInt64(rawValue, v))
            throw ConvertError(QStringLiteral("'%1' is not a valid integer value").arg(rawValue));
        p->write(*target, QVariant(p->kind == Kind::Int64 ? v : qint64(qint32(v))));
        return;
    }
    case Kind::Enumeration: {
        qint64 v = 0;
        if (!orv::platform::tryStrToInt64(rawValue, v)) {
            const std::optional<int> o = p->enumType->ordinal(rawValue);
            if (!o)
                throw ConvertError(QStringLiteral("'%1' is not a valid value of %2").arg(rawValue, p->typeName));
            v = *o;
        }
        p->write(*target, QVariant(v));
        return;
    }
    case Kind::Float:
        p->write(*target, QVariant(frxTextToFloat(rawValue)));
        return;
    case Kind::String:
    case Kind::Variant:
        p->write(*target, QVariant(frxUnescapeXMLText(rawValue)));
        return;
    case Kind::Class:
        m_fixups.append({target, p, frxUnescapeXMLText(rawValue)});
        return;
    case Kind::Method:
        return;
    }
}

void TfrxXMLSerializer::resolveFixups()
{
    const QList<TfrxFixupItem> fixups = m_fixups;
    m_fixups.clear();
    for (const TfrxFixupItem& f : fixups) {
        orv::platform::rtti::Object* found = Owner ? Owner->FindObject(f.Value) : nullptr;
        try {
            if (!found)
                found = frxLookupComponent(Owner, f.Value);
        } catch (const std::exception&) {
            found = nullptr;
        }
        const orv::platform::rtti::ClassInfo* cls = f.PropInfo->propertyClass();
        if (!found || (cls && !found->InheritsFrom(*cls)))
            continue;
        try {
            f.PropInfo->write(*f.Obj, QVariant::fromValue(found));
        } catch (const std::exception& e) {
            Errors.Add(exceptionText(e));
        }
    }
}

void TfrxXMLSerializer::CopyFixupList(QList<TfrxFixupItem>& List) const { List.append(m_fixups); }

// ---------------------------------------------------------------- component trees

void TfrxXMLSerializer::writeElement(TfrxXMLItem* item, TfrxComponent* c, bool isRoot, bool saveChildren,
                                     bool streaming)
{
    item->Name = c->IsAncestor() && !streaming ? QStringLiteral("inherited") : c->ClassName();
    item->Text = isRoot ? ObjToXML(c)
                        : QStringLiteral(" Name=\"") + frxEscapeXMLText(c->Name()) + u'"' + ObjToXML(c);
    if (!saveChildren)
        return;
    for (TfrxComponent* child : c->Objects())
        writeElement(item->Add(), child, false, true, streaming);
}

void TfrxXMLSerializer::WriteRootComponent(TfrxComponent* Root, bool SaveChildren, TfrxXMLItem* XMLItem,
                                           bool Streaming)
{
    if (!Owner)
        Owner = Root;
    if (XMLItem) {
        writeElement(XMLItem, Root, true, SaveChildren, Streaming);
        return;
    }
    TfrxXMLDocument doc;
    doc.AutoIndent = true;
    writeElement(doc.Root(), Root, true, SaveChildren, Streaming);
    if (m_stream)
        doc.SaveToStream(*m_stream);
}

void TfrxXMLSerializer::readElement(TfrxXMLItem* item, TfrxComponent* target, TfrxComponent* parent,
                                    QList<TfrxComponent*>& read)
{
    const bool inherited = item->Name.compare(QStringLiteral("inherited"), Qt::CaseInsensitive) == 0;
    const orv::platform::rtti::ClassInfo* cls = inherited ? nullptr : orv::platform::rtti::findClass(item->Name);
    auto cannotFind = [&] {
        Errors.Add(frxStringResources()->Get(QStringLiteral("xrCantFindClass")) + u' ' + item->Name);
    };
    if (!inherited && !cls) {
        cannotFind();
        return;
    }
    TfrxComponent* c = target;
    if (!c) {
        const QString name = item->Prop(QStringLiteral("Name"));
        if (Owner && !name.isEmpty())
            c = dynamic_cast<TfrxComponent*>(Owner->FindComponent(name));
        if (!c) {
            if (inherited)
                return;
            // Only report objects can stand in a tree, and a report only at its root.
            const bool placeable = cls->inheritsFrom(TfrxComponent::staticClassInfo()) &&
                                   !cls->inheritsFrom(TfrxReport::staticClassInfo()) && cls->canCreate();
            if (!placeable) {
                cannotFind();
                return;
            }
            c = dynamic_cast<TfrxComponent*>(cls->create(parent));
        }
    }
    if (!c)
        return;
    c->SetIsLoading(true);
    if (inherited)
        c->SetIsInherited(true);
    read << c;
    XMLToObj(item->Text, c);
    for (int i = 0; i < item->Count(); ++i)
        readElement(item->Items(i), nullptr, c, read);
}

void TfrxXMLSerializer::ReadRootComponent(TfrxComponent* Root, TfrxXMLItem* XMLItem)
{
    if (!Owner)
        Owner = Root;
    TfrxXMLDocument doc;
    if (!XMLItem) {
        if (!m_stream)
            return;
        doc.LoadFromStream(*m_stream);
        OldFormat = doc.OldVersion();
        XMLItem = doc.Root();
    }
    QList<TfrxComponent*> read;
    readElement(XMLItem, Root, nullptr, read);
    resolveFixups();
    for (TfrxComponent* c : read) {
        c->SetIsLoading(false);
        if (!c->asReport())
            c->Loaded();
    }
}

QString TfrxXMLSerializer::WriteComponentStr(TfrxComponent* Obj)
{
    if (!Owner)
        Owner = Obj;
    return Obj->ClassName() + ObjToXML(Obj);
}

void TfrxXMLSerializer::WriteComponent(TfrxComponent* Obj)
{
    if (m_stream)
        m_stream->write((QStringLiteral("<") + WriteComponentStr(Obj) + QStringLiteral("/>")).toUtf8());
}

// ---------------------------------------------------------------- descriptions read many times

TfrxObjectDescription::TfrxObjectDescription(const QString& Text) : m_text(Text)
{
    if (Text.isEmpty() || orv::platform::trimmed(Text) != Text)
        return;
    const qsizetype space = Text.indexOf(u' ');
    m_className = space < 0 ? Text : Text.left(space);
    m_attributes = space < 0 ? QString() : Text.mid(space + 1);
    // Read as XMLToObj reads: the attributes must end before whatever text follows them
    // would be read, with nothing but blanks after the last one.
    const QString& t = m_attributes;
    const qsizetype n = t.size();
    qsizetype i = 0;
    for (;;) {
        while (i < n && t[i] == u' ')
            ++i;
        const qsizetype eq = t.indexOf(u'=', i);
        if (eq < 0) {
            m_plain = i >= n;
            break;
        }
        QString name = t.mid(i, eq - i);
        while (name.endsWith(u' '))
            name.chop(1);
        const qsizetype q1 = t.indexOf(u'"', eq + 1);
        const qsizetype q2 = q1 < 0 ? -1 : t.indexOf(u'"', q1 + 1);
        if (name.isEmpty() || q2 < 0)
            break;
        Step step;
        step.name = name;
        step.rawValue = t.mid(q1 + 1, q2 - q1 - 1);
        m_steps.push_back(std::move(step));
        i = q2 + 1;
    }
    if (!m_plain)
        m_steps.clear();
}

void TfrxXMLSerializer::compile(TfrxObjectDescription& Description, Object* Obj)
{
    Description.m_compiled = true;
    Description.m_class = &Obj->classInfo();
    for (TfrxObjectDescription::Step& step : Description.m_steps) {
        // What applyAttribute does, with every step that depends on more than the classes
        // met left to it.
        Object* target = Obj;
        step.classes = {&Obj->classInfo()};
        QString last = step.name;
        if (last.contains(u'.')) {
            const QStringList parts = last.split(u'.');
            qsizetype k = 0;
            for (; k + 1 < parts.size(); ++k) {
                const PropInfo* p = target->classInfo().findProperty(parts[k]);
                if (!p || p->kind != Kind::Class || !p->isReadable())
                    break;
                Object* next = p->readObject(*target);
                if (!next)
                    break;
                step.path.push_back(p);
                target = next;
                step.classes.push_back(&next->classInfo());
            }
            if (k + 1 < parts.size())
                continue;
            last = parts.last();
        }
        // Every memo and every object read back has these: the memo's text and the name
        // are set as applyAttribute sets them, decided once for the class.
        auto* component = orv::platform::rtti::objectCast<TfrxComponent>(target);
        if (last == QStringLiteral("Text") && step.path.empty() && component && component->asMemo()) {
            step.memoText = true;
            step.value = QVariant(frxUnescapeXMLText(step.rawValue));
            continue;
        }
        if (last == QStringLiteral("Name") && component && component->asReport()) {
            step.skip = true;
            continue;
        }
        if (last.size() == 1 || last == QStringLiteral("Text") || last == QStringLiteral("PropData"))
            continue;
        const PropInfo* p = target->classInfo().findProperty(last);
        if (!p || !p->isWritable()) {
            step.skip = true;
            continue;
        }
        switch (p->kind) {
        case Kind::Integer:
        case Kind::Char:
        case Kind::WChar:
        case Kind::Set:
        case Kind::Int64: {
            qint64 v = 0;
            if (!orv::platform::tryStrToInt64(step.rawValue, v))
                continue;
            step.value = QVariant(p->kind == Kind::Int64 ? v : qint64(qint32(v)));
            break;
        }
        case Kind::Enumeration: {
            qint64 v = 0;
            if (!orv::platform::tryStrToInt64(step.rawValue, v)) {
                const std::optional<int> o = p->enumType->ordinal(step.rawValue);
                if (!o)
                    continue;
                v = *o;
            }
            step.value = QVariant(v);
            break;
        }
        case Kind::Float:
            try {
                step.value = QVariant(frxTextToFloat(step.rawValue));
            } catch (const std::exception&) {
                continue;
            }
            break;
        case Kind::String:
        case Kind::Variant:
            step.value = QVariant(frxUnescapeXMLText(step.rawValue));
            break;
        case Kind::Class:
            continue;
        case Kind::Method:
            step.skip = true;
            continue;
        }
        step.prop = p;
    }
}

void TfrxXMLSerializer::applyDescription(TfrxObjectDescription& Description, Object* Obj)
{
    if (!Description.m_compiled)
        compile(Description, Obj);
    if (&Obj->classInfo() != Description.m_class) {
        XMLToObj(Description.m_attributes, Obj);
        return;
    }
    for (const TfrxObjectDescription::Step& step : Description.m_steps) {
        try {
            Object* target = Obj;
            bool same = step.prop || step.skip || step.memoText;
            for (std::size_t k = 0; same && k < step.path.size(); ++k) {
                target = step.path[k]->readObject(*target);
                same = target && &target->classInfo() == step.classes[k + 1];
            }
            if (!same) {
                applyAttribute(Obj, step.name, step.rawValue);
            } else if (step.memoText) {
                const QString text = step.value.toString();
                static_cast<TfrxComponent*>(target)->asMemo()->SetText(OldFormat ? utf8Decoded(text) : text);
            } else if (step.prop)
                step.prop->write(*target, step.value);
        } catch (const std::exception& e) {
            Errors.Add(exceptionText(e));
        }
    }
}

TfrxComponent* TfrxXMLSerializer::ReadComponentStr(TfrxComponent* Root, TfrxObjectDescription& Description,
                                                   const QString& Text, bool DontFixup)
{
    if (!Description.m_plain)
        return ReadComponentStr(Root, Description.text() + u' ' + Text, DontFixup);
    if (!Owner)
        Owner = Root;
    const orv::platform::rtti::ClassInfo* cls = orv::platform::rtti::findClass(Description.m_className);
    if (!cls || !cls->inheritsFrom(TfrxComponent::staticClassInfo()) || !cls->canCreate()) {
        Errors.Add(frxStringResources()->Get(QStringLiteral("xrCantFindClass")) + u' ' + Description.m_className);
        return nullptr;
    }
    auto* c = orv::platform::rtti::objectCast<TfrxComponent>(cls->create(Root));
    if (!c)
        return nullptr;
    c->SetIsLoading(true);
    applyDescription(Description, c);
    XMLToObj(Text, c);
    return finishReading(c, DontFixup);
}

TfrxComponent* TfrxXMLSerializer::finishReading(TfrxComponent* c, bool DontFixup)
{
    if (DontFixup)
        m_fixups.clear();
    else
        resolveFixups();
    c->SetIsLoading(false);
    if (!c->asReport())
        c->Loaded();
    return c;
}

TfrxComponent* TfrxXMLSerializer::ReadComponentStr(TfrxComponent* Root, const QString& Text, bool DontFixup)
{
    const QString t = orv::platform::trimmed(Text);
    if (t.isEmpty())
        return nullptr;
    if (!Owner)
        Owner = Root;
    const qsizetype space = t.indexOf(u' ');
    const QString className = space < 0 ? t : t.left(space);
    const QString attributes = space < 0 ? QString() : t.mid(space + 1);
    const orv::platform::rtti::ClassInfo* cls = orv::platform::rtti::findClass(className);
    if (!cls || !cls->inheritsFrom(TfrxComponent::staticClassInfo()) || !cls->canCreate()) {
        Errors.Add(frxStringResources()->Get(QStringLiteral("xrCantFindClass")) + u' ' + className);
        return nullptr;
    }
    auto* c = orv::platform::rtti::objectCast<TfrxComponent>(cls->create(Root));
    if (!c)
        return nullptr;
    c->SetIsLoading(true);
    XMLToObj(attributes, c);
    return finishReading(c, DontFixup);
}

TfrxComponent* TfrxXMLSerializer::ReadComponent(TfrxComponent* Root)
{
    if (!m_stream)
        return nullptr;
    TfrxXMLItem item;
    {
        TfrxXMLReader reader(*m_stream);
        reader.ReadRootItem(&item, false);
    }
    if (item.Name.isEmpty())
        return nullptr;
    return ReadComponentStr(Root, item.Name + u' ' + item.Text);
}

void TfrxXMLSerializer::ReadPersistentStr(TfrxComponent* Root, Object* Obj, const QString& Text)
{
    if (!Owner)
        Owner = Root;
    XMLToObj(Text, Obj);
    resolveFixups();
}

} // namespace orv::report
