#pragma once
// The standard visual class libraries' declarations: classes, members, types and constants, as Pascal
// declaration strings in the host table's syntax.
#include <vector>

#include "lang/HostTable.h"

namespace pelo::script {

struct CatalogClass {
    const char* name;
    const char* parent;
    std::vector<const std::vector<const char*>*> shared;  // member lists several controls publish alike
    std::vector<const char*> members;                     // its own
};

const std::vector<CatalogClass>& StandardClassCatalog();
const std::vector<const char*>& StandardCatalogTypes();
const std::vector<const char*>& StandardCatalogConstants();

// Registers the catalogue's types, constants, classes and every member not registered before with its behaviour
// (ScriptCatalogMembers.cpp): call after the classes with behaviour of their own.
void RegisterCatalogMembers(lang::HostTable& t);

}  // namespace pelo::script
