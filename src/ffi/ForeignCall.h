// One call shape of a function in another library: how each script value becomes the C value the function
// takes, and how what it hands back becomes script values again. Built once per declaration with libffi.
//
// What crosses, and how:
//   integers, Char, Boolean, enumerations   by value, at their own width
//   Single, Double                          float, double
//   Extended                                the x87 long double on 32-bit x86, double elsewhere (as the
//                                           64-bit script language has it)
//   Currency                                the 64-bit integer scaled by 10000; a Currency result comes in ST(0)
//                                           on 32-bit x86 (as Delphi returns it), in the integer register elsewhere
//   string                                  a NUL-terminated char* to a copy: what the function writes there
//                                           does not reach the script
//   var of any of these                     a pointer to a copy that is written back after the call; a var
//                                           string passes a char** and takes back the characters of its buffer
//                                           (its length stays), or the text the function pointed it to
//   record, static array (value or var)     a pointer to the fields laid out as C lays them out; a var one takes
//                                           its numbers back (string fields go in only)
// Classes, variants, sets and dynamic arrays cannot cross: such a call raises "Could not call proc".
#pragma once

#include <ffi.h>

#include <functional>
#include <memory>
#include <vector>

#include "lang/ForeignDeclaration.h"
#include "lang/ForeignSignature.h"
#include "lang/HostTable.h"

namespace pelo::ffi {

class ForeignCall {
public:
    ForeignCall(lang::ForeignSignature sig, lang::CallConvention convention);
    ForeignCall(const ForeignCall&) = delete;
    ForeignCall& operator=(const ForeignCall&) = delete;

    // False when a parameter or the result cannot cross, or libffi refused the shape.
    bool usable() const { return usable_; }

    // Converts the arguments, calls `fn`, writes back the var parameters and the result. Raises
    // "Could not call proc" when unusable or when an argument does not have the shape the declaration gives
    // (a compiled file is untrusted: a record variable with other fields is refused, never read as such).
    // `afterCall` runs right after the function returns, before anything else can change the thread's error state.
    void invoke(void* fn, lang::CallCtx& c, const std::function<void()>& afterCall = {}) const;

private:
    lang::ForeignSignature sig_;
    ffi_cif cif_{};
    std::vector<ffi_type*> argTypes_;
    bool usable_ = false;
};

}  // namespace pelo::ffi
