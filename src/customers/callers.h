#pragma once
// Where a customer card chosen in the customer finder goes. Seven windows open the
// finder, each with its caller tag; the tag names the window (its global instance,
// visible or not) and the fields it takes. The customer editor takes the whole card with
// its position; the others take copies of the customer and installation values they need.
#include "archive/lists.h"

#include <QList>
#include <QString>

#include <functional>

namespace orv::platform::ui {
class Form;
}

namespace orv::customers {

struct CustomerCaller {
    QString tag;    // the word the caller writes into the finder's lblMemory
    QString window; // its global instance
    std::function<void(platform::ui::Form& target, const archive::FoundRecord& card)> write;
};

// The callers in the order their tags are compared.
const QList<CustomerCaller>& customerCallers();

// Writes the card into the window the tag names. Nothing is written for a tag that is no
// caller's, or while the program has no such window; returns whether it wrote.
bool writeToCaller(const QString& tag, const archive::FoundRecord& card);

// The customer card load into the customer editor, used by the finder and the two lists.
void loadCustomerCard(const archive::FoundRecord& card);

} // namespace orv::customers
