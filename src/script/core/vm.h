#pragma once
// Running statement lists fast. The main program of a script and the body of each script
// procedure are turned, at their first run, into a flat list of instructions over a few
// registers: operators read variables and constants where they are kept, loops and
// conditions become jumps, a try ... except marks its protected instructions (an error
// raised there, or in a compiled routine called from there, runs the handler without
// leaving as a C++ exception), and whatever has no instruction of its own (most host
// calls, with, try ... finally) runs through its own statement or expression object. The result is
// the same as executing the statement objects one by one; the compiled form is made
// again when a list it was made from changes.
#include <memory>
#include <vector>

namespace orv::script {

class TfsStatement;
class TfsProcVariable;

} // namespace orv::script

namespace orv::script::vm {

struct Code;
class Compiler;

// Runs the statement list (a script's main program or a procedure's body).
void run(TfsStatement* list);

// Runs the body of a script procedure whose parameters were set where they are kept.
// A body that runs only code of its own kind keeps its parameters and locals in
// registers while it runs (an activation frame), so calling it again from itself saves
// nothing; its items get the values back when it ends, and whenever code of the host may
// look at them.
void runRoutine(TfsProcVariable* proc);

// Compiled running is on by default; off, every list runs through its statement objects
// (for checking that both give the same results).
void setEnabled(bool on);
bool enabled();

// Owned by a statement list: its compiled form, and the forms it replaced, which may
// still be running.
struct CodeHolder {
    CodeHolder();
    ~CodeHolder();
    CodeHolder(const CodeHolder&) = delete;
    CodeHolder& operator=(const CodeHolder&) = delete;
    std::unique_ptr<Code> current;
    // A procedure's body compiled with its parameters and locals in registers.
    std::unique_ptr<Code> frame;
    std::vector<std::unique_ptr<Code>> retired;
};

} // namespace orv::script::vm
