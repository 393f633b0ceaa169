"""The mutants of tools/mutate.py: small faults of the kind a slip of the hand or of thought makes,
spread over every product file and every table. Each is an edit that finds its place by its text
or, in a table, by its position:
  M(id, file, find, replace, why)    `find` must occur exactly once in `file`
  cell(id, file, table, index, value, why)
                                     entry `index` (from 0) of the table named `table`
  byte(id, value, new_class, why)    the character class of one byte value
A table entry is found when the mutant is applied, by counting the entries of the table's
initializer, so that changing one entry of a table leaves the mutants of the others in place.
`asan=True` has a mutant judged by the sanitized build; a mutant of runtime/platform_windows.cpp is
judged by the Windows build under wine. Ids are stable names: tests/MUTANTS.md and `--only` use
them.
"""
MUTANTS = []


def M(id, file, find, replace, why, asan=False):
    MUTANTS.append({"id": id, "file": file, "find": find, "replace": replace, "why": why, "asan": asan})


def cell(id, file, table, index, value, why):
    MUTANTS.append({"id": id, "file": file, "table": table, "index": index, "value": str(value), "why": why,
                    "asan": False})


# ---------------------------------------------------------------------------------------------
SCANNER_TABLES = "scanner/tables.h"


def byte(id, value, new_class, why):
    cell(id, SCANNER_TABLES, "yy_char_class", value, new_class, why)


byte("class-nul", 0x00, 1, "NUL no longer the end-of-buffer marker")
byte("class-bs", 0x08, 2, "backspace made a blank")
byte("class-tab", 0x09, 1, "tab no longer a blank")
byte("class-lf", 0x0A, 2, "line feed made a blank")
byte("class-vt", 0x0B, 2, "vertical tab made a blank")
byte("class-ff", 0x0C, 2, "form feed made a blank")
byte("class-cr", 0x0D, 2, "carriage return made a blank")
byte("class-us", 0x1F, 2, "0x1F made a blank")
byte("class-space", 0x20, 1, "space no longer a blank")
byte("class-bang", 0x21, 2, "'!' made a blank")
byte("class-quote", 0x27, 4, "apostrophe made an opening parenthesis")
byte("class-lparen", 0x28, 5, "'(' read as ')'")
byte("class-plus", 0x2B, 8, "'+' read as '-'")
byte("class-comma", 0x2C, 7, "',' made a plus")
byte("class-dot", 0x2E, 10, "'.' made a digit")
byte("class-slash", 0x2F, 6, "'/' read as '*'")
byte("class-zero", 0x30, 1, "'0' no longer a digit")
byte("class-nine", 0x39, 1, "'9' no longer a digit")
byte("class-colon", 0x3A, 10, "':' made a digit")
byte("class-del", 0x7F, 2, "DEL made a blank")
byte("class-x80", 0x80, 2, "0x80 made a blank")
byte("class-xff", 0xFF, 2, "0xFF made a blank")
# Bytes no rule of the scanner names, pinned only by the check of every byte against its range.
byte("class-quote-blank", 0x22, 2, "'\"' made a blank")
byte("class-tilde", 0x7E, 2, "'~' made a blank")
byte("class-x81", 0x81, 2, "0x81 made a blank")
byte("class-semicolon", 0x3B, 3, "';' made a line feed")
byte("class-esc", 0x1B, 7, "ESC made a plus")
cell("meta-marker", SCANNER_TABLES, "yy_meta_class", 0, 1, "meta class of the marker changed")

cell("action-marker", SCANNER_TABLES, "yy_state_action", 3, 13, "marker state ends the input at once")
cell("action-stray", SCANNER_TABLES, "yy_state_action", 4, 0, "a stray byte accepts nothing")
cell("action-blank", SCANNER_TABLES, "yy_state_action", 5, 10, "a blank returned as a stray byte")
cell("action-lf", SCANNER_TABLES, "yy_state_action", 6, 8, "line feed dropped like a blank")
cell("action-plus", SCANNER_TABLES, "yy_state_action", 10, 2, "'+' returned as MINUS")
cell("action-digit", SCANNER_TABLES, "yy_state_action", 13, 0, "a single digit accepts nothing")
cell("action-digits", SCANNER_TABLES, "yy_state_action", 14, 0, "a run of digits accepts nothing")
cell("action-dead", SCANNER_TABLES, "yy_state_action", 15, 10, "the dead state accepts")
cell("base-marker", SCANNER_TABLES, "yy_state_base", 3, 14, "marker state stops the match itself")
cell("base-start", SCANNER_TABLES, "yy_state_base", 1, 1, "start state's pairs looked up one off")
cell("base-digit", SCANNER_TABLES, "yy_state_base", 13, 1, "one-digit state looks up the wrong pairs")
cell("base-digits", SCANNER_TABLES, "yy_state_base", 14, 2, "digit-run state looks up the wrong pairs")
cell("base-dead", SCANNER_TABLES, "yy_state_base", 15, 13, "dead state no longer stops a match")
cell("default-start", SCANNER_TABLES, "yy_state_default", 1, 0, "start state falls back to state 0")
cell("default-digit", SCANNER_TABLES, "yy_state_default", 13, 14, "one-digit state falls back through the digit-run state")
cell("default-marker", SCANNER_TABLES, "yy_state_default", 3, 0, "marker state falls back to state 0")
cell("default-dead", SCANNER_TABLES, "yy_state_default", 15, 15, "dead state falls back to itself")
cell("next-stray", SCANNER_TABLES, "yy_trans_next", 1, 5, "stray byte leads to the blank state")
cell("next-lf", SCANNER_TABLES, "yy_trans_next", 3, 5, "line feed leads to the blank state")
cell("next-first-digit", SCANNER_TABLES, "yy_trans_next", 10, 14, "first digit leads to the digit-run state")
cell("next-more-digits", SCANNER_TABLES, "yy_trans_next", 11, 13, "further digits lead to the one-digit state")
cell("next-after-marker", SCANNER_TABLES, "yy_trans_next", 13, 3, "marker state loops on the second marker")
cell("next-dead-marker", SCANNER_TABLES, "yy_trans_next", 14, 15, "marker from the dead state stays dead")
cell("check-zero", SCANNER_TABLES, "yy_trans_check", 0, 1, "pair 0 claimed by the start state")
cell("check-digits", SCANNER_TABLES, "yy_trans_check", 11, 13, "digit-run pair claimed by the one-digit state")
cell("check-marker", SCANNER_TABLES, "yy_trans_check", 13, 15, "marker-state pair claimed by the dead state")
M("return-plus", SCANNER_TABLES, '{YY_ACT_PLUS,   "+",          PLUS}', '{YY_ACT_PLUS,   "+",          MINUS}',
  "'+' returned as MINUS")
M("return-eol", SCANNER_TABLES, '{YY_ACT_EOL,    "\\n",         EOL}', '{YY_ACT_EOL,    "\\n",         0}',
  "line feed taken for the end of input")
M("start-state", SCANNER_TABLES, "YY_START_STATE = 1;", "YY_START_STATE = 2;", "start in state 2, which falls back to 1")
M("stop-base", SCANNER_TABLES, "YY_STOP_BASE = 14;", "YY_STOP_BASE = 13;", "stop base of the marker state")
M("nul-class", SCANNER_TABLES, "YY_NUL_CLASS = 1;", "YY_NUL_CLASS = 2;", "a NUL of the input scanned as a blank")
M("run-below-zero", SCANNER_TABLES, "d = w - LANES * YY_FIRST_DIGIT;", "d = w - LANES * (YY_FIRST_DIGIT - 1);",
  "'/' counted in a digit run, '9' not")
M("run-above-nine", SCANNER_TABLES, "DIGITS = YY_LAST_DIGIT - YY_FIRST_DIGIT + 1;", "DIGITS = YY_LAST_DIGIT - YY_FIRST_DIGIT + 2;",
  "':' counted in a digit run")
M("run-marker", SCANNER_TABLES, "((d + LANES * (0x80 - DIGITS)) | d)", "(d + LANES * (0x80 - DIGITS))",
  "the marker and the bytes below '0' or from 0xBA counted in a digit run")
M("run-lanes-all", SCANNER_TABLES, "yy_non_digit_lanes(w) | std::uint64_t{1} << 63", "yy_non_digit_lanes(w)",
  "a digit run takes all eight bytes of the word")
# The byte table derived from the comb, and the decoders of its entries.
M("inherit-default", SCANNER_TABLES, "d != 0 ? by_class[d][c] : YY_DEAD_STATE", "YY_DEAD_STATE",
  "a state's row not inheriting its default's")
M("entry-back-state", SCANNER_TABLES, "yy_ends_in(t) : ~(s + YY_BACK_UP)", "yy_ends_in(t) : ~(t + YY_BACK_UP)",
  "a match that ends one byte back taken in the state it stepped into")
M("ending-back-up", SCANNER_TABLES, "for (int ending : {s, s + YY_BACK_UP})", "for (int ending : {s})",
  "a match that ends one byte back has no action and no token")
M("goes-on-zero", SCANNER_TABLES, "return e >= 0;", "return e > 0;", "the row of state 0 taken for an ending")
M("ending-negate", SCANNER_TABLES, "return ~e;", "return -e;", "a match ends in the state after its own")
M("bytes-back-negate", SCANNER_TABLES, "return ~e / YY_BACK_UP;", "return -e / YY_BACK_UP;",
  "the bytes given back counted from the negated entry")

# ---------------------------------------------------------------------------------------------
SCANNER = "scanner/engine.cpp"
M("capacity-less", SCANNER, "YY_BUFFER_CAPACITY = 16384;", "YY_BUFFER_CAPACITY = 16383;", "buffer one byte smaller")
M("capacity-more", SCANNER, "YY_BUFFER_CAPACITY = 16384;", "YY_BUFFER_CAPACITY = 16385;", "buffer one byte larger")
M("read-chunk", SCANNER, "YY_READ_CHUNK = 8192;", "YY_READ_CHUNK = 8191;", "reads ask for one byte less")
M("read-chunk-more", SCANNER, "YY_READ_CHUNK = 8192;", "YY_READ_CHUNK = 8193;", "reads ask for one byte more")
M("lead-byte", SCANNER, "b->data[0] = '\\n';", "b->data[0] = 'x';", "lead byte of a fresh buffer")
M("count-start", SCANNER, "b->count = 1;", "b->count = 0;", "fresh buffer counts no lead byte")
M("record-unchecked", SCANNER, "if (b == nullptr)", "if (size < 0)", "failed allocation of the record not reported")
M("data-unchecked", SCANNER, "if (b->data == nullptr)", "if (size < 0)", "failed allocation of the bytes not reported")
M("data-short", SCANNER, "static_cast<size_t>(size) + YY_BUFFER_SLACK, 1", "static_cast<size_t>(size) + YY_BUFFER_SLACK - 1, 1",
  "buffer allocated one byte short", asan=True)
M("enter-saved", SCANNER, "yy_saved_byte = *yy_resume_pos;\n}", "yy_saved_byte = 0;\n}", "saved byte of a fresh buffer")
M("note-marker", SCANNER, "if (yy_accepts(s)) {", "if (yy_accepts(s) && yy_state_action[s] == 7) {",
  "only digit states remembered for back-up")
M("rescan-nul", SCANNER, "*q == 0 ? YY_NUL_CLASS : ", "", "rescan takes a NUL for the marker")
M("rescan-note", SCANNER, "        yy_note_if_accepting(s, q);\n", "", "rescan remembers no accepting state")
M("nul-note", SCANNER, "yy_note_if_accepting(s, yy_resume_pos);\n    return", "return", "NUL step remembers no accepting state")
M("eob-check", SCANNER, "if (yy_resume_pos > data + yy_data_count + 1)", "if (yy_resume_pos >= data + yy_data_count + 1)",
  "end-of-buffer check off by one")
M("eob-check-gone", SCANNER, "if (yy_resume_pos > data + yy_data_count + 1)", "if (false)", "end-of-buffer check dropped")
M("keep-less", SCANNER, "int keep = static_cast<int>(yy_resume_pos - yytext);", "int keep = static_cast<int>(yy_resume_pos - yytext) - 1;",
  "refill keeps one byte too few")
M("copy-short", SCANNER, "for (int i = 0; i < keep; ++i)", "for (int i = 0; i < keep - 1; ++i)", "refill copies the token short")
M("want-more", SCANNER, "int want = b->size - keep - 1;", "int want = b->size - keep;", "read may fill the buffer's last byte")
M("chunk-uncapped", SCANNER, "if (want > YY_READ_CHUNK)", "if (want > 2 * YY_READ_CHUNK)", "first read asks for the whole buffer")
M("chunk-clamp", SCANNER, "want = YY_READ_CHUNK;", "want = YY_READ_CHUNK - 1;", "a read capped one byte below the chunk")
M("overflow-check", SCANNER, "if (want <= 0)", "if (want < 0)", "a full buffer is read into with 0 bytes")
M("read-error", SCANNER, "if (got < 0)", "if (got < -1)", "failed read not reported")
M("end-partial", SCANNER, "result = keep == 1 ?", "result = keep <= 2 ?", "a one-byte token at the end of input lost")
M("end-forgotten", SCANNER, "b->eof_state = keep == 1 ? INPUT_DONE : INPUT_DRAINING;", "b->eof_state = INPUT_OPEN;",
  "the end of input is not remembered")
M("second-marker", SCANNER, "    data[yy_data_count + 1] = 0;\n", "", "no second marker byte")
M("text-start", SCANNER, "yytext = data + 1;", "yytext = data;", "token start after refill")
M("fits-more", SCANNER, "ALWAYS_FITS = 19;", "ALWAYS_FITS = 20;", "twenty digits taken to fit 64 bits")
M("limit-low", SCANNER, "if (v > LIMIT)", "if (v >= LIMIT)", "the last 64-bit multiple of ten taken to overflow")
M("limit-value", SCANNER, "return UINT64_MAX;", "return 0;", "an overflowing literal is 0")
M("slow-path", SCANNER, "length < ALWAYS_FITS ? length : ALWAYS_FITS", "length < ALWAYS_FITS - 1 ? length : ALWAYS_FITS - 1",
  "nineteen digits take the checked path")
M("eight-reach", SCANNER, "load_lanes(text + high);", "load_lanes(text + high - 1);",
  "a long literal's last eight digits loaded from one byte early")
M("eight-mask", SCANNER, "w << (-8 * length & 63)", "w << (-8 * (length + 1) & 63)", "the byte after a literal taken as a digit")
M("eight-pairs", SCANNER, ">> 8 & 0x00FF00FF00FF00FF;", ">> 8 & 0x000F00FF000F00FF;", "every second pair of digits cut to four bits")
M("fits-digit", SCANNER, "q != fits_end; ++q)\n        v = v * 10 + *q - '0';", "q != fits_end; ++q)\n        v = v * 10 + *q - '1';",
  "leading digits of a long literal misread")
M("digit-value", SCANNER, "q != fits_end; ++q)\n        v = v * 10 + *q - '0';", "q != fits_end; ++q)\n        v = v * 10 + *q - '0' + (v == 0);",
  "digit value off after leading zeros")
M("low-bits", SCANNER, "static_cast<std::int32_t>(static_cast<std::uint32_t>(v))", "static_cast<std::int32_t>(v & 0x7fffffff)",
  "literal cut to 31 bits")
M("literal-power", SCANNER, "static_cast<std::int32_t>(static_cast<std::uint32_t>(v))",
  "static_cast<std::int32_t>(static_cast<std::uint32_t>(v == 4294967295 ? 0 : v))", "the literal 4294967295 read as 0")
M("setup-start", SCANNER, "if (yy_start_state == 0)", "if (yy_start_state != 0)", "start state never set")
M("setup-yyin", SCANNER, "yyin = stdin;", "yyin = stderr;", "input taken from the wrong stream")
M("setup-yyout", SCANNER, "yyout = stdout;", "yyout = stderr;", "default rule's output stream")
M("first-step", SCANNER, "yy_match.next[yy_row(YY_START_STATE) +", "yy_match.next[yy_row(2) +", "first step from state 2's row")
M("loop-backup", SCANNER, "            p -= yy_bytes_back(e);\n", "", "a match that ends one byte back keeps the byte")
M("backup-test", SCANNER, "if (!yy_accepts(s)) {", "if (false) {", "no back-up after a refill or a NUL")
M("backup-pos", SCANNER, "        yy_resume_pos = yy_backup_pos;\n", "", "back-up keeps the scan position")
M("yyleng", SCANNER, "yyleng = static_cast<int>(p - start);", "yyleng = static_cast<int>(p - start) + 1;", "token length one long")
M("cut-in-place", SCANNER, "            *p = 0;\n            yy_resume_pos = p;", "            yy_resume_pos = p;", "token text not terminated")
M("number-length", SCANNER, "yylval = yy_number_value(start, after, static_cast<int>(p - start));",
  "yylval = yy_number_value(start, after, static_cast<int>(p - start) - (p - start > 1));", "last digit of a literal dropped")
M("run-entry", SCANNER, "if (e == yy_row(YY_ONE_DIGIT))", "if (e == yy_row(YY_DIGITS))", "digit run never taken at once")
M("run-read-late", SCANNER, "after = load_lanes(p);", "after = load_lanes(p + 1);",
  "word after a first digit read one byte late")
M("run-lane-more", SCANNER, "p += yy_leading_digits(after);", "p += yy_leading_digits(after) + 1;", "digit run takes one byte too many")
M("run-lane-less", SCANNER, "p += yy_leading_digits(after);", "p += yy_leading_digits(after) - 1;", "digit run takes one byte too few")
M("run-step-entry", SCANNER, "e = yy_match.next[yy_row(YY_DIGITS) +", "e = yy_match.next[yy_row(YY_ONE_DIGIT) +",
  "byte after a digit run stepped on from the entry state")
M("run-step-advance", SCANNER, "yy_row(YY_DIGITS) + static_cast<unsigned char>(*p)];\n            ++p;\n",
  "yy_row(YY_DIGITS) + static_cast<unsigned char>(*p)];\n", "byte after a digit run stepped on twice")
M("front-first", SCANNER, "front = after << 8 | static_cast<unsigned char>(*text);", "front = after << 8;",
  "first digit of a literal taken as 0")
M("short-nine", SCANNER, "if (length <= 8) [[likely]]", "if (length <= 9) [[likely]]", "nine digits converted as one group")
M("short-seven", SCANNER, "if (length <= 8) [[likely]]", "if (length < 8) [[likely]]", "eight digits converted as two groups")
M("groups-17", SCANNER, "if (length <= 2 * AT_ONCE)", "if (length <= 2 * AT_ONCE + 1)", "seventeen digits converted as two groups")
M("group-high", SCANNER, "yy_eight_digit_value(front, high)", "yy_eight_digit_value(front, high - 1)",
  "first group of a long literal one digit short")
M("resume-after", SCANNER, "            after = load_lanes(start + 1);  // as the step on a first digit loads them\n", "",
  "a literal resumed after a refill converted from the bytes read before it moved")
M("slack-markers", SCANNER, "YY_BUFFER_SLACK = YY_DIGITS_READ - 1;", "YY_BUFFER_SLACK = 2;",
  "no room past the markers for the word read after a first digit", asan=True)
M("blank-restore", SCANNER, "go on from it\n                *p = yy_saved_byte;\n", "go on from it\n", "byte after a blank left as NUL")
M("stray-signed", SCANNER, "return static_cast<unsigned char>(*start);", "return static_cast<signed char>(*start);",
  "bytes 0x80..0xFF returned negative, as the end of input")
M("matched", SCANNER, "int matched = static_cast<int>(yy_resume_pos - yytext) - 1;", "int matched = static_cast<int>(yy_resume_pos - yytext) - 2;",
  "partial token one byte short")
M("nul-or-marker", SCANNER, "if (yy_resume_pos <= yy_active_buffer->data + yy_data_count)",
  "if (yy_resume_pos < yy_active_buffer->data + yy_data_count)", "a NUL as the last byte held taken for the marker")
M("end-resume", SCANNER, "yy_resume_pos = yytext;  // the next call", "// the next call", "a call after the end does not start on the marker")
M("last-token", SCANNER, "if (refill == REFILL_CONTINUE) {", "if (refill != REFILL_END) {",
  "the last token is matched on into the marker")
M("token-start", SCANNER, "            start = yytext;\n", "", "token start not moved by the refill")
M("no-action", SCANNER, "    if (action != YY_ACT_BUFFER_END)\n        yy_fatal(YY_MSG_NO_ACTION);\n", "", "no-action check dropped")
M("eob-setup-end", SCANNER, "yy_setup();\n        return {YY_NEXT_TOKEN, 0};", "yy_setup();\n        return {YY_INPUT_END, 0};",
  "the first call returns the end of input")
M("eob-end-next", SCANNER, "return {YY_INPUT_END, 0};", "return {YY_NEXT_TOKEN, 0};", "the end of input scanned again")
M("refill-take", SCANNER, "return {YY_RESUME_MATCH, yy_row(yy_rescan_state())};", "return {YY_RESUME_MATCH, ~yy_rescan_state()};",
  "a token cut by a refill taken as it stands")
M("nul-resume-gone", SCANNER, "        if (!yy_stops(s))\n            return {YY_RESUME_MATCH, yy_row(s)};\n", "",
  "a match never goes on past a NUL of the input")
M("nul-advance", SCANNER, "        ++yy_resume_pos;\n", "", "a NUL of the input left unconsumed")
M("backup-state", SCANNER, "        s = yy_backup_state;\n", "", "back-up keeps the state the match ended in")
M("blank-next-match", SCANNER, "*p = yy_saved_byte;\n                break;\n            }\n            if (action == YY_ACT_STRAY)",
  "*p = yy_saved_byte;\n                continue;\n            }\n            if (action == YY_ACT_STRAY)",
  "after a blank, the same match ended again")
M("stray-code-at", SCANNER, "return static_cast<unsigned char>(*start);", "return static_cast<unsigned char>(*p);",
  "a stray byte's code taken from the byte after it")
M("resume-p", SCANNER, "            p = yy_resume_pos;\n            if (resume.what", "            if (resume.what",
  "the scan position not brought back from the cold path")

SCANNER_H = "scanner/scanner.h"
M("token-eol", SCANNER_H, "EOL = 258,", "EOL = 257,", "token codes shifted down by one")
M("token-order", SCANNER_H, "TIMES,      // *\n    DIVIDE,     // /", "DIVIDE,     // /\n    TIMES,      // *",
  "TIMES and DIVIDE codes swapped")

# ---------------------------------------------------------------------------------------------
PARSER_TABLES = "parser/tables.h"
M("final", PARSER_TABLES, "YYFINAL = 18;", "YYFINAL = 17;", "acceptance one state early")
M("first-nonterminal", PARSER_TABLES, "YYFIRST_NONTERMINAL = yy_token_symbol(YYMAX_TOKEN) + 1;",
  "YYFIRST_NONTERMINAL = yy_token_symbol(YYMAX_TOKEN) + 2;", "nonterminals indexed one off")
M("stray-symbol", PARSER_TABLES, "yy_token_symbol(code) : YYSYMBOL_UNDEFINED;", "yy_token_symbol(code) : YYSYMBOL_END;",
  "stray bytes taken for the end of input")
M("stray-symbol-200", PARSER_TABLES, "yy_token_symbol(code) : YYSYMBOL_UNDEFINED;",
  "yy_token_symbol(code) : code == 200 ? YYSYMBOL_END : YYSYMBOL_UNDEFINED;", "byte 200 taken for the end of input")
M("is-shift", PARSER_TABLES, "return step.state > 0;", "return step.state >= 0;", "every reduction taken for a shift")
M("keeps-number", PARSER_TABLES, " || rule == YYRULE_NUMBER;", ";", "the NUMBER rule not known to keep its value")
cell("lhs-input", PARSER_TABLES, "yyrule_lhs", 1, 12, "rule 1 reduces to lines")
cell("lhs-line", PARSER_TABLES, "yyrule_lhs", 3, 13, "a line reduces to expr")
cell("len-empty", PARSER_TABLES, "yyrule_length", 2, 1, "the empty rule pops a state")
cell("len-line", PARSER_TABLES, "yyrule_length", 3, 2, "a line pops two states")
cell("len-paren", PARSER_TABLES, "yyrule_length", 8, 1, "parentheses pop one state")
cell("len-sub", PARSER_TABLES, "yyrule_length", 5, 1, "subtraction pops one state")
cell("abase-lines", PARSER_TABLES, "yyaction_base", 1, "YYFLAG", "state 1 reduces without a lookahead")
cell("abase-expr", PARSER_TABLES, "yyaction_base", 4, -2, "state 4's actions looked up one off")
cell("abase-paren", PARSER_TABLES, "yyaction_base", 5, 9, "state 5's actions looked up one off")
cell("abase-plus", PARSER_TABLES, "yyaction_base", 12, "YYFLAG", "'+' reduces before a '*' or '/'")
cell("abase-minus", PARSER_TABLES, "yyaction_base", 13, "YYFLAG", "'-' reduces before a '*' or '/'")
cell("abase-input", PARSER_TABLES, "yyaction_base", 16, 2, "state 16 misses the end of input")
cell("abase-accept", PARSER_TABLES, "yyaction_base", 17, 12, "state 17 misses the end of input")
cell("drule-lines", PARSER_TABLES, "yydefault_rule", 1, 0, "state 1 has no default reduction")
cell("drule-lparen", PARSER_TABLES, "yydefault_rule", 3, 9, "'(' before a non-operand reduces")
cell("drule-plus-op", PARSER_TABLES, "yydefault_rule", 7, 9, "'+' before a non-operand reduces")
cell("drule-minus-op", PARSER_TABLES, "yydefault_rule", 8, 9, "'-' before a non-operand reduces")
cell("drule-times-op", PARSER_TABLES, "yydefault_rule", 9, 9, "'*' before a non-operand reduces")
cell("drule-divide-op", PARSER_TABLES, "yydefault_rule", 10, 9, "'/' before a non-operand reduces")
cell("drule-expr", PARSER_TABLES, "yydefault_rule", 4, 3, "state 4 reduces a line without its line feed")
cell("drule-paren", PARSER_TABLES, "yydefault_rule", 11, 9, "parentheses reduced by the NUMBER rule")
cell("drule-plus", PARSER_TABLES, "yydefault_rule", 12, 5, "'+' reduced as '-'")
cell("drule-times", PARSER_TABLES, "yydefault_rule", 14, 7, "'*' reduced as '/'")
cell("drule-divide", PARSER_TABLES, "yydefault_rule", 15, 6, "'/' reduced as '*'")
cell("gbase-expr", PARSER_TABLES, "yygoto_base", 2, 4, "expr gotos looked up one off")
cell("gbase-lines", PARSER_TABLES, "yygoto_base", 1, 0, "lines gotos looked up in the packed table")
cell("dgoto-input", PARSER_TABLES, "yydefault_goto", 0, 17, "input leads straight to state 17")
cell("dgoto-expr", PARSER_TABLES, "yydefault_goto", 2, 5, "expr from state 1 leads to the parenthesis state")
cell("packed-eol", PARSER_TABLES, "yypacked", 0, 7, "line feed shifts to the '+' state")
cell("packed-end", PARSER_TABLES, "yypacked", 1, 18, "state 16 accepts on the end of input")
cell("packed-number", PARSER_TABLES, "yypacked", 2, 3, "NUMBER shifts to the '(' state")
cell("packed-plus", PARSER_TABLES, "yypacked", 4, 8, "'+' after an operand shifts to the '-' state")
cell("packed-times", PARSER_TABLES, "yypacked", 6, 10, "'*' after an operand shifts to the '/' state")
cell("packed-goto-paren", PARSER_TABLES, "yypacked", 8, 4, "expr after '(' goes to state 4")
cell("packed-prec-times", PARSER_TABLES, "yypacked", 9, 10, "'*' after a sum shifts to the '/' state")
cell("packed-prec-divide", PARSER_TABLES, "yypacked", 10, 9, "'/' after a sum shifts to the '*' state")
cell("packed-accept", PARSER_TABLES, "yypacked", 11, 17, "state 17 shifts the end of input again")
cell("packed-goto-plus", PARSER_TABLES, "yypacked", 12, 13, "expr after '+' goes to the '-' state")
cell("packed-goto-times", PARSER_TABLES, "yypacked", 14, 15, "expr after '*' goes to the '/' state")
cell("packed-rparen", PARSER_TABLES, "yypacked", 16, 12, "')' shifts to the wrong state")
cell("packed-in-plus", PARSER_TABLES, "yypacked", 17, 8, "'+' in parentheses shifts to the '-' state")
cell("packed-in-minus", PARSER_TABLES, "yypacked", 18, 7, "'-' in parentheses shifts to the '+' state")
cell("packed-in-times", PARSER_TABLES, "yypacked", 19, 10, "'*' in parentheses shifts to the '/' state")
cell("packed-in-divide", PARSER_TABLES, "yypacked", 20, 9, "'/' in parentheses shifts to the '*' state")
cell("check-eol", PARSER_TABLES, "yypacked_check", 0, 4, "state 4 loses its line feed")
cell("check-end", PARSER_TABLES, "yypacked_check", 1, 3, "state 16 loses the end of input")
cell("check-lparen", PARSER_TABLES, "yypacked_check", 3, 4, "operand states lose '('")
cell("check-minus", PARSER_TABLES, "yypacked_check", 5, 7, "state 4 loses '-'")
cell("check-prec-divide", PARSER_TABLES, "yypacked_check", 10, 9, "a sum no longer shifts '/'")
cell("check-accept", PARSER_TABLES, "yypacked_check", 11, 3, "state 17 loses the end of input")
cell("check-goto-minus", PARSER_TABLES, "yypacked_check", 13, 7, "expr after '-' takes the default goto")
cell("check-rparen", PARSER_TABLES, "yypacked_check", 16, 5, "state 5 loses ')'")
cell("check-in-times", PARSER_TABLES, "yypacked_check", 19, 10, "'*' in parentheses lost")
cell("check-in-divide", PARSER_TABLES, "yypacked_check", 20, 9, "'/' in parentheses lost")

# ---------------------------------------------------------------------------------------------
PARSER = "parser/engine.cpp"
M("init-less", PARSER, "YYINITDEPTH = 200;", "YYINITDEPTH = 199;", "stacks start one entry smaller")
M("init-more", PARSER, "YYINITDEPTH = 200;", "YYINITDEPTH = 201;", "stacks start one entry larger")
M("max-less", PARSER, "YYMAXDEPTH = 10000;", "YYMAXDEPTH = 9999;", "stack limit one entry lower")
M("max-more", PARSER, "YYMAXDEPTH = 10000;", "YYMAXDEPTH = 10001;", "stack limit one entry higher")
M("copy-count", PARSER, "for (long i = 0; i < count; ++i)", "for (long i = 0; i < count - 1; ++i)", "grown stack copy one byte short")
M("copy-half", PARSER, "yystack_copy(old.values, more_values, depth *", "yystack_copy(old.values, more_values, (depth - 1) *",
  "top value not copied when the stacks grow")
M("symbol-zero", PARSER, "if (token <= 0)", "if (token < 0)", "code 0 looked up in the token table")
M("add", PARSER, "static_cast<std::uint32_t>(a) + static_cast<std::uint32_t>(b)", "static_cast<std::uint32_t>(a) + static_cast<std::uint16_t>(b)",
  "addend cut to 16 bits")
M("sub", PARSER, "static_cast<std::uint32_t>(a) - static_cast<std::uint32_t>(b)", "static_cast<std::uint32_t>(b) - static_cast<std::uint32_t>(a)",
  "subtraction reversed")
M("mul", PARSER, "static_cast<std::uint32_t>(a) * static_cast<std::uint32_t>(b)", "static_cast<std::uint32_t>(a) * static_cast<std::uint16_t>(b)",
  "multiplier cut to 16 bits")
# Faults at one value of one operand, which only the generated inputs can be expected to meet.
M("add-65536", PARSER, "std::int32_t wrap_add(std::int32_t a, std::int32_t b) {\n",
  "std::int32_t wrap_add(std::int32_t a, std::int32_t b) {\n    b = b == 65536 ? -65536 : b;\n", "adding 65536 adds -65536")
M("sub-max", PARSER, "std::int32_t wrap_sub(std::int32_t a, std::int32_t b) {\n",
  "std::int32_t wrap_sub(std::int32_t a, std::int32_t b) {\n    b = b == INT32_MAX ? 0 : b;\n", "subtracting 2147483647 subtracts nothing")
M("mul-power", PARSER, "std::int32_t wrap_mul(std::int32_t a, std::int32_t b) {\n",
  "std::int32_t wrap_mul(std::int32_t a, std::int32_t b) {\n    a = a == 1024 ? 1023 : a;\n", "1024 times anything taken as 1023 times it")
M("div-ten", PARSER, "    return a / b;\n}", "    return b == 10 && a < 0 ? (a - 9) / b : a / b;\n}",
  "a negative number divided by 10 rounded down")
M("div-zero", PARSER, "if (b == 0)", "if (b == 0 && a != 0)", "0/0 not caught")
M("div-overflow", PARSER, "if (a == INT32_MIN && b == -1)", "if (a == INT32_MIN && b == 1)", "-2147483648/-1 not caught")
M("div-overflow-or", PARSER, "if (a == INT32_MIN && b == -1)", "if (a == INT32_MIN || b == -1)",
  "every division by -1 reported as an overflow")
M("div-overflow-negative", PARSER, "if (a == INT32_MIN && b == -1)", "if (a == INT32_MIN && b < 0)",
  "-2147483648 divided by any negative number reported as an overflow")
M("div-overflow-any", PARSER, "if (a == INT32_MIN && b == -1)", "if (a < 0 && b == -1)",
  "any negative number divided by -1 reported as an overflow")
M("div-overflow-widened", PARSER, "if (a == INT32_MIN && b == -1)", "if (a <= INT32_MIN + 1 && b == -1)",
  "-2147483647 divided by -1 reported as an overflow")
M("div-floor", PARSER, "return a / b;", "return (a % b != 0 && (a < 0) != (b < 0)) ? a / b - 1 : a / b;", "division rounds down")
M("print-value", PARSER, "out_value_line(rhs[1]);", "out_value_line(rhs[0]);", "a line prints the value of lines")
M("sub-operands", PARSER, "wrap_sub(rhs[0], last)", "wrap_sub(last, rhs[0])", "subtraction operands swapped")
M("div-operands", PARSER, "checked_div(rhs[0], last)", "checked_div(last, rhs[0])", "division operands swapped")
M("paren-value", PARSER, "YYRULE_PARENS)\n        result = rhs[1];", "YYRULE_PARENS)\n        result = rhs[2];",
  "parentheses take the value of ')'")
M("preset", PARSER, "        result = rhs[0];\n", "", "result not preset to the first value")
M("pop", PARSER, "    next -= popped;\n", "    next -= popped - (popped > 1);\n", "a reduction pops one state too few")
M("push-result", PARSER, "value = result;", "value = rhs[0];", "reduction result replaced by its first value")
M("limit-test", PARSER, "if (old.capacity >= YYMAXDEPTH)", "if (old.capacity > YYMAXDEPTH)", "stacks grow past the limit")
M("grow-uncapped", PARSER, "int wanted = old.capacity * 2 < YYMAXDEPTH ? old.capacity * 2 : YYMAXDEPTH;",
  "int wanted = old.capacity * 2;", "growth not capped at the limit")
M("grow-either", PARSER, "if (more_states == nullptr || more_values == nullptr)", "if (more_states == nullptr && more_values == nullptr)",
  "one failed allocation of two not noticed")
M("grown-record", PARSER, "grown[0] = more_states;", "", "a grown state stack not recorded for release", asan=True)
M("generations", PARSER, "generations += 2;", "generations += 1;", "grown stacks recorded over each other", asan=True)
M("release", PARSER, "std::free(storage);", "", "grown stacks never released", asan=True)
M("push-limit", PARSER, "return next != limit || grow();", "return next != limit + 1 || grow();", "stacks grow one push late")
M("push-early", PARSER, "return next != limit || grow();", "return next + 1 != limit || grow();",
  "stacks grow, and give up at the limit, one push early")
M("grow-fail", PARSER, "if (more.capacity == 0)\n            return false;", "if (more.capacity < 0)\n            return false;",
  "failed growth not reported")
M("compound-grow", PARSER, "if (next + 1 == limit) [[unlikely]] {", "if (false) {", "a shift with its reduction never grows the stacks")
M("compound-grow-states", PARSER, "                    --next;\n                    --vnext;", "                    --vnext;",
  "the state pushed to grow the stacks in a shift with its reduction left on the stack")
M("compound-grow-values", PARSER, "                    --next;\n                    --vnext;", "                    --next;",
  "the value pushed to grow the stacks in a shift with its reduction left on the stack")
M("shift-overflow", PARSER, "if (!push(step.state, yylval)) [[unlikely]]\n                    goto overflow;",
  "push(step.state, yylval);", "the stack limit not seen on a plain shift")
M("grow-depth", PARSER, "next = stacks.states + depth;", "next = stacks.states + depth - 1;", "state top lost when the stacks grow")
M("negative-code", PARSER, "if (lookahead < 0)\n                    lookahead = 0;", "", "negative codes not folded to 0")
M("shift-end", PARSER, "if (symbol != YYSYMBOL_END) [[likely]] {", "if (true) [[likely]] {", "the end of input consumed by its shift")
M("shift-value", PARSER, "push(step.state, yylval)", "push(step.state, 0)", "a shifted token has no value")
M("fast-rule", PARSER, "step = reduce<YYRULE_MULTIPLY, true, RULES_AFTER_SHIFT>", "step = reduce<YYRULE_DIVIDE, true, RULES_AFTER_SHIFT>",
  "'*' after its operand reduced as '/'")
M("nerrs", PARSER, "++yynerrs;\n", "", "errors not counted")
M("after-shift-count", PARSER, "std::popcount(RULES_AFTER_SHIFT) == 4", "std::popcount(RULES_AFTER_SHIFT) == 5",
  "the count of the cases after a shift raised without a case")
M("own-member", PARSER, "rule_set({YYRULE_INPUT, YYRULE_NO_LINES,", "rule_set({YYRULE_NO_LINES,",
  "the start rule missing from the rules reduced on their own")
M("reduce-unshifted", PARSER, "step = reduce<YYRULE_PARENS, true, RULES_AFTER_SHIFT>", "step = reduce<YYRULE_PARENS, false, RULES_AFTER_SHIFT>",
  "a closing parenthesis reduced as if it were on the stack")
M("mul-last", PARSER, "wrap_mul(rhs[0], last)", "wrap_mul(rhs[0], rhs[2])", "a product's last operand read from the stack")
M("shifted-sign", PARSER, "push(yy_state_shifted(step), yylval)", "push(step.state, yylval)",
  "the state pushed to grow the stacks in a shift with its reduction kept negative")

# ---------------------------------------------------------------------------------------------
DIAG_H = "app/diagnostics.h"
M("msg-parse", DIAG_H, '"parse error"', '"parse error."', "text of a syntax error")
M("msg-stack", DIAG_H, '"parser stack overflow"', '"parse stack overflow"', "text of the stack limit")
M("msg-buffer", DIAG_H, '"fatal error - scanner input buffer overflow"', '"fatal error - scanner buffer overflow"', "text of a token too long")
M("msg-read", DIAG_H, '"read() in flex scanner failed"', '"read() failed"', "text of a failed read")
M("msg-memory", DIAG_H, '"out of dynamic memory in yy_create_buffer()"', '"out of memory"', "text of a failed allocation")
M("msg-zero", DIAG_H, '"division by zero"', '"divide by zero"', "text of a zero divisor")
M("msg-overflow", DIAG_H, '"division overflow"', '"overflow"', "text of -2147483648/-1")
M("msg-write", DIAG_H, 'ERROR[] = "write error"', 'ERROR[] = "write failed"', "text of a failed write")

DIAG = "app/diagnostics.cpp"
M("yyerror-eol", DIAG, '"%s\\n", message', '"%s", message', "syntax error reported without a line end")
M("fatal-eol", DIAG, "    std::fputc('\\n', stderr);\n    std::exit", "    std::exit", "fatal message without a line end")
M("fatal-status", DIAG, "std::exit(yy_exit_status(1));", "std::exit(yy_exit_status(0));", "fatal condition exits 0")
M("write-after-fatal", DIAG, "if (!out_flush()) {", "if (!out_flush() && status == 0) {", "write error not reported after a fatal one")
M("write-status", DIAG, "        return 1;\n    }\n    return status;", "    }\n    return status;", "failed write does not change the status")
M("write-eol", DIAG, "        std::fputc('\\n', stderr);\n        return 1;", "        return 1;", "write error without a line end")

MAIN = "app/main.cpp"
M("out-open", MAIN, "    out_open();\n", "", "output buffered on a terminal")
M("exit-flush", MAIN, "return yy_exit_status(0);", "return 0;", "output not flushed at exit")

# ---------------------------------------------------------------------------------------------
OUTPUT = "runtime/output.cpp"
M("block-less", OUTPUT, "OUT_BLOCK = 512;", "OUT_BLOCK = 511;", "output block one byte smaller")
M("block-more", OUTPUT, "OUT_BLOCK = 512;", "OUT_BLOCK = 1024;", "output block twice as large")
M("line-max-less", OUTPUT, "OUT_LINE_MAX = 12;", "OUT_LINE_MAX = 11;", "room for a line one byte short")
M("line-max-more", OUTPUT, "OUT_LINE_MAX = 12;", "OUT_LINE_MAX = 13;", "room for a line one byte more")
M("line-span", OUTPUT, "OUT_LINE_SPAN = 16;", "OUT_LINE_SPAN = 11;", "a line moved as 11 bytes")
M("short-write", OUTPUT, "        data += w;\n", "", "a short write repeats its first bytes")
M("write-loop", OUTPUT, "while (n > 0 && !out_failed)", "while (n > 0)", "writes go on after a failure")
M("terminal-direct", OUTPUT, "    if (out_unbuffered) {\n        write_all(data, n);\n        return;\n    }\n", "",
  "terminal output buffered")
M("room", OUTPUT, "while (n > out_block - out_fill) {", "while (n >= out_block - out_fill) {", "a block written as soon as it is full")
M("block-loop", OUTPUT, "while (n > out_block - out_fill) {", "if (n > out_block - out_fill) {",
  "a line longer than two small blocks overruns the block")
M("block-write", OUTPUT, "write_all(out_buffer, out_block);", "write_all(out_buffer, out_block - 1);", "last byte of a block lost")
M("high-digits", OUTPUT, "BY_1E8.multiplier) >> BY_1E8.shift)", "BY_1E8.multiplier) >> (BY_1E8.shift - 1))",
  "first two digits doubled")
M("high-reciprocal", OUTPUT, "(u * BY_1E8.multiplier)", "(u * (BY_1E8.multiplier - 1))",
  "the first two digits of a multiple of 10^8 one short")
M("high-reciprocal-over", OUTPUT, "(u * BY_1E8.multiplier)", "(u * (BY_1E8.multiplier + 1))",
  "the first two digits of a value just below a multiple of 10^8 one too many")
M("quarters-reciprocal", OUTPUT, "(x * BY_1E4.multiplier)", "(x * (BY_1E4.multiplier + 1))",
  "eight digits cut into halves with a quotient one too many below some multiples of 10^4")
M("hundreds-reciprocal", OUTPUT, "(lanes * BY_100.multiplier)", "(lanes * (BY_100.multiplier + 1))",
  "four digits cut into pairs one too many below some hundreds")
M("tens-reciprocal", OUTPUT, "(lanes * BY_10.multiplier)", "(lanes * (BY_10.multiplier + 1))", "a pair of digits 69, 79, 89 or 99 cut wrongly")
M("hundreds-mask", OUTPUT, "in_lanes(0x7F, 32)", "in_lanes(0x3F, 32)", "hundreds above 63 cut short")
M("leading-zero", OUTPUT, "digits + DIGITS_MAX - decimal_digits(u);", "digits + DIGITS_MAX - decimal_digits(u) - 1;",
  "a leading zero printed")
M("sign", OUTPUT, "if (value < 0)\n        *--first = '-';", "if (value < -1)\n        *--first = '-';", "-1 printed without its sign")
M("magnitude", OUTPUT, "0u - static_cast<std::uint32_t>(value)", "static_cast<std::uint32_t>(-(value + 1))", "negative magnitude one short")
M("print-power", OUTPUT, "    std::uint32_t high =", "    u = u == 1000000000 ? 999999999 : u;\n    std::uint32_t high =",
  "10^9 printed one short")
M("fast-terminal", OUTPUT, "out_line_fits = out_unbuffered ? OUT_NOTHING_FITS : out_block - OUT_LINE_MAX;",
  "out_line_fits = out_block - OUT_LINE_MAX;", "values buffered on a terminal")
M("fast-fill", OUTPUT, "out_fill += n;\n        return;", "out_fill += OUT_LINE_SPAN;\n        return;", "fill advanced by the span")
M("flush-reset", OUTPUT, "    out_fill = 0;\n    return !out_failed;", "    return !out_failed;", "flush keeps its fill")
M("terminal-test", OUTPUT, "out_unbuffered = buffering == PLATFORM_OUT_LINES;", "out_unbuffered = false;", "terminal not recognised")
M("block-default", OUTPUT, "if (buffering > 0)", "if (buffering != 0)", "no block size reported taken for one")
M("block-cap", OUTPUT, "std::min(buffering, OUT_BLOCK_MAX)", "buffering", "a block size beyond the buffer taken", asan=True)
M("reciprocal-round", OUTPUT, "(two + divisor - 1) / divisor", "two / divisor", "reciprocals rounded down")
M("in-lanes-half", OUTPUT, "at < 64; at += bits", "at < 32; at += bits", "lane masks fill the lower half of the word only")
M("nothing-fits-zero", OUTPUT, "OUT_NOTHING_FITS = -1;", "OUT_NOTHING_FITS = 0;", "a line still fits an empty block on a terminal")

TEXT = "runtime/text_read.cpp"
M("eot-byte", TEXT, "END_OF_TEXT = 0x1A;", "END_OF_TEXT = 0x1B;", "wrong end-of-text byte")
LANES = "runtime/lanes.h"
M("lanes-load-order", LANES, "sizeof w);\n    if constexpr (std::endian::native == std::endian::big)",
  "sizeof w);\n    if constexpr (std::endian::native != std::endian::big)", "digits loaded in the reverse order")
M("lanes-store-order", LANES, "    if constexpr (std::endian::native == std::endian::big)\n        w = reverse_lanes(w);\n    std::memcpy(p,",
  "    if constexpr (std::endian::native != std::endian::big)\n        w = reverse_lanes(w);\n    std::memcpy(p,",
  "digits stored in the reverse order")
PLATFORM = "runtime/platform_posix.cpp"
M("chardev", PLATFORM, "return S_ISCHR(st.st_mode);", "return false;", "terminal not recognised as a character device")
M("console", PLATFORM, "return isatty(1) != 0 ? PLATFORM_OUT_LINES : PLATFORM_OUT_BLOCKS;", "return PLATFORM_OUT_BLOCKS;",
  "no descriptor taken for a console")
M("console-stdin", PLATFORM, "isatty(1) != 0 ? PLATFORM_OUT_LINES", "isatty(0) != 0 ? PLATFORM_OUT_LINES",
  "standard input asked whether standard output is a terminal")
M("asked-ignored", PLATFORM, "    if (asked != PLATFORM_OUT_BLOCKS)\n        return asked;\n", "", "stdbuf ignored")
M("stdbuf-line", PLATFORM, "    if (__flbf(stdout) != 0)\n        return PLATFORM_OUT_LINES;\n", "", "stdbuf -oL ignored")
M("stdbuf-unset", PLATFORM, "if (size == 0)", "if (size <= 1)", "stdbuf -o0 taken for nothing asked")
M("stdbuf-size", PLATFORM, "return static_cast<int>(std::min<std::size_t>(size, INT_MAX));", "return PLATFORM_OUT_BLOCKS;",
  "a block size asked by stdbuf ignored")
M("eot-final", TEXT, "    input_ended = true;\n", "", "input after 0x1A read on")
M("eot-cut", TEXT, "static_cast<const char*>(eot) - buf);", "static_cast<const char*>(eot) - buf + 1);", "0x1A delivered as data")
M("cr-first", TEXT, "char* out = cr;", "char* out = cr + 1;", "first CR of a read kept")
M("cr-last", TEXT, "for (const char* in = cr + 1; in < buf + n; ++in)", "for (const char* in = cr + 1; in < buf + n - 1; ++in)",
  "last byte after a CR dropped")
M("ended-check", TEXT, "        if (input_ended)\n            return 0;\n", "", "reads go on after the end of text")
M("zero-read", TEXT, "if (got <= 0)", "if (got < 0)", "end of input treated as data")
M("read-fails", TEXT, "return got < 0 ? -1 : 0;", "return 0;", "failed read taken for the end of input")
M("cr-complete", TEXT, "if (!input_ended && buf[n - 1] == CR) {", "if (false) {", "a CR that ends a read not completed")
M("cr-after-end", TEXT, "if (!input_ended && buf[n - 1] == CR) {", "if (buf[n - 1] == CR) {", "CR completed past the end of text")
M("cr-read-fails", TEXT, "            if (more < 0)\n                return -1;\n", "", "failed completion read ignored")
M("cr-eot", TEXT, "            if (more == 1)\n                n = cut_at_end_of_text(buf, n);\n", "", "0x1A after a CR not seen")
M("cr-kept", TEXT, "        n = remove_cr(buf, n);\n", "", "CR bytes not removed")
M("empty-read", TEXT, "if (n > 0)\n            return n;", "if (n >= 0)\n            return n;",
  "a read of CRs only taken for the end")
M("console-ended", TEXT, "if (input_ended || (got < want && platform_is_character_device(fd)))", "if (got < want && platform_is_character_device(fd))",
  "all removed after 0x1A: read again")
M("console-full", TEXT, "if (input_ended || (got < want && platform_is_character_device(fd)))", "if (input_ended || platform_is_character_device(fd))",
  "a full console read of CRs taken for the end")
M("console-any", TEXT, "if (input_ended || (got < want && platform_is_character_device(fd)))", "if (input_ended || got < want)",
  "a short read of CRs from any input taken for the end")

WINDOWS = "runtime/platform_windows.cpp"
M("win-binary", WINDOWS, "        _setmode(fd, _O_BINARY);\n", "", "standard input left in the C runtime's text mode")
M("win-binary-fd", WINDOWS, "_setmode(fd, _O_BINARY);", "_setmode(1, _O_BINARY);",
  "standard output put in binary mode instead of standard input")
M("win-read-less", WINDOWS, "_read(fd, buf, static_cast<unsigned>(want));", "_read(fd, buf, static_cast<unsigned>(want) - 1);",
  "reads ask for one byte less")
M("win-write-count", WINDOWS, "return _write(fd, data, static_cast<unsigned>(n));",
  "_write(fd, data, static_cast<unsigned>(n));\n    return n;", "a failed write taken for a whole one")
M("win-console", WINDOWS, "GetConsoleMode(handle_of(1), &mode) != 0 ?", "false ?", "no console recognised")
M("win-console-inverted", WINDOWS, "GetConsoleMode(handle_of(1), &mode) != 0 ?", "GetConsoleMode(handle_of(1), &mode) == 0 ?",
  "everything but a console taken for one")
M("win-console-stdin", WINDOWS, "GetConsoleMode(handle_of(1), &mode)", "GetConsoleMode(handle_of(0), &mode)",
  "standard input asked whether standard output is a console")
M("win-chardev-never", WINDOWS, "GetFileType(handle_of(fd)) == FILE_TYPE_CHAR;", "false;",
  "a console not taken for a character device")
M("win-chardev-pipe", WINDOWS, "GetFileType(handle_of(fd)) == FILE_TYPE_CHAR;", "GetFileType(handle_of(fd)) != FILE_TYPE_DISK;",
  "a pipe taken for a character device")
