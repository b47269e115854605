#include "lang/Lexer.h"

#include <cmath>
#include <cstdlib>

#include "lang/HostTable.h"

namespace pelo::lang {

namespace {
bool isIdStart(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_'; }
bool isDigit(char c) { return c >= '0' && c <= '9'; }
bool isHex(char c) { return isDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'); }
int hexVal(char c) { return isDigit(c) ? c - '0' : (c | 0x20) - 'a' + 10; }
}  // namespace

bool isReservedWord(std::string_view u) {
    static const char* const words[] = {
        "AND", "ARRAY", "BEGIN", "CASE", "CONST", "DIV", "DO", "DOWNTO", "ELSE", "END", "EXCEPT", "FINALLY",
        "FOR", "FORWARD", "FUNCTION", "IF", "IN", "MOD", "NOT", "OF", "OR", "PROCEDURE", "PROGRAM", "RECORD",
        "REPEAT", "SET", "SHL", "SHR", "THEN", "TO", "TRY", "TYPE", "UNTIL", "USES", "VAR", "WHILE", "WITH",
        "XOR", "NIL", "OUT", "CLASS", "EXIT"};
    for (const char* w : words)
        if (u == w) return true;
    return false;
}

void Lexer::advance() {
    if (pos_ < src_.size()) {
        if (src_[pos_] == '\n') {
            ++line_;
            col_ = 1;
        } else {
            ++col_;
        }
        ++pos_;
    }
}

void Lexer::skipSpace() {
    for (;;) {
        char c = peek();
        if (c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v') {
            advance();
        } else if (c == '{') {
            int l = line_, co = col_;
            while (pos_ < src_.size() && peek() != '}') advance();
            if (pos_ >= src_.size()) throw CompileError(l, co, "Comment error");
            advance();
        } else if (c == '(' && peek(1) == '*') {
            int l = line_, co = col_;
            advance();
            advance();
            while (pos_ < src_.size() && !(peek() == '*' && peek(1) == ')')) advance();
            if (pos_ >= src_.size()) throw CompileError(l, co, "Comment error");
            advance();
            advance();
        } else if (c == '/' && peek(1) == '/') {
            while (pos_ < src_.size() && peek() != '\n') advance();
        } else {
            return;
        }
    }
}

Token Lexer::next() {
    skipSpace();
    Token t;
    t.line = line_;
    t.col = col_;
    if (pos_ >= src_.size()) {
        t.kind = Tok::Eof;
        return t;
    }
    char c = peek();
    if (isIdStart(c)) {
        size_t start = pos_;
        while (isIdStart(peek()) || isDigit(peek())) advance();
        t.kind = Tok::Ident;
        t.text = std::string(src_.substr(start, pos_ - start));
        t.upper = upperAscii(t.text);
        return t;
    }
    if (isDigit(c) || (c == '$' && isHex(peek(1)))) {
        if (c == '$') {
            advance();
            uint64_t v = 0;
            while (isHex(peek())) {
                v = v * 16 + static_cast<uint64_t>(hexVal(peek()));
                advance();
            }
            t.kind = Tok::Int;
            t.ival = static_cast<int64_t>(v);
            return t;
        }
        size_t start = pos_;
        while (isDigit(peek())) advance();
        bool isFloat = false;
        if (peek() == '.' && isDigit(peek(1))) {
            isFloat = true;
            advance();
            while (isDigit(peek())) advance();
        }
        if ((peek() == 'e' || peek() == 'E') &&
            (isDigit(peek(1)) || ((peek(1) == '+' || peek(1) == '-') && isDigit(peek(2))))) {
            isFloat = true;
            advance();
            if (peek() == '+' || peek() == '-') advance();
            while (isDigit(peek())) advance();
        }
        std::string num(src_.substr(start, pos_ - start));
        if (isFloat) {
            t.kind = Tok::Float;
            t.lval = std::strtold(num.c_str(), nullptr);
        } else {
            t.kind = Tok::Int;
            uint64_t v = 0;
            bool overflow = false;
            for (char d : num) {
                if (v > (UINT64_MAX - 9) / 10) overflow = true;
                v = v * 10 + static_cast<uint64_t>(d - '0');
            }
            if (overflow || v > static_cast<uint64_t>(INT64_MAX)) {
                t.kind = Tok::Float;
                t.lval = std::strtold(num.c_str(), nullptr);
            } else {
                t.ival = static_cast<int64_t>(v);
            }
        }
        return t;
    }
    if (c == '\'' || c == '#') {
        t.kind = Tok::String;
        for (;;) {
            if (peek() == '\'') {
                int l = line_, co = col_;
                advance();
                for (;;) {
                    if (pos_ >= src_.size() || peek() == '\n' || peek() == '\r')
                        throw CompileError(l, co, "String error");
                    if (peek() == '\'') {
                        if (peek(1) == '\'') {
                            t.text += '\'';
                            advance();
                            advance();
                            continue;
                        }
                        advance();
                        break;
                    }
                    t.text += peek();
                    advance();
                }
            } else if (peek() == '#') {
                int l = line_, co = col_;
                advance();
                uint64_t v = 0;
                if (peek() == '$') {
                    advance();
                    if (!isHex(peek())) throw CompileError(l, co, "Char error");
                    while (isHex(peek())) {
                        v = v * 16 + static_cast<uint64_t>(hexVal(peek()));
                        if (v > 0xFFFF) v = 0x10000;
                        advance();
                    }
                } else {
                    if (!isDigit(peek())) throw CompileError(l, co, "Char error");
                    while (isDigit(peek())) {
                        v = v * 10 + static_cast<uint64_t>(peek() - '0');
                        if (v > 0xFFFF) v = 0x10000;
                        advance();
                    }
                }
                if (v > 255) throw CompileError(l, co, "Char error");
                t.text += static_cast<char>(v);
            } else {
                break;
            }
        }
        return t;
    }
    t.kind = Tok::Sym;
    static const char* const two[] = {":=", "<=", ">=", "<>", ".."};
    for (const char* s : two) {
        if (c == s[0] && peek(1) == s[1]) {
            t.text = s;
            advance();
            advance();
            return t;
        }
    }
    switch (c) {
        case '+': case '-': case '*': case '/': case '=': case '<': case '>': case '(': case ')':
        case '[': case ']': case ',': case ';': case ':': case '.': case '^': case '@':
            t.text = std::string(1, c);
            advance();
            return t;
        default: break;
    }
    throw CompileError(t.line, t.col, "Syntax error");
}

}  // namespace pelo::lang
