// Reads arbitrary bytes as a script XML document, then writes, copies and reads it again
// and works its attributes.
#include <cstdint>

#include "platform/core/exceptions.h"
#include "script/front/xml.h"

using namespace orv::script;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    TfsXMLDocument doc;
    try {
        doc.LoadFromBytes(QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)));
    } catch (const orv::platform::Exception&) {
        // Malformed documents fail with "Invalid file format"; the tree read so far stays.
    }
    try {
        TfsXMLItem* root = doc.Root();
        for (int i = 0; i < root->Count(); ++i) {
            TfsXMLItem* item = root->Items(i);
            item->GetProp(QStringLiteral("text"));
            item->SetProp(QStringLiteral("pos"), item->Text());
            item->PropExists(item->Name());
        }
        TfsXMLItem copy;
        copy.Assign(root);
        const QByteArray bytes = doc.SaveToBytes();
        TfsXMLDocument back;
        back.LoadFromBytes(bytes);
    } catch (const orv::platform::Exception&) {
        // Unescaping a reference whose digits are no number raises a conversion error.
    }
    return 0;
}
