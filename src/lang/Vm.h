// The script VM and the operations the host program uses on it.
#pragma once

#include <atomic>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "lang/ForeignCalls.h"
#include "lang/ImportCatalog.h"
#include "lang/HostTable.h"
#include "lang/Loader.h"
#include "lang/Module.h"

namespace pelo::lang {

struct VmLimits {
    int maxFrames = 4000;              // recursion depth
    size_t stackSlots = 256 * 1024;    // values on the VM stack (frames and temporaries)
    int64_t maxStringLength = 256 * 1024 * 1024;
    // Values in one dynamic array (elements that are records count with their fields); an element
    // reference holds a 24-bit index, so 16M is also the most that references can reach.
    int64_t maxArrayLength = 16 * 1024 * 1024;
    // Steps allowed per top-level run before it is stopped (0: no limit): a step is a backward jump, a call or a
    // handled error, or 1,024 values of records and arrays (16 KB of strings) made or copied.
    int64_t maxLoopSteps = 0;
};

// Conversions of Variant contents (also used by host functions that take variants).
void convertVariant(Value& v, VarType want);
void variantOp(Value& a, const Value& b, int32_t code);
// Two variants compared; `code` 0..5 for = <> < > <= >=.
bool variantCompare(const Value& a, const Value& b, int32_t code);

class Vm {
public:
    // `catalog` is what compiled files may import from `host` (importCatalogFor, Compiler.h).
    Vm(const HostTable& host, std::shared_ptr<const ImportCatalog> catalog, VmLimits limits = {});
    ~Vm();
    Vm(const Vm&) = delete;
    Vm& operator=(const Vm&) = delete;

    // Loads a compiled file (verified completely); throws LoadError with the reason.
    void loadFile(std::string_view bytes);
    // Loads a module produced by the compiler in this process (verified the same way).
    void loadModule(Module module);
    bool loaded() const { return loaded_; }
    // Changes with every load and clear: what holds a procedure number of the loaded code (an event handler)
    // compares it before calling, so that nothing of an unloaded script ever runs.
    uint64_t loadGeneration() const { return loadGeneration_; }
    void clear();

    // Runs the main block; throws ScriptError on a run-time error.
    void runMain();
    // Procedure by name (ASCII case-insensitive) or -1. The main block is not found by name.
    int findProc(std::string_view name) const;
    const Proc* proc(int index) const;
    // Calls a procedure. Arguments are converted to the parameter types where the conversion is
    // lossless (string to string, integer to integer, ...); throws ScriptError on a mismatch or a
    // run-time error. Returns the function result (Plain zero for procedures).
    // `varOut`, when given, receives what the procedure left in its var parameters (by position; the others empty).
    Value call(int procIndex, const std::vector<Value>& args, std::vector<Value>* varOut = nullptr);
    bool busy() const { return depth_ > 0; }
    void requestStop() { stopRequested_ = true; }

    // Predefined variables: the slot of a global by name, or nullptr.
    Value* global(std::string_view name);

    // ExceptionType and ExceptionParam (and RaiseLastException): inside a try block the innermost one's
    // exception, which is none except while its except part runs; outside every try block no error, and the
    // text of the last exception raised.
    ErrorCode lastErrorCode() const;
    const std::string& lastErrorParam() const;

    // How the script's external functions are called; set before loading (null: every such call fails).
    void setForeignCalls(std::shared_ptr<ForeignCalls> calls) { foreign_ = std::move(calls); }
    ForeignCalls* foreignCalls() const { return foreign_.get(); }

    const Module& module() const { return module_; }
    Value makeDefault(int typeId) const;
    // A record's or static array's own copy, for a host that keeps one.
    Value cloneAgg(const Value& v) const;
    const VmLimits& limits() const { return limits_; }

private:
    struct Frame {
        const Proc* proc;
        const int32_t* code;
        const int32_t* pc;
        Value* base;
        size_t handlerBase;
    };
    // One try block of a running frame. A finally entry becomes Running while its finally part
    // runs and then holds what to do at its end: go on, raise the error again or carry on leaving. An
    // except entry becomes Catching, with the error it caught, while its except part runs.
    // Keeping that action on this stack ties it to its frame and lets every unwind drop it.
    struct Handler {
        enum Kind : uint8_t { Except, Finally, Running, Catching } kind;
        enum Then : uint8_t { Continue, Reraise, Leave } then;
        int32_t leaveDepth;       // Leave: try level of the frame to leave down to
        size_t frame;
        const int32_t* pc;        // handler or finally part; Running + Leave: the leave target
        Value* sp;                // stack depth at the try; Running + Leave: the target's depth
        ErrorCode code;           // Reraise and Catching: the error
        std::string param;
    };

    void install(Module module);
    void execute(int procIndex, Value* args, int nargs, Value* result);
    void run(size_t stopFrames);
    void interpret(size_t stopFrames);
    bool handle(const ScriptError& e, size_t stopFrames);
    void enterProc(int procIndex, Value* argsBase);
    bool fitsShape(const Proc& p, const ProcShape& shape) const;
    void clearRange(Value* from, Value* to);
    void storeSlow(Value& dst, Value& src);
    // Takes one step of the budget (and the values made since the last step); true once it is spent or a stop
    // was requested.
    bool stepSpent();

    const HostTable& host_;
    std::shared_ptr<const ImportCatalog> catalog_;
    VmLimits limits_;
    Module module_;
    std::vector<BoundImport> imports_;
    std::shared_ptr<ForeignCalls> foreign_;
    std::vector<std::unique_ptr<HostFn>> externalFns_;  // what imports_ of external functions point to
    std::vector<Value> globals_;
    std::unique_ptr<Value[]> stack_;
    Value* sp_ = nullptr;
    Value* highWater_ = nullptr;
    std::vector<Frame> frames_;
    std::vector<Handler> handlers_;
    int depth_ = 0;
    bool loaded_ = false;
    uint64_t loadGeneration_ = 0;
    std::atomic<bool> stopRequested_{false};
    int64_t loopSteps_ = 0;
    // Values of records and arrays made or copied in this top-level run. A loop can build a large frame or
    // record on every round with only one jump, so they count against the step budget too.
    mutable int64_t valuesMade_ = 0;
    uint64_t stringBytesAtStart_ = 0;  // and strings, by their bytes
    int64_t stringValues_ = 0;
    std::string lastParam_;
};

}  // namespace pelo::lang
