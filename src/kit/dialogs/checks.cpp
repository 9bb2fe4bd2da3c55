#include "kit/dialogs/checks.h"

#include "archive/helpers.h"
#include "platform/core/text.h"

#include <array>
#include <optional>

namespace orv::kit {
using namespace orv::archive;
using namespace orv::platform;
} // namespace orv::kit

namespace orv::kit {

namespace {

// Values of the characters "0" to "Z" (codes 48 to 90) in the odd and even positions of
// a tax code; the seven characters between "9" and "A" count 0 in both.
constexpr std::array<int, 43> kOddValues = {
    1, 0, 5, 7, 9, 13, 15, 17, 19, 21,                      // 0-9
    0, 0, 0, 0, 0, 0, 0,                                    // : ; < = > ? @
    1, 0, 5, 7, 9, 13, 15, 17, 19, 21, 2, 4, 18, 20, 11, 3, // A-P
    6, 8, 12, 14, 16, 10, 22, 25, 24, 23,                   // Q-Z
};

std::optional<int> taxCodeValue(QChar c, bool oddPosition)
{
    const char16_t u = c.unicode();
    if (u < u'0' || u > u'Z') return std::nullopt;
    if (oddPosition) return kOddValues[u - u'0'];
    if (u <= u'9') return u - u'0';
    if (u >= u'A') return u - u'A';
    return 0;
}

int digitValue(QChar c) { return c.unicode() - u'0'; }
bool isDigit(QChar c) { return c >= u'0' && c <= u'9'; }

// A doubled digit counts as the sum of its two digits.
int doubledDigit(int d) { return d * 2 > 9 ? d * 2 - 9 : d * 2; }

struct Office {
    const char* code;
    const char* name;
};

constexpr Office kOffices[] = {
    {"001", "Torino"}, {"002", "Vercelli"}, {"003", "Novara"}, {"004", "Cuneo"}, {"005", "Asti"},
    {"006", "Alessandria"}, {"007", "Aosta"}, {"008", "Imperia"}, {"009", "Savona"}, {"010", "Genova 1"},
    {"011", "La Spezia"}, {"012", "Varese"}, {"013", "Como"}, {"014", "Sondrio"}, {"015", "Milano 1"},
    {"016", "Bergamo"}, {"017", "Brescia 1"}, {"018", "Pavia"}, {"019", "Cremona"}, {"020", "Mantova"},
    {"021", "Bolzano"}, {"022", "Trento"}, {"023", "Verona"}, {"024", "Vicenza"}, {"025", "Belluno"},
    {"026", "Treviso"}, {"027", "Venezia"}, {"028", "Padova"}, {"029", "Rovigo"}, {"030", "Udine"},
    {"031", "Gorizia"}, {"032", "Trieste"}, {"033", "Piacenza"}, {"034", "Parma"}, {"035", "Reggio Emilia"},
    {"036", "Modena"}, {"037", "Bologna 1"}, {"038", "Ferrara"}, {"039", "Ravenna"}, {"040", "Forl\u00ec"},
    {"041", "Pesaro"}, {"042", "Ancona"}, {"043", "Macerata"}, {"044", "Ascoli Piceno"}, {"045", "Massa Carrara"},
    {"046", "Lucca"}, {"047", "Pistoia"}, {"048", "Firenze 1"}, {"049", "Livorno"}, {"050", "Pisa"},
    {"051", "Arezzo"}, {"052", "Siena"}, {"053", "Grosseto"}, {"054", "Perugia"}, {"055", "Terni"},
    {"056", "Viterbo"}, {"057", "Rieti"}, {"058", "Roma 1"}, {"059", "Latina"}, {"060", "Frosinone"},
    {"061", "Caserta"}, {"062", "Benevento"}, {"063", "Napoli 1"}, {"064", "Avellino"}, {"065", "Salerno"},
    {"066", "Aquila"}, {"067", "Teramo"}, {"068", "Pescara"}, {"069", "Chieti"}, {"070", "Campobasso"},
    {"071", "Foggia"}, {"072", "Bari"}, {"073", "Taranto"}, {"074", "Brindisi"}, {"075", "Lecce"},
    {"076", "Potenza"}, {"077", "Matera"}, {"078", "Cosenza"}, {"079", "Catanzaro"}, {"080", "Reggio Calabria"},
    {"081", "Trapani"}, {"082", "Palermo"}, {"083", "Messina"}, {"084", "Agrigento"}, {"085", "Caltanissetta"},
    {"086", "Enna"}, {"087", "Catania"}, {"088", "Ragusa"}, {"089", "Siracusa"}, {"090", "Sassari"},
    {"091", "Nuoro"}, {"092", "Cagliari"}, {"093", "Pordenone"}, {"094", "Isernia"}, {"095", "Oristano"},
    {"096", "Monza (Milano 2)"}, {"097", "Prato (Firenze 2)"}, {"098", "Brescia 2"}, {"099", "Chiavari (Genova 2)"},
    {"100", "Roma 2"}, {"101", "Bologna 2"}, {"102", "Napoli 2"}, {"120", "Bologna 2"}, {"121", "Napoli 2"},
};
static_assert(std::size(kOffices) == 104);

// The rest of a decimal digit string modulo 97, reduced nine digits at a time with the
// remainder written in front of the next digits.
int modulo97(const QString& digits)
{
    if (digits.isEmpty()) return 0;
    int rest = 0;
    qsizetype pos = 0;
    QString chunk;
    while (pos < digits.size()) {
        chunk = pos == 0 ? QString() : QString::number(rest);
        const qsizetype take = 9 - chunk.size();
        chunk += digits.mid(pos, take);
        pos += take;
        rest = int(chunk.toLongLong() % 97);
    }
    return rest;
}

} // namespace

bool ControllaCodFisc(const QString& text)
{
    if (text.size() != 16) return false;
    int sum = 0;
    for (int i = 0; i < 15; ++i) {
        const auto v = taxCodeValue(text[i], i % 2 == 0);
        if (!v) return false;
        sum += *v;
    }
    return text[15] == QChar(u'A' + sum % 26);
}

bool ControllaPartitaIva(const QString& text)
{
    if (text.size() != 11 || !std::all_of(text.begin(), text.end(), isDigit)) return false;
    int sum = 0;
    for (int i = 0; i < 10; ++i) {
        const int d = digitValue(text[i]);
        sum += i % 2 == 0 ? d : doubledDigit(d);
    }
    return digitValue(text[10]) == (10 - sum % 10) % 10;
}

QString UfficioIva(const QString& code)
{
    for (const Office& o : kOffices) {
        if (code == QLatin1String(o.code)) return QString::fromUtf8(o.name);
    }
    return {};
}

int ControllaCarta(const QString& text)
{
    QString digits;
    for (QChar c : Sinistra(text, 20)) {
        if (isDigit(c)) digits += c;
    }
    if (digits.isEmpty()) return 0;
    // From the check digit leftwards, every second digit is doubled.
    int sum = 0;
    for (qsizetype i = digits.size() - 1, n = 0; i >= 0; --i, ++n) {
        const int d = digitValue(digits[i]);
        sum += n % 2 == 1 ? doubledDigit(d) : d;
    }
    if (sum % 10 != 0) return 0;
    return digitValue(digits[0]) - 2;
}

QString NumeriIban(const QString& text)
{
    QString out;
    out.reserve(text.size() * 2);
    for (QChar c : text) {
        if (c >= u'A' && c <= u'Z') out += QString::number(c.unicode() - u'A' + 10);
        else out += c;
    }
    return out;
}

int ModuloIban(const QString& text)
{
    QString t = orv::platform::upperAZ(text);
    const qsizetype iban = t.indexOf(QLatin1String("IBAN"));
    if (iban >= 0) t.remove(iban, 4);
    t = t.mid(4) + t.left(4);
    for (QChar c : t) {
        if (!isDigit(c) && !(c >= u'A' && c <= u'Z')) return 0;
    }
    return modulo97(NumeriIban(t));
}

bool ControllaIban(const QString& text)
{
    QString t = text;
    t.remove(QLatin1Char(' '));
    return ModuloIban(t) == 1;
}

} // namespace orv::kit

namespace orv::kit {

QString cardFamily(int result, const QString& trimmedNumber)
{
    switch (result) {
    case 1: {
        const QString prefix = trimmedNumber.left(2);
        if (prefix == u"30" || prefix == u"36" || prefix == u"38") return QStringLiteral("Diner's Club / Carte Blanche");
        if (prefix == u"34" || prefix == u"37") return QStringLiteral("American Express");
        if (prefix == u"31" || prefix == u"33" || prefix == u"35") return QStringLiteral("JCB");
        return {};
    }
    case 2: return QStringLiteral("Visa");
    case 3: return QStringLiteral("MasterCard");
    case 4: return QStringLiteral("Discover");
    default: return {};
    }
}

bool opensVatChecker(const QString& fieldValue)
{
    const QString v = trimmed(fieldValue);
    return !v.isEmpty() && SoloCifre(v);
}

} // namespace orv::kit
