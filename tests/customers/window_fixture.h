#pragma once
// The customer windows under test: the program's windows created as at start, the
// editor shown as the main menu shows it, the services replaced by recording doubles, the
// program folder a fresh temporary folder.
#include "gui/doubles.h"

#include "customers/cliente.h"
#include "customers/clienti.h"
#include "kit/reports.h"

#include <QFile>

#include <ostream>

#include "qstring_printer.h"

namespace orv::test {

// A card with the given values; the other fields empty.
inline customers::TCliente card(std::initializer_list<std::pair<QString customers::TCliente::*, const char*>> values)
{
    customers::TCliente c;
    for (const auto& [field, value] : values) c.*field = QString::fromUtf8(value);
    return c;
}

// A recording list print and card layout in place of the report engine's.
struct RecordedPrints {
    QString title;
    QStringList lines;
    int listPrints = 0;
    QMap<QString, QString> card; // memo name -> text
    QStringList cardCalls;       // "print", "preview", "pdf <path>"
    bool pdfSucceeds = true;
};

class CustomerWindowTest : public GuiTest {
protected:
    RecordedPrints prints;

    void SetUp() override;
    void TearDown() override;

    void writeArchive(const QList<customers::TCliente>& cards) const;
    QByteArray archiveBytes() const { return readFile(customers::TCliente::kFileName); }
    // The box texts shown so far, and forgets them.
    QStringList takeTexts();
    // The editor as the main menu shows it.
    customers::TfrmClienti& editor() const { return *customers::frmClienti; }
};

} // namespace orv::test
