#pragma once
// A TRegExp as scripts hold it.
#include "lang/Value.h"
#include "script/RegExp.h"

namespace pelo::script {

class RegExpObject final : public lang::ScriptObject {
public:
    using ScriptObject::ScriptObject;
    TRegExp Engine;
};

}  // namespace pelo::script
