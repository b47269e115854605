// Tokenizer of the Pascal Script dialect.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

namespace pelo::lang {

enum class Tok : uint8_t { Eof, Ident, Int, Float, String, Sym };

struct Token {
    Tok kind = Tok::Eof;
    std::string text;   // identifier as written; symbol text; string literal value
    std::string upper;  // identifiers: ASCII upper case
    int64_t ival = 0;
    long double lval = 0;  // float literals, at extended precision
    int line = 1, col = 1;

    bool is(std::string_view sym) const { return kind == Tok::Sym && text == sym; }
    bool isKw(std::string_view kw) const { return kind == Tok::Ident && upper == kw; }
};

// What went wrong, where the compiler itself must tell errors apart (an argument that does not fit an overload is
// no failure until no overload fits).
enum class CompileErrorKind : uint8_t { Other, TypeMismatch };

struct CompileError : std::runtime_error {
    CompileError(int l, int c, const std::string& msg, CompileErrorKind k = CompileErrorKind::Other)
        : std::runtime_error(msg), line(l), col(c), kind(k) {}
    int line, col;
    CompileErrorKind kind;
};

class Lexer {
public:
    explicit Lexer(std::string_view src) : src_(src) {}
    Token next();

private:
    void skipSpace();
    char peek(size_t k = 0) const { return pos_ + k < src_.size() ? src_[pos_ + k] : '\0'; }
    void advance();
    std::string_view src_;
    size_t pos_ = 0;
    int line_ = 1, col_ = 1;
};

bool isReservedWord(std::string_view upper);

}  // namespace pelo::lang
