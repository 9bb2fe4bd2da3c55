#include "report/base/collection.h"

namespace orv::report {

ORV_RTTI_DEFINE_NAMED(CollectionItem, orv::Persistent, "TCollectionItem") {}
ORV_RTTI_DEFINE_NAMED(CollectionBase, orv::Persistent, "TCollection") {}

} // namespace orv::report
