#pragma once
// The standard visual class libraries' declarations: classes, members, types and constants, as Pascal
// declaration strings in the host table's syntax.
#include <vector>

namespace pelo::script {

struct CatalogClass {
    const char* name;
    const char* parent;
    std::vector<const char*> members;
};

const std::vector<CatalogClass>& StandardClassCatalog();
const std::vector<const char*>& StandardCatalogTypes();
const std::vector<const char*>& StandardCatalogConstants();

}  // namespace pelo::script
