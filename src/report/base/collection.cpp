#include "report/base/collection.h"

namespace orv::report {

ORV_RTTI_DEFINE_NAMED(CollectionItem, orv::platform::Persistent, "TCollectionItem") {}
ORV_RTTI_DEFINE_NAMED(CollectionBase, orv::platform::Persistent, "TCollection") {}

} // namespace orv::report
