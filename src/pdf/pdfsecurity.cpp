#include "pdf/pdfsecurity.h"

#include "pdf/crypto.h"

namespace orv::pdf {

namespace {

const unsigned char kPadding[32] = {0x28, 0xBF, 0x4E, 0x5E, 0x4E, 0x75, 0x8A, 0x41, 0x64, 0x00, 0x4E,
                                    0x56, 0xFF, 0xFA, 0x01, 0x08, 0x2E, 0x2E, 0x00, 0xB6, 0xD0, 0x68,
                                    0x3E, 0x80, 0x2F, 0x0C, 0xA9, 0xFE, 0x64, 0x53, 0x69, 0x7A};

QByteArray md5(const QByteArray& data)
{
    TfrxMD5 h;
    h.Update(data);
    h.Finalize();
    return h.DigestBytes();
}

// MD5 applied again to its own result fifty times.
QByteArray rehash50(QByteArray digest)
{
    for (int i = 0; i < 50; ++i)
        digest = md5(digest);
    return digest;
}

QByteArray rc4(const QByteArray& key, const QByteArray& data)
{
    TfrxRC4 cipher;
    cipher.Start(key);
    return cipher.Crypt(data);
}

// The data encrypted with the key, then nineteen times more with the key's bytes
// XORed with 1 to 19.
QByteArray rc4Twenty(const QByteArray& key, QByteArray data)
{
    data = rc4(key, data);
    for (int i = 1; i <= 19; ++i) {
        QByteArray k = key;
        for (char& b : k)
            b = char(b ^ i);
        data = rc4(k, data);
    }
    return data;
}

QByteArray littleEndian(std::uint32_t v, int bytes)
{
    QByteArray out;
    for (int i = 0; i < bytes; ++i)
        out += char((v >> (8 * i)) & 0xFF);
    return out;
}

} // namespace

QByteArray StandardSecurity::padded(const QByteArray& password)
{
    QByteArray out = password.left(32);
    out += QByteArray(reinterpret_cast<const char*>(kPadding), 32 - out.size());
    return out;
}

StandardSecurity::StandardSecurity(const QByteArray& ownerPassword, const QByteArray& userPassword,
                                   std::int32_t permissions, const QByteArray& fileId)
{
    const QByteArray user = padded(userPassword);
    const QByteArray ownerKey = rehash50(md5(padded(ownerPassword.isEmpty() ? userPassword : ownerPassword)));
    m_owner = rc4Twenty(ownerKey, user);
    m_key = rehash50(md5(user + m_owner + littleEndian(std::uint32_t(permissions), 4) + fileId));
    const QByteArray check = md5(QByteArray(reinterpret_cast<const char*>(kPadding), 32) + fileId);
    m_user = rc4Twenty(m_key, check) + QByteArray(16, '\0');
}

QByteArray StandardSecurity::objectKey(int object) const
{
    return md5(m_key + littleEndian(std::uint32_t(object), 3) + QByteArray(2, '\0'));
}

QByteArray StandardSecurity::encrypt(int object, const QByteArray& data) const
{
    return rc4(objectKey(object), data);
}

} // namespace orv::pdf
