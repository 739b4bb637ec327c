import "./page.css";
import { AsmEditor } from "./asmeditor";
import { Commands } from "./commands";
import { byId } from "./dom";
import { FileCommands } from "./filecommands";
import { saveFile } from "./files";
import { bindKeys } from "./keys";
import { setUpMemoryEdit } from "./memoryedit";
import { loadModule } from "./module";
import { TestPanel } from "./testpanel";
import { setUpTheme } from "./theme";
import { TraceTable } from "./tracetable";
import { watchValueCards } from "./valuecard";
import { MainViews } from "./views";

async function start(): Promise<void> {
  setUpTheme(byId<HTMLSelectElement>("ThemeMenu"));
  const q = await loadModule();
  const machine = new q.Machine();
  const views = new MainViews(machine, q);
  const editor = new AsmEditor(q, machine);
  const tests = new TestPanel(q, machine, editor);
  const trace = new TraceTable(byId("TraceTable"), machine);
  const commands = new Commands(machine, views);
  views.refreshed.push((changes) => editor.machineChanged(changes));
  setUpMemoryEdit(views.memory, machine, () => {
    views.setMemModified(true);
    views.refresh();
  });
  watchValueCards(byId("ValueCard"), machine, [
    [byId("MainMemory"), "memory"], [byId("Registers"), "register"], [byId("SysRegs"), "sysreg"]]);

  const traceWin = byId("TraceWin");
  views.refreshed.push((changes) => { if (!traceWin.hidden) trace.update(changes.traceRows); });
  const files = new FileCommands(q, machine, views, editor, tests);
  const afterLoad = () => {
    views.setMemModified(false);
    views.refresh();
    views.setStatus(machine.status());
  };
  editor.assembled = tests.loaded = files.loaded = afterLoad;
  editor.mayOverwriteMemory = () => files.mayOverwriteMemory();
  trace.wentBack = () => { views.refresh(); views.setStatus(machine.status()); };
  const open = () => files.open();
  byId("OpenButton").addEventListener("click", open);
  byId("SaveButton").addEventListener("click", () => void files.saveImage());
  byId("MenuOpenFile").addEventListener("click", open);
  byId("MenuOpenTests").addEventListener("click", open);
  byId("MenuSaveFile").addEventListener("click", () => void files.saveSource(false));
  byId("MenuSaveAsFile").addEventListener("click", () => void files.saveSource(true));
  byId("AssemblerButton").addEventListener("click", () => editor.source.view.focus());
  const menuTrace = byId("MenuTrace");
  menuTrace.addEventListener("click", () => {
    traceWin.hidden = !traceWin.hidden;
    menuTrace.setAttribute("aria-expanded", String(!traceWin.hidden));
    trace.update(machine.traceRows());
  });
  const exportTrace = (format: "tsv" | "csv") =>
    void saveFile(`trace.${format}`, trace.exportText(format));
  byId("ExportButton").addEventListener("click", () => exportTrace("tsv"));
  byId("ExportCsvButton").addEventListener("click", () => exportTrace("csv"));

  const inEditor = () => byId("AssemblerEditor").contains(document.activeElement);
  bindKeys({
    F9: () => commands.startRun(false),
    F8: () => commands.step(),
    "Shift+F9": () => commands.startRun(true),
    "Shift+F8": () => commands.stepBack(),
    "Ctrl+F2": () => commands.clear(),
    F5: () => commands.toggleBreakpoint(views.disasm.selectedIndex),
    "Ctrl+O": open,
    "Ctrl+S": () => void (inEditor() ? files.saveSource(false) : views.modified && files.saveImage()),
    "Alt+T": () => tests.run(),
  });
  // The run's figures, for bench/web and for looking into a slow page from the console.
  (window as unknown as { quarzelPage: object }).quarzelPage = { run: commands.run, module: q, machine };
  document.body.dataset.ready = "true";
}

void start();
