#pragma once
// The script engine's XML elements and documents as scripts hold them. A script object
// stands for one element and goes when its element goes (so a handle never outlives
// it); freeing the object frees the element, except the root of a document, which
// belongs to its document.
#include "script/bridges/common.h"
#include "script/front/xml.h"

#include <memory>

namespace orv::script::bridges {

class XmlItemObject : public platform::rtti::Object {
    ORV_RTTI_CLASS(XmlItemObject)
public:
    // A new element of its own.
    XmlItemObject();
    ~XmlItemObject() override;
    // The element; raises the invalid-reference error once it has gone.
    TfsXMLItem& item() const;
    // The script object of an element (made when first asked for); nullptr for nullptr.
    static XmlItemObject* of(TfsXMLItem* item);

private:
    explicit XmlItemObject(TfsXMLItem* item);
    static void dropped(TfsXMLItem* item);
    TfsXMLItem* m_item;
};

class XmlDocumentObject : public platform::rtti::Object {
    ORV_RTTI_CLASS(XmlDocumentObject)
public:
    XmlDocumentObject();
    ~XmlDocumentObject() override;
    TfsXMLDocument& document() { return *m_document; }

private:
    std::unique_ptr<TfsXMLDocument> m_document;
};

} // namespace orv::script::bridges
