import { keymap } from "@codemirror/view";
import { byId } from "./dom";
import { ListBox } from "./listbox";
import type { Changes, Diagnostic, Machine, QuarzelModule } from "./quarzel";
import { SourceView } from "./sourceview";

// The assembler editor beside the main window: the source, its error list with Next and
// Previous, Assemble, and the editor's status bar.
export class AsmEditor {
  readonly source: SourceView;
  readonly errors: ListBox;
  readonly hints: ListBox;
  private diagnostics: Diagnostic[] = [];
  private hinted: Diagnostic[] = [];
  private modified = true;  // so that the first setFileModified runs in full
  private shownPcLine = -1;
  fileName = "";
  // Asked before a program overwrites memory (the main window may save first), and told
  // after it did.
  mayOverwriteMemory: () => Promise<boolean> = async () => true;
  assembled: () => void = () => {};
  // Told after every change of the text, typed or loaded.
  changed: () => void = () => {};

  constructor(private readonly q: QuarzelModule, private readonly machine: Machine) {
    const keys = keymap.of([
      { key: "Ctrl-F9", run: () => (void this.assemble(), true) },
      { key: "F5", run: () => (this.toggleBreakpoint(this.source.caretLine()), true) },
      { key: "Alt-n", run: () => (this.next(), true) },
      { key: "Alt-p", run: () => (this.previous(), true) },
    ]);
    this.source = new SourceView(byId("TextEditor"), {
      highlight: (text) => q.highlightLine(text),
      breakpointLines: () => new Set(machine.breakpoints().map((a) => machine.sourceLine(a))),
      pcLine: () => machine.markedLine(),
      toggleBreakpoint: (line) => this.toggleBreakpoint(line),
    }, () => {
      machine.sourceEdited();
      this.setFileModified(true);
      this.changed();
    }, (line, column) => {
      byId("EditorPanel0").textContent = `${line}: ${column}`;
    }, keys);
    this.errors = new ListBox(byId("ErrorBox"), "Errors", (i) => this.goToError(i));
    this.hints = new ListBox(byId("HintBox"), "Hints",
      (i) => this.source.goTo(this.hinted[i].line, this.hinted[i].column));
    this.setFileModified(false);
    byId("AssembleButton").addEventListener("click", () => void this.assemble());
    byId("MenuNextError").addEventListener("click", () => this.next());
    byId("MenuPreviousError").addEventListener("click", () => this.previous());
  }

  get text(): string { return this.source.text; }
  get isModified(): boolean { return this.modified; }

  load(text: string, name: string, modified = false): void {
    this.source.setText(text);
    this.fileName = name;
    this.setFileModified(modified);
    this.showErrors([]);
    this.showHints([]);
    this.changed();
  }

  setReadOnly(readOnly: boolean): void { this.source.setReadOnly(readOnly); }

  setFileModified(flag: boolean): void {
    if (flag === this.modified) return;
    this.modified = flag;
    byId<HTMLButtonElement>("MenuSaveFile").disabled = !flag;
    byId("EditorPanel1").textContent = flag ? "Modified" : "";
  }

  // Assembles into memory; with errors, lists them and goes to the first, and memory
  // stays as it was. A trial assembly first, so that the question about modified memory
  // comes only for a program that will be placed.
  async assemble(): Promise<void> {
    const trial = this.q.assembleFile(this.text);
    if (trial.ok && (await this.mayOverwriteMemory())) {
      const placed = this.machine.assemble(this.text);
      this.showErrors(placed.diagnostics);
      this.showHints(placed.warnings);
      this.assembled();
    } else {
      this.showErrors(trial.diagnostics);
      this.showHints(trial.warnings);
    }
    this.source.redraw();
  }

  // Lists diagnostics (the assembler's, or a test file's mistakes) and goes to the first.
  showErrors(diagnostics: Diagnostic[]): void {
    this.diagnostics = diagnostics;
    this.errors.setItems(diagnostics.map((d) => d.text));
    byId<HTMLButtonElement>("MenuPreviousError").disabled = true;
    // With errors Next is enabled even for one, as on the desktop (it then does nothing).
    byId<HTMLButtonElement>("MenuNextError").disabled = diagnostics.length === 0;
    if (diagnostics.length) this.goToError(0);
  }

  // The classic mistakes of a program that assembled, below the errors; hidden when none.
  private showHints(warnings: Diagnostic[]): void {
    this.hinted = warnings;
    this.hints.setItems(warnings.map((w) => w.text));
    byId("HintBox").hidden = byId("HintsLabel").hidden = warnings.length === 0;
  }

  // Redraws the marks when the machine moved them: PC's line, the breakpoints.
  machineChanged(changes: Changes): void {
    const pcLine = this.machine.markedLine();
    if (pcLine === this.shownPcLine && !changes.breakpoints && !changes.loaded) return;
    this.shownPcLine = pcLine;
    this.source.redraw();
  }

  toggleBreakpoint(line: number): void {
    const address = this.machine.breakpointAddressOfLine(line);
    if (address < 0) return;
    this.machine.toggleBreakpoint(address);
    this.source.redraw();
  }

  private next(): void {
    if (this.diagnostics.length && this.errors.selectedIndex < this.diagnostics.length - 1)
      this.goToError(this.errors.selectedIndex + 1);
  }

  private previous(): void {
    if (this.errors.selectedIndex > 0) this.goToError(this.errors.selectedIndex - 1);
  }

  private goToError(index: number): void {
    this.errors.select(index);
    byId<HTMLButtonElement>("MenuPreviousError").disabled = index <= 0;
    byId<HTMLButtonElement>("MenuNextError").disabled = index >= this.diagnostics.length - 1;
    const { line, column } = this.diagnostics[index];
    this.source.goTo(line, column);
  }
}
