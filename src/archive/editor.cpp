#include "archive/editor.h"

#include "platform/core/formats.h"
#include "platform/core/text.h"

namespace orv::archive {
using namespace orv::platform;
} // namespace orv::archive

namespace orv::archive {

void fillControls(EditorView& view, const RecordLayout& layout, const QStringList& values)
{
    for (int i = 0; i < layout.fieldCount() && i < values.size(); ++i) {
        const FieldDef& f = layout.field(i);
        if (f.control.isEmpty())
            continue;
        const QString v = trimmed(values[i]);
        if (f.kind == FieldKind::Flag) {
            // A flag that is neither word (a damaged or foreign record) leaves the box.
            if (v == kYes)
                view.setChecked(f.control, true);
            else if (v == kNo)
                view.setChecked(f.control, false);
        } else {
            view.setText(f.control, v);
        }
    }
}

QStringList readControls(const EditorView& view, const RecordLayout& layout)
{
    QStringList values;
    values.reserve(layout.fieldCount());
    for (const FieldDef& f : layout.fields()) {
        if (f.control.isEmpty())
            values.append(QString());
        else if (f.kind == FieldKind::Flag)
            values.append(view.isChecked(f.control) ? kYes : kNo);
        else
            values.append(view.text(f.control));
    }
    return values;
}

QString overlongNumberMessage(const FieldDef& field, const QString& value)
{
    return QStringLiteral("Attenzione: il valore \"%1\" del campo \"%2\" \u00e8 troppo lungo: l'archivio ne pu\u00f2 "
                          "contenere al massimo %3 caratteri.\n\r\n\rLa scheda non \u00e8 stata salvata. Correggere il "
                          "valore e premere di nuovo Salva.")
        .arg(trimmed(value), field.title())
        .arg(field.width);
}

namespace {

// The position label as a record number; a label that is not a number fails the command.
qint64 positionNumber(const QString& text)
{
    qint64 n = 0;
    if (!tryStrToInt64(text, n))
        throw ArchiveError(u"position label \"%1\" is not a number"_qs.arg(text));
    return n;
}

} // namespace

ArchiveEditor::ArchiveEditor(EditorConfig config, EditorView& view, MessageService& messages)
    : config_(std::move(config)), view_(view), messages_(messages)
{
    Q_ASSERT(config_.layout && config_.archivePath);
}

QString ArchiveEditor::path() const { return trimmed(config_.archivePath()); }

bool ArchiveEditor::withArchive(EditorCommand command, const std::function<void(ArchiveFile&)>& body)
{
    return runArchiveCommand(path(), config_.layout->size(), &messages_, config_.accessKinds.of(command), body);
}

QByteArray ArchiveEditor::record() const { return config_.layout->encode(readControls(view_, *config_.layout)); }

void ArchiveEditor::show(const QStringList& values, qint64 position)
{
    fillControls(view_, *config_.layout, values);
    view_.setPosition(QString::number(position));
    // As stored: the values a record of these values gives back.
    loaded_ = Loaded{position, config_.layout->decode(config_.layout->encode(values))};
}

void ArchiveEditor::load(ArchiveFile& file, qint64 position)
{
    file.seek(position - 1);
    const QByteArray rec = file.read(); // the controls change only once the record is whole
    show(config_.layout->decode(rec), file.position());
}

void ArchiveEditor::blank()
{
    for (const FieldDef& f : config_.layout->fields()) {
        if (f.control.isEmpty() || config_.keptOnNew.contains(f.control))
            continue;
        if (f.kind == FieldKind::Flag)
            view_.setChecked(f.control, false);
        else
            view_.setText(f.control, config_.blankDefaults.value(f.control));
    }
    view_.setPosition(QString());
    loaded_.reset();
    if (!config_.firstControl.isEmpty())
        view_.setFocus(config_.firstControl);
}

bool ArchiveEditor::numberInArchive(ArchiveFile& file) const
{
    if (config_.numberControl.isEmpty())
        return false;
    const QString number = trimmed(view_.text(config_.numberControl));
    int field = -1;
    for (int i = 0; i < config_.layout->fieldCount(); ++i)
        if (config_.layout->field(i).control == config_.numberControl)
            field = i;
    if (number.isEmpty() || field < 0)
        return false;
    file.seek(0);
    const qint64 size = config_.layout->size();
    for (;;) {
        const QByteArray block = file.readRecords(256);
        if (block.isEmpty())
            return false;
        for (qint64 at = 0; at < block.size(); at += size)
            if (config_.layout->fieldText(block.mid(at, size), field) == number)
                return true;
    }
}

void ArchiveEditor::saveOver(qint64 position)
{
    // What the record must still hold for the card to overwrite it without asking. A card
    // whose position was not set by a load of this editor has nothing to compare with.
    std::optional<QStringList> expected;
    if (loaded_ && loaded_->position == position)
        expected = loaded_->values;
    for (;;) {
        QByteArray rec;
        std::optional<QStringList> theirs;
        const bool ok = withArchive(EditorCommand::Save, [&](ArchiveFile& file) {
            if (config_.beforeWrite)
                config_.beforeWrite(*this);
            rec = record();
            file.update(position - 1, [&](const QByteArray& current) -> std::optional<QByteArray> {
                const QStringList now = config_.layout->decode(current);
                if (expected && now != *expected) {
                    theirs = now;
                    return std::nullopt;
                }
                return rec;
            });
        });
        if (!ok)
            return;
        if (!theirs) {
            loaded_ = Loaded{position, config_.layout->decode(rec)};
            view_.setPosition(QString::number(position));
            messages_.show(MessageKind::Information, config_.savedInformation);
            return;
        }
        // Asked with nothing held, so the other workstation is never kept waiting on the
        // answer; a further change made meanwhile is asked about again.
        if (messages_.show(MessageKind::Confirmation, config_.changedElsewhereQuestion) == MessageButton::No)
            return;
        expected = *theirs;
    }
}

void ArchiveEditor::save()
{
    if (config_.checks && !config_.checks(*this))
        return;
    // A number cut to its field would be stored as another value without a word: refused
    // before the archive is opened.
    const QStringList values = readControls(view_, *config_.layout);
    if (const int i = config_.layout->firstOverlongNumber(values); i >= 0) {
        const FieldDef& f = config_.layout->field(i);
        messages_.show(MessageKind::Warning, overlongNumberMessage(f, values[i]));
        view_.setFocus(f.control);
        return;
    }
    const QString position = trimmed(view_.position());
    if (!position.isEmpty()) {
        qint64 n = 0;
        if (!tryStrToInt64(position, n)) {
            withArchive(EditorCommand::Save, [&](ArchiveFile&) { positionNumber(position); });
            return;
        }
        saveOver(n);
        return;
    }
    qint64 written = -1;
    QByteArray rec;
    bool numberAllowed = false;
    for (;;) {
        QString taken;
        const bool ok = withArchive(EditorCommand::Save, [&](ArchiveFile& file) {
            if (config_.beforeWrite)
                config_.beforeWrite(*this);
            rec = record();
            // Looked for while no other workstation can append, so that two saving one
            // number at the same moment cannot both find it free.
            written = file.append(rec, [&] {
                if (numberAllowed || !numberInArchive(file))
                    return true;
                taken = trimmed(view_.text(config_.numberControl));
                return false;
            });
        });
        // The position changes only once the record is safely in the file, so a card whose
        // save failed stays as it was and can be saved again.
        if (!ok)
            return;
        if (taken.isEmpty())
            break;
        // Two documents with one number are a fault of their own (fiscal, for delivery
        // notes): only the user decides to store a second.
        if (messages_.show(MessageKind::Confirmation, config_.numberTakenQuestion.arg(taken)) == MessageButton::No)
            return;
        numberAllowed = true;
    }
    loaded_ = Loaded{written + 1, config_.layout->decode(rec)};
    view_.setPosition(QString::number(written + 1));
    messages_.show(MessageKind::Information, config_.appendedInformation);
}

void ArchiveEditor::duplicate()
{
    if (trimmed(view_.position()).isEmpty()) {
        messages_.show(MessageKind::Warning, config_.duplicateWarning);
        return;
    }
    for (const QString& c : config_.duplicateClears)
        view_.setText(c, QString());
    view_.setPosition(QString());
    loaded_.reset();
    const bool ok = withArchive(EditorCommand::Duplicate, [&](ArchiveFile&) {
        if (config_.onDuplicate)
            config_.onDuplicate(*this);
        if (!config_.firstControl.isEmpty())
            view_.setFocus(config_.firstControl);
    });
    if (ok)
        messages_.show(MessageKind::Information, config_.duplicateInformation);
}

void ArchiveEditor::loadCounted(EditorCommand command, qint64 (*target)(qint64 count))
{
    bool empty = false;
    withArchive(command, [&](ArchiveFile& file) {
        const qint64 count = file.count();
        empty = count == 0;
        if (!empty)
            load(file, target(count));
    });
    if (empty)
        messages_.show(MessageKind::Information, kEmptyArchiveMessage);
}

void ArchiveEditor::first()
{
    loadCounted(EditorCommand::First, [](qint64) -> qint64 { return 1; });
}

void ArchiveEditor::last()
{
    loadCounted(EditorCommand::Last, [](qint64 count) { return count; });
}

void ArchiveEditor::next()
{
    bool empty = false;
    withArchive(EditorCommand::Next, [&](ArchiveFile& file) {
        const QString p = trimmed(view_.position());
        const qint64 n = p.isEmpty() ? 0 : positionNumber(p);
        const qint64 count = file.count();
        if (count == 0) {
            empty = true;
            view_.setPosition(QString());
        } else if (n < count) {
            load(file, n + 1);
        }
    });
    if (empty)
        messages_.show(MessageKind::Information, kEmptyArchiveMessage);
}

void ArchiveEditor::previous()
{
    // At record 1 nothing happens at all: the year's file is not even opened (or made).
    const QString p = trimmed(view_.position());
    if (p == u"1")
        return;
    bool empty = false;
    withArchive(EditorCommand::Previous, [&](ArchiveFile& file) {
        if (file.count() == 0) {
            empty = true;
            return;
        }
        load(file, p.isEmpty() ? 1 : positionNumber(p) - 1);
    });
    if (empty)
        messages_.show(MessageKind::Information, kEmptyArchiveMessage);
}

} // namespace orv::archive
