#pragma once
// The standard security handler of PDF documents, revision 3: a 128-bit RC4 document
// key derived from the user password, the owner and user entries of the encryption
// dictionary, and the per-object keys that encrypt each object's strings and streams.
#include <QByteArray>
#include <cstdint>

namespace orv::pdf {

class StandardSecurity {
public:
    // Passwords as the bytes the user typed (cut to 32); fileId is the file identifier's
    // 16 bytes; permissions the signed permission value.
    StandardSecurity(const QByteArray& ownerPassword, const QByteArray& userPassword, std::int32_t permissions,
                     const QByteArray& fileId);

    const QByteArray& ownerEntry() const { return m_owner; } // "/O", 32 bytes
    const QByteArray& userEntry() const { return m_user; }   // "/U", 32 bytes
    const QByteArray& documentKey() const { return m_key; }  // 16 bytes

    // The key of object number `object` (generation 0).
    QByteArray objectKey(int object) const;
    // The data encrypted with the object's key, the cipher started afresh.
    QByteArray encrypt(int object, const QByteArray& data) const;

    // A password padded or cut to 32 bytes with the standard's padding string.
    static QByteArray padded(const QByteArray& password);

private:
    QByteArray m_owner, m_user, m_key;
};

} // namespace orv::pdf
