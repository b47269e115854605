#pragma once
// TRegExp: the regular expressions scripts use, over PCRE2. A pattern is compiled without options (its own
// inline options still apply) and matched from the subject's first character; the texts of its errors are
// the ones scripts have always matched on, with PCRE2's own messages and codes inside.
#include <cstddef>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace pelo::script {

// Raised for a pattern that does not compile: "Error: <engine message> at offset: <offset>".
struct ERegexException : std::runtime_error {
    using std::runtime_error::runtime_error;
};
// Every other failure: "Error in pcre_info", "Error <code> in pcre_exec", "Sub index out of range".
struct ERegExp : std::runtime_error {
    using std::runtime_error::runtime_error;
};

class TRegExp {
public:
    TRegExp();
    ~TRegExp();
    TRegExp(const TRegExp&) = delete;
    TRegExp& operator=(const TRegExp&) = delete;

    // The text of the last assignment that compiled; empty before any.
    const std::string& Pattern() const { return pattern_; }
    // Compiles `pattern`. On an error the old text stays readable, but no pattern is usable any more: the
    // next Match raises the engine's error.
    void SetPattern(std::string_view pattern);

    // True when the pattern matches somewhere in `subject`, false when it does not.
    bool Match(std::string_view subject);
    // Text of group `index` in the last matched subject (0: the whole match). Indexes from 0 to the last
    // Match's result count, and never above the pattern's group count, are valid; a group that took no part
    // gives "".
    std::string Sub(int index) const;

private:
    struct Compiled;
    std::unique_ptr<Compiled> compiled_;
    std::string pattern_;
    std::string subject_;
    std::vector<std::size_t> offsets_;  // start and end of each group of the last match
    int resultCount_ = 0;               // of the last Match; 0 after a failed one or before any
    int groupCount_ = 0;                // capturing groups of the compiled pattern
};

}  // namespace pelo::script
