#pragma once
// A few values on the stack for the usual small counts, on the heap beyond: the
// arguments of a call, the registers of a running list. All start empty.
#include <cstring>
#include <new>

#include "script/core/value.h"

namespace orv::script {

template <size_t N>
class ValueScratch {
public:
    explicit ValueScratch(size_t n) : FSize(n)
    {
        // All bits clear is an empty value; the local room is cleared whole, in a few
        // stores of a size known here.
        if (n <= N) {
            std::memset(FLocal, 0, sizeof FLocal);
            FData = reinterpret_cast<Value*>(FLocal);
        } else {
            FData = static_cast<Value*>(::operator new(n * sizeof(Value)));
            std::memset(static_cast<void*>(FData), 0, n * sizeof(Value));
        }
    }
    ~ValueScratch()
    {
        for (size_t i = 0; i < FSize; ++i)
            FData[i].~Value();
        if (FSize > N)
            ::operator delete(FData);
    }
    ValueScratch(const ValueScratch&) = delete;
    ValueScratch& operator=(const ValueScratch&) = delete;

    Value& operator[](size_t i) { return FData[i]; }
    Value* data() { return FData; }

private:
    alignas(Value) unsigned char FLocal[N * sizeof(Value)];
    Value* FData;
    size_t FSize;
};

} // namespace orv::script
