// Program entry: runs the parser once over standard input and fixes the exit status.
// Arguments and environment are ignored; the calculator has no configuration.
#include "app/diagnostics.h"
#include "parser/parser.h"
#include "runtime/output.h"

// The parser's own result (accepted, syntax error, stack limit) is not a failure of the process.
static int run_parser() { return yyparse(); }

int main() {
    out_open();
    run_parser();
    return yy_exit_status(0);
}
