import "./page.css";
import { AsmEditor } from "./asmeditor";
import { Commands } from "./commands";
import { byId } from "./dom";
import { FileCommands } from "./filecommands";
import { saveFile } from "./files";
import { isEmbedded, setUpEmbedding } from "./embed";
import { forgetKept, keepSource, keptSource } from "./kept";
import { bindKeys } from "./keys";
import { setUpMemoryEdit } from "./memoryedit";
import { loadModule } from "./module";
import { setUpNotice } from "./notice";
import { setUpOffline } from "./offline";
import { PredictPanel } from "./predictpanel";
import { maySaveFirst } from "./question";
import { ShareCommands } from "./sharecommands";
import { fragmentParams } from "./sharelink";
import { TestPanel } from "./testpanel";
import { setUpTheme } from "./theme";
import { TraceTable } from "./tracetable";
import { watchValueCards } from "./valuecard";
import { MainViews } from "./views";

async function start(): Promise<void> {
  setUpNotice();
  void setUpOffline();
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
  const share = new ShareCommands(q, machine, editor, tests);
  editor.assembled = tests.loaded = files.loaded = share.loaded = afterLoad;
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
  byId("MenuCopyLink").addEventListener("click", () => void share.copyLink());
  byId("MenuNewFile").addEventListener("click", async () => {
    if (!(await maySaveFirst(editor.isModified,
      "Assembly File Changed.\nDo you want to save before you start a new file?",
      () => files.saveSource(false)))) return;
    editor.load("", "");
    for (const [menu, value] of [["ThemeMenu", "System"], ["SpeedMenu", "0"]]) {
      byId<HTMLSelectElement>(menu).value = value;
      byId(menu).dispatchEvent(new Event("change"));
    }
    forgetKept();
  });
  // Explain: what the instruction at PC will do and what the last step did, with the
  // machine's values, below the machine while shown.
  const explainPanel = byId("ExplainPanel");
  const explain = () => {
    if (explainPanel.hidden) return;
    byId("ExplainNext").textContent = `Next: ${machine.explainNext()}`;
    const last = machine.explainLast();
    byId("ExplainLast").textContent = last && `Last: ${last}`;
  };
  views.refreshed.push(explain);
  byId("MenuExplain").addEventListener("click", () => {
    explainPanel.hidden = !explainPanel.hidden;
    byId("MenuExplain").setAttribute("aria-pressed", String(!explainPanel.hidden));
    explain();
  });
  const predict = new PredictPanel(machine, commands, !isEmbedded());
  views.refreshed.push((changes) => { if (changes.loaded) predict.loaded(); });
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
  // A shared program in the address goes into this page; else the last source comes back.
  // An embedded page keeps nothing: its example is not the student's own source.
  setUpEmbedding(editor);
  if (!(await share.openFromAddress()) && !isEmbedded()) {
    const kept = keptSource();
    if (kept) editor.load(kept.text, kept.name, kept.modified);
  }
  if (!isEmbedded()) {
    let keeping = 0;
    editor.changed = () => {
      clearTimeout(keeping);
      keeping = window.setTimeout(() =>
        keepSource({ name: editor.fileName, text: editor.text, modified: editor.isModified }), 300);
    };
  }
  // Another program pasted into the address of an open page: a fresh page for it (the
  // browser asks first when something is not saved).
  let shared = fragmentParams(location.hash).get("share");
  window.addEventListener("hashchange", () => {
    const now = fragmentParams(location.hash).get("share");
    if (now !== shared && now !== null) location.reload();
    shared = now;
  });
  // The run's figures, for bench/web and for looking into a slow page from the console;
  // the editor's text, for the tests.
  (window as unknown as { quarzelPage: object }).quarzelPage = {
    run: commands.run, module: q, machine, editorText: () => editor.text };
  document.body.dataset.ready = "true";
}

void start();
