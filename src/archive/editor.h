#pragma once
// The record editor shared by every archive window: New, Save, Duplicate and the four
// navigation commands, driven by the window's field table. The window implements
// EditorView over its controls and keeps only its own checks and extra steps.
#include <QHash>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

#include "archive/command.h"
#include "archive/record.h"

namespace orv::archive {

// What the editor needs of its window: the controls by name.
class EditorView {
public:
    virtual ~EditorView() = default;
    // The text of an edit, a combo edit's edit text, or a label's text.
    virtual QString text(const QString& control) const = 0;
    virtual void setText(const QString& control, const QString& text) = 0;
    virtual bool isChecked(const QString& control) const = 0;
    virtual void setChecked(const QString& control, bool checked) = 0;
    virtual void setFocus(const QString& control) = 0;

    // The record position label between the navigation arrows.
    virtual QString position() const { return text(kPositionControl); }
    virtual void setPosition(const QString& p) { setText(kPositionControl, p); }

    static inline const QString kPositionControl = QStringLiteral("lblPosizione");
};

class ArchiveEditor;

struct EditorConfig {
    const RecordLayout* layout = nullptr;
    // The archive's full path at the moment of the command: a file of the program folder,
    // or the year file a per-year editor keeps in its hidden label.
    std::function<QString()> archivePath;
    // The first field of the Enter chain: New and Duplicate give it the focus.
    QString firstControl;
    AccessMessageKinds accessKinds;
    // Controls that New does not empty but sets to their designed text.
    QHash<QString, QString> blankDefaults;
    // Controls that New leaves as they are (a contract keeps its maintainer data).
    QStringList keptOnNew;
    // Controls emptied by Duplicate besides the position (the attachments).
    QStringList duplicateClears;
    QString duplicateWarning = QStringLiteral(
        "Attenzione: la duplicazione di una scheda pu\u00f2 avvenire soltanto dopo che questa \u00e8 "
        "stata inserita in archivio.");
    QString duplicateInformation = QStringLiteral(
        "E' ora possibile apportare le proprie modifiche alla scheda corrente.\n\r\n\r"
        "Al termine premere Salva per inserire la scheda in archivio.");
    QString appendedInformation = QStringLiteral("La scheda corrente \u00e8 stata inserita in archivio.");
    QString savedInformation =
        QStringLiteral("Le modifiche apportate alla scheda corrente sono state salvate in archivio.");
    // The control holding a document's number (delivery note, quote, job sheet,
    // contract); empty for archives without numbers. Save of a new card whose number is
    // already in the archive at that moment asks before storing a second one.
    QString numberControl;
    // %1: the number.
    QString numberTakenQuestion = QStringLiteral(
        "Attenzione: in archivio esiste gi\u00e0 un documento con il numero %1 (registrato nel frattempo da "
        "un'altra postazione di lavoro, oppure digitato).\n\r\n\rSalvare comunque un secondo documento con lo "
        "stesso numero?");
    // Asked before a Save would overwrite a record that another workstation changed after
    // the card was loaded; No leaves the card and the archive as they are.
    QString changedElsewhereQuestion = QStringLiteral(
        "Attenzione: dopo che la scheda corrente \u00e8 stata caricata, un'altra postazione di lavoro ha "
        "modificato la stessa scheda in archivio.\n\r\n\rSalvando ora, le modifiche fatte dall'altra postazione "
        "andranno perse. Sovrascrivere la scheda in archivio con la scheda corrente?");

    // The window's checks before Save, in their order; a failed check shows its own
    // message, moves the focus and returns false. Nothing is opened before they pass.
    // After them Save refuses a number field of the record that does not fit its width
    // (overlongNumberMessage), with the focus on its control.
    std::function<bool(ArchiveEditor&)> checks;
    // Window steps of Save run inside the archive frame before the record is built
    // (normalising, computing); throwing ends the command with the access message.
    std::function<void(ArchiveEditor&)> beforeWrite;
    // Window steps of Duplicate run inside the archive frame after the card became new.
    std::function<void(ArchiveEditor&)> onDuplicate;
};

class ArchiveEditor {
public:
    ArchiveEditor(EditorConfig config, EditorView& view, MessageService& messages);

    const EditorConfig& config() const { return config_; }
    EditorView& view() { return view_; }
    MessageService& messages() { return messages_; }

    // New, and every showing of the window: a blank card with the focus on the first field.
    void blank();
    void save();
    void duplicate();
    void first();
    void previous();
    void next();
    void last();

    // Runs `body` on the open archive inside the command frame of `command`: any failure
    // shows the access message in that command's box kind. For window steps such as a
    // New that numbers the card from the record count.
    bool withArchive(EditorCommand command, const std::function<void(platform::ArchiveFile&)>& body);

    // Copies a record's values into the controls (flags by the three-way rule) and sets
    // the position. Finders and lists that load a whole card use it too.
    void show(const QStringList& values, qint64 position);
    // The record built from the controls, each value trimmed and cut to its width.
    QByteArray record() const;

private:
    // The record as the card was loaded or last saved: what Save expects to find at the
    // position, so that another workstation's change in between is not overwritten
    // without a word.
    struct Loaded {
        qint64 position = 0;
        QStringList values;
    };
    void load(platform::ArchiveFile& file, qint64 position);
    void saveOver(qint64 position);
    // Whether a record of the archive holds the card's number (numberControl).
    bool numberInArchive(platform::ArchiveFile& file) const;
    // First and Last: the record `target` picks from the count, or the empty-archive box.
    void loadCounted(EditorCommand command, qint64 (*target)(qint64 count));
    QString path() const;

    EditorConfig config_;
    EditorView& view_;
    MessageService& messages_;
    std::optional<Loaded> loaded_;
};

// The warning of a number that Save would have to cut: the field by its caption, the value
// and the width the archive keeps.
QString overlongNumberMessage(const FieldDef& field, const QString& value);

// Copies a record's values into the controls of a field table: text fields as their
// text, flags checking their box for "Sì", clearing it for "No", leaving it otherwise.
void fillControls(EditorView& view, const RecordLayout& layout, const QStringList& values);
// One value per field from the controls: flags as "Sì" when checked, "No" otherwise.
QStringList readControls(const EditorView& view, const RecordLayout& layout);

} // namespace orv::archive
