#include "lang/rtl/Declarations.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>

namespace {

using namespace pelo::lang::rtl;

std::string routineName(std::string_view decl) {
    const size_t start = decl.find(' ') + 1;
    const size_t end = decl.find_first_of("(:", start);
    return std::string(decl.substr(start, end - start));
}

std::string upper(std::string s) {
    for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

TEST(Declarations, EveryRoutineOnceWithAWellFormedDeclaration) {
    std::set<RoutineId> ids;
    std::set<std::string> names;
    for (const RoutineDeclaration& r : RoutineDeclarations()) {
        EXPECT_TRUE(ids.insert(r.id).second) << r.declaration;
        EXPECT_TRUE(names.insert(upper(routineName(r.declaration))).second) << r.declaration;
        const bool function = r.declaration.starts_with("function ");
        EXPECT_TRUE(function || r.declaration.starts_with("procedure ")) << r.declaration;
        const size_t close = r.declaration.rfind(')');
        const size_t colon = r.declaration.rfind(':');
        // a function ends in ": Type" after its parameter list; a procedure has no result type
        EXPECT_EQ(function, colon != std::string_view::npos && (close == std::string_view::npos || colon > close))
            << r.declaration;
        EXPECT_EQ(std::count(r.declaration.begin(), r.declaration.end(), '('),
                  std::count(r.declaration.begin(), r.declaration.end(), ')'))
            << r.declaration;
        EXPECT_EQ(r.declaration.find(';', close == std::string_view::npos ? 0 : close), std::string_view::npos)
            << r.declaration;
    }
    EXPECT_EQ(ids.size(), static_cast<size_t>(RoutineId::StrReplace) + 1);
    // the 15 routines of the engine's date library and the 7 the program adds
    const auto dateCount = std::count_if(RoutineDeclarations().begin(), RoutineDeclarations().end(),
                                         [](const RoutineDeclaration& r) { return r.group == RoutineGroup::DateTime; });
    EXPECT_EQ(dateCount, 22);
    for (std::string_view intrinsic : IntrinsicRoutineNames())
        EXPECT_EQ(names.count(upper(std::string(intrinsic))), 0u) << intrinsic;
}

TEST(Declarations, StringListMembersOnceAndOneDefaultProperty) {
    std::set<StringListMember> ids;
    int defaults = 0;
    for (const MemberDeclaration& m : StringListDeclarations()) {
        EXPECT_TRUE(ids.insert(m.id).second) << m.declaration;
        EXPECT_TRUE(m.className == "TStrings" || m.className == "TStringList");
        if (m.isDefault) {
            ++defaults;
            EXPECT_EQ(m.declaration, "property Strings[Index: Integer]: string read write");
        }
    }
    EXPECT_EQ(ids.size(), static_cast<size_t>(StringListMember::Sorted) + 1);
    EXPECT_EQ(defaults, 1);
}

}  // namespace
