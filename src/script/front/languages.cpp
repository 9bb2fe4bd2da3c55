#include "script/front/languages.h"

#include <mutex>
#include <vector>

#include "platform/core/exceptions.h"
#include "platform/core/text.h"
#include "script/front/grammar.h"
#include "script/front/messages.h"

namespace orv::script {

namespace {

struct Entry {
    QString name;
    QString grammar;
    std::shared_ptr<const orv::script::CompiledGrammar> compiled; // made on first use
};

struct Registry {
    std::mutex lock;
    std::vector<Entry> entries;

    Registry()
    {
        // The languages the engine brings, in the order they register at start.
        entries.push_back({QStringLiteral("VoriroVoreva"), fsVoriroVorevaGrammar(), nullptr});
        entries.push_back({QStringLiteral("Z++Ovuvir"), fsZppOvuvirGrammar(), nullptr});
        entries.push_back({QStringLiteral("RadivEdurav"), fsRadivEduravGrammar(), nullptr});
        entries.push_back({QStringLiteral("JScript"), fsJScriptGrammar(), nullptr});
    }

    Entry* find(const QString& name)
    {
        for (Entry& e : entries)
            if (orv::platform::sameTextAZ(e.name, name))
                return &e;
        return nullptr;
    }
};

Registry& registry()
{
    static Registry r;
    return r;
}

[[noreturn]] void raiseNotFound(const QString& name)
{
    throw orv::platform::Exception(fsMessageFormat(TfsMessage::SLangNotFound, name));
}

} // namespace

void fsSetLanguageGrammar(const QString& name, const QString& grammar)
{
    Registry& r = registry();
    std::lock_guard guard(r.lock);
    if (Entry* e = r.find(name))
        *e = Entry{name, grammar, nullptr};
    else
        r.entries.push_back({name, grammar, nullptr});
}

QString fsLanguageGrammar(const QString& name)
{
    Registry& r = registry();
    std::lock_guard guard(r.lock);
    if (Entry* e = r.find(name))
        return e->grammar;
    raiseNotFound(name);
}

QStringList fsLanguageNames()
{
    Registry& r = registry();
    std::lock_guard guard(r.lock);
    QStringList names;
    for (const Entry& e : r.entries)
        names << e.name;
    return names;
}

} // namespace orv::script

namespace orv::script {

std::shared_ptr<const CompiledGrammar> compiledGrammar(const QString& name)
{
    Registry& r = registry();
    std::lock_guard guard(r.lock);
    Entry* e = r.find(name);
    if (!e)
        raiseNotFound(name);
    if (!e->compiled)
        e->compiled = CompiledGrammar::compile(e->grammar);
    return e->compiled;
}

} // namespace orv::script
