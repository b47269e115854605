#include "script/RegExp.h"

#define PCRE2_CODE_UNIT_WIDTH 8
#include <pcre2.h>

#include <algorithm>

namespace pelo::script {

struct TRegExp::Compiled {
    pcre2_code* code = nullptr;
    pcre2_match_data* matchData = nullptr;
    ~Compiled() {
        pcre2_match_data_free(matchData);
        pcre2_code_free(code);
    }
};

TRegExp::TRegExp() = default;
TRegExp::~TRegExp() = default;

void TRegExp::SetPattern(std::string_view pattern) {
    // Whatever happens, the old pattern is no longer the one in use.
    compiled_.reset();
    groupCount_ = 0;
    int error = 0;
    PCRE2_SIZE offset = 0;
    auto compiled = std::make_unique<Compiled>();
    compiled->code = pcre2_compile(reinterpret_cast<PCRE2_SPTR>(pattern.data()), pattern.size(), 0, &error,
                                   &offset, nullptr);
    if (!compiled->code) {
        PCRE2_UCHAR message[256];
        if (pcre2_get_error_message(error, message, sizeof message) < 0) message[0] = 0;
        throw ERegexException("Error: " + std::string(reinterpret_cast<const char*>(message)) +
                              " at offset: " + std::to_string(offset));
    }
    uint32_t groups = 0;
    if (pcre2_pattern_info(compiled->code, PCRE2_INFO_CAPTURECOUNT, &groups) != 0) throw ERegExp("Error in pcre_info");
    // Room for the whole match and every group, so that a match never runs short of offsets.
    compiled->matchData = pcre2_match_data_create(groups + 1, nullptr);
    if (!compiled->matchData) throw ERegExp("Error in pcre_info");
    compiled_ = std::move(compiled);
    groupCount_ = static_cast<int>(groups);
    pattern_.assign(pattern);
}

bool TRegExp::Match(std::string_view subject) {
    resultCount_ = 0;
    offsets_.clear();
    subject_.assign(subject);
    const int rc = compiled_ ? pcre2_match(compiled_->code, reinterpret_cast<PCRE2_SPTR>(subject_.data()),
                                           subject_.size(), 0, 0, compiled_->matchData, nullptr)
                             : PCRE2_ERROR_NULL;
    if (rc == PCRE2_ERROR_NOMATCH) return false;
    if (rc <= 0) throw ERegExp("Error " + std::to_string(rc) + " in pcre_exec");
    const PCRE2_SIZE* ovector = pcre2_get_ovector_pointer(compiled_->matchData);
    offsets_.assign(ovector, ovector + 2 * (groupCount_ + 1));
    resultCount_ = rc;
    return true;
}

std::string TRegExp::Sub(int index) const {
    if (resultCount_ <= 0 || index < 0 || index > std::min(resultCount_, groupCount_))
        throw ERegExp("Sub index out of range");
    const std::size_t start = offsets_[2 * index], end = offsets_[2 * index + 1];
    // Groups beyond the result count, and groups that took no part, are unset.
    if (index >= resultCount_ || start == PCRE2_UNSET || end < start) return std::string();
    return subject_.substr(start, end - start);
}

}  // namespace pelo::script
