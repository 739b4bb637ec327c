// The WebAssembly module's API as the page sees it: the machine (a simulation on plain
// stores), the assembler and its scanner, the disassembler, the value card, the trace and
// the grader, all computed by the same C++ as the desktop and the command-line tool. The
// page keeps no machine logic of its own; it asks the module.
//
// Conventions: bytes are numbers 0..255; addresses 0..255; registers 0..15; line and
// column numbers are 0-based and counted in UTF-16 code units of the text given (a
// character outside the Basic Multilingual Plane takes two columns, as in the editor);
// a "text" field is what the desktop shows, in its words. Objects returned by `new`
// (Machine, Tests, Terminal) live in the module's memory: call delete() when done with them.

/** How a run, a slice of one or a step ended. */
export type Outcome =
  | "limit" // the slice's budget ran out: the run goes on (or a step executed normally)
  | "halted"
  | "invalid" // an invalid instruction
  | "breakpoint" // PC reached a breakpoint
  | "history-start" // run back or step back found nothing more to take back
  | "stopped"; // Break, or runSlice when no run is going

/** The status line as the desktop shows it, and its colour's meaning. */
export interface Status {
  /** "Ready", "Running...", "Halted", "Invalid instruction", "Breakpoint at XX", "Start of history" */
  text: string;
  /** normal: the desktop's black; running: green; alert: red */
  tone: "normal" | "running" | "alert";
}

export interface SliceResult {
  outcome: Outcome;
  /** instructions executed (or taken back, running back) by this call */
  executed: number;
  /** false once the run has ended (any outcome but "limit") */
  running: boolean;
}

/** What changed since the previous call of changes() (or since the machine was made). */
export interface Changes {
  /** addresses whose value differs from the last poll, ascending */
  memory: number[];
  /** registers whose value differs from the last poll, ascending */
  registers: number[];
  pc: boolean;
  ir: boolean;
  /**
   * The output window's input in order: 0..255 a byte written to RF (shown as its code
   * page 437 glyph, control codes acting as the desktop's output window does), -1 the last
   * written character taken back by a step back.
   */
  output: Int16Array;
  /** the history was cleared (a user's write, a load): the trace starts afresh */
  historyCleared: boolean;
  breakpoints: boolean;
  /** a program or image was loaded: the source map and the marked line may have changed */
  loaded: boolean;
  /** the trace's row count now (see traceRows) */
  traceRows: number;
}

/** An assembler error or a test-file mistake. */
export interface Diagnostic {
  line: number; // 0-based; -1 when not about a place in the text
  column: number; // 0-based (a test file's as the native tool counts it)
  message: string;
  /** the error list's line: "line N: message" (assembler), "NAME:LINE:COLUMN: message" (tests) */
  text: string;
}

export interface Verdict {
  stepped: boolean;
  right: boolean;
  text: string;
  score: string;
}

export interface Assembly {
  ok: boolean;
  diagnostics: Diagnostic[];
  /** the 256 assembled bytes (0 where nothing was placed); all 0 unless ok */
  image: Uint8Array;
  /** per address the 0-based source line that placed the byte, -1 none */
  sourceMap: Int32Array;
  /** the classic mistakes of a program that assembled ("line N: ..."); none unless ok */
  warnings: Diagnostic[];
}

export type HighlightClass =
  | "normal"
  | "keyword"
  | "numeric"
  | "string"
  | "comment"
  | "error"
  | "hidden-keyword";

/** One run of a line in one highlighting class, [from, to) in columns. */
export interface HighlightRun {
  from: number;
  to: number;
  cls: HighlightClass;
}

export type CellKind = "memory" | "register" | "sysreg"; // sysreg index: 0 PC, 1 IR

export interface TestInfo {
  name: string;
  line: number; // 1-based, where the test's table begins
  points: number;
}

export class Machine {
  /** A machine with all-zero memory, registers, PC and IR; status "Ready". */
  constructor();
  delete(): void;

  // --- state ---
  memory(): Uint8Array; // 256 bytes, a copy
  registers(): Uint8Array; // 16 bytes, a copy
  pc(): number;
  ir(): number; // 16 bits
  /** The user's writes (typing a cell): they clear the history, as on the desktop. */
  setMemory(address: number, value: number): void;
  setRegister(register: number, value: number): void;
  setPc(value: number): void;
  setIr(value: number): void;
  /** Clear: memory, registers; =0 sets PC to 00. */
  clearMemory(): void;
  clearRegisters(): void;
  zeroPc(): void;
  changes(): Changes;
  status(): Status;

  // --- running ---
  step(): Outcome; // status "Halted", "Invalid instruction" or "Ready"
  stepBack(): Outcome; // "limit", or "history-start" ("Start of history")
  /**
   * Predict mode's Step: text is the student's prediction ("R3 0F", "[80] 2A", "PC 0E",
   * "-", "halt"). A prediction is stepped, judged ("Right. ..." or "Wrong: you said ...",
   * then the step's explanation) and counted; any other text steps nothing and says how
   * to type one.
   */
  predictStep(text: string): Verdict;
  /** The running score, "7 of 9 right"; back to "0 of 0 right" when a program is loaded. */
  predictScore(): string;
  /** The newest note of the last step or run (data executed, PC wrapped, ...); "" none. */
  runNote(): string;
  /** Starts a run forward or back (status "Running..."); then call runSlice each frame. */
  startRun(back: boolean): void;
  /** Up to count instructions (steps taken back); sets the status when the run ends. */
  runSlice(count: number): SliceResult;
  /** Break: ends a run (status "Ready"). */
  stop(): void;
  running(): boolean;
  runningBack(): boolean;
  toggleBreakpoint(address: number): void;
  clearBreakpoints(): void;
  breakpoints(): number[]; // ascending

  // --- views ---
  /** The disassembly list: 128 lines "AA:  B1,B2  text" at addresses 2i + (PC & 1). */
  disassembly(): string[];
  /** The address of a disassembly line (double click sets PC there, margin toggles a breakpoint). */
  disasmAddress(line: number): number;
  /** The line of the disassembly list that holds PC. */
  disasmPcLine(): number;
  /** The value card's lines (UTF-8 text, the first naming the cell); none for no byte. */
  valueCard(kind: CellKind, index: number): string[];

  // --- the trace (the history of executed steps, oldest first) ---
  traceRows(): number;
  /** Row i's five columns: step, pc, word, instruction, change. */
  traceRow(i: number): string[];
  /** The step number of row i (the first row's is not 1 once the oldest steps have gone). */
  traceStep(i: number): number;
  /** Takes the machine back to just after that step (a double click on a row). */
  stepBackTo(step: number): void;
  /** The whole trace as a file, in pieces of about a mebibyte, in order. */
  exportTrace(format: "tsv" | "csv", sink: (piece: string) => void): void;

  // --- programs and files ---
  /**
   * Assemble from the editor: with errors nothing changes; else the program goes into
   * memory with its source map and PC is set to 00, as on the desktop.
   */
  assemble(source: string): Assembly;
  /** What the instruction at PC will do, with the machine's values ("R3 := R1 + R2 = ..."). */
  explainNext(): string;
  /** What the last step did; "" when the history holds none. */
  explainLast(): string;
  /** The source line (0-based) whose code placed the byte at address; -1 none. */
  sourceLine(address: number): number;
  /** The address a breakpoint on a source line goes to (the first address the line or a later one placed); -1 none. */
  breakpointAddressOfLine(line: number): number;
  /** The editor line holding PC's code while following it after an assembly, else -1. */
  markedLine(): number;
  /** The editor's text was edited: stop marking PC's line. */
  sourceEdited(): void;
  /** Open a memory image (.prg): "" when loaded (PC 00), else why not (nothing changes). */
  openImage(bytes: Uint8Array): string;
  /** Save: memory as a .prg image (1024 bytes). */
  saveImage(): Uint8Array;
}

/** A test file, parsed; mistakes make it refused whole, as with the native tool. */
export class Tests {
  /** name: the file's name, as the mistakes and reports name it; text may be the file's bytes. */
  constructor(text: string | Uint8Array, name: string);
  delete(): void;
  ok(): boolean;
  mistakes(): Diagnostic[];
  /** The mistakes as the native tool lists them, "… and N more mistakes" included. */
  mistakeLines(): string[];
  /** The file's program key, as written; null when it names none. */
  program(): string | null;
  tests(): TestInfo[];
  /**
   * Runs every test on a program (a name ending in .asm is assembled from the bytes,
   * UTF-8 or not; anything else is read as a .prg image) and returns the JSON report the
   * native tool writes with --format json (tests_file: this file's name); "" when the
   * file was refused.
   */
  reportJson(programName: string, program: Uint8Array | string): string;
  /** The same report as text, as the native tool writes it by default ("" when refused). */
  reportText(programName: string, program: Uint8Array | string): string;
  /**
   * Loads the program with test index's starting state (memory, registers, PC) into the
   * machine, as a double click on a test does; returns why not when the program does not load.
   */
  loadStart(machine: Machine, index: number, programName: string, program: Uint8Array | string): string[];
}

/** The output window's text: a terminal of columns x rows characters, as the desktop's. */
export class Terminal {
  constructor(columns: number, rows: number);
  /** Writes and takes back characters as Changes.output lists them. */
  apply(output: Int16Array | number[]): void;
  /** The lines as shown (each byte as its glyph), joined by line feeds. */
  text(): string;
  delete(): void;
}

/** Assembles without a machine: a source file's bytes, read as the native tool reads them. */
export function assembleFile(bytes: Uint8Array | string): Assembly;
/** The highlighting of one editor line (no line end) in the desktop's classes. */
export function highlightLine(text: string): HighlightRun[];
/** The text of a source file as the editor shows it: UTF-8, or each byte as its code page 437 character. */
export function sourceFileToText(bytes: Uint8Array): string;
/** Code page 437 bytes as text (the output window's characters, a file name). */
export function cp437ToText(bytes: Uint8Array | number[]): string;
/** Hex digits of either case; "" is 0; -1 for anything else. */
export function parseHex(text: string): number;
/** Upper-case hex, zero-padded to digits. */
export function formatHex(value: number, digits: number): string;

export interface QuarzelModule {
  Machine: typeof Machine;
  Tests: typeof Tests;
  Terminal: typeof Terminal;
  assembleFile: typeof assembleFile;
  highlightLine: typeof highlightLine;
  sourceFileToText: typeof sourceFileToText;
  cp437ToText: typeof cp437ToText;
  parseHex: typeof parseHex;
  formatHex: typeof formatHex;
}

/**
 * build-web/module/quarzel.js (ES module) exports this factory; the page passes nothing
 * (quarzel.wasm is fetched beside quarzel.js), node passes the wasm file's bytes.
 */
export default function createQuarzel(options?: {
  wasmBinary?: ArrayBuffer | Uint8Array;
  locateFile?: (path: string, prefix: string) => string;
}): Promise<QuarzelModule>;
