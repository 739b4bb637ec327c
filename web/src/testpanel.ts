import { byId } from "./dom";
import { ListBox } from "./listbox";
import type { Machine, QuarzelModule, Tests } from "./quarzel";
import type { AsmEditor } from "./asmeditor";

interface TestReport {
  programs: { tests: { name: string; passed: boolean; failures: string[] }[] }[];
}

// The editor's tests: a test file opened (or found beside the source by name), Run Tests
// on the editor's text without touching memory, the results listed with the module's
// summary, and a click on a result loading that test's starting state.
export class TestPanel {
  private tests: Tests | null = null;
  private fileName = "";
  private fileText = "";
  private readonly results: ListBox;
  private readonly summary = byId("TestSummary");
  // Told after a test's starting state went into the machine.
  loaded: () => void = () => {};

  constructor(private readonly q: QuarzelModule, private readonly machine: Machine,
              private readonly editor: AsmEditor) {
    this.results = new ListBox(byId("TestBox"), "Test results", (i) => void this.loadStart(i));
    byId("MenuRunTests").addEventListener("click", () => this.run());
  }

  get name(): string { return this.fileName; }
  // The test file as opened, for a shared link; undefined when none is open.
  get file(): { name: string; text: string } | undefined {
    return this.tests ? { name: this.fileName, text: this.fileText } : undefined;
  }

  open(text: string, name: string): void {
    this.tests?.delete();
    this.tests = new this.q.Tests(text, name);
    this.fileName = name;
    this.fileText = text;
    this.clearResults();
  }

  run(): void {
    this.clearResults();
    if (!this.tests) {
      this.editor.showErrors([{ line: -1, column: 0, message: "", text:
        "No test file: open one with Open Tests..., or open the source together with its NAME.tests.toml." }]);
      return;
    }
    const assembly = this.q.assembleFile(this.editor.text);
    const mistakes = this.tests.ok() ? [] : this.tests.mistakeLines();
    // A test file's mistakes are about that file, not a place in the source.
    this.editor.showErrors([...assembly.diagnostics,
      ...mistakes.map((text) => ({ line: -1, column: 0, message: text, text }))]);
    if (!assembly.ok || mistakes.length) return;
    const program = this.programName();
    const report = JSON.parse(this.tests.reportJson(program, this.editor.text)) as TestReport;
    this.summary.textContent = this.tests.reportText(program, this.editor.text).split("\n")[0];
    const results = report.programs[0]?.tests ?? [];
    this.results.setItems(results.map((t) =>
      `${t.passed ? "passed" : "failed"}: ${t.name}${t.failures.length ? ": " + t.failures.join("; ") : ""}`));
    results.forEach((t, i) => this.results.item(i).classList.add(t.passed ? "passed" : "failed"));
    this.results.host.hidden = false;
  }

  private programName(): string {
    return this.editor.fileName.toLowerCase().endsWith(".asm") ? this.editor.fileName : "source.asm";
  }

  private async loadStart(index: number): Promise<void> {
    if (!this.tests || !(await this.editor.mayOverwriteMemory())) return;
    const why = this.tests.loadStart(this.machine, index, this.programName(), this.editor.text);
    if (why.length) this.editor.showErrors(why.map((text) => ({ line: -1, column: 0, message: text, text })));
    else this.loaded();
  }

  private clearResults(): void {
    this.results.setItems([]);
    this.results.host.hidden = true;
    this.summary.textContent = "";
  }
}
