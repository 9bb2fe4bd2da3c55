#pragma once
// The report layouts the working windows hold: the list print "Riepilogo dati" of every
// finder and list window and the record card `repScheda` of the customer, article and
// schedule cards. The report engine provides them through setReportLayouts(); until it
// does, the print, preview and PDF commands produce nothing and report nothing.
#include "archive/lists.h"
#include "platform/ui/openurl.h"

#include <QString>
#include <QWidget>

#include <array>
#include <functional>
#include <memory>
#include <utility>

namespace orv::kit {

// The card layout `repScheda` as the card commands need it of the report engine.
class CardLayout {
public:
    virtual ~CardLayout() = default;
    // Sets the first report page's orientation to portrait.
    virtual void setPortrait() = 0;
    // Sets the text of the memo of that name (found ignoring case); false when missing.
    virtual bool setMemoText(const QString& memo, const QString& text) = 0;
    // Prepares the pages afresh, then prints them through the print dialog.
    virtual void print() = 0;
    // Prepares the pages afresh, then shows them in the modal preview.
    virtual void preview() = 0;
    // Prepares the pages afresh and writes them as a PDF file; false when the export
    // failed (the engine has shown its own error box).
    virtual bool exportPdf(const QString& path) = 0;
};

struct ReportLayouts {
    std::function<std::unique_ptr<archive::SummaryLayout>(QWidget* owner)> summary;
    std::function<std::unique_ptr<CardLayout>(QWidget* owner)> card;
};
// Installs the report engine's layouts (the program at start, tests with recording ones);
// an empty member leaves that kind of print without effect.
void setReportLayouts(ReportLayouts layouts);

// The list print: the list's title and lines in list order.
void printList(QWidget* owner, const QString& title, const QStringList& lines);

// What one card prints: its title, 24 caption and value pairs, and the footer.
struct CardContent {
    QString title;
    std::array<std::pair<QString, QString>, 24> pairs;
};
// "Stampa eseguita in data " + today + " alle ore " + the time now.
QString cardFooter();

enum class CardOutput { Print, Preview, Pdf };
// Fills the card layout (page portrait, title, the 24 pairs, the footer) and prints,
// previews or exports it. The PDF goes to the program folder under `pdfName`; after a
// successful export the user is asked whether to open it. Returns true when the output
// was produced.
bool outputCard(QWidget* owner, const CardContent& card, CardOutput output, const QString& pdfName = QString());

inline const QString& kCardPdfQuestion = platform::ui::kPdfExportedQuestion;

} // namespace orv::kit
