#include "report/base/values.h"

#include <QDate>
#include <QDateTime>

#include <cmath>

namespace orv::report {

namespace {

const QDate dayZero(1899, 12, 30);

} // namespace

Value toValue(const QVariant& v)
{
    if (!v.isValid() || v.isNull())
        return Value::null();
    switch (v.typeId()) {
    case QMetaType::Bool:
        return Value(v.toBool());
    case QMetaType::Int:
    case QMetaType::Short:
    case QMetaType::SChar:
    case QMetaType::UShort:
    case QMetaType::UChar:
        return Value(v.toInt());
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::Long:
        return Value::fromInt64(v.toLongLong());
    case QMetaType::ULongLong:
    case QMetaType::ULong:
        return Value::fromUInt64(v.toULongLong());
    case QMetaType::Double:
    case QMetaType::Float:
        return Value(v.toDouble());
    case QMetaType::QDate:
        return Value::fromDate(double(dayZero.daysTo(v.toDate())));
    case QMetaType::QDateTime: {
        const QDateTime dt = v.toDateTime();
        const double days = double(dayZero.daysTo(dt.date()));
        return Value::fromDate(days + dt.time().msecsSinceStartOfDay() / 86400000.0);
    }
    default:
        return Value(v.toString());
    }
}

QVariant toVariant(const Value& v)
{
    using namespace orv::script;
    switch (v.type()) {
    case varEmpty:
        return QVariant();
    case varNull:
        return QVariant::fromValue(nullptr);
    case varBoolean:
        return v.asBool();
    case varSmallint:
    case varInteger:
    case varShortInt:
    case varByte:
    case varWord:
        return v.toInt();
    case varLongWord:
    case varInt64:
        return qlonglong(v.toInt64());
    case varDate: {
        const double d = v.asDouble();
        const qint64 ms = qint64(std::llround(d * 86400000.0));
        return QDateTime(dayZero, QTime(0, 0)).addMSecs(ms);
    }
    case varSingle:
    case varDouble:
    case varCurrency:
        return v.toDouble();
    default:
        return QVariant(v.toString());
    }
}

bool isNumericZero(const Value& v)
{
    using namespace orv::script;
    if (v.isText() || v.isEmpty() || v.isNull() || v.isArray())
        return false;
    try {
        return v.toDouble() == 0;
    } catch (const std::exception&) {
        return false;
    }
}

} // namespace orv::report
