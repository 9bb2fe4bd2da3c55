#include <gtest/gtest.h>

#include <QBuffer>
#include <cstring>

#include "pdf/crypto.h"

using namespace orv::pdf;

namespace {

QByteArray digestOf(const QByteArray& name, const QByteArray& data, int size)
{
    QByteArray digest(size, '\0');
    TCryptoHash::Hash(name, digest.data(), size, data);
    return digest.toHex();
}

} // namespace

TEST(MD5, StandardVectorsAsLowerCaseHex)
{
    const struct {
        const char* text;
        const char* hex;
    } cases[] = {
        {"", "d41d8cd98f00b204e9800998ecf8427e"},
        {"abc", "900150983cd24fb0d6963f7d28e17f72"},
        {"message digest", "f96b697d7cb7938d525a2f31aaf161d0"},
        {"abcdefghijklmnopqrstuvwxyz", "c3fcd3d76192e4007dfb496cca67e13b"},
        // 80 bytes: the padding spills into a second block
        {"12345678901234567890123456789012345678901234567890123456789012345678901234567890",
         "57edf4a22be3c955ac49da2e2107b67a"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(frxMD5HexString(c.text), QByteArray(c.hex)) << c.text;
        EXPECT_EQ(digestOf("MD5", c.text, 16), QByteArray(c.hex)) << c.text;
        std::uint8_t raw[16];
        frxMD5Buffer(c.text, std::strlen(c.text), raw);
        EXPECT_EQ(QByteArray(reinterpret_cast<char*>(raw), 16).toHex(), QByteArray(c.hex));
    }
}

TEST(MD5, ObjectHashesPiecewiseAndAgainAfterInit)
{
    TfrxMD5 md5;
    const QByteArray text = "message digest";
    for (int i = 0; i < text.size(); ++i)
        md5.Update(text.constData() + i, 1);
    md5.Finalize();
    EXPECT_EQ(md5.DigestBytes().toHex(), "f96b697d7cb7938d525a2f31aaf161d0");
    md5.Init();
    md5.Update("abc");
    md5.Finalize();
    EXPECT_EQ(md5.DigestBytes().toHex(), "900150983cd24fb0d6963f7d28e17f72");
}

TEST(CryptoHash, MembersGiveTheirStandardDigests)
{
    const struct {
        const char* name;
        int size;
        const char* text;
        const char* hex;
    } cases[] = {
        {"SHA1", 20, "", "da39a3ee5e6b4b0d3255bfef95601890afd80709"},
        {"SHA1", 20, "abc", "a9993e364706816aba3e25717850c26c9cd0d89d"},
        {"SHA1", 20, "abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq",
         "84983e441c3bd26ebaae4aa1f95129e5e54670f1"},
        {"Whirlpool", 64, "",
         "19fa61d75522a4669b44e39c1d2e1726c530232130d407f89afee0964997f7a73e83be698b288febcf88e3e03c4f0757ea8964e59b63d93708b138cc42a66eb3"},
        {"Whirlpool", 64, "abc",
         "4e2448a4c6f486bb16b6562c73b4020bf3043e3a731bce721ae1b303d97e6d4c7181eebdb6c57e277d0e34957114cbd6c797fc9d95d8b582d225292076d4eef5"},
        {"Whirlpool", 64, "The quick brown fox jumps over the lazy dog",
         "b97de512e91e3828b40d2b0fdce9ceb3c4a71f9bea8d88e75c4fa854df36725fd2b52eb6544edcacd6f8beddfea403cb55ae31f03ad62a5ef54e42ee82c3fb35"},
        // One-at-a-time over the message padded with a 32-byte little-endian bit count.
        {"Jenkins", 4, "", "48c7df83"},
        {"Jenkins", 4, "abc", "5aa77e5a"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(digestOf(c.name, c.text, c.size), QByteArray(c.hex)) << c.name << " " << c.text;
}

TEST(CryptoHash, CreateByExactNameOnly)
{
    EXPECT_NE(TCryptoHash::Create("MD5"), nullptr);
    EXPECT_EQ(TCryptoHash::Create("md5"), nullptr);
    EXPECT_EQ(TCryptoHash::Create("SHA256"), nullptr);
    std::uint8_t digest[16];
    try {
        TCryptoHash::Hash("SHA256", digest, 16, QByteArray("x"));
        FAIL() << "no exception";
    } catch (const ECryptoHashUnknown& e) {
        EXPECT_STREQ(e.what(), "Hash function SHA256 is unknown");
    }
    TCryptoMD5 md5;
    EXPECT_THROW(md5.GetDigest(digest, 15), EAssertionFailed);
}

TEST(CryptoHash, StreamIsReadFromItsStartWhereverItStands)
{
    QByteArray data = "abc";
    QBuffer stream(&data);
    stream.open(QIODevice::ReadOnly);
    stream.seek(2);
    TCryptoMD5 md5;
    md5.Push(stream);
    EXPECT_EQ(md5.GetDigest().toHex(), "900150983cd24fb0d6963f7d28e17f72");
}

TEST(CryptoHash, SecondDigestWithoutResetDiffersAndResetStartsAgain)
{
    TCryptoSHA1 sha;
    sha.Push("abc", 3);
    const QByteArray first = sha.GetDigest();
    EXPECT_NE(sha.GetDigest(), first);
    sha.Reset();
    sha.Push("abc", 3);
    EXPECT_EQ(sha.GetDigest(), first);
}

TEST(RC4, KnownVectors)
{
    const struct {
        const char* key;
        const char* plain;
        const char* hex;
    } cases[] = {
        {"Key", "Plaintext", "bbf316e8d940af0ad3"},
        {"Wiki", "pedia", "1021bf0420"},
        {"Secret", "Attack at dawn", "45a01f645fc35b383552544b9bf5"},
    };
    for (const auto& c : cases) {
        TfrxRC4 rc4;
        rc4.Start(QByteArray(c.key));
        EXPECT_EQ(rc4.Crypt(QByteArray(c.plain)).toHex(), QByteArray(c.hex)) << c.key;
        // Encrypting in place, and decrypting with the same key, restore the text.
        QByteArray buffer = QByteArray::fromHex(c.hex);
        rc4.Start(QByteArray(c.key));
        rc4.Crypt(buffer.constData(), buffer.data(), std::size_t(buffer.size()));
        EXPECT_EQ(buffer, QByteArray(c.plain));
    }
}

TEST(RC4, EachCryptStartsTheCountersAgainOnTheLeftPermutation)
{
    TfrxRC4 rc4;
    rc4.Start(QByteArray("Key"));
    EXPECT_EQ(rc4.Crypt(QByteArray("Plaintext")).toHex(), "bbf316e8d940af0ad3");
    EXPECT_EQ(rc4.Crypt(QByteArray("Plaintext")).toHex(), "05172b96299b6b2f6e");
}

TEST(RC4, KeyLengthOutsideOneTo256LeavesThePermutation)
{
    TfrxRC4 keyed, ignored;
    keyed.Start(QByteArray("Wiki"));
    ignored.Start(QByteArray("Wiki"));
    ignored.Start(QByteArray(257, 'k'));
    ignored.Start("", 0);
    EXPECT_EQ(ignored.Crypt(QByteArray("pedia")), keyed.Crypt(QByteArray("pedia")));
}

TEST(AES, StandardVectorsForTheThreeKeyLengths)
{
    const QByteArray plain = QByteArray::fromHex("00112233445566778899aabbccddeeff");
    const struct {
        int keyBytes;
        int rounds;
        const char* cipher;
    } cases[] = {
        {16, 10, "69c4e0d86a7b0430d8cdb78070b4c55a"},
        {24, 12, "dda97ca4864cdfe06eaf70a0ec0d7191"},
        {32, 14, "8ea2b7ca516745bfeafc49904b496089"},
    };
    for (const auto& c : cases) {
        QByteArray key;
        for (int i = 0; i < c.keyBytes; ++i)
            key.append(char(i));
        const TCryptoAES aes(key);
        EXPECT_EQ(aes.Rounds(), c.rounds);
        QByteArray out(16, '\0'), back(16, '\0');
        aes.Encrypt(out.data(), plain.constData());
        EXPECT_EQ(out.toHex(), QByteArray(c.cipher)) << c.keyBytes;
        aes.Decrypt(back.data(), out.constData());
        EXPECT_EQ(back, plain);
    }
}

TEST(AES, OtherKeyLengthsAreUndefined)
{
    try {
        TCryptoAES aes(QByteArray(20, 'k'));
        FAIL() << "no exception";
    } catch (const ECryptoAESInvalidKeyLength& e) {
        EXPECT_STREQ(e.what(), "AES-160 is undefined");
    }
}
