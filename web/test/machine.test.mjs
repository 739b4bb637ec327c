// What the module adds for the page around the simulation: the desktop's status texts, the
// changes poll, the editor's source lines, image files and a test's start state.
import { test } from "node:test";
import assert from "node:assert/strict";
import { readFileSync } from "node:fs";
import path from "node:path";
import { loadQuarzel, root } from "./quarzel.mjs";

const q = await loadQuarzel();

function machineWith(source) {
  const m = new q.Machine();
  assert.deepEqual(m.assemble(source).diagnostics, []);
  return m;
}

const program = "; counts\nload R1,1\n\nmove RF,R1\nhalt\n"; // lines 1, 3, 4 at 00, 02, 04

test("each command leaves the desktop's status and outcome", () => {
  const cases = [
    ["halt", (m) => m.step(), "halted", "Halted", "alert"],
    ["db 0,0", (m) => m.step(), "invalid", "Invalid instruction", "alert"],
    [program, (m) => m.step(), "limit", "Ready", "normal"],
    [program, (m) => m.stepBack(), "history-start", "Start of history", "normal"],
    [program, (m) => (m.step(), m.stepBack()), "limit", "Ready", "normal"],
    [program, (m) => (m.startRun(false), m.runSlice(1).outcome), "limit", "Running...", "running"],
    [program, (m) => (m.startRun(false), [NaN, -1, 0].map((n) => m.runSlice(n).executed).join()),
      "0,0,0", "Running...", "running"],
    [program, (m) => (m.startRun(false), m.stop(), m.runSlice(9).outcome), "stopped", "Ready", "normal"],
    [program, (m) => (m.toggleBreakpoint(4), m.startRun(false), m.runSlice(9).outcome),
      "breakpoint", "Breakpoint at 04", "alert"],
    [program, (m) => (m.step(), m.step(), m.startRun(true), m.runSlice(9).outcome),
      "history-start", "Start of history", "normal"],
    [program, (m) => (m.step(), m.step(), m.toggleBreakpoint(2), m.startRun(true), m.runSlice(9).outcome),
      "breakpoint", "Breakpoint at 02", "alert"],
  ];
  for (const [source, act, outcome, text, tone] of cases) {
    const m = machineWith(source);
    assert.equal(act(m), outcome, `${source}: ${act}`);
    assert.deepEqual(m.status(), { text, tone }, `${source}: ${act}`);
    m.delete();
  }
});

test("changes tell each cell once, the output in order with its take-backs", () => {
  const m = machineWith(program);
  assert.deepEqual(m.changes().memory, [0, 1, 2, 3, 4]);
  assert.deepEqual(m.changes().memory, []);
  m.step();
  m.step();
  m.stepBack();
  const c = m.changes();
  assert.deepEqual([c.registers, Array.from(c.output), c.pc, c.ir], [[1], [1, -1], true, true]);
  assert.equal(c.traceRows, 1);
  m.setMemory(300, 1); // outside memory: left alone
  m.setMemory(0x80, 0x1FF);
  const user = m.changes();
  assert.deepEqual([user.memory, user.historyCleared, user.traceRows], [[0x80], true, 0]);
  assert.equal(m.memory()[0x80], 0xFF);
  m.delete();
});

test("the editor's lines: breakpoint addresses and PC's marked line", () => {
  const m = machineWith(program);
  const addresses = [0, 1, 2, 3, 4, 5, -3].map((line) => m.breakpointAddressOfLine(line));
  assert.deepEqual(addresses, [0, 0, 2, 2, 4, -1, 0]);
  assert.deepEqual([0, 2, 4, 6].map((a) => m.sourceLine(a)), [1, 3, 4, -1]);
  assert.equal(m.markedLine(), 1);
  m.step();
  assert.equal(m.markedLine(), 3);
  m.setRegister(2, 7); // not memory: still followed
  assert.equal(m.markedLine(), 3);
  m.sourceEdited();
  assert.equal(m.markedLine(), -1);
  assert.equal(m.assemble("load R1,\n").ok, false);
  assert.equal(m.memory()[0], 0x21, "an assembly with errors leaves memory");
  m.delete();
});

test("trace rows are the exported lines, and a row's step is where going back stops", () => {
  const m = machineWith(program);
  m.step();
  m.step();
  m.step();
  let exported = "";
  m.exportTrace("tsv", (piece) => (exported += piece));
  const lines = exported.trimEnd().split("\n").slice(1);
  assert.deepEqual([0, 1, 2].map((i) => m.traceRow(i).join("\t")), lines);
  assert.deepEqual([m.traceRow(3), m.traceRow(-1), m.traceStep(0), m.traceStep(3)], [[], [], 1, -1]);
  m.stepBackTo(m.traceStep(0));
  assert.deepEqual([m.traceRows(), m.pc(), m.registers()[15]], [1, 2, 0]);
  m.delete();
});

test("the disassembly list follows PC's alignment", () => {
  const m = machineWith(program);
  m.setPc(3);
  const lines = m.disassembly();
  assert.deepEqual([lines.length, lines[0].slice(0, 3), m.disasmAddress(1), m.disasmPcLine()],
    [128, "01:", 3, 1]);
  assert.match(m.valueCard("sysreg", 0)[0], /PC/);
  assert.deepEqual(m.valueCard("register", 16), []);
  m.delete();
});

test("memory images open whole or not at all, and save as they open", () => {
  const m = machineWith(program);
  const saved = m.saveImage();
  const bad = Uint8Array.from(saved);
  bad[4 * 0x10 + 1] = 1; // 256 + the byte at 10
  assert.equal(m.openImage(saved.subarray(0, 1023)), "Stream read error");
  assert.match(m.openImage(bad), /value 256 at address 10/);
  assert.equal(m.memory()[0], 0x21);
  m.clearMemory();
  assert.equal(m.openImage(saved), "");
  assert.deepEqual(m.saveImage(), saved);
  m.delete();
});

test("a test's start state goes into the machine; a program that does not load, nowhere", () => {
  const tests = new q.Tests(
    "[[test]]\nname='t'\npc=2\nregisters={R3=9}\nmemory={80=[5,6]}\nexpect.status='halted'\n",
    "t.tests.toml",
  );
  const m = new q.Machine();
  assert.deepEqual(tests.loadStart(m, 0, "p.asm", "load R1,\n"), ["p.asm:1:9: Unexpected end of line. Expected: number, label, '['"]);
  assert.deepEqual(tests.loadStart(m, 0, "p.asm", "halt"), []);
  assert.deepEqual([m.pc(), m.registers()[3], m.memory()[0x80], m.memory()[0x81], m.memory()[0]],
    [2, 9, 5, 6, 0xC0]);
  m.delete();
  tests.delete();
});

test("highlighting counts columns as the editor does", () => {
  const cases = [
    ["halt ; x", [[0, 4, "keyword"], [4, 5, "normal"], [5, 8, "comment"]]],
    ["db '\u{1F600}'", [[0, 2, "keyword"], [2, 3, "normal"], [3, 7, "string"]]],
  ];
  for (const [line, runs] of cases)
    assert.deepEqual(q.highlightLine(line).map((r) => [r.from, r.to, r.cls]), runs, line);
});

test("the output window's text: the desktop's glyphs, wrap and take-backs", () => {
  const terminal = new q.Terminal(19, 4);
  terminal.apply([...Array(20).fill(65), 1, 0x82, 10, 66, -1, -1]);
  assert.equal(terminal.text(), `${"A".repeat(19)}\nA\u263A\u00E9`);
  terminal.delete();
});

test("predict mode steps only a prediction, judges and scores it until a program loads", () => {
  const m = machineWith(program);
  for (const [said, stepped, right, text, score] of [
    ["r1 = 1", true, true, /^Right\. R1 := 01/, "1 of 1 right"],
    ["R1", false, false, /^Type what the step will change: /, "1 of 1 right"],
    ["RF 02", true, false, /^Wrong: you said RF 02, the step did RF 01\. RF := R1/, "1 of 2 right"],
  ]) {
    const verdict = m.predictStep(said);
    assert.deepEqual([verdict.stepped, verdict.right, verdict.score], [stepped, right, score], said);
    assert.match(verdict.text, text, said);
  }
  m.assemble(program);
  assert.equal(m.predictScore(), "0 of 0 right");
  m.delete();
});

// What the note says is compared with the tool's in the differential test.
test("the newest note stays through a step back, until the next step, run or load", () => {
  const m = machineWith("        jmp data\ndata:   db 0C0h, 0\n");
  for (const [what, act, noted] of [
    ["a step onto data", () => (m.step(), m.step()), true],
    ["a step back", () => m.stepBack(), true],
    ["the next step", () => (m.stepBack(), m.step()), false], // the jump: no data executed
    ["a run onto data", () => (m.setPc(0), m.startRun(false), m.runSlice(9)), true],
    ["a load", () => m.assemble("halt"), false],
  ]) {
    act();
    assert.equal(m.runNote() !== "", noted, what);
  }
  m.delete();
});

// The page codes against the declarations; a name they promise and the module lacks would
// only show in the browser.
test("the module has every class method and function its declarations name", () => {
  const declarations = readFileSync(path.join(root, "web/src/quarzel.d.ts"), "utf8");
  const members = (cls) =>
    [...declarations.match(new RegExp(`export class ${cls} \\{([^]*?)\\n\\}`))[1]
      .matchAll(/^ {2}(\w+)\(/gm)].map((m) => m[1]);
  for (const cls of ["Machine", "Tests", "Terminal"]) {
    const names = members(cls);
    assert.ok(names.length > 2, cls);
    for (const name of names)
      assert.equal(typeof q[cls].prototype[name], "function", `${cls}.${name}`);
  }
  const functions = [...declarations.matchAll(/^export function (\w+)\(/gm)].map((m) => m[1]);
  assert.ok(functions.length > 3);
  for (const name of functions) assert.equal(typeof q[name], "function", name);
});
