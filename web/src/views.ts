import { byId, hex } from "./dom";
import { HexGrid } from "./hexgrid";
import { ListBox } from "./listbox";
import type { Changes, Machine, QuarzelModule, Status, Terminal } from "./quarzel";

// The output window's measure, as the desktop's.
const OutputColumns = 19, OutputRows = 4;

const hexLabels = (format: (i: number) => string, count: number) =>
  Array.from({ length: count }, (_, i) => format(i));

// The main window's views of the machine: the three grids, the disassembly list, the
// output window and the status bar. refresh() asks the machine what changed and shows it.
export class MainViews {
  readonly memory: HexGrid;
  readonly registers: HexGrid;
  readonly sysRegs: HexGrid;
  readonly disasm: ListBox;
  readonly terminal: Terminal;
  private memModified = true;  // so that the first setMemModified runs in full
  private readonly output = byId("OutputBox");
  private readonly panels = [0, 1, 2].map((i) => byId(`StatusPanel${i}`));
  private readonly notePanel = byId("NotePanel");
  private changedMemory = -1;
  private changedRegister = -1;
  private alignment = -1;
  // Listeners the other windows add: after each refresh, with what changed.
  readonly refreshed: ((changes: Changes) => void)[] = [];

  constructor(readonly machine: Machine, q: QuarzelModule) {
    const userWrite = (write: () => void, memory: boolean) => {
      write();
      if (memory) this.setMemModified(true);
      this.refresh();
    };
    this.memory = new HexGrid(byId("MainMemory"), {
      label: "Main Memory", cols: 16, rows: 16,
      cellName: (i) => hex(i, 2), digits: () => 2, editable: () => true,
      columnLabels: hexLabels((i) => `..${hex(i, 1)}`, 16),
      rowLabels: hexLabels((i) => `${hex(i, 1)}0`, 16),
      write: (i, v) => userWrite(() => machine.setMemory(i, v), true),
      moved: (i) => { this.panels[0].textContent = `Address: ${i}`; },
      selected: (lo, hi) => this.setStatus({
        text: lo === hi ? `Selected: ${lo}` : `Selected: ${lo}-${hi}`, tone: "selection" }),
    });
    this.registers = new HexGrid(byId("Registers"), {
      label: "Registers", cols: 1, rows: 16,
      cellName: (i) => `R${hex(i, 1)}`, digits: () => 2, editable: () => true,
      rowLabels: hexLabels((i) => `R${hex(i, 1)}`, 16),
      write: (i, v) => userWrite(() => machine.setRegister(i, v), false),
    });
    this.sysRegs = new HexGrid(byId("SysRegs"), {
      label: "System Registers", cols: 1, rows: 2,
      cellName: (i) => ["PC", "IR"][i], digits: (i) => (i === 0 ? 2 : 4),
      editable: (i) => i === 0,  // IR can be looked at, never edited
      rowLabels: ["PC", "IR"],
      write: (_, v) => userWrite(() => machine.setPc(v), false),
    });
    this.disasm = new ListBox(byId("DisasmWin"), "Disassembler window", () => {});
    this.terminal = new q.Terminal(OutputColumns, OutputRows);
    this.setMemModified(false);
    this.showAll();
    this.setStatus(machine.status());
  }

  get modified(): boolean { return this.memModified; }

  setMemModified(flag: boolean): void {
    if (flag === this.memModified) return;
    this.memModified = flag;
    byId<HTMLButtonElement>("SaveButton").disabled = !flag;
    this.panels[1].textContent = flag ? "Modified" : "";
  }

  setStatus(status: Status | { text: string; tone: "selection" }): void {
    this.panels[2].textContent = status.text;
    this.panels[2].dataset.tone = status.tone;
  }

  // Shows what changed; the most recently changed memory cell and register are marked.
  refresh(): Changes {
    const changes = this.machine.changes();
    if (changes.loaded) {
      // A loaded program starts with nothing marked as changed.
      this.changedMemory = this.changedRegister = -1;
    } else {
      if (changes.memory.length) this.changedMemory = changes.memory[changes.memory.length - 1];
      if (changes.registers.length)
        this.changedRegister = changes.registers[changes.registers.length - 1];
    }
    if (changes.output.length) {
      this.terminal.apply(changes.output);
      this.output.textContent = this.terminal.text();
    }
    if (changes.memory.length || changes.registers.length || changes.pc || changes.ir ||
        changes.loaded || changes.breakpoints)
      this.showAll(changes.memory.length > 0 || changes.loaded || changes.breakpoints);
    this.showNote(this.machine.runNote());
    for (const listener of this.refreshed) listener(changes);
    return changes;
  }

  // The run's newest note beside the status, a hint rather than a message box; a long one
  // is cut, and its tip holds it whole.
  private showNote(note: string): void {
    if (note === this.notePanel.textContent) return;
    this.notePanel.textContent = this.notePanel.title = note;
    this.notePanel.hidden = !note;
  }

  // The disassembly's lines are asked for only when memory or their alignment (PC's
  // lowest bit) changed: building them costs more than all the rest of a refresh.
  private showAll(linesChanged = true): void {
    const m = this.machine;
    this.memory.show(m.memory(), this.changedMemory);
    this.registers.show(m.registers(), this.changedRegister);
    const pc = m.pc();
    this.sysRegs.show([pc, m.ir()], -1);
    if (linesChanged || (pc & 1) !== this.alignment) this.showDisassembly();
    this.alignment = pc & 1;
    const pcLine = m.disasmPcLine();
    if (pcLine !== this.disasm.selectedIndex) this.disasm.select(pcLine);
  }

  private showDisassembly(): void {
    const lines = this.machine.disassembly();
    if (this.disasm.count !== lines.length) this.disasm.setItems(lines);
    else lines.forEach((line, i) => this.disasm.setText(i, line));
    const breakpoints = new Set(this.machine.breakpoints());
    for (let i = 0; i < lines.length; ++i)
      this.disasm.item(i).classList.toggle("breakpoint",
                                           breakpoints.has(this.machine.disasmAddress(i)));
  }
}
