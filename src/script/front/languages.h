#pragma once
// The process-wide language registry: language name -> grammar text. It is filled with
// the built-in grammars the first time it is used; names compare ignoring case.
#include <QString>
#include <QStringList>
#include <memory>

namespace orv::script {
class CompiledGrammar;
}

namespace orv::script {

// Registers a grammar; an existing entry of that name (in any letter case) is replaced
// in place and takes the new name's letters.
void fsSetLanguageGrammar(const QString& name, const QString& grammar);
// The grammar text of a language; an unknown name raises SLangNotFound.
QString fsLanguageGrammar(const QString& name);
// The registered language names, in registration order.
QStringList fsLanguageNames();

// The built-in grammar texts.
QString fsVoriroVorevaGrammar();
QString fsZppOvuvirGrammar();
QString fsRadivEduravGrammar();
QString fsJScriptGrammar();

} // namespace orv::script

namespace orv::script {

// The grammar of a language compiled into its rule graph, once per registered text.
// An unknown name raises SLangNotFound; a malformed grammar "Invalid file format".
std::shared_ptr<const CompiledGrammar> compiledGrammar(const QString& name);

} // namespace orv::script
