#pragma once
// Hashes and ciphers of the PDF writer: MD5 for file identifiers, encryption keys and
// picture digests, RC4 for document encryption, and the hash family and AES block
// cipher that sit beside them.
#include <QByteArray>
#include <QIODevice>
#include <array>
#include <cstdint>
#include <memory>
#include <stdexcept>

// ---------------------------------------------------------------------------------
// MD5 object used by the document writer.

namespace orv::pdf {

class TfrxMD5 {
public:
    TfrxMD5();
    // Starts a new message; may be called again after Finalize.
    void Init();
    void Update(const void* data, std::size_t length);
    void Update(const QByteArray& data) { Update(data.constData(), std::size_t(data.size())); }
    // Pads the message, stores the digest and clears the running state.
    void Finalize();
    // The 16 digest bytes; valid after Finalize.
    const std::array<std::uint8_t, 16>& Digest() const { return m_Digest; }
    QByteArray DigestBytes() const;

private:
    void transform(const std::uint8_t* block);

    std::uint32_t m_State[4];
    std::uint32_t m_Count[2]; // message length in bits, low word first
    std::uint8_t m_Buffer[64];
    std::array<std::uint8_t, 16> m_Digest{};
};

// MD5 of the text's bytes as 32 lower-case hexadecimal digits.
QByteArray frxMD5HexString(const QByteArray& text);
// MD5 of a buffer into 16 bytes.
void frxMD5Buffer(const void* buffer, std::size_t length, std::uint8_t digest[16]);

// ---------------------------------------------------------------------------------
// RC4 stream cipher. Each Start serves one Crypt: the stream counters start at zero on
// every Crypt, on the permutation that the previous Crypt left.

class TfrxRC4 {
public:
    // A key length below 1 or above 256 leaves the permutation as it is.
    void Start(const void* key, int keyLength);
    void Start(const QByteArray& key) { Start(key.constData(), int(key.size())); }
    // Source and target may be the same buffer.
    void Crypt(const void* source, void* target, std::size_t length);
    QByteArray Crypt(const QByteArray& data);

private:
    std::uint8_t FKey[256] = {};
};

// ---------------------------------------------------------------------------------
// Hash family.

class ECryptoHash : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};
class ECryptoHashUnknown : public ECryptoHash {
public:
    using ECryptoHash::ECryptoHash;
};
// A digest buffer of the wrong size.
class EAssertionFailed : public std::logic_error {
public:
    EAssertionFailed() : std::logic_error("Assertion failure") {}
};

class TCryptoHash {
public:
    static constexpr int ChunkSize = 64;

    virtual ~TCryptoHash() = default;
    // "MD5", "SHA1", "Whirlpool" or "Jenkins" (exact); any other name gives nothing.
    static std::unique_ptr<TCryptoHash> Create(const QByteArray& name);
    // Hashes data with the named member; an unknown name raises ECryptoHashUnknown.
    static void Hash(const QByteArray& name, void* digest, int digestSize, const void* data,
                     std::size_t size);
    static void Hash(const QByteArray& name, void* digest, int digestSize, const QByteArray& data);

    void Push(std::uint8_t byte);
    void Push(const void* data, std::size_t size);
    // Reads the stream from its start in pieces of the chunk size until a read gives nothing.
    void Push(QIODevice& stream);
    // Pads the message and writes the digest; size must be DigestSize().
    void GetDigest(void* digest, int size);
    QByteArray GetDigest();
    virtual void Reset();
    virtual int DigestSize() const = 0;

protected:
    TCryptoHash() = default;
    virtual void ProcessChunk() = 0;
    // Appends the padding: 0x80, zeros, then the message length in bits over the last
    // lengthFieldSize bytes of the chunk.
    void PadMessage(int lengthFieldSize, bool littleEndian);
    virtual void Finish() = 0; // pads and leaves the digest ready for WriteDigest
    virtual void WriteDigest(std::uint8_t* out) const = 0;

    std::uint8_t FChunk[ChunkSize] = {};
    std::uint64_t FLength = 0; // bytes pushed so far
};

class TCryptoMD5 final : public TCryptoHash {
public:
    TCryptoMD5() { Reset(); }
    void Reset() override;
    int DigestSize() const override { return 16; }

protected:
    void ProcessChunk() override;
    void Finish() override { PadMessage(8, true); }
    void WriteDigest(std::uint8_t* out) const override;

private:
    std::uint32_t FState[4];
};

class TCryptoSHA1 final : public TCryptoHash {
public:
    TCryptoSHA1() { Reset(); }
    void Reset() override;
    int DigestSize() const override { return 20; }

protected:
    void ProcessChunk() override;
    void Finish() override { PadMessage(8, false); }
    void WriteDigest(std::uint8_t* out) const override;

private:
    std::uint32_t FState[5];
};

class TCryptoWhirlpool final : public TCryptoHash {
public:
    TCryptoWhirlpool() { Reset(); }
    void Reset() override;
    int DigestSize() const override { return 64; }

protected:
    void ProcessChunk() override;
    void Finish() override { PadMessage(32, false); }
    void WriteDigest(std::uint8_t* out) const override;

private:
    std::uint8_t FState[8][8];
};

// Jenkins' one-at-a-time hash over the padded message.
class TCryptoJenkins final : public TCryptoHash {
public:
    TCryptoJenkins() { Reset(); }
    void Reset() override;
    int DigestSize() const override { return 4; }

protected:
    void ProcessChunk() override;
    void Finish() override;
    void WriteDigest(std::uint8_t* out) const override;

private:
    std::uint32_t FState = 0;
};

// ---------------------------------------------------------------------------------
// AES block cipher, one 16-byte block at a time (no chaining mode).

class ECryptoAESException : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};
class ECryptoAESInvalidKeyLength : public ECryptoAESException {
public:
    using ECryptoAESException::ECryptoAESException;
};

using TCryptoAESMatrix = std::array<std::array<std::uint8_t, 4>, 4>; // [column][row]

class TCryptoAES {
public:
    // 16, 24 or 32 key bytes; any other length raises ECryptoAESInvalidKeyLength.
    TCryptoAES(const void* key, int keyLength);
    explicit TCryptoAES(const QByteArray& key) : TCryptoAES(key.constData(), int(key.size())) {}
    virtual ~TCryptoAES() = default;

    virtual void Encrypt(void* output, const void* input) const;
    virtual void Decrypt(void* output, const void* input) const;
    int Rounds() const { return FNr; }

protected:
    virtual void EncryptState(TCryptoAESMatrix& state) const;
    virtual void DecryptState(TCryptoAESMatrix& state) const;

private:
    int FNr = 0;
    std::array<TCryptoAESMatrix, 15> FW{};
};

} // namespace orv::pdf
