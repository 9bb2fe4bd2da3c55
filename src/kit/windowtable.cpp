#include "kit/windowtable.h"

#include <map>

namespace orv::kit {

namespace {
std::map<QString, platform::ui::Form*>& instances()
{
    static std::map<QString, platform::ui::Form*> m;
    return m;
}
} // namespace

platform::ui::Form* startWindow(const QString& name)
{
    const auto it = instances().find(name);
    return it == instances().end() ? nullptr : it->second;
}

void setStartWindow(const QString& name, platform::ui::Form* f)
{
    if (f) instances()[name] = f;
    else instances().erase(name);
}

void clearStartWindows() { instances().clear(); }

} // namespace orv::kit
