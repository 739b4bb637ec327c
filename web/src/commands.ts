import { byId } from "./dom";
import { KeptKeys } from "./kept";
import type { Machine } from "./quarzel";
import { RunControl } from "./runcontrol";
import type { MainViews } from "./views";

// The main window's commands: Run, Step, Break, Clear..., =0, Step Back, Run Back, the
// breakpoints of the disassembly list and the speed menu.
export class Commands {
  readonly run: RunControl;
  private readonly runButton = byId<HTMLButtonElement>("RunButton");
  private readonly breakButton = byId<HTMLButtonElement>("BreakButton");
  private predictStep: (() => void) | undefined;

  constructor(private readonly machine: Machine, private readonly views: MainViews) {
    this.run = new RunControl(machine, () => views.refresh(), () => this.stopped());
    const on = (id: string, handler: () => void) => byId(id).addEventListener("click", handler);
    on("RunButton", () => this.startRun(false));
    on("MenuRunBack", () => this.startRun(true));
    on("StepButton", () => this.step());
    on("MenuStepBack", () => this.stepBack());
    on("BreakButton", () => this.run.stop());
    on("ResetButton", () => this.clear());
    on("ZeroPC", () => this.userWrite(() => machine.zeroPc()));
    on("MenuToggleBreakpoint", () => this.toggleBreakpoint(views.disasm.selectedIndex));
    on("MenuRemoveAllBreakpoints", () => this.userWrite(() => machine.clearBreakpoints()));
    this.setUpSpeedMenu();
    this.setUpDisassembly();
  }

  // Predict mode: Step goes through the prediction, and a run forward, which would leave
  // nothing to predict, ends and stays disabled; a run back only makes more to predict.
  setPredicting(predictStep: (() => void) | undefined): void {
    this.predictStep = predictStep;
    if (predictStep && this.machine.running() && !this.machine.runningBack()) this.run.stop();
    this.runButton.disabled = this.machine.running() || predictStep !== undefined;
  }

  startRun(back: boolean): void {
    if (this.machine.running() || (this.predictStep && !back)) return;
    this.runButton.disabled = true;
    this.breakButton.disabled = false;
    this.run.start(back);
    this.views.setStatus(this.machine.status());
  }

  step(): void {
    if (this.predictStep) return this.predictStep();
    this.machine.step();
    this.showResult();
  }

  stepBack(): void {
    this.machine.stepBack();
    this.showResult();
  }

  toggleBreakpoint(line: number): void {
    if (line >= 0) this.userWrite(() => this.machine.toggleBreakpoint(this.machine.disasmAddress(line)));
  }

  // The desktop's Clear dialog: memory, registers and PC, each chosen.
  clear(): void {
    const dialog = byId<HTMLDialogElement>("ClearDialog");
    dialog.onclose = () => {
      if (dialog.returnValue !== "ok") return;
      const checked = (id: string) => byId<HTMLInputElement>(id).checked;
      if (checked("MemChecked")) {
        this.machine.clearMemory();
        this.views.setMemModified(true);
      }
      if (checked("RegChecked")) this.machine.clearRegisters();
      if (checked("PCChecked")) this.machine.zeroPc();
      this.showResult();
    };
    dialog.returnValue = "";
    dialog.showModal();
  }

  private userWrite(write: () => void): void {
    write();
    this.views.refresh();
  }

  showResult(): void {
    this.views.refresh();
    this.views.setStatus(this.machine.status());
  }

  private stopped(): void {
    this.runButton.disabled = this.predictStep !== undefined;
    this.breakButton.disabled = true;
    this.showResult();
  }

  private setUpSpeedMenu(): void {
    const menu = byId<HTMLSelectElement>("SpeedMenu");
    const rates = [...menu.options].map((o) => o.value);
    const stored = localStorage.getItem(KeptKeys.speed) ?? "0";
    menu.value = rates.includes(stored) ? stored : "0";  // anything else is full speed
    this.run.setRate(Number(menu.value));
    menu.addEventListener("change", () => {
      localStorage.setItem(KeptKeys.speed, menu.value);
      this.run.setRate(Number(menu.value));
    });
  }

  // A click in the left margin toggles a breakpoint; a double click sets PC to the line.
  private setUpDisassembly(): void {
    const list = this.views.disasm;
    const lineOf = (event: MouseEvent) =>
      Number((event.target as HTMLElement).closest("[data-index]")?.getAttribute("data-index") ?? -1);
    list.host.addEventListener("mousedown", (event) => {
      const margin = event.clientX - list.host.getBoundingClientRect().left < 16;
      const line = lineOf(event);
      if (margin && line >= 0) {
        event.preventDefault();
        this.toggleBreakpoint(line);
      }
    });
    list.host.addEventListener("dblclick", (event) => {
      const line = lineOf(event);
      if (line >= 0) this.userWrite(() => this.machine.setPc(this.machine.disasmAddress(line)));
    });
  }
}
