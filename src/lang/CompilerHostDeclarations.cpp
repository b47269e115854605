// The host's functions, variables and classes as scripts see them.
#include "lang/CompilerImpl.h"

namespace pelo::lang::detail {

ClassInfo* CompilerImpl::classInfoFor(const HostClass* hc) {
    for (auto& c : declaring_->classes)
        if (c.host == hc) return &c;
    return nullptr;
}

void CompilerImpl::addImport(const std::string& name, const Sig& sig, bool withSelf, const std::string& selfName,
                             const HostFn* fn) {
    ImportEntry e;
    e.signature = sigText(sig, withSelf, selfName);
    e.fn = fn;
    e.argc = static_cast<int>(sig.params.size()) + (withSelf ? 1 : 0);
    e.hasResult = sig.result != nullptr;
    if (withSelf) e.params.push_back(ImportParam{false, false, RtKind::Obj});
    for (const Param& prm : sig.params) {
        ImportParam ip;
        ip.byRef = prm.mode == PMode::Var || prm.mode == PMode::Out;
        ip.any = prm.type->k == TK::Untyped;
        ip.kind = mod_.types[static_cast<size_t>(rtType(prm.type))].kind;
        e.params.push_back(ip);
    }
    if (sig.result) e.resultKind = mod_.types[static_cast<size_t>(rtType(sig.result))].kind;
    if (withSelf)
        e.self = name.size() > 4 && (name.ends_with(".GET") || name.ends_with(".SET")) ? ImportEntry::Self::Property
                                                                                       : ImportEntry::Self::Method;
    declaring_->catalog[name] = e;
    declaring_->importResult[name] = sig.result;
}

// Every class name is known before the host's types (an event type names TObject) and members are read.
void CompilerImpl::declareClassName(const HostClass& hc) {
    declaring_->classes.push_back(ClassInfo{});
    ClassInfo& ci = declaring_->classes.back();
    ci.name = hc.name();
    ci.host = &hc;
    const HostClass* parentHc = hc.parent() ? hc.parent() : (hc.parentName().empty() ? nullptr : host_.findClass(hc.parentName()));
    ci.parent = parentHc ? classInfoFor(parentHc) : nullptr;
    Type* t = newType(TK::Class, hc.name());
    t->cls = &ci;
    ci.type = t;
    Symbol s{SK::Type};
    s.type = t;
    declaring_->scope[upperAscii(hc.name())] = s;
}

void CompilerImpl::declareClassMembers(const HostClass& hc) {
    ClassInfo& ci = *classInfoFor(&hc);
    const Type* t = ci.type;
    std::string cu = upperAscii(hc.name());
    for (const HostMember& m : hc.members()) {
        lex_ = Lexer(m.decl);
        next();
        MemberInfo mi;
        mi.kind = m.kind;
        mi.host = &m;
        if (m.kind == MemberKind::Property) {
            expectKw("PROPERTY", "Syntax error");
            std::string n = expectIdent();
            mi.upper = upperAscii(n);
            if (acceptSym("[")) {
                for (;;) {
                    std::vector<std::string> names;
                    for (;;) {
                        names.push_back(expectIdent());
                        if (!acceptSym(",")) break;
                    }
                    expectSym(":", "colon (':') expected");
                    const Type* pt = parseType();
                    for (auto& pn : names) mi.sig.params.push_back({pn, pt, PMode::Value});
                    if (!acceptSym(";")) break;
                }
                expectSym("]", "Closing square bracket (']') expected");
            }
            expectSym(":", "colon (':') expected");
            mi.sig.result = parseType();
            while (tok_.kind == Tok::Ident) {
                if (tok_.isKw("READ")) mi.canRead = true;
                else if (tok_.isKw("WRITE")) mi.canWrite = true;
                next();
            }
            if (!m.fn) mi.canRead = false;
            if (!m.setter) mi.canWrite = false;
            mi.importName = cu + "." + mi.upper + ".GET";
            mi.setterName = cu + "." + mi.upper + ".SET";
            if (mi.canRead) addImport(mi.importName, mi.sig, true, hc.name(), &m.fn);
            if (mi.canWrite) {
                Sig ss = mi.sig;
                ss.params.push_back({"Value", mi.sig.result, PMode::Value});
                ss.result = nullptr;
                addImport(mi.setterName, ss, true, hc.name(), &m.setter);
            }
        } else {
            bool isFunc = tok_.isKw("FUNCTION");
            if (m.kind == MemberKind::Constructor) expectKw("CONSTRUCTOR", "Syntax error");
            else if (!acceptKw("PROCEDURE") && !acceptKw("FUNCTION")) fail("Syntax error");
            std::string n = expectIdent();
            mi.upper = upperAscii(n);
            parseParams(mi.sig);
            if (isFunc) {
                expectSym(":", "colon (':') expected");
                mi.sig.result = parseType();
            }
            if (m.kind == MemberKind::Constructor) mi.sig.result = t;
            mi.importName = cu + "." + mi.upper;
            addImport(mi.importName, mi.sig, m.kind != MemberKind::Constructor, hc.name(), &m.fn);
            mi.canRead = true;
        }
        auto ins = ci.members.insert_or_assign(mi.upper, mi);
        if (m.isDefault) ci.defaultProp = &ins.first->second;
    }
}

void CompilerImpl::declareHost() {
    auto builtin = [&](const char* name, Builtin b) {
        Symbol s{SK::Builtin};
        s.builtin = b;
        declaring_->scope[name] = s;
    };
    builtin("LENGTH", Builtin::Length);
    builtin("SETLENGTH", Builtin::SetLength);
    builtin("HIGH", Builtin::High);
    builtin("LOW", Builtin::Low);
    builtin("INC", Builtin::Inc);
    builtin("DEC", Builtin::Dec);
    builtin("ORD", Builtin::Ord);
    builtin("CHR", Builtin::Chr);
    builtin("SUCC", Builtin::Succ);
    builtin("PRED", Builtin::Pred);
    builtin("ASSIGNED", Builtin::Assigned);
    builtin("BREAK", Builtin::Break);
    builtin("CONTINUE", Builtin::Continue);
    builtin("EXIT", Builtin::Exit);
    builtin("INCLUDE", Builtin::Include);
    builtin("EXCLUDE", Builtin::Exclude);
    builtin("GETARRAYLENGTH", Builtin::GetArrayLength);
    builtin("SETARRAYLENGTH", Builtin::SetArrayLength);
    builtin("SIZEOF", Builtin::SizeOf);
    builtin("HALT", Builtin::Halt);
    {
        Symbol t{SK::Const};
        t.type = tBool;
        t.cval = Value::ofInt(1);
        declaring_->scope["TRUE"] = t;
        t.cval = Value::ofInt(0);
        declaring_->scope["FALSE"] = t;
        Symbol mi{SK::Const};
        mi.type = tS32;
        mi.cval = Value::ofInt(2147483647);
        declaring_->scope["MAXINT"] = mi;
    }
    for (const auto& hc : host_.classes()) declareClassName(*hc);
    for (const std::string& d : host_.types()) {
        lex_ = Lexer(d);
        next();
        std::string n = expectIdent();
        expectSym("=", "is ('=') expected");
        const Type* t = parseType(n);
        // Enumeration names land in globals_ while declaring: move them to the host scope.
        for (auto it = globals_.begin(); it != globals_.end();) {
            declaring_->scope[it->first] = it->second;
            it = globals_.erase(it);
        }
        Symbol s{SK::Type};
        s.type = t;
        declaring_->scope[upperAscii(n)] = s;
    }
    for (const std::string& d : host_.constants()) {
        lex_ = Lexer(d);
        next();
        std::string n = expectIdent();
        expectSym("=", "is ('=') expected");
        Ex e = expression();
        if (e.k != EK::Const) fail("Constant Value Type Mismatch");
        Symbol s{SK::Const};
        s.type = e.type;
        s.cval = e.cval;
        declaring_->scope[upperAscii(n)] = s;
    }
    for (const auto& hc : host_.classes()) declareClassMembers(*hc);
    for (const HostFunction& f : host_.functions()) {
        lex_ = Lexer(f.decl);
        next();
        bool isFunc = tok_.isKw("FUNCTION");
        if (!acceptKw("PROCEDURE") && !acceptKw("FUNCTION")) fail("Syntax error");
        std::string n = expectIdent();
        Sig& sig = newSig();
        parseParams(sig);
        if (isFunc) {
            expectSym(":", "colon (':') expected");
            sig.result = parseType();
        }
        Symbol s{SK::HostFunc};
        s.sig = &sig;
        s.importName = upperAscii(n);
        declaring_->scope[s.importName] = s;
        addImport(s.importName, sig, false, "", &f.fn);
    }
    for (const HostVariable& v : host_.variables()) {
        const Type* t = findType(upperAscii(v.typeName));
        if (!t) throw CompileError(0, 0, "Unknown type '" + v.typeName + "'");
        Symbol s{SK::Global};
        s.type = t;
        s.index = static_cast<int>(mod_.globals.size());
        mod_.globals.push_back({upperAscii(v.name), rtType(t)});
        declaring_->scope[upperAscii(v.name)] = s;
    }
    // Every type gets its run-time index now, while the declarations are still being made.
    for (const Type& t : declaring_->types) rtType(&t);
    declaring_->builtins = *this;
    declaring_->rtTypes = mod_.types;
    declaring_->globals = mod_.globals;
}

std::shared_ptr<const HostDeclarations> hostDeclarationsFor(const HostTable& host) {
    return host.declarations([&host] {
        auto declared = std::make_shared<HostDeclarations>();
        CompilerImpl(host, *declared).declareHost();
        return declared;
    });
}

int CompilerImpl::importId(const std::string& name) {
    auto it = importIds_.find(name);
    if (it != importIds_.end()) return it->second;
    ImportCatalog::const_iterator c = catalog_.find(name);
    if (c == catalog_.cend()) c = hd_->catalog.find(name);
    Import imp;
    imp.name = name;
    imp.signature = c->second.signature;
    imp.argc = c->second.argc;
    imp.hasResult = c->second.hasResult;
    const Type* rt = nullptr;
    if (auto own = importResult_.find(name); own != importResult_.end()) rt = own->second;
    else if (auto host = hd_->importResult.find(name); host != hd_->importResult.end()) rt = host->second;
    imp.resultType = rt ? rtType(rt) : -1;
    if (auto ext = externals_.find(name); ext != externals_.end()) {
        imp.external = true;
        imp.target = ext->second;
    }
    mod_.imports.push_back(imp);
    int id = static_cast<int>(mod_.imports.size() - 1);
    importIds_[name] = id;
    return id;
}

}  // namespace pelo::lang::detail
