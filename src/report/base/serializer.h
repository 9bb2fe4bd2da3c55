#pragma once
// Report objects as XML attribute texts and trees of report components as XML elements:
// the template format, object copies, prepared-page objects and stored collections.
// Properties are written in published order, each only when it differs from its
// declared default or from an ancestor object.
#include "report/base/stringlist.h"

#include <QIODevice>
#include <QList>
#include <QString>

#include <functional>

#include <QVariant>

#include <vector>

namespace orv::report {

class TfrxComponent;
class TfrxXMLItem;

} // namespace orv::report

namespace orv::platform::rtti {
class ClassInfo;
class Object;
class PropInfo;
} // namespace orv::platform::rtti

namespace orv::report {

// An object description (a class name and its attribute text) that many new objects are
// read from, as every object of the prepared pages is read from its source object's
// description followed by its own small difference. Its attributes are looked up and
// converted once, on the first object read from it, and then only set on each object.
class TfrxObjectDescription {
public:
    explicit TfrxObjectDescription(const QString& Text);
    const QString& text() const { return m_text; }

private:
    friend class TfrxXMLSerializer;
    // One attribute: the class-typed properties that lead to the object it sets, each
    // with the class it was found in, and the property with its value converted. Without
    // a property the attribute is read as any attribute is.
    struct Step {
        QString name, rawValue;
        std::vector<const orv::platform::rtti::PropInfo*> path;
        std::vector<const orv::platform::rtti::ClassInfo*> classes; // of the object and of each step on the path
        const orv::platform::rtti::PropInfo* prop = nullptr;
        bool skip = false; // sets nothing
        bool memoText = false; // the text of a memo, unescaped in value
        QVariant value;
    };
    QString m_text;
    QString m_className;
    QString m_attributes;
    // The attributes end cleanly, so read apart from what follows them they read the same.
    bool m_plain = false;
    bool m_compiled = false;
    const orv::platform::rtti::ClassInfo* m_class = nullptr;
    std::vector<Step> m_steps;
};

// A component reference read but not yet resolved.
struct TfrxFixupItem {
    orv::platform::rtti::Object* Obj = nullptr;
    const orv::platform::rtti::PropInfo* PropInfo = nullptr;
    QString Value;
};

// Calls f(name, value) for each `name="value"` of an object's attribute text, in order,
// as the serializer reads them: blanks before a name and after it are skipped, a value
// runs to its closing quote or to the end, and the text ends at the first part that is
// not an attribute.
template <class F>
void forEachAttribute(const QString& Text, F&& f)
{
    qsizetype i = 0;
    const qsizetype n = Text.size();
    for (;;) {
        while (i < n && Text[i] == u' ')
            ++i;
        const qsizetype eq = Text.indexOf(u'=', i);
        if (eq < 0)
            return;
        QStringView name = QStringView(Text).mid(i, eq - i);
        while (name.endsWith(u' '))
            name.chop(1);
        if (name.isEmpty())
            return;
        const qsizetype q1 = Text.indexOf(u'"', eq + 1);
        if (q1 < 0)
            return;
        qsizetype q2 = Text.indexOf(u'"', q1 + 1);
        if (q2 < 0)
            q2 = n;
        f(name, QStringView(Text).mid(q1 + 1, q2 - q1 - 1));
        i = q2 + 1;
    }
}

class TfrxXMLSerializer {
public:
    // Stream may be nullptr when only texts are converted.
    explicit TfrxXMLSerializer(QIODevice* Stream);
    ~TfrxXMLSerializer();
    TfrxXMLSerializer(const TfrxXMLSerializer&) = delete;
    TfrxXMLSerializer& operator=(const TfrxXMLSerializer&) = delete;

    // Lines of everything that failed while reading (sorted, without duplicates).
    orv::report::StringList Errors{orv::report::StringList::Dup::Ignore};
    // The component in whose scope names are looked up (the report); the root being
    // read or written when not set.
    TfrxComponent* Owner = nullptr;
    bool SerializeDefaultValues = false;
    // The document is of the old format: attribute texts were 8-bit, memo texts UTF-8.
    bool OldFormat = false;
    // Supplies an ancestor object for a component (by name) while writing.
    std::function<void(const QString& ComponentName, orv::platform::rtti::Object*& Ancestor)> OnGetAncestor;

    // The attribute text of one object; Add is put before every property name.
    QString ObjToXML(orv::platform::rtti::Object* Obj, const QString& Add = QString(), orv::platform::rtti::Object* Ancestor = nullptr);
    // Applies an attribute text; failures of single attributes go to Errors.
    void XMLToObj(const QString& Text, orv::platform::rtti::Object* Obj);

    // Root (and with SaveChildren its tree) into XMLItem, or as a whole document with
    // declaration and indentation into the stream when XMLItem is nullptr.
    void WriteRootComponent(TfrxComponent* Root, bool SaveChildren = true, TfrxXMLItem* XMLItem = nullptr,
                            bool Streaming = false);
    // A tree from XMLItem, or from a whole document in the stream when XMLItem is
    // nullptr. Malformed XML raises TfrxInvalidXMLException.
    void ReadRootComponent(TfrxComponent* Root, TfrxXMLItem* XMLItem = nullptr);

    // The class name followed by the attribute text.
    QString WriteComponentStr(TfrxComponent* Obj);
    // "<" + WriteComponentStr + "/>" in UTF-8 to the stream.
    void WriteComponent(TfrxComponent* Obj);
    // A new object (owner and parent Root) from a class name and attribute text;
    // nullptr for an empty text or an unknown class.
    TfrxComponent* ReadComponentStr(TfrxComponent* Root, const QString& Text, bool DontFixup = false);
    // The same as ReadComponentStr(Root, Description.text() + " " + Text, DontFixup), with
    // the description's attributes prepared once for all the objects read from it.
    TfrxComponent* ReadComponentStr(TfrxComponent* Root, TfrxObjectDescription& Description, const QString& Text,
                                    bool DontFixup = false);
    // The same from one element of the stream.
    TfrxComponent* ReadComponent(TfrxComponent* Root);
    // Applies a text to any object and resolves its references.
    void ReadPersistentStr(TfrxComponent* Root, orv::platform::rtti::Object* Obj, const QString& Text);
    void CopyFixupList(QList<TfrxFixupItem>& List) const;

private:
    void writeElement(TfrxXMLItem* item, TfrxComponent* c, bool isRoot, bool saveChildren, bool streaming);
    void readElement(TfrxXMLItem* item, TfrxComponent* target, TfrxComponent* parent, QList<TfrxComponent*>& read);
    void applyAttribute(orv::platform::rtti::Object* obj, const QString& name, const QString& rawValue);
    // Every attribute of the description, on an object of its class.
    void applyDescription(TfrxObjectDescription& Description, orv::platform::rtti::Object* Obj);
    void compile(TfrxObjectDescription& Description, orv::platform::rtti::Object* Obj);
    TfrxComponent* finishReading(TfrxComponent* c, bool DontFixup);
    void resolveFixups();
    QIODevice* m_stream;
    QList<TfrxFixupItem> m_fixups;
};

} // namespace orv::report
