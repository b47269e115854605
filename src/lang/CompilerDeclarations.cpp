// Programs, routines, constants and variables.
#include "lang/CompilerImpl.h"

namespace pelo::lang::detail {

void CompilerImpl::parseParams(Sig& sig) {
    if (!acceptSym("(")) return;
    if (acceptSym(")")) return;
    for (;;) {
        PMode mode = PMode::Value;
        if (acceptKw("VAR")) mode = PMode::Var;
        else if (acceptKw("CONST")) mode = PMode::Const;
        else if (acceptKw("OUT")) mode = PMode::Out;
        std::vector<std::string> names;
        for (;;) {
            names.push_back(expectIdent());
            if (!acceptSym(",")) break;
        }
        const Type* t = tUntyped;
        if (acceptSym(":")) {
            if (tok_.isKw("ARRAY")) {
                next();
                expectKw("OF", "'OF' expected");
                Type* at = newType(TK::DynArray);
                if (acceptKw("CONST")) at->elem = tVariant;
                else at->elem = parseType();
                t = at;
            } else {
                t = parseType();
            }
        } else if (mode == PMode::Value) {
            fail("colon (':') expected");
        }
        for (auto& n : names) sig.params.push_back({n, t, mode});
        if (acceptSym(";")) continue;
        expectSym(")", "Closing parenthesis expected");
        break;
    }
}

void CompilerImpl::parseConstSection(std::unordered_map<std::string, Symbol>& scope) {
    while (tok_.kind == Tok::Ident && !isReservedWord(tok_.upper)) {
        Token nt = tok_;
        std::string n = expectIdent();
        std::string u = upperAscii(n);
        if (scope.count(u)) failAt(nt.line, nt.col, "Duplicate identifier '" + n + "'");
        if (tok_.is(":")) fail("is ('=') expected");  // typed constants are not supported
        expectSym("=", "is ('=') expected");
        int l = tok_.line, c = tok_.col;
        Ex e = expression();
        if (e.k != EK::Const) failAt(l, c, "Constant Value Type Mismatch");
        Symbol s{SK::Const};
        s.type = e.type;
        s.cval = e.cval;
        scope[u] = s;
        expectSym(";", "Semicolon (';') expected");
    }
}

void CompilerImpl::parseTypeSection(std::unordered_map<std::string, Symbol>& scope) {
    while (tok_.kind == Tok::Ident && !isReservedWord(tok_.upper)) {
        Token nt = tok_;
        std::string n = expectIdent();
        std::string u = upperAscii(n);
        if (scope.count(u)) failAt(nt.line, nt.col, "Duplicate identifier '" + n + "'");
        expectSym("=", "is ('=') expected");
        const Type* t = parseType(n);
        Symbol s{SK::Type};
        s.type = t;
        scope[u] = s;
        expectSym(";", "Semicolon (';') expected");
    }
}

void CompilerImpl::parseVarSection(bool global) {
    while (tok_.kind == Tok::Ident && !isReservedWord(tok_.upper)) {
        std::vector<Token> names;
        for (;;) {
            names.push_back(tok_);
            expectIdent();
            if (!acceptSym(",")) break;
        }
        expectSym(":", "colon (':') expected");
        const Type* t = parseType();
        if (tok_.is("=")) fail("Semicolon (';') expected");
        for (const Token& nt : names) {
            Symbol s{global ? SK::Global : SK::Local};
            s.type = t;
            auto& scope = global ? globals_ : cur_->locals;
            if (scope.count(nt.upper)) failAt(nt.line, nt.col, "Duplicate identifier '" + nt.text + "'");
            if (global) {
                s.index = static_cast<int>(mod_.globals.size());
                mod_.globals.push_back({nt.upper, rtType(t)});
            } else {
                s.index = newTemp(t);
            }
            scope[nt.upper] = s;
        }
        expectSym(";", "Semicolon (';') expected");
    }
}

int CompilerImpl::newTemp(const Type* t) {
    cur_->proc->localTypes.push_back(rtType(t));
    return cur_->nextSlot++;
}

void CompilerImpl::parseHeader(bool isFunction, std::string& name, Sig& sig) {
    name = expectIdent();
    parseParams(sig);
    if (isFunction) {
        expectSym(":", "colon (':') expected");
        sig.result = parseType();
    }
    expectSym(";", "Semicolon (';') expected");
}

void CompilerImpl::beginProc(ProcInfo* info) {
    Proc& p = mod_.procs[static_cast<size_t>(info->index)];
    curOwner_ = std::make_unique<ProcCtx>();
    cur_ = curOwner_.get();
    cur_->proc = &p;
    cur_->info = info;
    p.params.clear();
    p.localTypes.clear();
    for (auto& prm : info->sig.params) {
        bool byRef = prm.mode == PMode::Var || prm.mode == PMode::Out;
        // A var parameter records the type of the variable it refers to; an untyped one has none.
        const int32_t type = prm.type->k == TK::Untyped ? -1 : rtType(prm.type);
        p.params.push_back({type, byRef, typeSig(prm.type)});
        Symbol s{SK::Local};
        s.type = prm.type;
        s.byRef = byRef;
        s.index = cur_->nextSlot++;
        cur_->locals[upperAscii(prm.name)] = s;
    }
    if (info->sig.result) {
        p.hasResult = true;
        p.resultType = rtType(info->sig.result);
        p.resultSig = typeSig(info->sig.result);
        cur_->resultSlot = cur_->nextSlot++;
        Symbol s{SK::Local};
        s.type = info->sig.result;
        s.index = cur_->resultSlot;
        cur_->locals["RESULT"] = s;
    }
}

void CompilerImpl::endProc() {
    for (size_t pos : cur_->exits) patchHere(pos);
    emit(Op::Ret);
    Proc& p = *cur_->proc;
    p.code = std::move(cur_->code);
    p.lines.clear();
    for (size_t k = 0; k < cur_->lines.size(); ++k)
        if (p.lines.empty() || p.lines.back().line != cur_->lines[k])
            p.lines.push_back({static_cast<int32_t>(k), cur_->lines[k]});
    curOwner_.reset();
    cur_ = nullptr;
}

void CompilerImpl::parseProcedure(bool isFunction) {
    Token kwTok = tok_;
    next();
    Token nameTok = tok_;
    std::string name;
    Sig sig;
    parseHeader(isFunction, name, sig);
    std::string u = upperAscii(name);
    ProcInfo* info = nullptr;
    auto it = globals_.find(u);
    if (it == globals_.end() && tok_.isKw("EXTERNAL")) {
        parseExternal(name, std::move(sig));
        return;
    }
    if (it != globals_.end()) {
        if (it->second.k != SK::Proc) failAt(nameTok.line, nameTok.col, "Duplicate identifier '" + name + "'");
        info = &procs_[static_cast<size_t>(it->second.index)];
        if (info->defined) failAt(nameTok.line, nameTok.col, "Duplicate identifier '" + name + "'");
        bool match = info->sig.params.size() == sig.params.size() &&
                     ((info->sig.result == nullptr) == (sig.result == nullptr)) &&
                     (!sig.result || sameType(sig.result, info->sig.result));
        for (size_t k = 0; match && k < sig.params.size(); ++k)
            match = sameType(sig.params[k].type, info->sig.params[k].type) &&
                    (sig.params[k].mode == PMode::Var) == (info->sig.params[k].mode == PMode::Var);
        if (!match) failAt(nameTok.line, nameTok.col, "Forward Parameter Mismatch");
        info->sig = sig;
    } else {
        procs_.push_back(ProcInfo{});
        info = &procs_.back();
        info->name = name;
        info->sig = sig;
        info->line = kwTok.line;
        info->col = kwTok.col;
        info->index = static_cast<int>(mod_.procs.size());
        mod_.procs.push_back(Proc{});
        mod_.procs.back().name = u;
        Symbol s{SK::Proc};
        s.index = static_cast<int>(procs_.size() - 1);
        s.sig = &info->sig;
        globals_[u] = s;
    }
    if (tok_.isKw("FORWARD")) {
        next();
        expectSym(";", "Semicolon (';') expected");
        return;
    }
    info->defined = true;
    beginProc(info);
    for (;;) {
        if (acceptKw("VAR")) parseVarSection(false);
        else if (acceptKw("CONST")) parseConstSection(cur_->locals);
        else if (acceptKw("TYPE")) parseTypeSection(cur_->locals);
        else break;
    }
    if (!tok_.isKw("BEGIN")) fail("'BEGIN' expected");
    next();
    statementList("END");
    expectKw("END", "'END' expected");
    expectSym(";", "Semicolon (';') expected");
    endProc();
}

// `external 'Entry@library convention options';` after a routine's heading: the routine becomes a call into that
// library, bound when the script is loaded and resolved at its first call.
void CompilerImpl::parseExternal(const std::string& name, Sig sig) {
    next();
    if (tok_.kind != Tok::String) fail("String expected");
    const std::string text = tok_.text;
    next();
    expectSym(";", "Semicolon (';') expected");
    const ForeignTargetText target = parseForeignTarget(text);
    if (!target.ok) fail(target.error);

    ForeignSignature foreign;
    for (const Param& prm : sig.params)
        foreign.params.push_back({foreignType(prm.type), prm.mode == PMode::Var || prm.mode == PMode::Out});
    if (sig.result) foreign.result = foreignType(sig.result);
    const Sig& stored = newSig(std::move(sig));

    Symbol s{SK::HostFunc};
    s.sig = &stored;
    s.importName = "DLL:" + upperAscii(name);
    ImportEntry e;
    e.signature = foreignSignatureText(foreign);
    e.argc = static_cast<int>(stored.params.size());
    e.hasResult = stored.result != nullptr;
    catalog_[s.importName] = e;
    importResult_[s.importName] = stored.result;
    externals_[s.importName] = target.target;
    globals_[upperAscii(name)] = s;
}

ForeignType CompilerImpl::foreignType(const Type* t) {
    ForeignType f;
    switch (t->k) {
        case TK::U8: f.kind = ForeignKind::U8; break;
        case TK::S8: f.kind = ForeignKind::S8; break;
        case TK::U16: f.kind = ForeignKind::U16; break;
        case TK::S16: f.kind = ForeignKind::S16; break;
        case TK::U32: f.kind = ForeignKind::U32; break;
        case TK::S32: f.kind = ForeignKind::S32; break;
        case TK::S64: f.kind = ForeignKind::S64; break;
        case TK::Char: f.kind = ForeignKind::Char; break;
        case TK::Bool: f.kind = ForeignKind::Bool; break;
        // an enumeration is a byte up to 256 values, as the script language stores it
        case TK::Enum: f.kind = t->high < 256 ? ForeignKind::U8 : ForeignKind::U16; break;
        case TK::Single: f.kind = ForeignKind::Single; break;
        case TK::Double: f.kind = ForeignKind::Double; break;
        case TK::Extended: f.kind = ForeignKind::Extended; break;
        case TK::Currency: f.kind = ForeignKind::Currency; break;
        case TK::String: f.kind = ForeignKind::String; break;
        case TK::Record:
            f.kind = ForeignKind::Record;
            for (const Field& fd : t->fields) f.fields.push_back(foreignType(fd.type));
            break;
        case TK::StaticArray:
            f.kind = ForeignKind::Array;
            f.count = static_cast<int32_t>(t->high - t->low + 1);
            f.fields.push_back(foreignType(t->elem));
            break;
        default: f.kind = ForeignKind::Other; break;
    }
    return f;
}

void CompilerImpl::compileProgram(std::string_view src) {
    lex_ = Lexer(src);
    next();
    if (tok_.isKw("PROGRAM")) {
        next();
        expectIdent();
        expectSym(";", "Semicolon (';') expected");
    }
    if (tok_.isKw("USES")) {
        next();
        for (;;) {
            Token u = tok_;
            expectIdent();
            if (u.upper != "SYSTEM") failAt(u.line, u.col, "Unknown identifier '" + u.upper + "'");
            if (!acceptSym(",")) break;
        }
        expectSym(";", "Semicolon (';') expected");
    }
    for (;;) {
        if (acceptKw("VAR")) parseVarSection(true);
        else if (acceptKw("CONST")) parseConstSection(globals_);
        else if (acceptKw("TYPE")) parseTypeSection(globals_);
        else if (tok_.isKw("PROCEDURE")) parseProcedure(false);
        else if (tok_.isKw("FUNCTION")) parseProcedure(true);
        else break;
    }
    for (auto& p : procs_)
        if (!p.defined) failAt(p.line, p.col, "Unsatisfied Forward " + upperAscii(p.name));
    if (tok_.kind == Tok::Eof) fail("'BEGIN' expected");
    if (!tok_.isKw("BEGIN")) fail("'BEGIN' expected");
    next();
    procs_.push_back(ProcInfo{});
    ProcInfo* mainInfo = &procs_.back();
    mainInfo->name = "!MAIN";
    mainInfo->index = static_cast<int>(mod_.procs.size());
    mainInfo->defined = true;
    mod_.procs.push_back(Proc{});
    mod_.procs.back().name = "!MAIN";
    mod_.mainProc = mainInfo->index;
    beginProc(mainInfo);
    statementList("END");
    expectKw("END", "'END' expected");
    reportArgMismatch();
    if (!tok_.is(".")) fail("period ('.') expected");
    endProc();
}

}  // namespace pelo::lang::detail
