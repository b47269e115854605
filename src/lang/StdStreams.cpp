// The stream classes scripts use (TStream and its descendants), the parser of form files over a stream, and the
// TStrings members that read and write files and streams. Memory streams hold their bytes; file streams go through
// the C library, so that the texts of the errors are the system's.
#include "lang/StdStreams.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

#include "lang/StdLib.h"
#include "lang/Vm.h"

namespace pelo::lang {

namespace {

[[noreturn]] void streamError(const std::string& text) { throw hostException(text); }

std::string openError(const char* what, std::string_view file) {
    return std::string("Unable to ") + what + " file \"" + std::string(file) + "\": " + std::strerror(errno);
}

class StreamObject : public ScriptObject {
public:
    using ScriptObject::ScriptObject;
    virtual int64_t read(char* into, int64_t count) = 0;
    virtual int64_t write(const char* from, int64_t count) = 0;
    // origin 0 from the beginning, 1 from the current position, 2 from the end; the new position.
    virtual int64_t seek(int64_t offset, int origin) = 0;
    virtual int64_t size() = 0;
    virtual void setSize(int64_t size) = 0;
    int64_t position() { return seek(0, 1); }
};

// TMemoryStream, TStringStream: the bytes in memory; a position beyond the end is kept, and a write there fills
// the gap with zeros. A stream holds no more than a string may (the engine's limit): a script that seeks far or
// doubles a stream into itself gets the stream's own error instead of taking the program's memory, and what reads a
// stream whole (a parser, LoadFromStream) has bounded work.
class MemoryStream final : public StreamObject {
public:
    MemoryStream(const HostClass* cls, int64_t maxSize, std::string initial = {})
        : StreamObject(cls), data_(std::move(initial)), maxSize_(maxSize) {
        checkRoom(size());
    }
    int64_t read(char* into, int64_t count) override {
        if (count <= 0 || pos_ < 0 || pos_ >= size()) return 0;  // a position before the start reads nothing
        const int64_t n = std::min(count, size() - pos_);
        std::memcpy(into, data_.data() + pos_, static_cast<size_t>(n));
        pos_ += n;
        return n;
    }
    int64_t write(const char* from, int64_t count) override {
        if (count <= 0 || pos_ < 0) return 0;
        if (count > maxSize_ - pos_) checkRoom(INT64_MAX);  // also where pos_ + count would not fit
        if (pos_ + count > size()) {
            data_.resize(static_cast<size_t>(pos_ + count), '\0');
        }
        std::memcpy(data_.data() + pos_, from, static_cast<size_t>(count));
        pos_ += count;
        return count;
    }
    int64_t seek(int64_t offset, int origin) override {
        const int64_t base = origin == 0 ? 0 : origin == 1 ? pos_ : size();
        pos_ = base + offset;
        return pos_;
    }
    int64_t size() override { return static_cast<int64_t>(data_.size()); }
    void setSize(int64_t n) override {
        if (n < 0) n = 0;
        checkRoom(n);
        data_.resize(static_cast<size_t>(n), '\0');
        pos_ = std::min(pos_, n);
    }
    void dispose() override {
        data_.clear();
        data_.shrink_to_fit();
        ScriptObject::dispose();
    }
    const std::string& bytes() const { return data_; }
    // New content; the position stays where it was, within the new size.
    void assign(std::string bytes) {
        checkRoom(static_cast<int64_t>(bytes.size()));
        data_ = std::move(bytes);
        pos_ = std::min(pos_, size());
    }

private:
    void checkRoom(int64_t n) const {
        if (n > maxSize_) streamError("Out of memory while expanding memory stream");
    }
    std::string data_;
    int64_t pos_ = 0;
    int64_t maxSize_;
};

class FileStream final : public StreamObject {
public:
    FileStream(const HostClass* cls, std::FILE* f) : StreamObject(cls), f_(f) {}
    ~FileStream() override { close(); }
    int64_t read(char* into, int64_t count) override {
        if (!f_ || count <= 0) return 0;
        std::fflush(f_);
        return static_cast<int64_t>(std::fread(into, 1, static_cast<size_t>(count), f_));
    }
    int64_t write(const char* from, int64_t count) override {
        if (!f_ || count <= 0) return 0;
        return static_cast<int64_t>(std::fwrite(from, 1, static_cast<size_t>(count), f_));
    }
    int64_t seek(int64_t offset, int origin) override {
        if (!f_) return -1;
        if (std::fseek(f_, static_cast<long>(offset), origin == 0 ? SEEK_SET : origin == 1 ? SEEK_CUR : SEEK_END) != 0)
            return -1;
        return static_cast<int64_t>(std::ftell(f_));
    }
    int64_t size() override {
        const int64_t here = position();
        const int64_t end = seek(0, 2);
        seek(here, 0);
        return end;
    }
    void setSize(int64_t) override { streamError("Stream write error"); }
    void dispose() override {
        close();
        ScriptObject::dispose();
    }
    int64_t handle() const { return f_ ? static_cast<int64_t>(fileno(f_)) : -1; }

private:
    void close() {
        if (f_) std::fclose(f_);
        f_ = nullptr;
    }
    std::FILE* f_;
};

StreamObject& streamOf(CallCtx& c) {
    auto* s = dynamic_cast<StreamObject*>(c.self());
    if (!s) throw hostException("Invalid class type");
    return *s;
}

StreamObject& streamArg(CallCtx& c, int k) {
    const Value& v = c.arg(k);
    auto* s = v.tag == Tag::Obj ? dynamic_cast<StreamObject*>(v.o) : nullptr;
    if (!s || s->disposed()) throw ScriptError(ErrorCode::NullPointerException, "");
    return *s;
}

// Read and ReadBuffer fill the variable's text in place, as far as it is long: its length says how much room there
// is (SetLength first). `count` beyond it is cut to it.
int64_t readInto(CallCtx& c, bool wholeOrError) {
    StreamObject& s = streamOf(c);
    Value& buffer = c.ref(1);
    if (buffer.tag != Tag::Str) throw ScriptError(ErrorCode::TypeMismatch, "");
    const int64_t room = static_cast<int64_t>(buffer.str().size());
    const int64_t want = std::min<int64_t>(c.i(2), room);
    if (want <= 0) {
        if (wholeOrError && c.i(2) > 0) streamError("Stream read error");
        return 0;
    }
    StrRep* rep = strUnique(buffer.s);
    const int64_t got = s.read(rep->data, want);
    if (wholeOrError && got != c.i(2)) streamError("Stream read error");
    return got;
}

int64_t writeFrom(CallCtx& c, bool wholeOrError) {
    StreamObject& s = streamOf(c);
    const std::string_view text = c.s(1);
    const int64_t want = std::min<int64_t>(c.i(2), static_cast<int64_t>(text.size()));
    const int64_t put = want > 0 ? s.write(text.data(), want) : 0;
    if (wholeOrError && put != c.i(2)) streamError("Stream write error");
    return put;
}

// Everything from the stream's start, the position left at its end.
std::string wholeStream(StreamObject& s) {
    s.seek(0, 0);
    std::string bytes;
    char chunk[4096];
    for (int64_t n; (n = s.read(chunk, sizeof chunk)) > 0;) bytes.append(chunk, static_cast<size_t>(n));
    return bytes;
}

std::string readFile(std::string_view name) {
    std::FILE* f = std::fopen(std::string(name).c_str(), "rb");
    if (!f) streamError(openError("open", name));
    std::string bytes;
    char chunk[4096];
    for (size_t n; (n = std::fread(chunk, 1, sizeof chunk, f)) > 0;) bytes.append(chunk, n);
    std::fclose(f);
    return bytes;
}

void writeFile(std::string_view name, const std::string& bytes) {
    std::FILE* f = std::fopen(std::string(name).c_str(), "wb");
    if (!f) streamError(openError("create", name));
    const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    if (std::fclose(f) != 0 || !ok) streamError("Stream write error");
}

// TFileStream's modes: fmCreate, or one of fmOpenRead, fmOpenWrite, fmOpenReadWrite (the share flags do not matter
// to a program that opens its own files).
std::FILE* openFile(std::string_view name, int64_t mode) {
    const std::string path(name);
    if ((mode & 0xFFFF) == 0xFFFF) {
        std::FILE* f = std::fopen(path.c_str(), "w+b");
        if (!f) streamError(openError("create", name));
        return f;
    }
    const int64_t access = mode & 3;
    std::FILE* f = std::fopen(path.c_str(), access == 0 ? "rb" : "r+b");
    if (!f) streamError(openError("open", name));
    return f;
}

// TParser: the tokenizer of Delphi's form files over a stream, read in blocks of 4096 bytes as the reference's
// runtime reads it, so that positions, line numbers and the locations in its error texts come out the same.
class ParserObject final : public ScriptObject {
public:
    static constexpr char toEOF = 0, toSymbol = 1, toString = 2, toInteger = 3, toFloat = 4, toWString = 5;

    ParserObject(const HostClass* cls, Value stream) : ScriptObject(cls), streamValue_(std::move(stream)) {
        stream_ = static_cast<StreamObject*>(streamValue_.o);
        load();
        skipBom();
        nextToken();
    }
    void dispose() override {
        // The stream is left just after what was read, as the reference's destructor leaves it.
        if (stream_ && !stream_->disposed()) stream_->seek(sourcePos() - static_cast<int64_t>(last_.size()), 0);
        stream_ = nullptr;
        streamValue_ = Value();
        ScriptObject::dispose();
    }

    char token() const { return token_; }
    int32_t sourceLine() const { return line_; }
    int64_t sourcePos() const { return stream_ ? stream_->position() - len_ + static_cast<int64_t>(pos_) : 0; }

    char nextToken() {
        live();
        skipWhitespace();
        if (eof_) {
            token_ = toEOF;
            last_.clear();
        } else {
            const char ch = at();
            if (ch == '_' || isAlpha(ch)) {
                last_ = alphaNum();
                token_ = toSymbol;
            } else if (ch == '$') {
                hexNumber();
            } else if (ch == '-') {
                advance();
                if (isDigit(at())) {
                    number();
                    last_ = "-" + last_;
                } else {
                    token_ = '-';
                    last_ = "-";
                }
            } else if (isDigit(ch)) {
                number();
            } else if (ch == '\'' || ch == '#') {
                string();
            } else {
                token_ = ch;
                last_ = std::string(1, ch);
                advance();
            }
        }
        return token_;
    }

    std::string tokenString() const {
        if (token_ == toWString) return wide_;
        return token_ == toFloat && floatType_ ? last_ + floatType_ : last_;
    }
    const std::string& last() const { return last_; }
    std::string tokenComponentIdent() {
        if (token_ != toSymbol) error("Wrong token type: " + tokenName(toSymbol) + " expected");
        while (at() == '.') {
            last_ += at();
            advance();
            last_ += alphaNum();
        }
        return last_;
    }
    [[noreturn]] void error(const std::string& message) const {
        char where[64];
        std::snprintf(where, sizeof where, " (at %d,%lld, stream offset %.8llX)", line_,
                      static_cast<long long>(static_cast<int64_t>(pos_) + delta_),
                      static_cast<unsigned long long>(sourcePos()) & 0xFFFFFFFFull);
        throw hostException(message + where);
    }
    static std::string tokenName(char t) {
        static const char* const names[] = {"EOF", "Symbol", "String", "Integer", "Float", "WideString"};
        return static_cast<unsigned char>(t) <= 5 ? names[static_cast<unsigned char>(t)] : std::string(1, t);
    }
    void checkToken(char t) const {
        if (token_ != t) error("Wrong token type: " + tokenName(t) + " expected but " + tokenName(token_) + " found");
    }
    void hexToBinary(StreamObject& out) {
        live();
        std::string bytes;
        skipWhitespace();
        while (isHex(at())) {
            unsigned b = hexValue(at()) << 4;
            advance();
            if (!isHex(at())) error("Unterminated byte value");
            b |= hexValue(at());
            advance();
            bytes += static_cast<char>(b);
            skipWhitespace();
        }
        if (!bytes.empty() && out.write(bytes.data(), static_cast<int64_t>(bytes.size())) != static_cast<int64_t>(bytes.size()))
            streamError("Stream write error");
        nextToken();
    }

private:
    void live() const {
        if (!stream_ || stream_->disposed()) throw ScriptError(ErrorCode::NullPointerException, "");
    }
    static constexpr const char* kSymbolChars = "_ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    static bool isDigit(char c) { return c >= '0' && c <= '9'; }
    static bool isAlpha(char c) { return c == '_' || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
    static bool isHex(char c) { return isDigit(c) || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f'); }
    static unsigned hexValue(char c) { return isDigit(c) ? unsigned(c - '0') : (c >= 'a' ? unsigned(c - 'a' + 10) : unsigned(c - 'A' + 10)); }

    char at() const { return buf_[pos_]; }
    void load() {
        buf_.assign(4096 + 1, '\0');
        const int64_t n = stream_->read(buf_.data(), 4096);
        buf_[static_cast<size_t>(std::max<int64_t>(n, 0))] = '\0';
        delta_ += n;
        pos_ = 0;
        len_ = n;
        eof_ = n <= 0;
    }
    void checkLoad() {
        if (at() == '\0') load();
    }
    void advance() {
        ++pos_;
        checkLoad();
    }
    void take() {
        last_ += at();
        advance();
    }
    void skipBom() {
        const size_t backup = pos_;
        std::string bom;
        while (bom.size() < 3 && (at() == '\xBB' || at() == '\xBF' || at() == '\xEF')) {
            bom += at();
            advance();
        }
        if (bom != "\xEF\xBB\xBF") pos_ = backup;
    }
    void skipWhitespace() {
        for (;;) {
            const char c = at();
            if (c == ' ' || c == '\t') {
                advance();
            } else if (c == '\r' || c == '\n') {
                if (at() == '\r') advance();
                if (at() == '\n') advance();
                ++line_;
                delta_ = -(static_cast<int64_t>(pos_) - 1);
            } else {
                break;
            }
        }
    }
    // Taken a block's run at a time: a symbol may run through the whole stream.
    std::string alphaNum() {
        if (!isAlpha(at())) error("Wrong token type: " + tokenName(toSymbol) + " expected");
        std::string r;
        for (;;) {
            const size_t run = std::strspn(buf_.c_str() + pos_, kSymbolChars);
            r.append(buf_, pos_, run);
            pos_ += run;
            if (run == 0) return r;
            checkLoad();
        }
    }
    void number() {
        last_.clear();
        while (isDigit(at())) take();
        token_ = toInteger;
        if (at() == '.' || at() == 'e' || at() == 'E') {
            token_ = toFloat;
            bool dot = true, exp = true;
            while (at() == '.' || at() == 'e' || at() == 'E' || isDigit(at())) {
                const char c = at();
                if (c == '.') {
                    if (!dot) break;
                    dot = false;
                } else if (c == 'e' || c == 'E') {
                    if (!exp) break;
                    dot = exp = false;
                    take();
                    if (at() == '+' || at() == '-') take();
                    if (!isDigit(at())) error("Invalid floating point number: " + last_ + at());
                }
                take();
            }
        }
        const char c = at();
        if (c == 's' || c == 'S' || c == 'd' || c == 'D' || c == 'c' || c == 'C') {
            floatType_ = c;
            advance();
            token_ = toFloat;
        } else {
            floatType_ = 0;
        }
    }
    void hexNumber() {
        last_ = "$";
        advance();
        bool valid = false;
        while (isHex(at())) {
            valid = true;
            take();
        }
        if (!valid) error("Invalid integer number: " + last_);
        token_ = toInteger;
    }
    // A #n beyond 127 makes the string a wide one; read back as text, a character beyond 255 is '?'.
    void string() {
        last_.clear();
        wide_.clear();
        bool ascii = true;
        size_t plain = 0;  // of last_, what wide_ already holds
        auto flush = [&] {
            wide_ += last_.substr(plain);
            plain = last_.size();
        };
        for (;;) {
            if (at() == '\'') {
                advance();
                for (;;) {
                    const char c = at();
                    if (c == '\0' || c == '\r' || c == '\n') error("Unterminated string");
                    if (c == '\'') {
                        advance();
                        if (at() != '\'') break;
                    }
                    last_ += at();
                    advance();
                }
            } else if (at() == '#') {
                advance();
                int v = 0;
                while (isDigit(at()) && v < 65535) {
                    v = v * 10 + (at() - '0');
                    advance();
                }
                if (v > 65535) v = 0;
                if (v > 127) ascii = false;
                flush();
                last_ += v < 256 ? static_cast<char>(v) : '\0';
                wide_ += v < 256 ? static_cast<char>(v) : '?';
                plain = last_.size();
            } else {
                break;
            }
        }
        flush();
        token_ = ascii ? toString : toWString;
    }

    Value streamValue_;  // keeps the stream while the parser reads it
    StreamObject* stream_ = nullptr;
    std::string buf_;
    size_t pos_ = 0;
    int64_t len_ = 0;
    int64_t delta_ = 1;
    int32_t line_ = 1;
    bool eof_ = false;
    char token_ = 0;
    char floatType_ = 0;
    std::string last_;
    std::string wide_;  // a wide string token's text
};

ParserObject& parserOf(CallCtx& c) {
    auto* p = dynamic_cast<ParserObject*>(c.self());
    if (!p) throw hostException("Invalid class type");
    return *p;
}

StringListObject& listSelf(CallCtx& c) {
    auto* o = dynamic_cast<StringListObject*>(c.self());
    if (!o) throw ScriptError(ErrorCode::NullPointerException, "");
    return *o;
}

template <class F>
HostFn changing(F f) {
    return [f](CallCtx& c) {
        f(c);
        listSelf(c).changed();
    };
}

}  // namespace

std::string readScriptFile(std::string_view name) { return readFile(name); }
void writeScriptFile(std::string_view name, const std::string& bytes) { writeFile(name, bytes); }

std::string readStreamArg(CallCtx& c, int k) {
    StreamObject& from = streamArg(c, k);
    std::string rest;
    char chunk[4096];
    for (int64_t n; (n = from.read(chunk, sizeof chunk)) > 0;) rest.append(chunk, static_cast<size_t>(n));
    return rest;
}

void writeStreamArg(CallCtx& c, int k, const std::string& bytes) {
    StreamObject& to = streamArg(c, k);
    if (to.write(bytes.data(), static_cast<int64_t>(bytes.size())) != static_cast<int64_t>(bytes.size()))
        streamError("Stream write error");
}

void registerStreams(HostTable& t, HostClass& strings) {
    HostClass& stream = t.addClass("TStream", "TObject");
    stream.method("function Read(var Buffer: string; Count: LongInt): LongInt", [](CallCtx& c) { c.retInt(readInto(c, false)); });
    stream.method("function Write(Buffer: string; Count: LongInt): LongInt", [](CallCtx& c) { c.retInt(writeFrom(c, false)); });
    stream.method("function Seek(Offset: LongInt; Origin: Word): LongInt", [](CallCtx& c) {
        const int64_t origin = c.i(2);
        if (origin < 0 || origin > 2) {
            c.retInt(streamOf(c).position());  // an origin that is none of the three moves nothing
            return;
        }
        c.retInt(streamOf(c).seek(c.i(1), static_cast<int>(origin)));
    });
    stream.method("procedure ReadBuffer(var Buffer: string; Count: LongInt)", [](CallCtx& c) { readInto(c, true); });
    stream.method("procedure WriteBuffer(Buffer: string; Count: LongInt)", [](CallCtx& c) { writeFrom(c, true); });
    stream.method("function CopyFrom(Source: TStream; Count: Int64): Int64", [](CallCtx& c) {
        StreamObject& to = streamOf(c);
        StreamObject& from = streamArg(c, 1);
        int64_t count = c.i(2);
        if (count == 0) {  // the whole source, from its start
            from.seek(0, 0);
            count = from.size();
        }
        // What the source cannot give is refused before room is made for it.
        if (count > std::max<int64_t>(from.size() - from.position(), 0)) streamError("Stream read error");
        std::string bytes(static_cast<size_t>(std::max<int64_t>(count, 0)), '\0');
        if (from.read(bytes.data(), count) != count) streamError("Stream read error");
        if (to.write(bytes.data(), count) != count) streamError("Stream write error");
        c.retInt(count);
    });
    stream.property(
        "property Position: LongInt read write", [](CallCtx& c) { c.retInt(streamOf(c).position()); },
        [](CallCtx& c) { streamOf(c).seek(c.i(1), 0); });
    stream.property(
        "property Size: LongInt read write", [](CallCtx& c) { c.retInt(streamOf(c).size()); },
        [](CallCtx& c) { streamOf(c).setSize(c.i(1)); });

    HostClass& handleStream = t.addClass("THandleStream", "TStream");
    handleStream.constructor("constructor Create(AHandle: Integer)", [](CallCtx&) {
        // A script has no handle of its own to give: the program hands out none.
        throw hostException("Invalid stream operation");
    });
    handleStream.property("property Handle: Integer read", [](CallCtx& c) {
        auto* f = dynamic_cast<FileStream*>(&streamOf(c));
        c.retInt(f ? f->handle() : -1);
    });
    HostClass& fileStream = t.addClass("TFileStream", "THandleStream");
    const HostClass* fileClass = &fileStream;
    fileStream.constructor("constructor Create(FileName: string; Mode: Word)", [fileClass](CallCtx& c) {
        c.retValue(objectValue(new FileStream(fileClass, openFile(c.s(0), c.i(1)))));
    });
    HostClass& stringStream = t.addClass("TStringStream", "TStream");
    const HostClass* stringStreamClass = &stringStream;
    stringStream.constructor("constructor Create(AString: string)", [stringStreamClass](CallCtx& c) {
        c.retValue(objectValue(new MemoryStream(stringStreamClass, c.vm.limits().maxStringLength, std::string(c.s(0)))));
    });
    HostClass& customMemory = t.addClass("TCustomMemoryStream", "TStream");
    customMemory.method("procedure SaveToStream(Stream: TStream)", [](CallCtx& c) {
        auto* m = dynamic_cast<MemoryStream*>(&streamOf(c));
        if (!m) throw hostException("Invalid class type");
        StreamObject& to = streamArg(c, 1);
        if (to.write(m->bytes().data(), m->size()) != m->size()) streamError("Stream write error");
    });
    customMemory.method("procedure SaveToFile(FileName: string)", [](CallCtx& c) {
        auto* m = dynamic_cast<MemoryStream*>(&streamOf(c));
        if (!m) throw hostException("Invalid class type");
        writeFile(c.s(1), m->bytes());
    });
    HostClass& memory = t.addClass("TMemoryStream", "TCustomMemoryStream");
    const HostClass* memoryClass = &memory;
    memory.constructor("constructor Create", [memoryClass](CallCtx& c) {
        c.retValue(objectValue(new MemoryStream(memoryClass, c.vm.limits().maxStringLength)));
    });
    auto memorySelf = [](CallCtx& c) -> MemoryStream& {
        auto* m = dynamic_cast<MemoryStream*>(&streamOf(c));
        if (!m) throw hostException("Invalid class type");
        return *m;
    };
    memory.method("procedure Clear", [memorySelf](CallCtx& c) { memorySelf(c).assign({}); });  // position 0 too
    memory.method("procedure LoadFromStream(Stream: TStream)", [memorySelf](CallCtx& c) {
        MemoryStream& m = memorySelf(c);
        m.assign(wholeStream(streamArg(c, 1)));
    });
    memory.method("procedure LoadFromFile(FileName: string)", [memorySelf](CallCtx& c) {
        memorySelf(c).assign(readFile(c.s(1)));
    });
    memory.method("procedure SetSize(NewSize: LongInt)", [memorySelf](CallCtx& c) { memorySelf(c).setSize(c.i(1)); });
    HostClass& resource = t.addClass("TResourceStream", "TCustomMemoryStream");
    resource.constructor("constructor Create(Instance: THandle; ResName: string; ResType: PChar)", [](CallCtx& c) {
        throw hostException("Resource " + std::string(c.s(1)) + " not found");
    });
    resource.constructor("constructor CreateFromID(Instance: THandle; ResID: Integer; ResType: PChar)", [](CallCtx& c) {
        throw hostException("Resource " + std::to_string(c.i(1)) + " not found");
    });

    HostClass& parser = t.addClass("TParser", "TObject");
    const HostClass* parserClass = &parser;
    parser.constructor("constructor Create(Stream: TStream)", [parserClass](CallCtx& c) {
        streamArg(c, 0);
        c.retValue(objectValue(new ParserObject(parserClass, c.arg(0))));
    });
    parser.method("procedure CheckToken(T: Char)", [](CallCtx& c) { parserOf(c).checkToken(static_cast<char>(c.i(1))); });
    parser.method("procedure CheckTokenSymbol(S: string)", [](CallCtx& c) {
        ParserObject& p = parserOf(c);
        p.checkToken(ParserObject::toSymbol);
        if (upperAscii(p.last()) != upperAscii(c.s(1)))
            p.error("Wrong token symbol: " + std::string(c.s(1)) + " expected but " + p.last() + " found");
    });
    parser.method("procedure Error(Ident: Integer)", [](CallCtx& c) { parserOf(c).error(std::to_string(c.i(1))); });
    parser.method("procedure ErrorStr(Message: string)", [](CallCtx& c) { parserOf(c).error(std::string(c.s(1))); });
    parser.method("procedure HexToBinary(Stream: TStream)", [](CallCtx& c) { parserOf(c).hexToBinary(streamArg(c, 1)); });
    parser.method("function NextToken: Char", [](CallCtx& c) { c.retInt(static_cast<uint8_t>(parserOf(c).nextToken())); });
    parser.method("function SourcePos: LongInt", [](CallCtx& c) { c.retInt(static_cast<int32_t>(parserOf(c).sourcePos())); });
    parser.method("function TokenComponentIdent: string", [](CallCtx& c) { c.retStr(parserOf(c).tokenComponentIdent()); });
    parser.method("function TokenFloat: Extended", [](CallCtx& c) {
        ParserObject& p = parserOf(c);
        const std::string text = p.last();
        char* end = nullptr;
        const long double v = std::strtold(text.c_str(), &end);
        if (text.empty() || !end || *end != '\0') p.error("Invalid floating point number: " + text);
        c.retFloat(v);
    });
    parser.method("function TokenInt: LongInt", [](CallCtx& c) {
        const std::string text = parserOf(c).last();
        const bool hex = !text.empty() && text[0] == '$';
        c.retInt(static_cast<int32_t>(std::strtoll(text.c_str() + (hex ? 1 : 0), nullptr, hex ? 16 : 10)));
    });
    parser.method("function TokenString: string", [](CallCtx& c) { c.retStr(parserOf(c).tokenString()); });
    parser.method("function TokenSymbolIs(S: string): Boolean", [](CallCtx& c) {
        ParserObject& p = parserOf(c);
        c.retBool(p.token() == ParserObject::toSymbol && upperAscii(p.last()) == upperAscii(c.s(1)));
    });
    parser.property("property SourceLine: Integer read", [](CallCtx& c) { c.retInt(parserOf(c).sourceLine()); });
    parser.property("property Token: Char read", [](CallCtx& c) { c.retInt(static_cast<uint8_t>(parserOf(c).token())); });

    strings.method("procedure LoadFromFile(FileName: string)", changing([](CallCtx& c) {
        listSelf(c).list.SetText(readFile(c.s(1)));
    }));
    strings.method("procedure SaveToFile(FileName: string)", [](CallCtx& c) {
        writeFile(c.s(1), listSelf(c).list.Text());
    });
    strings.method("procedure LoadFromStream(Stream: TStream)", changing([](CallCtx& c) {
        listSelf(c).list.SetText(readStreamArg(c, 1));
    }));
    strings.method("procedure SaveToStream(Stream: TStream)", [](CallCtx& c) {
        writeStreamArg(c, 1, listSelf(c).list.Text());
    });
}

}  // namespace pelo::lang
