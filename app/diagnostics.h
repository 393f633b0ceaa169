// Diagnostics: the only lines the calculator writes on standard error, and the way out of the process.
// No state of its own; standard error is unbuffered, standard output is ours (runtime/output.h).
#pragma once

// Every text the calculator can write on standard error, each written as one line.
inline constexpr char YY_MSG_PARSE_ERROR[] = "parse error";
inline constexpr char YY_MSG_STACK_OVERFLOW[] = "parser stack overflow";
inline constexpr char YY_MSG_NO_ACTION[] = "fatal flex scanner internal error--no action found";
inline constexpr char YY_MSG_NO_RULE[] = "parser internal error--no action found for the rule";
inline constexpr char YY_MSG_EOB_MISSED[] = "fatal flex scanner internal error--end of buffer missed";
inline constexpr char YY_MSG_BUFFER_OVERFLOW[] = "fatal error - scanner input buffer overflow";
inline constexpr char YY_MSG_READ_FAILED[] = "read() in flex scanner failed";
inline constexpr char YY_MSG_OUT_OF_MEMORY[] = "out of dynamic memory in yy_create_buffer()";
inline constexpr char YY_MSG_DIVISION_BY_ZERO[] = "division by zero";
inline constexpr char YY_MSG_DIVISION_OVERFLOW[] = "division overflow";
inline constexpr char YY_MSG_WRITE_ERROR[] = "write error";

// Reports a condition after which the caller carries on (the parser then returns).
void yyerror(const char* message);

// Reports a condition the process cannot survive, then ends it with status 1 once the values
// already computed have reached standard output. Never returns.
[[noreturn]] void yy_fatal(const char* message);

// Flushes standard output and returns the status the process should end with: `status`, or 1
// when any value could not be written (then "write error" has gone to standard error, after
// every other diagnostic).
int yy_exit_status(int status);
