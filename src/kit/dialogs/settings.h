#pragma once
// The settings file "Orvanta.ini" of the program folder and the start numbers of the
// four numbered document kinds it keeps. These work without any window: the start-number
// window edits them, the editors' New command reads them.
#include "platform/core/inifile.h"

#include <QString>

namespace orv::kit {

// The settings file, read and written key by key.
platform::IniFile settingsFile();

// One numbered document kind: the caller tag that names it, its settings section and the
// caption the start-number window shows for it.
struct StartNumberKind {
    QString tag;
    QString section;
    QString caption;
};

// The kind of a caller tag (trimmed, compared exactly), or nullptr for an unknown tag.
const StartNumberKind* startNumberKind(const QString& tag);

// "Inizio" of the tag's section as stored; the empty text when the file, the key or the
// tag is unknown.
QString readStartNumber(const QString& tag);
// Writes "Inizio" of the tag's section; an unknown tag writes nothing. Throws
// IniFileError when the settings file cannot be written.
void writeStartNumber(const QString& tag, const QString& value);

// The message for a settings write that failed: `what` says what was not saved (its first
// sentence), then the cause: the disk full, the file held by another workstation, or
// otherwise the write privileges to check.
QString settingsWriteFailure(const QString& what, const platform::IniFileError& error);

// The value of the start-number edit as it is kept: "1" for an empty or non-numeric
// text, otherwise the number rounded half up to a whole number ("007" gives "7").
QString normalisedStartNumber(const QString& text);

} // namespace orv::kit
