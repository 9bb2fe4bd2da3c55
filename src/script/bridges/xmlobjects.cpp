#include "script/bridges/xmlobjects.h"

#include "script/bridges/classlib.h"

#include <QHash>
#include <QSet>

namespace orv::script::bridges {

ORV_RTTI_DEFINE_NAMED(XmlItemObject, platform::rtti::Object, "TfsXMLItem") {}
ORV_RTTI_DEFINE_NAMED(XmlDocumentObject, platform::rtti::Object, "TfsXMLDocument") {}

namespace {

QHash<TfsXMLItem*, XmlItemObject*>& views()
{
    // Never destroyed: elements held by other static objects are destroyed at the very
    // end of the process and still ask it.
    static auto* map = new QHash<TfsXMLItem*, XmlItemObject*>;
    return *map;
}

QSet<TfsXMLItem*>& documentRoots()
{
    static auto* set = new QSet<TfsXMLItem*>;
    return *set;
}

} // namespace

XmlItemObject::XmlItemObject() : XmlItemObject(new TfsXMLItem) {}

XmlItemObject::XmlItemObject(TfsXMLItem* item) : m_item(item)
{
    TfsXMLItem::OnDestroy = &XmlItemObject::dropped;
    views().insert(item, this);
    if (documentRoots().contains(item))
        lendToScripts(this);
}

XmlItemObject::~XmlItemObject()
{
    takeBackFromScripts(this);
    if (TfsXMLItem* item = m_item) {
        views().remove(item);
        m_item = nullptr;
        delete item;
    }
}

void XmlItemObject::dropped(TfsXMLItem* item)
{
    if (views().isEmpty())
        return;
    if (XmlItemObject* view = views().take(item)) {
        view->m_item = nullptr;
        delete view;
    }
}

TfsXMLItem& XmlItemObject::item() const
{
    if (!m_item)
        throw orv::platform::Exception(invalidObjectReferenceText());
    return *m_item;
}

XmlItemObject* XmlItemObject::of(TfsXMLItem* item)
{
    if (!item)
        return nullptr;
    if (XmlItemObject* view = views().value(item))
        return view;
    return new XmlItemObject(item);
}

XmlDocumentObject::XmlDocumentObject() : m_document(std::make_unique<TfsXMLDocument>())
{
    documentRoots().insert(m_document->Root());
}

XmlDocumentObject::~XmlDocumentObject()
{
    documentRoots().remove(m_document->Root());
    if (XmlItemObject* view = views().value(m_document->Root()))
        takeBackFromScripts(view);
}

} // namespace orv::script::bridges
