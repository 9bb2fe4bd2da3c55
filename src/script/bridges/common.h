#pragma once
// What the script bridges share: reading the arguments of a host call in the kinds the
// declarations give them, and the small wrapper objects in which rectangles, points,
// vectors and matrices travel to and from scripts.
#include "platform/core/reflection.h"
#include "script/core/items.h"
#include "script/core/objects.h"
#include "script/core/script.h"

#include <QPointF>
#include <QRectF>
#include <QTransform>

namespace orv::script::bridges {

inline Value argValue(TfsMethodHelper* c, int i) { return c->GetVParam(i); }
inline int argInt(TfsMethodHelper* c, int i) { return c->GetVParam(i).toInt(); }
inline qint64 argInt64(TfsMethodHelper* c, int i) { return c->GetVParam(i).toInt64(); }
inline bool argBool(TfsMethodHelper* c, int i) { return c->GetVParam(i).toBool(); }
inline double argFloat(TfsMethodHelper* c, int i) { return c->GetVParam(i).toDouble(); }
inline QString argString(TfsMethodHelper* c, int i) { return c->GetVParam(i).toString(); }
inline platform::rtti::Object* argObject(TfsMethodHelper* c, int i) { return valueObject(c->GetVParam(i)); }

// An object argument of a declared class: nil stays nullptr; an object of another class
// is refused with the error a script gets for any invalid reference, instead of being
// used as what it is not.
template <class T>
T* argAs(TfsMethodHelper* c, int i)
{
    platform::rtti::Object* o = argObject(c, i);
    if (!o)
        return nullptr;
    auto* t = dynamic_cast<T*>(o);
    if (!t)
        throw orv::platform::Exception(invalidObjectReferenceText());
    return t;
}
// The same for a value (a property being written).
template <class T>
T* valueAs(const Value& v)
{
    platform::rtti::Object* o = valueObject(v);
    if (!o)
        return nullptr;
    auto* t = dynamic_cast<T*>(o);
    if (!t)
        throw orv::platform::Exception(invalidObjectReferenceText());
    return t;
}

// The object a member is called on, as the class that registered the member: nil, or an
// object of another class reached through a type cast, is an invalid reference rather
// than memory read as what it is not.
template <class T>
T& self(platform::rtti::Object* instance)
{
    auto* t = dynamic_cast<T*>(instance);
    if (!t)
        throw orv::platform::Exception(invalidObjectReferenceText());
    return *t;
}

// The member names the callbacks dispatch on arrive in upper case.
inline bool is(const QString& name, const char* upper) { return name == QLatin1String(upper); }

} // namespace orv::script::bridges

namespace orv::script {

// A rectangle of 32-bit floating-point edges, as scripts hold one.
class TfsRectF : public orv::platform::Persistent {
    ORV_RTTI_CLASS(TfsRectF)
public:
    TfsRectF() = default;
    explicit TfsRectF(const QRectF& r) { SetRect(r); }
    // A copy of the rectangle held.
    QRectF GetRect() const { return QRectF(QPointF(FLeft, FTop), QPointF(FRight, FBottom)); }
    void SetRect(const QRectF& r)
    {
        FLeft = float(r.left());
        FTop = float(r.top());
        FRight = float(r.right());
        FBottom = float(r.bottom());
    }
    float Left() const { return FLeft; }
    void SetLeft(float v) { FLeft = v; }
    float Top() const { return FTop; }
    void SetTop(float v) { FTop = v; }
    float Right() const { return FRight; }
    void SetRight(float v) { FRight = v; }
    float Bottom() const { return FBottom; }
    void SetBottom(float v) { FBottom = v; }
    void Assign(const orv::platform::Persistent* Source) override;

private:
    float FLeft = 0, FTop = 0, FRight = 0, FBottom = 0;
};

class TfsPointF : public orv::platform::Persistent {
    ORV_RTTI_CLASS(TfsPointF)
public:
    TfsPointF() = default;
    explicit TfsPointF(const QPointF& p) : FX(float(p.x())), FY(float(p.y())) {}
    QPointF GetRect() const { return QPointF(FX, FY); }
    float pX() const { return FX; }
    void SetpX(float v) { FX = v; }
    float pY() const { return FY; }
    void SetpY(float v) { FY = v; }
    void Assign(const orv::platform::Persistent* Source) override;

private:
    float FX = 0, FY = 0;
};

// A vector in homogeneous form: X, Y and W.
struct FsVector {
    float X = 0, Y = 0, W = 1;
};

class TfsVector : public orv::platform::Persistent {
    ORV_RTTI_CLASS(TfsVector)
public:
    TfsVector() = default;
    explicit TfsVector(const FsVector& v) : FVector(v) {}
    FsVector GetRect() const { return FVector; }
    float pX() const { return FVector.X; }
    void SetpX(float v) { FVector.X = v; }
    float pY() const { return FVector.Y; }
    void SetpY(float v) { FVector.Y = v; }
    float pW() const { return FVector.W; }
    void SetpW(float v) { FVector.W = v; }
    void Assign(const orv::platform::Persistent* Source) override;

private:
    FsVector FVector;
};

// A 3 by 3 matrix, row by row; m31 and m32 are the translation, as a QTransform keeps it.
class TfsMatrix : public orv::platform::Persistent {
    ORV_RTTI_CLASS(TfsMatrix)
public:
    TfsMatrix() = default;
    explicit TfsMatrix(const QTransform& t) { SetTransform(t); }
    QTransform GetRect() const
    {
        return QTransform(FM[0], FM[1], FM[2], FM[3], FM[4], FM[5], FM[6], FM[7], FM[8]);
    }
    void SetTransform(const QTransform& t)
    {
        const double m[9] = {t.m11(), t.m12(), t.m13(), t.m21(), t.m22(), t.m23(), t.m31(), t.m32(), t.m33()};
        for (int i = 0; i < 9; ++i)
            FM[i] = float(m[i]);
    }
    float m11() const { return FM[0]; }
    void Setm11(float v) { FM[0] = v; }
    float m12() const { return FM[1]; }
    void Setm12(float v) { FM[1] = v; }
    float m13() const { return FM[2]; }
    void Setm13(float v) { FM[2] = v; }
    float m21() const { return FM[3]; }
    void Setm21(float v) { FM[3] = v; }
    float m22() const { return FM[4]; }
    void Setm22(float v) { FM[4] = v; }
    float m23() const { return FM[5]; }
    void Setm23(float v) { FM[5] = v; }
    float m31() const { return FM[6]; }
    void Setm31(float v) { FM[6] = v; }
    float m32() const { return FM[7]; }
    void Setm32(float v) { FM[7] = v; }
    float m33() const { return FM[8]; }
    void Setm33(float v) { FM[8] = v; }
    void Assign(const orv::platform::Persistent* Source) override;

private:
    float FM[9] = {1, 0, 0, 0, 1, 0, 0, 0, 1};
};

} // namespace orv::script
