#pragma once
// The contract windows under test: the program's windows created as at start, the
// contract window shown as the main menu shows it, the services replaced by recording
// doubles, the program folder a fresh temporary folder.
#include "window_fixture.h"

#include "customers/contratto.h"
#include "customers/contrattorecord.h"

#include <QFile>
#include <QListView>

namespace orv::test {

// A contract with the given values; the other fields empty.
inline customers::TContratto contract(std::initializer_list<std::pair<QString customers::TContratto::*, const char*>> values)
{
    customers::TContratto c;
    for (const auto& [field, value] : values) c.*field = QString::fromUtf8(value);
    return c;
}

// A committed fixture of the contract archive.
inline QByteArray contractFixture(const char* name)
{
    QFile f(QStringLiteral(ORV_FIXTURES "/customers/contracts/") + QString::fromLatin1(name));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Selects a line of a result list with a click, then double-clicks it, as a user does.
inline void doubleClickLine(platform::ui::ListBox& box, int row)
{
    auto* w = box.listWidget();
    w->doItemsLayout();
    const QPoint at = w->visualItemRect(w->item(row)).center();
    QTest::mouseClick(w->viewport(), Qt::LeftButton, Qt::NoModifier, at);
    QTest::mouseDClick(w->viewport(), Qt::LeftButton, Qt::NoModifier, at);
}

class ContractWindowTest : public CustomerWindowTest {
protected:
    void SetUp() override
    {
        CustomerWindowTest::SetUp();
        customers::frmClienti->hide();
        showAndActivate(*customers::frmContratto);
    }

    customers::TfrmContratto& window() const { return *customers::frmContratto; }
    void writeContracts(const QList<customers::TContratto>& contracts) const
    {
        QByteArray bytes;
        for (const customers::TContratto& c : contracts) bytes += c.encode();
        writeFile(customers::TContratto::kFileName, bytes);
    }
    QByteArray contractBytes() const { return readFile(customers::TContratto::kFileName); }
    bool focusIs(const platform::ui::Control& c) const { return window().focusedControl() == &c; }
    void typeInto(platform::ui::Control& c, const QString& text)
    {
        c.setFocus();
        keys(window(), text);
    }
};

} // namespace orv::test
