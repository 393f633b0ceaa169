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
# The printed scanner tables (scanner/printed.h): checks of the construction that no code runs.
# The build compares every byte's class and walks both automata, so each of these is expected to
# be stillborn; a representative set, the bytes no rule names among them.
SCANNER_PRINTED = "scanner/printed.h"


def byte(id, value, new_class, why):
    cell(id, SCANNER_PRINTED, "yy_printed_class", value, new_class, why)


byte("class-nul", 0x00, 1, "NUL no longer the end-of-buffer marker")
byte("class-quote-blank", 0x22, 2, "'\"' made a blank")
byte("class-tilde", 0x7E, 2, "'~' made a blank")
byte("class-x81", 0x81, 2, "0x81 made a blank")
byte("class-semicolon", 0x3B, 3, "';' made a line feed")
byte("class-esc", 0x1B, 7, "ESC made a plus")
cell("meta-marker", SCANNER_PRINTED, "yy_meta_class", 0, 1, "meta class of the marker changed")
cell("action-marker", SCANNER_PRINTED, "yy_state_action", 3, 13, "marker state ends the input at once")
cell("base-digit", SCANNER_PRINTED, "yy_state_base", 13, 1, "one-digit state looks up the wrong pairs")
cell("default-start", SCANNER_PRINTED, "yy_state_default", 1, 0, "start state falls back to state 0")
cell("next-first-digit", SCANNER_PRINTED, "yy_trans_next", 10, 14, "first digit leads to the digit-run state")
cell("check-digits", SCANNER_PRINTED, "yy_trans_check", 11, 13, "digit-run pair claimed by the one-digit state")
# The walk of the printed check, weakened: each is the only check that refuses some construction
# fault (see tests/MUTANTS.md).
M("printed-scan-action", SCANNER_PRINTED,
  "        if (yy_printed_automaton.action[ps] != yy_automaton.action[s])\n            return {ps, YY_CLASSES};\n", "",
  "the printed check compares no state's action")

# ---------------------------------------------------------------------------------------------
SCANNER_TABLES = "scanner/tables.h"
# The token rules and the reading of their byte sets.
M("return-plus", SCANNER_TABLES, '{YY_ONE_BYTE, "+",    PLUS}', '{YY_ONE_BYTE, "+",    MINUS}', "'+' returned as MINUS")
M("return-eol", SCANNER_TABLES, '{YY_ONE_BYTE, "\\n",   EOL}', '{YY_ONE_BYTE, "\\n",   0}', "line feed taken for the end of input")
M("rule-tab", SCANNER_TABLES, '" \\t",  YY_NO_TOKEN', '" ",    YY_NO_TOKEN', "tab no longer a blank")
M("rule-order", SCANNER_TABLES, '    {YY_ONE_BYTE, "\\n",   EOL},\n    {YY_ONE_BYTE, nullptr, YY_OWN_CODE},  // any other byte\n',
  '    {YY_ONE_BYTE, nullptr, YY_OWN_CODE},  // any other byte\n    {YY_ONE_BYTE, "\\n",   EOL},\n',
  "the line feed's rule put after the catch-all")
M("rule-number-one-byte", SCANNER_TABLES, '{YY_RUN,      "0-9",  NUMBER}', '{YY_ONE_BYTE, "0-9",  NUMBER}',
  "a number is one digit")
M("takes-range-end", SCANNER_TABLES, "b <= static_cast<unsigned char>(s[2])", "b < static_cast<unsigned char>(s[2])",
  "a range stops before its last byte")
M("takes-dash", SCANNER_TABLES, "s += s[1] == '-' && s[2] != 0 ? 3 : 1)", "s += 1)",
  "a range's dash and last byte read again as bytes of the set")
M("takes-all-null", SCANNER_TABLES, "    return s == nullptr;\n", "    return false;\n", "the catch-all rule takes no byte")
# Classes.
M("class-from-zero", SCANNER_TABLES, "        int a = 1;\n", "        int a = 0;\n",
  "the bytes the rules take as they take a NUL share the marker's class")
M("class-count", SCANNER_TABLES, "static_cast<std::uint8_t>(c.classes++)", "static_cast<std::uint8_t>(++c.classes)",
  "classes numbered from 2, class 1 left empty")
M("nul-class", SCANNER_TABLES, "YY_NUL_CLASS = yy_classes.nul;", "YY_NUL_CLASS = yy_classes.nul + 1;",
  "a NUL of the input scanned as a blank")
# The subset construction.
M("run-goes-on-all", SCANNER_TABLES, "(a.rules[s] >> r & 1 && yy_token_rules[r].kind == YY_RUN)", "(a.rules[s] >> r & 1)",
  "every rule goes on past its first byte, not only the run")
M("marker-loops", SCANNER_TABLES, "(s == a.marker ? a.dead : a.marker)", "a.marker", "the marker state loops on the second marker")
M("dead-numbered-early", SCANNER_TABLES, "a.next[s][c] = to == 0 ? -1 : t;", "a.next[s][c] = to == 0 ? a.states : t;",
  "the dead state numbered by the count of states at the time")
M("dead-uncounted", SCANNER_TABLES, "a.dead = a.states++;", "a.dead = a.states;", "the dead state not counted among the states")
M("action-highest-rule", SCANNER_TABLES, "std::countr_zero(rules) + 1", "std::bit_width(rules)",
  "a state takes the action of its last rule, not its first")
M("marker-action", SCANNER_TABLES, "s == a.marker ? YY_ACT_BUFFER_END : rules", "rules",
  "the marker state's action taken from the rules of its stand-in set")
M("start-state", SCANNER_TABLES, "YY_START_STATE = 1;", "YY_START_STATE = 2;", "start in the marker state")
# The comb.
M("own-dead", SCANNER_TABLES, "return s == a.dead || a.next[s][c]", "return a.next[s][c]",
  "the dead state keeps no pair of its own")
M("fits-base-only", SCANNER_TABLES, "if (own(c) && k.check[b + c] >= 0)", "if (own(c) && k.check[b] >= 0)",
  "a row fits where its base's slot is free")
M("pack-stop-base", SCANNER_TABLES, "int b = any ? 0 : k.base[a.dead];", "int b = any ? 0 : k.base[a.dead] + 1;",
  "a state with no pairs of its own misses the stop base")
M("pair-owner", SCANNER_TABLES, "k.check[b + c] = static_cast<std::int16_t>(s);",
  "k.check[b + c] = static_cast<std::int16_t>(a.next[s][c]);", "a pair claimed by the state it leads to")
M("stop-base", SCANNER_TABLES, "YY_STOP_BASE = yy_comb.base[YY_DEAD_STATE];", "YY_STOP_BASE = yy_comb.base[yy_automaton.marker];",
  "the stop base taken from the marker state")
M("next-in-owner", SCANNER_TABLES, "while (k.check[k.base[s] + c] != s)", "while (k.check[k.base[s] + c] < 0)",
  "a pair taken whichever state owns it")
# The byte table and the decoders of its entries.
M("entry-goes-on", SCANNER_TABLES, "return !yy_stops(t) ? yy_row(t)", "return true ? yy_row(t)",
  "a step into a state that stops taken as one that goes on")
M("token-eol-named", SCANNER_TABLES, "yy_token_rules[a - 1].token >= EOL ?", "yy_token_rules[a - 1].token > EOL ?",
  "the line feed's ending has no token")
M("entry-back-state", SCANNER_TABLES, "yy_ends_in(t) : ~(s + YY_BACK_UP)", "yy_ends_in(t) : ~(t + YY_BACK_UP)",
  "a match that ends one byte back taken in the state it stepped into")
M("ending-back-up", SCANNER_TABLES, "for (int ending : {s, s + YY_BACK_UP})", "for (int ending : {s})",
  "a match that ends one byte back has no action and no token")
M("goes-on-zero", SCANNER_TABLES, "return e >= 0;", "return e > 0;", "the row of state 0 taken for an ending")
M("ending-negate", SCANNER_TABLES, "return ~e;", "return -e;", "a match ends in the state after its own")
M("bytes-back-negate", SCANNER_TABLES, "static_cast<std::size_t>(~e) / YY_BACK_UP", "static_cast<std::size_t>(-e) / YY_BACK_UP",
  "the bytes given back counted from the negated entry")
# The digit run.
M("run-below-zero", SCANNER_TABLES, "d = w - LANES * YY_FIRST_DIGIT;", "d = w - LANES * (YY_FIRST_DIGIT - 1);",
  "'/' counted in a digit run, '9' not")
M("run-above-nine", SCANNER_TABLES, "DIGITS = YY_LAST_DIGIT - YY_FIRST_DIGIT + 1;", "DIGITS = YY_LAST_DIGIT - YY_FIRST_DIGIT + 2;",
  "':' counted in a digit run")
M("run-marker", SCANNER_TABLES, "((d + LANES * (0x80 - DIGITS)) | d)", "(d + LANES * (0x80 - DIGITS))",
  "the marker and the bytes below '0' or from 0xBA counted in a digit run")
M("run-lanes-seven", SCANNER_TABLES, "std::countr_zero(stops)) / 8;", "std::countr_zero(stops | std::uint64_t{1} << 63)) / 8;",
  "a word of eight digits counted as seven")
M("named-table", SCANNER_TABLES, "yy_token_rules[a - 1].token >= EOL ? yy_token_rules[a - 1].token : 0",
  "yy_token_rules[a - 1].token != 0 ? yy_token_rules[a - 1].token : 0", "the blank's token kept in the token table")

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
M("nul-note", SCANNER, "        yy_note_if_accepting(s, yy_resume_pos);\n", "", "NUL step remembers no accepting state")
M("eob-check", SCANNER, "if (yy_resume_pos > data + yy_data_count + 1)", "if (yy_resume_pos >= data + yy_data_count + 1)",
  "end-of-buffer check off by one")
M("eob-check-gone", SCANNER, "if (yy_resume_pos > data + yy_data_count + 1)", "if (false)", "end-of-buffer check dropped")
M("keep-less", SCANNER, "int keep = static_cast<int>(yy_resume_pos - yytext);", "int keep = static_cast<int>(yy_resume_pos - yytext) - 1;",
  "refill keeps one byte too few")
M("copy-short", SCANNER, "for (int i = 0; i < keep; ++i)", "for (int i = 0; i < keep - 1; ++i)", "refill copies the token short")
M("want-more", SCANNER, "std::min(b->size - keep - 1,", "std::min(b->size - keep,", "read may fill the buffer's last byte")
M("chunk-uncapped", SCANNER, "keep - 1, YY_READ_CHUNK);", "keep - 1, 2 * YY_READ_CHUNK);", "first read asks for the whole buffer")
M("chunk-clamp", SCANNER, "keep - 1, YY_READ_CHUNK);", "keep - 1, YY_READ_CHUNK - 1);", "a read capped one byte below the chunk")
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
M("loop-backup", SCANNER, "while (yy_goes_on(e));\n                p -= yy_bytes_back(e);\n", "while (yy_goes_on(e));\n",
  "a match that ends one byte back keeps the byte")
M("run-ends-state", SCANNER_TABLES, "YY_RUN_ENDS = ~(YY_DIGITS + YY_BACK_UP);", "YY_RUN_ENDS = ~(YY_ONE_DIGIT + YY_BACK_UP);",
  "a number returned at once from the entry of the wrong state")
M("backup-test", SCANNER, "if (!yy_accepts(s)) {", "if (false) {", "no back-up after a refill or a NUL")
M("backup-pos", SCANNER, "        yy_resume_pos = yy_backup_pos;\n", "", "back-up keeps the scan position")
M("yyleng", SCANNER, "yyleng = static_cast<int>(p - start);", "yyleng = static_cast<int>(p - start) + 1;", "token length one long")
M("cut-in-place", SCANNER, "    *p = 0;\n    at.next = p;", "    at.next = p;", "token text not terminated")
M("number-length", SCANNER, "yylval = yy_number_value(start, after, length);",
  "yylval = yy_number_value(start, after, length - (length > 1));",
  "last digit of a literal dropped")
M("number-length-loop", SCANNER, "yylval = yy_number_value(start, after, static_cast<int>(p - start));\n                return token;",
  "yylval = yy_number_value(start, after, static_cast<int>(p - start) - (p - start > 1));\n                return token;",
  "last digit of a long or resumed literal dropped")
M("run-entry", SCANNER, "if (e == yy_row(YY_ONE_DIGIT))", "if (e == yy_row(YY_DIGITS))", "digit run never taken at once")
M("run-read-late", SCANNER, "after = load_lanes(p);", "after = load_lanes(p + 1);",
  "word after a first digit read one byte late")
M("run-lane-more", SCANNER, "p += yy_digits_before(stops);  // eight", "p += yy_digits_before(stops) + 1;  // eight",
  "digit run takes one byte too many")
M("run-lane-less", SCANNER, "p += yy_digits_before(stops);  // eight", "p += yy_digits_before(stops) - 1;  // eight",
  "digit run takes one byte too few")
M("one-byte-uncut", SCANNER, "            yy_cut(start, p, at);\n            return token;\n        }\n        // The first step",
  "            return token;\n        }\n        // The first step", "a token of one byte returned without its cut: the scan does not move on")
M("one-byte-long", SCANNER, "            yy_cut(start, p, at);\n            return token;\n        }\n        // The first step",
  "            yy_cut(start, p + 1, at);\n            return token;\n        }\n        // The first step", "a token of one byte cut one byte long")
M("one-byte-goes-on", SCANNER_TABLES, "b]; !yy_goes_on(e))\n            t.one_byte[b]", "b]; true)\n            t.one_byte[b]",
  "a token of one byte read for every byte, a step that goes on too")
M("run-nul-ends", SCANNER, "if ((stops != 0) & (run == YY_RUN_ENDS)) [[likely]]", "if (stops != 0) [[likely]]",
  "a number ended by a NUL, the marker's too, returned at once")
M("run-eight-ends", SCANNER, "if ((stops != 0) & (run == YY_RUN_ENDS)) [[likely]]", "if (run == YY_RUN_ENDS) [[likely]]",
  "a word of eight digits taken as the end of the number")
M("run-long-more", SCANNER, "p += yy_digits_before(stops);\n            }", "p += yy_digits_before(stops) + 1;\n            }",
  "long digit run takes one byte too many")
M("run-long-less", SCANNER, "p += yy_digits_before(stops);\n            }", "p += yy_digits_before(stops) - 1;\n            }",
  "long digit run takes one byte too few")
M("run-long-late", SCANNER, "while (stops == 0) {\n                stops = yy_non_digit_lanes(load_lanes(p));",
  "while (stops == 0) {\n                stops = yy_non_digit_lanes(load_lanes(p + 1));",
  "each further word of a long digit run read one byte late")
SECOND_WORD = "if (stops == 0) {\n                stops = yy_non_digit_lanes(load_lanes(p));\n                p += yy_digits_before(stops);"
M("run-second-late", SCANNER, SECOND_WORD, SECOND_WORD.replace("load_lanes(p)", "load_lanes(p + 1)"),
  "the second word of a number of nine digits or more read one byte late")
M("run-second-more", SCANNER, SECOND_WORD, SECOND_WORD.replace("(stops);", "(stops) + 1;"),
  "a number of nine to sixteen digits takes one byte too many")
M("run-second-less", SCANNER, SECOND_WORD, SECOND_WORD.replace("(stops);", "(stops) - 1;"),
  "a number of nine to sixteen digits takes one byte too few")
M("run-second-nul-ends", SCANNER, "if ((stops != 0) & (run == YY_RUN_ENDS)) {  // nine", "if (stops != 0) {  // nine",
  "a number of nine to sixteen digits ended by a NUL, the marker's too, returned at once")
M("run-second-full-ends", SCANNER, "if ((stops != 0) & (run == YY_RUN_ENDS)) {  // nine", "if (run == YY_RUN_ENDS) {  // nine",
  "a second word of eight digits taken as the end of the number")
M("sixteen-front", SCANNER, "front = after << 8 | static_cast<unsigned char>(*start);", "front = after << 8;",
  "first digit of a literal of nine to sixteen digits taken as 0")
M("sixteen-length", SCANNER, "yy_sixteen_digit_value(start, front, static_cast<int>(p - start))",
  "yy_sixteen_digit_value(start, front, static_cast<int>(p - start) - 1)",
  "last digit of a literal of nine to sixteen digits dropped")
M("front-first", SCANNER, "front = after << 8 | static_cast<unsigned char>(*text);", "front = after << 8;",
  "first digit of a literal taken as 0")
M("short-nine", SCANNER, "if (length <= 8) [[likely]]", "if (length <= 9) [[likely]]", "nine digits converted as one group")
M("short-seven", SCANNER, "if (length <= 8) [[likely]]", "if (length < 8) [[likely]]", "eight digits converted as two groups")
M("groups-17", SCANNER, "if (length <= 16)", "if (length <= 17)", "seventeen digits converted as two groups")
M("group-high", SCANNER, "yy_eight_digit_value(front, high)", "yy_eight_digit_value(front, high - 1)",
  "first group of a long literal one digit short")
M("resume-after", SCANNER, "            after = load_lanes(start + 1);  // as the step on a first digit loads them\n", "",
  "a literal resumed after a refill converted from the bytes read before it moved")
M("slack-markers", SCANNER, "YY_BUFFER_SLACK = YY_DIGITS_READ - 1;", "YY_BUFFER_SLACK = 2;",
  "no room past the markers for the word read after a first digit", asan=True)
M("blank-restore", SCANNER, "go on from it\n                *p = at.saved;\n", "go on from it\n", "byte after a blank left as NUL")
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
M("blank-next-match", SCANNER, "*p = at.saved;\n                break;\n            }\n            if (action == YY_ACT_STRAY)",
  "*p = at.saved;\n                continue;\n            }\n            if (action == YY_ACT_STRAY)",
  "after a blank, the same match ended again")
M("stray-code-at", SCANNER, "return static_cast<unsigned char>(*start);", "return static_cast<unsigned char>(*p);",
  "a stray byte's code taken from the byte after it")
M("resume-p", SCANNER, "            p = at.next;\n            if (resume.what", "            if (resume.what",
  "the scan position not brought back from the cold path")
# The scan position, kept by the parser between tokens and handed back to the cold path.
M("position-text", SCANNER, "return {yy_resume_pos, yy_saved_byte};", "return {yytext, yy_saved_byte};",
  "the scan position handed over as the start of the last token")
M("give-back-pos", SCANNER, "{ yy_resume_pos = at.next; yy_saved_byte", "{ yy_saved_byte", "the scan position not given back")
M("scan-restore", SCANNER, "    char* p = at.next;\n    *p = at.saved;\n", "    char* p = at.next;\n",
  "the byte under the last token's terminator not put back")
M("cold-take", SCANNER, "            at = yy_scan_position();\n", "", "the position the cold path leaves not taken up")

SCANNER_H = "scanner/scanner.h"
M("token-eol", SCANNER_H, "EOL = 258,", "EOL = 257,", "token codes shifted down by one")
M("token-order", SCANNER_H, "TIMES,      // *\n    DIVIDE,     // /", "DIVIDE,     // /\n    TIMES,      // *",
  "TIMES and DIVIDE codes swapped")

# ---------------------------------------------------------------------------------------------
GRAMMAR = "parser/grammar.h"
M("first-nonterminal", GRAMMAR, "YYFIRST_NONTERMINAL = yy_token_symbol(YYMAX_TOKEN) + 1;",
  "YYFIRST_NONTERMINAL = yy_token_symbol(YYMAX_TOKEN) + 2;", "nonterminals numbered one off")
# The rule actions.
M("add", GRAMMAR, "yy_u(v[0]) + yy_u(v[2])", "yy_u(v[0]) + static_cast<std::uint16_t>(v[2])", "addend cut to 16 bits")
M("sub", GRAMMAR, "yy_u(v[0]) - yy_u(v[2])", "yy_u(v[2]) - yy_u(v[0])", "subtraction reversed")
M("mul", GRAMMAR, "yy_u(v[0]) * yy_u(v[2])", "yy_u(v[0]) * static_cast<std::uint16_t>(v[2])", "multiplier cut to 16 bits")
# Faults at one value of one operand, which only the generated inputs can be expected to meet.
M("add-65536", GRAMMAR, "yy_u(v[0]) + yy_u(v[2])", "yy_u(v[0]) + yy_u(v[2] == 65536 ? -65536 : v[2])", "adding 65536 adds -65536")
M("sub-max", GRAMMAR, "yy_u(v[0]) - yy_u(v[2])", "yy_u(v[0]) - yy_u(v[2] == INT32_MAX ? 0 : v[2])",
  "subtracting 2147483647 subtracts nothing")
M("mul-power", GRAMMAR, "yy_u(v[0]) * yy_u(v[2])", "yy_u(v[0] == 1024 ? 1023 : v[0]) * yy_u(v[2])",
  "1024 times anything taken as 1023 times it")
M("div-ten", GRAMMAR, "    return v[0] / v[2];\n", "    return v[2] == 10 && v[0] < 0 ? (v[0] - 9) / v[2] : v[0] / v[2];\n",
  "a negative number divided by 10 rounded down")
M("div-zero", GRAMMAR, "if (v[2] == 0)", "if (v[2] == 0 && v[0] != 0)", "0/0 not caught")
M("div-overflow", GRAMMAR, "if (v[0] == INT32_MIN && v[2] == -1)", "if (v[0] == INT32_MIN && v[2] == 1)", "-2147483648/-1 not caught")
M("div-overflow-or", GRAMMAR, "if (v[0] == INT32_MIN && v[2] == -1)", "if (v[0] == INT32_MIN || v[2] == -1)",
  "every division by -1 reported as an overflow")
M("div-overflow-negative", GRAMMAR, "if (v[0] == INT32_MIN && v[2] == -1)", "if (v[0] == INT32_MIN && v[2] < 0)",
  "-2147483648 divided by any negative number reported as an overflow")
M("div-overflow-any", GRAMMAR, "if (v[0] == INT32_MIN && v[2] == -1)", "if (v[0] < 0 && v[2] == -1)",
  "any negative number divided by -1 reported as an overflow")
M("div-overflow-widened", GRAMMAR, "if (v[0] == INT32_MIN && v[2] == -1)", "if (v[0] <= INT32_MIN + 1 && v[2] == -1)",
  "-2147483647 divided by -1 reported as an overflow")
M("div-floor", GRAMMAR, "    return v[0] / v[2];\n",
  "    return (v[0] % v[2] != 0 && (v[0] < 0) != (v[2] < 0)) ? v[0] / v[2] - 1 : v[0] / v[2];\n", "division rounds down")
M("div-operands", GRAMMAR, "    return v[0] / v[2];\n", "    return v[2] / v[0];\n", "division operands swapped")
M("print-value", GRAMMAR, "out_value_line(v[1]);", "out_value_line(v[0]);", "a line prints the value of lines")
M("paren-value", GRAMMAR, "yy_inner_value(const std::int32_t* v) { return v[1]; }",
  "yy_inner_value(const std::int32_t* v) { return v[2]; }", "parentheses take the value of ')'")
# The rows and the precedence list.
M("row-parens", GRAMMAR, "{LPAREN, YYNT_EXPR, RPAREN}", "{RPAREN, YYNT_EXPR, LPAREN}", "the parentheses of the row swapped")
M("row-action-multiply", GRAMMAR, "{YYNT_EXPR, TIMES, YYNT_EXPR},  yy_multiply, YY_ONLY_COMPUTES)",
  "{YYNT_EXPR, TIMES, YYNT_EXPR},  yy_divide)", "'*' given the action of '/'")
M("effect-divide", GRAMMAR, "{YYNT_EXPR, DIVIDE, YYNT_EXPR}, yy_divide)", "{YYNT_EXPR, DIVIDE, YYNT_EXPR}, yy_divide, YY_ONLY_COMPUTES)",
  "division, which ends the run on a zero divisor, computed for every arithmetic rule")
M("row-action-number", GRAMMAR, "{NUMBER},                       yy_first_value)", "{NUMBER},                       yy_no_value)",
  "a number given the empty rule's action")
M("row-prec", GRAMMAR, "yy_subtract, YY_ONLY_COMPUTES)", "yy_subtract, YY_ONLY_COMPUTES, TIMES)",
  "'-' given the precedence of '*'")
M("levels-swapped", GRAMMAR, "    {YY_LEFT, {PLUS, MINUS}},\n    {YY_LEFT, {TIMES, DIVIDE}},\n",
  "    {YY_LEFT, {TIMES, DIVIDE}},\n    {YY_LEFT, {PLUS, MINUS}},\n", "'+' and '-' bind tighter than '*' and '/'")
M("assoc-right", GRAMMAR, "{YY_LEFT, {PLUS, MINUS}}", "{YY_RIGHT, {PLUS, MINUS}}", "'+' and '-' associate to the right")
M("prec-divide-dropped", GRAMMAR, "{YY_LEFT, {TIMES, DIVIDE}}", "{YY_LEFT, {TIMES}}", "'/' left out of the precedence list")

# ---------------------------------------------------------------------------------------------
LALR = "parser/lalr.h"
# FIRST sets, closure and goto.
M("first-nullable", LALR, "        if ((first[x - YYFIRST_NONTERMINAL] & YY_EMPTY) == 0)\n            return set;\n",
  "        return set;\n", "FIRST stops at a nonterminal that may be empty")
M("first-after", LALR, "    return set | after;\n}", "    return set;\n}", "FIRST of a text that may be empty lacks what follows it")
M("closure-kernel-only", LALR, "    for (int i = 0; i < set.items; ++i)\n        for (int r = 1;",
  "    for (int i = 0; i < set.kernel; ++i)\n        for (int r = 1;", "the closure adds the rules of the kernel's items only")
M("goto-kernel-count", LALR, "    to.kernel = to.items;\n", "", "a goto's kernel counted empty")
M("same-kernel-last", LALR, "for (int i = 0; i < a.kernel; ++i)", "for (int i = 0; i < a.kernel - 1; ++i)",
  "kernels compared without their last item")
# Lookaheads.
M("propagate-first-at-dot", LALR, "yy_first_of(yy_first.of, item.rule, item.dot + 1, item.lookahead)",
  "yy_first_of(yy_first.of, item.rule, item.dot, item.lookahead)", "a closure item's lookaheads taken from FIRST at the dot")
M("propagate-goto", LALR, "                add(to.item[yy_find_item(to, item.rule, item.dot + 1)], item.lookahead);\n",
  "", "lookaheads not carried along a goto")
# Actions and their conflicts.
M("accept-lost", LALR, "                if (item.rule == YYRULE_NONE && x == YYSYMBOL_END)\n                    act = {YY_ACCEPT, 0};\n", "",
  "the accepting item accepts nothing")
M("resolve-level", LALR, "bool shift = token.level > rule.level ||", "bool shift = token.level >= rule.level ||",
  "a token on the rule's level shifts")
M("resolve-winner", LALR, "return shift ? held : YyAction{YY_REDUCE, r};", "return shift ? YyAction{YY_REDUCE, r} : held;",
  "the loser of a conflict taken")
M("resolve-right", LALR, " || (token.level == rule.level && token.associativity == YY_RIGHT)", "",
  "a right-associative token reduces as a left-associative one")
M("resolve-nonassoc", LALR, "    if (token.level == rule.level && token.associativity == YY_NONASSOC)\n        return {YY_ERROR, 0};\n", "",
  "a nonassociative token on the rule's level resolved as a left-associative one")
M("rule-prec-first", LALR, "for (int k = yy_length_of(r) - 1; k >= 0; --k)", "for (int k = 0; k < yy_length_of(r); ++k)",
  "a rule takes the precedence of its first token")
M("default-ties", LALR, "most = reductions[r] > reductions[most] ? r : most;", "most = reductions[r] >= reductions[most] ? r : most;",
  "the default the last of the rules reduced as often, even never")
M("default-most", LALR, "most = reductions[r] > reductions[most] ? r : most;", "most = reductions[r] > 0 ? r : most;",
  "the default the last rule reduced, not the most frequent")
# The packed form.
M("entry-default", LALR, " || ((act.kind == YY_REDUCE || act.kind == YY_ERROR) && act.arg == a.default_rule[row])", "",
  "the default reduction packed on every terminal")
M("alike-last-key", LALR, "alike = alike && yy_row_entry(p, q, k) == yy_row_entry(p, row, k);",
  "alike = yy_row_entry(p, q, k) == yy_row_entry(p, row, k);", "rows taken alike by their last key")
M("base-taken", LALR, "bool free = b + KEYS < YYMAX_PACKED && !taken[b + KEYS];", "bool free = b + KEYS < YYMAX_PACKED;",
  "two rows put at one base")
M("default-goto-ties", LALR, "++count[to] > count[p.default_goto[n]]", "++count[to] >= count[p.default_goto[n]]",
  "the default goto the last of the targets reached as often")
M("action-bound", LALR, "if (base != YYFLAG && i >= 0 && i <= p.last && p.check[i] == symbol)",
  "if (base != YYFLAG && i <= p.last && p.check[i] == symbol)", "an action looked up before the packed table")
M("goto-bound", LALR, "if (base != YYFLAG && i >= 0 && i <= p.last && p.check[i] == state)",
  "if (base != YYFLAG && i >= 0 && i < p.last && p.check[i] == state)", "the last packed entry never a goto")

# The printed parse tables (parser/printed.h): checks of the construction that no code runs. The
# build walks both, comparing every action and goto, so each of these is expected to be stillborn;
# a representative set.
PARSER_PRINTED = "parser/printed.h"
cell("lhs-line", PARSER_PRINTED, "yyrule_lhs", 3, 13, "a line reduces to expr")
cell("len-empty", PARSER_PRINTED, "yyrule_length", 2, 1, "the empty rule pops a state")
cell("abase-plus", PARSER_PRINTED, "yyaction_base", 12, "YYFLAG", "'+' reduces before a '*' or '/'")
cell("drule-times", PARSER_PRINTED, "yydefault_rule", 14, 7, "'*' reduced as '/'")
cell("gbase-expr", PARSER_PRINTED, "yygoto_base", 2, 4, "expr gotos looked up one off")
cell("dgoto-input", PARSER_PRINTED, "yydefault_goto", 0, 17, "input leads straight to state 17")
cell("packed-end", PARSER_PRINTED, "yypacked", 1, 18, "state 16 accepts on the end of input")
cell("check-rparen", PARSER_PRINTED, "yypacked_check", 16, 5, "state 5 loses ')'")
M("printed-parse-flag", PARSER_PRINTED,
  "        if ((c.action_base[s] == YYFLAG) != (p.action_base[ps] == YYFLAG))\n            return {ps, YYSYMBOLS};\n", "",
  "the printed check does not compare which states reduce without a lookahead")

# ---------------------------------------------------------------------------------------------
PARSER_TABLES = "parser/tables.h"
M("final", PARSER_TABLES, "YYFINAL = yy_packed.final;", "YYFINAL = yy_packed.final - 1;", "acceptance one state early")
M("stray-symbol", PARSER_TABLES, "yy_token_symbol(code) : YYSYMBOL_UNDEFINED;", "yy_token_symbol(code) : YYSYMBOL_END;",
  "stray bytes taken for the end of input")
M("stray-symbol-200", PARSER_TABLES, "yy_token_symbol(code) : YYSYMBOL_UNDEFINED;",
  "yy_token_symbol(code) : code == 200 ? YYSYMBOL_END : YYSYMBOL_UNDEFINED;", "byte 200 taken for the end of input")
M("is-shift", PARSER_TABLES, "return step.state > 0;", "return step.state >= 0;", "every reduction taken for a shift")
M("passes-value-length", PARSER_TABLES, "return yy_length_of(rule) == 1 && yy_grammar[rule].action == yy_first_value;",
  "return yy_length_of(rule) == 0 && yy_grammar[rule].action == yy_first_value;",
  "no rule known to pass its value on: a number reduced after its shift")
M("entering-waits", PARSER_TABLES, "yy_reduces_at_once(state) ? yy_packed.default_rule[state] : 0",
  "yy_packed.default_rule[state]", "every state entered reduces by its default at once")
M("compound-as-shift", PARSER_TABLES, "step.rule != YYRULE_NONE ? -step.state : step.state", "step.state",
  "a shift into a state that reduces at once taken as a plain shift")
M("rules-start", PARSER_TABLES, "    note(yy_entering(0));\n", "", "the rule the start state reduces by left out of the dispatch")

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
M("pop", PARSER, "    next -= popped;\n", "    next -= popped - (popped > 1);\n", "a reduction pops one state too few")
M("reduce-popped", PARSER, "constexpr int popped = SHIFTED ? n - 1 : n;", "constexpr int popped = n;",
  "a reduction after a shift pops the state that was never pushed")
M("push-result", PARSER, "value = yy_grammar[R].action(vnext - popped);",
  "value = (yy_grammar[R].action(vnext - popped), vnext[-popped]);", "reduction result replaced by its first value")
M("group-first", PARSER, "    return values[rule - first];\n", "    return values[0];\n", "every rule of a value group computes the first's value")
M("group-narrow", PARSER, "if (static_cast<unsigned>(rule - first) < static_cast<unsigned>(std::popcount(GROUP)))",
  "if (static_cast<unsigned>(rule - first) + 1 < static_cast<unsigned>(std::popcount(GROUP)))",
  "the last rule of a value group left to the search, which no longer holds it")
M("goto-from-top", PARSER, "YyStep go = yy_dense.go[yy_lhs_of(R) - YYFIRST_NONTERMINAL][next[-1]];",
  "YyStep go = yy_dense.go[yy_lhs_of(R) - YYFIRST_NONTERMINAL][top];", "the goto taken from the state on top before the pop")
M("top-goto", PARSER, "    top = go.state;\n", "", "the state on top not updated by a goto")
M("top-shift", PARSER, "                top = step.state;\n", "", "the state on top not updated by a shift")
M("empty-push-test", PARSER, "if constexpr (popped == 0) {", "if constexpr (false) {",
  "the push after a reduction that pops nothing made without the full-stack test")
M("full-stacks", PARSER, "if (rule == YYRULE_NONE && symbol == YYSYMBOL_FULL) {", "if (false) {",
  "stacks filled by a reduction that pops nothing reported as a syntax error")
M("leaf-check", PARSER, "if (rule == R) [[likely]]", "if (true) [[likely]]", "the last rule of a search range taken for any value")
M("search-mid", PARSER, "if (rule < MID)", "if (rule <= MID)", "the middle rule searched for on the wrong side")
M("fast-rule", PARSER, "return reduce<R, SHIFTED>(rule, parse, next, vnext, symbol, top);",
  "return reduce<SHIFTED && R == YYRULE_MULTIPLY ? YYRULE_DIVIDE : R, SHIFTED>(rule, parse, next, vnext, symbol, top);",
  "'*' after its operand reduced as '/'")
M("reduce-unshifted", PARSER, "reduce_rule<true, YY_RULES_AFTER_SHIFT>", "reduce_rule<false, YY_RULES_AFTER_SHIFT>",
  "the lookahead of a shift with its reduction popped as if it were on the stack")
M("shifted-value", PARSER, "                *vnext = yylval;\n", "", "the lookahead's value not put where its push would have")
M("limit-test", PARSER, "if (old.capacity >= YYMAXDEPTH)", "if (old.capacity > YYMAXDEPTH)", "stacks grow past the limit")
M("grow-uncapped", PARSER, "int wanted = old.capacity * 2 < YYMAXDEPTH ? old.capacity * 2 : YYMAXDEPTH;",
  "int wanted = old.capacity * 2;", "growth not capped at the limit")
M("grow-either", PARSER, "if (more_states == nullptr || more_values == nullptr)", "if (more_states == nullptr && more_values == nullptr)",
  "one failed allocation of two not noticed")
M("grown-record", PARSER, "more_states = grown[0] = std::malloc", "more_states = std::malloc", "a grown state stack not recorded for release", asan=True)
M("generations", PARSER, "generations += 2;", "generations += 1;", "grown stacks recorded over each other", asan=True)
M("release", PARSER, "std::free(storage);", "", "grown stacks never released", asan=True)
M("push-limit", PARSER, "return next != parse.limit || grow(parse, next, vnext);", "return next != parse.limit + 1 || grow(parse, next, vnext);",
  "stacks grow one push late")
M("push-early", PARSER, "return next != parse.limit || grow(parse, next, vnext);", "return next + 1 != parse.limit || grow(parse, next, vnext);",
  "stacks grow, and give up at the limit, one push early")
M("grow-fail", PARSER, "if (more.capacity == 0)\n        return false;", "if (more.capacity < 0)\n        return false;",
  "failed growth not reported")
M("grow-depth", PARSER, "next = more.states + depth;", "next = more.states + depth - 1;", "state top lost when the stacks grow")
M("compound-grow", PARSER, "if (next + 1 == parse.limit) [[unlikely]] {", "if (false) {", "a shift with its reduction never grows the stacks")
M("compound-grow-states", PARSER, "                    --next;\n                    --vnext;", "                    --vnext;",
  "the state pushed to grow the stacks in a shift with its reduction left on the stack")
M("compound-grow-values", PARSER, "                    --next;\n                    --vnext;", "                    --next;",
  "the value pushed to grow the stacks in a shift with its reduction left on the stack")
M("shifted-sign", PARSER, "push(parse, next, vnext, yy_state_shifted(step), yylval)", "push(parse, next, vnext, step.state, yylval)",
  "the state pushed to grow the stacks in a shift with its reduction kept negative")
M("shift-overflow", PARSER, "if (!push(parse, next, vnext, step.state, yylval)) [[unlikely]] {",
  "if (!push(parse, next, vnext, step.state, yylval) && false) {", "the stack limit not seen on a plain shift")
M("shift-value", PARSER, "push(parse, next, vnext, step.state, yylval)", "push(parse, next, vnext, step.state, 0)",
  "a shifted token has no value")
M("negative-code", PARSER, "if (lookahead < 0)\n                    lookahead = 0;", "", "negative codes not folded to 0")
M("shift-end", PARSER, "if (symbol != YYSYMBOL_END) [[likely]] {", "if (true) [[likely]] {", "the end of input consumed by its shift")
M("nerrs", PARSER, "++yynerrs;\n", "", "errors not counted")
M("give-back-end", PARSER, "    yy_scan_give_back(scan);\n", "", "the scan position not given back to the scanner at the end")

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
M("fatal-eol", DIAG, "    yyerror(message);\n    std::exit", "    std::fputs(message, stderr);\n    std::exit", "fatal message without a line end")
M("fatal-status", DIAG, "std::exit(yy_exit_status(1));", "std::exit(yy_exit_status(0));", "fatal condition exits 0")
M("write-after-fatal", DIAG, "if (!out_flush()) {", "if (!out_flush() && status == 0) {", "write error not reported after a fatal one")
M("write-status", DIAG, "        return 1;\n    }\n    return status;", "    }\n    return status;", "failed write does not change the status")
M("write-eol", DIAG, "        yyerror(YY_MSG_WRITE_ERROR);", "        std::fputs(YY_MSG_WRITE_ERROR, stderr);", "write error without a line end")

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
M("hundreds-mask", OUTPUT, "& 0x0000007F0000007F;", "& 0x0000003F0000003F;", "hundreds above 63 cut short")
M("leading-zero", OUTPUT, "digits + DIGITS_MAX - significant_digits(low);", "digits + DIGITS_MAX - significant_digits(low) - 1;",
  "a leading zero printed")
M("branch-1e8", OUTPUT, "if (u < 100000000) {", "if (u <= 100000000) {", "10^8 made without its high pair")
M("branch-1e7", OUTPUT, "if (u < 100000000) {", "if (u < 10000000) {", "values of eight digits made with a high pair")
M("significant-count", OUTPUT, "return 8 - static_cast<int>(", "return 7 - static_cast<int>(", "one digit too few counted")
M("high-ten", OUTPUT, "first = digits + (high < 10);", "first = digits + (high <= 10);",
  "values from 10^9 to 1099999999 lose their first digit")
M("sign", OUTPUT, "first -= value < 0;", "first -= value < -1;", "-1 printed without its sign")
M("sign-unwritten", OUTPUT, "    first[-1] = '-';", "    first[-1] = '+';", "a negative value printed with a plus sign")
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
M("in-lanes-half", OUTPUT, "ASCII_ZEROS = 0x3030303030303030;", "ASCII_ZEROS = 0x0000000030303030;",
  "'0' added to the lower four lanes only")
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
