#pragma once
// Scripts run with the host bridges registered, under the offscreen platform.
#include "gui/doubles.h"

#include "platform/core/exceptions.h"
#include "script/bridges/forms.h"
#include "script/bridges/register.h"
#include "script/core/objects.h"
#include "script/core/script.h"

#include <memory>

using orv::script::Value;
using namespace orv::script::bridges;

namespace orv::test {

class ScriptWindows : public orv::test::GuiTest {
protected:
    void SetUp() override
    {
        GuiTest::SetUp();
        script::fsRegisterHostBridges();
        script::fsRegisterFileBridges();
    }
    void TearDown() override
    {
        script::fsUnregisterBridges();
        GuiTest::TearDown();
    }

    static std::unique_ptr<script::TfsScript> compile(const char* source)
    {
        auto s = std::make_unique<script::TfsScript>();
        s->AddRTTI();
        s->SetLines(script::fsTextToLines(QString::fromUtf8(source)));
        EXPECT_TRUE(s->Compile()) << s->ErrorMsg().toStdString() << " at " << s->ErrorPos().toStdString();
        return s;
    }
    template <class T>
    static T* object(script::TfsScript& s, const char* name)
    {
        return dynamic_cast<T*>(orv::script::valueObject(s.Variables(QString::fromLatin1(name))));
    }
    static QString text(script::TfsScript& s, const char* name) { return s.Variables(QString::fromLatin1(name)).toString(); }
};

} // namespace orv::test

using orv::test::ScriptWindows;
