// The web build against the native tool: every example, seed and fuzz corpus source
// assembled, run, traced and graded must come out the same, byte for byte.
import { test } from "node:test";
import assert from "node:assert/strict";
import { spawnSync } from "node:child_process";
import { copyFileSync, mkdtempSync, readFileSync, readdirSync, writeFileSync } from "node:fs";
import os from "node:os";
import path from "node:path";
import { loadQuarzel, root, runInSlices } from "./quarzel.mjs";

const cli = path.resolve(process.env.QUARZEL_CLI ?? path.join(root, "build-test/cli/quarzel-cli"));
const maxSteps = 100000;
const q = await loadQuarzel();

function native(args, cwd) {
  const r = spawnSync(cli, args, { cwd, maxBuffer: 1 << 30 });
  assert.ok(r.status !== null, `${cli} ${args.join(" ")}: ${r.error ?? r.signal}`);
  return { status: r.status, stdout: r.stdout, stderr: r.stderr };
}

// The native tool writes the assembler's messages in code page 437.
const nativeLines = (bytes) => q.cp437ToText(bytes).split("\n").filter((l) => l !== "");

const prgBytes = (prg) => Uint8Array.from({ length: 256 }, (_, a) => prg[4 * a]);

// Every .asm under the folders, as [folder, name].
const sources = ["examples", "fuzz/seeds"].flatMap((dir) =>
  readdirSync(path.join(root, dir))
    .filter((n) => n.endsWith(".asm"))
    .map((n) => [path.join(root, dir), n]),
);

// The web's run of an image from PC 00: output, status and steps as the tool reports them.
function webRun(load) {
  const m = new q.Machine();
  try {
    load(m);
    m.changes();
    m.startRun(false);
    const { outcome, executed } = runInSlices(m, maxSteps);
    m.stop();
    const output = Array.from(m.changes().output).filter((b) => b > 0);
    let trace = "";
    m.exportTrace("tsv", (piece) => (trace += piece));
    return { output, status: outcome, steps: executed, trace, note: m.runNote() };
  } finally {
    m.delete();
  }
}

function assertSameRun(dir, name, web) {
  // The module does not give the assembler's warnings yet: the tool leaves them out.
  const run = native(["run", name, "--max-steps", String(maxSteps), "--no-warnings", "--warnings"], dir);
  const status = { halted: "halted", invalid: "invalid", limit: "limit" }[web.status];
  assert.deepEqual(Array.from(run.stdout), web.output, `${name}: output`);
  // The page shows the run's newest note; the tool writes them all before the status.
  const notes = run.stderr.toString().match(/^note: .*$/gm) ?? [];
  assert.equal(web.note, notes.length ? notes[notes.length - 1].slice(6) : "", `${name}: note`);
  assert.equal(run.stderr.toString(), [...notes, `status: ${status}`, `steps: ${web.steps}\n`].join("\n"), name);
  const traced = native(["run", name, "--trace", "-", "--max-steps", String(maxSteps)], dir);
  assert.equal(web.trace, traced.stdout.toString(), `${name}: trace`);
}

test("sources assemble to the same bytes and messages, and run and trace the same", () => {
  const out = mkdtempSync(path.join(os.tmpdir(), "quarzel-web-"));
  for (const [dir, name] of sources) {
    const bytes = readFileSync(path.join(dir, name));
    const web = q.assembleFile(bytes);
    const prg = path.join(out, name + ".prg");
    const assembled = native(["assemble", name, "-o", prg, "--no-warnings"], dir);
    assert.deepEqual(
      web.diagnostics.map((d) => `${name}:${d.line + 1}:${d.column + 1}: ${d.message}`),
      nativeLines(assembled.stderr),
      `${name}: messages`,
    );
    assert.equal(web.ok, assembled.status === 0, name);
    if (!web.ok) continue;
    assert.deepEqual(web.image, prgBytes(readFileSync(prg)), `${name}: bytes`);
    // The page's way in: the file's text in the editor, assembled into memory.
    assertSameRun(dir, name, webRun((m) => assert.ok(m.assemble(q.sourceFileToText(bytes)).ok)));
  }
});

test("a memory image runs and traces the same", () => {
  const dir = path.join(root, "examples");
  const image = readFileSync(path.join(dir, "hello.prg"));
  assertSameRun(dir, "hello.prg", webRun((m) => assert.equal(m.openImage(image), "")));
});

// How long a run took is the one thing two runs need not share.
const untimed = (json) => json.replace(/"time": [0-9.e-]+/g, '"time": 0');

test("every example's tests give the same JSON and text reports", () => {
  const dir = path.join(root, "examples");
  for (const file of readdirSync(dir).filter((n) => n.endsWith(".tests.toml"))) {
    const program = file.replace(".tests.toml", ".asm");
    const tests = new q.Tests(readFileSync(path.join(dir, file)), file);
    const bytes = readFileSync(path.join(dir, program));
    for (const [format, report] of [
      ["json", tests.reportJson(program, bytes)],
      ["text", tests.reportText(program, bytes)],
    ]) {
      const graded = native(["test", file, program, "--format", format], dir);
      assert.equal(untimed(report), untimed(graded.stdout.toString()), `${file}: ${format}`);
    }
    tests.delete();
  }
});

test("test files with mistakes are refused in the same words", () => {
  const dir = mkdtempSync(path.join(os.tmpdir(), "quarzel-web-"));
  const cases = [
    "[[test]]\nnme = 'a'\n", // a misspelt key, a test without name or expectation
    "[[test]\n", // a syntax error ends the reading
    "[[test]]\nname='a'\nexpect.status='ok'\n[[test]]\nname='a'\nexpect.pc=300\n",
    "[[test]]\nname='ü'\nregisters={R16=1}\nexpect.output=1\n",
  ];
  copyFileSync(path.join(root, "examples/hello.asm"), path.join(dir, "p.asm"));
  for (const [i, text] of cases.entries()) {
    const file = `bad${i}.tests.toml`;
    writeFileSync(path.join(dir, file), text);
    const tests = new q.Tests(text, file);
    const refused = native(["test", file, "p.asm"], dir);
    assert.equal(refused.status, 1, text);
    assert.equal(tests.ok(), false, text);
    assert.deepEqual(tests.mistakeLines(), refused.stderr.toString().trimEnd().split("\n"), text);
    assert.equal(tests.reportJson("p.asm", "halt"), "", text);
    tests.delete();
  }
});

// One native grading run over the whole fuzz corpus: each program's report, with every
// register and memory byte it ends with listed as a failure, must match the web's.
test("the fuzz corpus grades the same, final state included", () => {
  const dir = mkdtempSync(path.join(os.tmpdir(), "quarzel-web-"));
  const corpus = path.join(root, "fuzz/corpus/fuzz_assemble");
  const registers = Array.from({ length: 16 }, (_, r) => `R${r.toString(16).toUpperCase()}=0`);
  const state =
    `max-steps = 2000\n[[test]]\nname = "end state"\nregisters = { R1 = 0x81 }\n` +
    `expect = { output = "", pc = 0, registers = { ${registers.join(", ")} }, ` +
    `memory = { 00 = [${Array(256).fill(0).join(",")}] } }\n`;
  writeFileSync(path.join(dir, "state.tests.toml"), state);
  const names = readdirSync(corpus).sort();
  for (const name of names) copyFileSync(path.join(corpus, name), path.join(dir, `${name}.asm`));
  const graded = JSON.parse(
    untimed(native(["test", "state.tests.toml", dir, "--format", "json"], dir).stdout.toString()),
  );
  assert.equal(graded.programs.length, names.length);
  const tests = new q.Tests(state, "state.tests.toml");
  for (const [i, name] of names.entries()) {
    const program = path.join(dir, `${name}.asm`);
    const web = JSON.parse(untimed(tests.reportJson(program, readFileSync(program))));
    assert.deepEqual(web.programs[0], graded.programs[i], name);
  }
  tests.delete();
});
