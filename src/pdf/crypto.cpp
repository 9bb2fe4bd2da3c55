#include "pdf/crypto.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <cstring>

namespace orv::pdf {

namespace {

std::uint32_t rotl32(std::uint32_t x, int n) { return (x << n) | (x >> (32 - n)); }

std::uint32_t loadLE32(const std::uint8_t* p)
{
    return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 |
           std::uint32_t(p[3]) << 24;
}

std::uint32_t loadBE32(const std::uint8_t* p)
{
    return std::uint32_t(p[0]) << 24 | std::uint32_t(p[1]) << 16 | std::uint32_t(p[2]) << 8 |
           std::uint32_t(p[3]);
}

void storeLE32(std::uint8_t* p, std::uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        p[i] = std::uint8_t(v >> (8 * i));
}

void storeBE32(std::uint8_t* p, std::uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        p[i] = std::uint8_t(v >> (24 - 8 * i));
}

// ---- MD5 ----------------------------------------------------------------------------

// The 64 sine-derived constants, computed rather than stored.
const std::uint32_t* md5Sines()
{
    static const auto table = [] {
        std::array<std::uint32_t, 64> t{};
        for (int i = 0; i < 64; ++i)
            t[i] = std::uint32_t(std::floor(std::fabs(std::sin(double(i + 1))) * 4294967296.0));
        return t;
    }();
    return table.data();
}

void md5Transform(std::uint32_t state[4], const std::uint8_t* block)
{
    static const int shifts[4][4] = {{7, 12, 17, 22}, {5, 9, 14, 20}, {4, 11, 16, 23}, {6, 10, 15, 21}};
    const std::uint32_t* T = md5Sines();
    std::uint32_t x[16];
    for (int i = 0; i < 16; ++i)
        x[i] = loadLE32(block + 4 * i);
    std::uint32_t a = state[0], b = state[1], c = state[2], d = state[3];
    for (int i = 0; i < 64; ++i) {
        const int round = i / 16;
        std::uint32_t f;
        int k;
        switch (round) {
        case 0: f = (b & c) | (~b & d); k = i; break;
        case 1: f = (d & b) | (~d & c); k = (5 * i + 1) % 16; break;
        case 2: f = b ^ c ^ d; k = (3 * i + 5) % 16; break;
        default: f = c ^ (b | ~d); k = (7 * i) % 16; break;
        }
        const std::uint32_t sum = a + f + T[i] + x[k];
        a = d;
        d = c;
        c = b;
        b = b + rotl32(sum, shifts[round][i % 4]);
    }
    state[0] += a;
    state[1] += b;
    state[2] += c;
    state[3] += d;
}

constexpr std::uint32_t kMD5Init[4] = {0x67452301, 0xEFCDAB89, 0x98BADCFE, 0x10325476};

// ---- SHA-1 --------------------------------------------------------------------------

void sha1Transform(std::uint32_t state[5], const std::uint8_t* block)
{
    std::uint32_t w[80];
    for (int i = 0; i < 16; ++i)
        w[i] = loadBE32(block + 4 * i);
    for (int i = 16; i < 80; ++i)
        w[i] = rotl32(w[i - 3] ^ w[i - 8] ^ w[i - 14] ^ w[i - 16], 1);
    std::uint32_t a = state[0], b = state[1], c = state[2], d = state[3], e = state[4];
    for (int i = 0; i < 80; ++i) {
        std::uint32_t f, k;
        if (i < 20) {
            f = (b & c) | (~b & d);
            k = 0x5A827999;
        } else if (i < 40) {
            f = b ^ c ^ d;
            k = 0x6ED9EBA1;
        } else if (i < 60) {
            f = (b & c) | (b & d) | (c & d);
            k = 0x8F1BBCDC;
        } else {
            f = b ^ c ^ d;
            k = 0xCA62C1D6;
        }
        const std::uint32_t t = rotl32(a, 5) + f + e + k + w[i];
        e = d;
        d = c;
        c = rotl32(b, 30);
        b = a;
        a = t;
    }
    state[0] += a;
    state[1] += b;
    state[2] += c;
    state[3] += d;
    state[4] += e;
}

// ---- Galois field helpers shared by Whirlpool (0x11D) and AES (0x11B) -----------------

std::uint8_t gfMul(std::uint8_t a, std::uint8_t b, unsigned poly)
{
    unsigned r = 0, x = a;
    for (; b; b >>= 1) {
        if (b & 1)
            r ^= x;
        x <<= 1;
        if (x & 0x100)
            x ^= poly;
    }
    return std::uint8_t(r);
}

// ---- Whirlpool ----------------------------------------------------------------------

struct WhirlpoolTables {
    std::uint8_t sbox[256];
    std::uint8_t mul[256][8]; // x * c[k] for the circulant row c
};

constexpr std::uint8_t kWhirlpoolRow[8] = {1, 1, 4, 1, 8, 5, 2, 9};

const WhirlpoolTables& whirlpoolTables()
{
    static const WhirlpoolTables tables = [] {
        static const std::uint8_t E[16] = {0x1, 0xB, 0x9, 0xC, 0xD, 0x6, 0xF, 0x3,
                                           0xE, 0x8, 0x7, 0x4, 0xA, 0x2, 0x5, 0x0};
        static const std::uint8_t R[16] = {0x7, 0xC, 0xB, 0xD, 0xE, 0x4, 0x9, 0xF,
                                           0x6, 0x3, 0x8, 0xA, 0x2, 0x5, 0x1, 0x0};
        std::uint8_t Einv[16];
        for (int i = 0; i < 16; ++i)
            Einv[E[i]] = std::uint8_t(i);
        WhirlpoolTables t{};
        for (int u = 0; u < 256; ++u) {
            const std::uint8_t a = E[u >> 4], b = Einv[u & 15];
            const std::uint8_t r = R[a ^ b];
            t.sbox[u] = std::uint8_t(E[a ^ r] << 4 | Einv[b ^ r]);
            for (int k = 0; k < 8; ++k)
                t.mul[u][k] = gfMul(std::uint8_t(u), kWhirlpoolRow[k], 0x11D);
        }
        return t;
    }();
    return tables;
}

using WhirlpoolBlock = std::uint8_t[8][8];

// One round without its key: substitution, column shift, then row times the circulant.
void whirlpoolRound(const WhirlpoolBlock in, WhirlpoolBlock out)
{
    const WhirlpoolTables& t = whirlpoolTables();
    std::uint8_t shifted[8][8];
    for (int i = 0; i < 8; ++i)
        for (int j = 0; j < 8; ++j)
            shifted[i][j] = t.sbox[in[(i - j + 8) % 8][j]];
    for (int i = 0; i < 8; ++i)
        for (int j = 0; j < 8; ++j) {
            std::uint8_t v = 0;
            for (int k = 0; k < 8; ++k)
                v ^= t.mul[shifted[i][k]][(j - k + 8) % 8];
            out[i][j] = v;
        }
}

// ---- AES ----------------------------------------------------------------------------

struct AESTables {
    std::uint8_t sbox[256];
    std::uint8_t inv[256];
};

const AESTables& aesTables()
{
    static const AESTables tables = [] {
        AESTables t{};
        for (int x = 0; x < 256; ++x) {
            std::uint8_t inverse = 0;
            for (int y = 1; y < 256 && x; ++y)
                if (gfMul(std::uint8_t(x), std::uint8_t(y), 0x11B) == 1) {
                    inverse = std::uint8_t(y);
                    break;
                }
            std::uint8_t s = inverse;
            for (int r = 1; r <= 4; ++r)
                s ^= std::uint8_t(inverse << r | inverse >> (8 - r));
            s ^= 0x63;
            t.sbox[x] = s;
            t.inv[s] = std::uint8_t(x);
        }
        return t;
    }();
    return tables;
}

} // namespace

// ---- TfrxMD5 ------------------------------------------------------------------------

TfrxMD5::TfrxMD5() { Init(); }

void TfrxMD5::Init()
{
    std::memcpy(m_State, kMD5Init, sizeof m_State);
    m_Count[0] = m_Count[1] = 0;
    std::memset(m_Buffer, 0, sizeof m_Buffer);
}

void TfrxMD5::transform(const std::uint8_t* block) { md5Transform(m_State, block); }

void TfrxMD5::Update(const void* data, std::size_t length)
{
    const auto* p = static_cast<const std::uint8_t*>(data);
    std::size_t index = (m_Count[0] >> 3) & 63;
    const std::uint64_t bits = (std::uint64_t(m_Count[1]) << 32 | m_Count[0]) + std::uint64_t(length) * 8;
    m_Count[0] = std::uint32_t(bits);
    m_Count[1] = std::uint32_t(bits >> 32);
    while (length > 0) {
        const std::size_t n = std::min<std::size_t>(64 - index, length);
        std::memcpy(m_Buffer + index, p, n);
        index += n;
        p += n;
        length -= n;
        if (index == 64) {
            transform(m_Buffer);
            index = 0;
        }
    }
}

void TfrxMD5::Finalize()
{
    std::uint8_t bits[8];
    storeLE32(bits, m_Count[0]);
    storeLE32(bits + 4, m_Count[1]);
    const std::size_t index = (m_Count[0] >> 3) & 63;
    const std::size_t padLength = index < 56 ? 56 - index : 120 - index;
    std::uint8_t padding[64] = {0x80};
    Update(padding, padLength);
    Update(bits, 8);
    for (int i = 0; i < 4; ++i)
        storeLE32(m_Digest.data() + 4 * i, m_State[i]);
    std::memset(m_State, 0, sizeof m_State);
    m_Count[0] = m_Count[1] = 0;
    std::memset(m_Buffer, 0, sizeof m_Buffer);
}

QByteArray TfrxMD5::DigestBytes() const
{
    return QByteArray(reinterpret_cast<const char*>(m_Digest.data()), 16);
}

QByteArray frxMD5HexString(const QByteArray& text)
{
    TfrxMD5 md5;
    md5.Update(text);
    md5.Finalize();
    return md5.DigestBytes().toHex(); // lower case
}

void frxMD5Buffer(const void* buffer, std::size_t length, std::uint8_t digest[16])
{
    TfrxMD5 md5;
    md5.Update(buffer, length);
    md5.Finalize();
    std::memcpy(digest, md5.Digest().data(), 16);
}

// ---- TfrxRC4 ------------------------------------------------------------------------

void TfrxRC4::Start(const void* key, int keyLength)
{
    if (keyLength < 1 || keyLength > 256)
        return;
    const auto* k = static_cast<const std::uint8_t*>(key);
    for (int i = 0; i < 256; ++i)
        FKey[i] = std::uint8_t(i);
    int j = 0;
    for (int i = 0; i < 256; ++i) {
        j = (j + FKey[i] + k[i % keyLength]) & 255;
        std::swap(FKey[i], FKey[j]);
    }
}

void TfrxRC4::Crypt(const void* source, void* target, std::size_t length)
{
    const auto* in = static_cast<const std::uint8_t*>(source);
    auto* out = static_cast<std::uint8_t*>(target);
    int i = 0, j = 0;
    for (std::size_t n = 0; n < length; ++n) {
        i = (i + 1) & 255;
        j = (j + FKey[i]) & 255;
        std::swap(FKey[i], FKey[j]);
        out[n] = in[n] ^ FKey[(FKey[i] + FKey[j]) & 255];
    }
}

QByteArray TfrxRC4::Crypt(const QByteArray& data)
{
    QByteArray out(data.size(), Qt::Uninitialized);
    Crypt(data.constData(), out.data(), std::size_t(data.size()));
    return out;
}

// ---- TCryptoHash --------------------------------------------------------------------

std::unique_ptr<TCryptoHash> TCryptoHash::Create(const QByteArray& name)
{
    if (name == "MD5")
        return std::make_unique<TCryptoMD5>();
    if (name == "SHA1")
        return std::make_unique<TCryptoSHA1>();
    if (name == "Whirlpool")
        return std::make_unique<TCryptoWhirlpool>();
    if (name == "Jenkins")
        return std::make_unique<TCryptoJenkins>();
    return nullptr;
}

void TCryptoHash::Hash(const QByteArray& name, void* digest, int digestSize, const void* data,
                       std::size_t size)
{
    auto hash = Create(name);
    if (!hash)
        throw ECryptoHashUnknown("Hash function " + name.toStdString() + " is unknown");
    hash->Push(data, size);
    hash->GetDigest(digest, digestSize);
}

void TCryptoHash::Hash(const QByteArray& name, void* digest, int digestSize, const QByteArray& data)
{
    Hash(name, digest, digestSize, data.constData(), std::size_t(data.size()));
}

void TCryptoHash::Push(std::uint8_t byte) { Push(&byte, 1); }

void TCryptoHash::Push(const void* data, std::size_t size)
{
    const auto* p = static_cast<const std::uint8_t*>(data);
    for (std::size_t i = 0; i < size; ++i) {
        FChunk[FLength % ChunkSize] = p[i];
        ++FLength;
        if (FLength % ChunkSize == 0)
            ProcessChunk();
    }
}

void TCryptoHash::Push(QIODevice& stream)
{
    stream.seek(0);
    char piece[ChunkSize];
    for (;;) {
        const qint64 n = stream.read(piece, ChunkSize);
        if (n <= 0)
            break;
        Push(piece, std::size_t(n));
    }
}

void TCryptoHash::PadMessage(int lengthFieldSize, bool littleEndian)
{
    const std::uint64_t bits = FLength * 8;
    Push(std::uint8_t(0x80));
    while (int(FLength % ChunkSize) != ChunkSize - lengthFieldSize)
        Push(std::uint8_t(0));
    std::uint8_t field[32] = {};
    for (int i = 0; i < 8 && i < lengthFieldSize; ++i) {
        const std::uint8_t b = std::uint8_t(bits >> (8 * i));
        field[littleEndian ? i : lengthFieldSize - 1 - i] = b;
    }
    Push(field, std::size_t(lengthFieldSize)); // the last push completes and processes the chunk
}

void TCryptoHash::GetDigest(void* digest, int size)
{
    if (size != DigestSize())
        throw EAssertionFailed();
    Finish();
    WriteDigest(static_cast<std::uint8_t*>(digest));
}

QByteArray TCryptoHash::GetDigest()
{
    QByteArray out(DigestSize(), '\0');
    GetDigest(out.data(), int(out.size()));
    return out;
}

void TCryptoHash::Reset()
{
    FLength = 0;
    std::memset(FChunk, 0, sizeof FChunk);
}

void TCryptoMD5::Reset()
{
    TCryptoHash::Reset();
    std::memcpy(FState, kMD5Init, sizeof FState);
}

void TCryptoMD5::ProcessChunk() { md5Transform(FState, FChunk); }

void TCryptoMD5::WriteDigest(std::uint8_t* out) const
{
    for (int i = 0; i < 4; ++i)
        storeLE32(out + 4 * i, FState[i]);
}

void TCryptoSHA1::Reset()
{
    TCryptoHash::Reset();
    static const std::uint32_t init[5] = {0x67452301, 0xEFCDAB89, 0x98BADCFE, 0x10325476, 0xC3D2E1F0};
    std::memcpy(FState, init, sizeof FState);
}

void TCryptoSHA1::ProcessChunk() { sha1Transform(FState, FChunk); }

void TCryptoSHA1::WriteDigest(std::uint8_t* out) const
{
    for (int i = 0; i < 5; ++i)
        storeBE32(out + 4 * i, FState[i]);
}

void TCryptoWhirlpool::Reset()
{
    TCryptoHash::Reset();
    std::memset(FState, 0, sizeof FState);
}

void TCryptoWhirlpool::ProcessChunk()
{
    const WhirlpoolTables& t = whirlpoolTables();
    std::uint8_t key[8][8], state[8][8], next[8][8];
    for (int i = 0; i < 8; ++i)
        for (int j = 0; j < 8; ++j) {
            key[i][j] = FState[i][j];
            state[i][j] = FChunk[8 * i + j] ^ key[i][j];
        }
    for (int r = 1; r <= 10; ++r) {
        whirlpoolRound(key, next);
        for (int j = 0; j < 8; ++j)
            next[0][j] ^= t.sbox[8 * (r - 1) + j];
        std::memcpy(key, next, sizeof key);
        whirlpoolRound(state, next);
        for (int i = 0; i < 8; ++i)
            for (int j = 0; j < 8; ++j)
                state[i][j] = next[i][j] ^ key[i][j];
    }
    for (int i = 0; i < 8; ++i)
        for (int j = 0; j < 8; ++j)
            FState[i][j] ^= state[i][j] ^ FChunk[8 * i + j];
}

void TCryptoWhirlpool::WriteDigest(std::uint8_t* out) const { std::memcpy(out, FState, 64); }

void TCryptoJenkins::Reset()
{
    TCryptoHash::Reset();
    FState = 0;
}

void TCryptoJenkins::ProcessChunk()
{
    for (std::uint8_t b : FChunk) {
        FState += b;
        FState *= 1025;
        FState ^= FState >> 6;
    }
}

void TCryptoJenkins::Finish()
{
    PadMessage(32, true);
    FState *= 9;
    FState ^= FState >> 11;
    FState *= 32769;
}

void TCryptoJenkins::WriteDigest(std::uint8_t* out) const { storeLE32(out, FState); }

// ---- TCryptoAES ---------------------------------------------------------------------

TCryptoAES::TCryptoAES(const void* key, int keyLength)
{
    if (keyLength != 16 && keyLength != 24 && keyLength != 32)
        throw ECryptoAESInvalidKeyLength("AES-" + std::to_string(keyLength * 8) + " is undefined");
    const AESTables& t = aesTables();
    const int nk = keyLength / 4;
    FNr = nk + 6;
    const int words = 4 * (FNr + 1);
    std::array<std::array<std::uint8_t, 4>, 60> w{};
    std::memcpy(w.data(), key, std::size_t(keyLength));
    std::uint8_t rcon = 1;
    for (int i = nk; i < words; ++i) {
        std::array<std::uint8_t, 4> temp = w[i - 1];
        if (i % nk == 0) {
            temp = {std::uint8_t(t.sbox[temp[1]] ^ rcon), t.sbox[temp[2]], t.sbox[temp[3]], t.sbox[temp[0]]};
            rcon = gfMul(rcon, 2, 0x11B);
        } else if (nk > 6 && i % nk == 4) {
            for (auto& b : temp)
                b = t.sbox[b];
        }
        for (int k = 0; k < 4; ++k)
            w[i][k] = w[i - nk][k] ^ temp[k];
    }
    for (int r = 0; r <= FNr; ++r)
        for (int c = 0; c < 4; ++c)
            FW[r][c] = w[4 * r + c];
}

namespace {

void addRoundKey(TCryptoAESMatrix& s, const TCryptoAESMatrix& k)
{
    for (int c = 0; c < 4; ++c)
        for (int r = 0; r < 4; ++r)
            s[c][r] ^= k[c][r];
}

void subBytes(TCryptoAESMatrix& s, const std::uint8_t* box)
{
    for (auto& column : s)
        for (auto& b : column)
            b = box[b];
}

// Row r moves r places to the left (right when inverse).
void shiftRows(TCryptoAESMatrix& s, bool inverse)
{
    const TCryptoAESMatrix old = s;
    for (int c = 0; c < 4; ++c)
        for (int r = 1; r < 4; ++r)
            s[c][r] = old[(inverse ? c - r + 4 : c + r) % 4][r];
}

void mixColumns(TCryptoAESMatrix& s, bool inverse)
{
    static const std::uint8_t forward[4] = {2, 3, 1, 1};
    static const std::uint8_t backward[4] = {14, 11, 13, 9};
    const std::uint8_t* m = inverse ? backward : forward;
    for (auto& column : s) {
        const auto a = column;
        for (int r = 0; r < 4; ++r) {
            std::uint8_t v = 0;
            for (int k = 0; k < 4; ++k)
                v ^= gfMul(a[k], m[(k - r + 4) % 4], 0x11B);
            column[r] = v;
        }
    }
}

} // namespace

void TCryptoAES::EncryptState(TCryptoAESMatrix& s) const
{
    const AESTables& t = aesTables();
    addRoundKey(s, FW[0]);
    for (int round = 1; round <= FNr; ++round) {
        subBytes(s, t.sbox);
        shiftRows(s, false);
        if (round != FNr)
            mixColumns(s, false);
        addRoundKey(s, FW[round]);
    }
}

void TCryptoAES::DecryptState(TCryptoAESMatrix& s) const
{
    const AESTables& t = aesTables();
    addRoundKey(s, FW[FNr]);
    for (int round = FNr - 1; round >= 0; --round) {
        shiftRows(s, true);
        subBytes(s, t.inv);
        addRoundKey(s, FW[round]);
        if (round != 0)
            mixColumns(s, true);
    }
}

void TCryptoAES::Encrypt(void* output, const void* input) const
{
    TCryptoAESMatrix s;
    std::memcpy(s.data(), input, 16);
    EncryptState(s);
    std::memcpy(output, s.data(), 16);
}

void TCryptoAES::Decrypt(void* output, const void* input) const
{
    TCryptoAESMatrix s;
    std::memcpy(s.data(), input, 16);
    DecryptState(s);
    std::memcpy(output, s.data(), 16);
}

} // namespace orv::pdf
