import "./page.css";
import { AsmEditor } from "./asmeditor";
import { Commands } from "./commands";
import { byId } from "./dom";
import { acceptDrops, baseName, kindOf, pickFiles, saveFile, watchInput, type OpenedFile } from "./files";
import { bindKeys } from "./keys";
import { setUpMemoryEdit } from "./memoryedit";
import { loadModule } from "./module";
import { maySaveFirst } from "./question";
import { TestPanel } from "./testpanel";
import { setUpTheme } from "./theme";
import { TraceTable } from "./tracetable";
import { watchValueCards } from "./valuecard";
import { MainViews } from "./views";

const Caption = "Quarzel Simulator";

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

  let imageName = "", imageHandle: FileSystemFileHandle | undefined;
  let sourceHandle: FileSystemFileHandle | undefined;
  const traceWin = byId("TraceWin");
  views.refreshed.push((changes) => { if (!traceWin.hidden) trace.update(changes.traceRows); });
  const afterLoad = () => {
    views.setMemModified(false);
    views.refresh();
    views.setStatus(machine.status());
  };
  editor.assembled = afterLoad;
  editor.mayOverwriteMemory = () => maySaveFirst(views.modified,
    "Memory Changed.\nDo you want to save before you overwrite the memory?", saveImage);
  tests.loaded = afterLoad;
  trace.wentBack = () => { views.refresh(); views.setStatus(machine.status()); };

  // Opened files go where their kind says; a source brings its NAME.tests.toml along.
  const opened = async (files: OpenedFile[]) => {
    for (const file of files) {
      const kind = kindOf(file.name);
      if (kind === "image") {
        if (!(await maySaveFirst(views.modified,
          "Memory Changed.\nDo you want to save before you open another file?", saveImage))) continue;
        const why = machine.openImage(file.bytes);
        if (why) { alert(why); continue; }
        imageName = file.name;
        imageHandle = file.handle;
        document.title = `${Caption} - ${file.name}`;
        afterLoad();
      } else if (kind === "source") {
        if (!(await maySaveFirst(editor.isModified,
          "Assembly File Changed.\nDo you want to save before you open another file?",
          () => saveSource(false)))) continue;
        editor.load(q.sourceFileToText(file.bytes), file.name);
        sourceHandle = file.handle;
        const partner = files.find((f) => kindOf(f.name) === "tests" && baseName(f.name) === baseName(file.name));
        if (partner) tests.open(new TextDecoder().decode(partner.bytes), partner.name);
      } else if (kind === "tests") {
        tests.open(new TextDecoder().decode(file.bytes), file.name);
      } else {
        alert(`${file.name}: not a memory image (.prg), assembly source (.asm) or test file (.tests.toml).`);
      }
    }
  };
  // Leaving the page loses what was not saved: the browser asks first.
  window.addEventListener("beforeunload", (event) => {
    if (views.modified || editor.isModified) event.preventDefault();
  });
  const picker = byId<HTMLInputElement>("FilePicker");
  watchInput(picker, opened);
  acceptDrops(document.body, opened);
  const open = () => void pickFiles(picker, opened);
  async function saveImage(): Promise<boolean> {
    await saveFile(imageName || "memory.prg", new Uint8Array(machine.saveImage()), imageHandle);
    views.setMemModified(false);
    return true;
  }
  async function saveSource(asNew: boolean): Promise<boolean> {
    // Lines end in CR LF in the file, as the desktop writes them.
    const text = editor.text.replace(/\n/g, "\r\n");
    await saveFile(editor.fileName || "source.asm", text, asNew ? undefined : sourceHandle);
    editor.setFileModified(false);
    return true;
  }
  byId("OpenButton").addEventListener("click", open);
  byId("SaveButton").addEventListener("click", () => void saveImage());
  byId("MenuOpenFile").addEventListener("click", open);
  byId("MenuOpenTests").addEventListener("click", open);
  byId("MenuSaveFile").addEventListener("click", () => void saveSource(false));
  byId("MenuSaveAsFile").addEventListener("click", () => void saveSource(true));
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
    "Ctrl+S": () => void (inEditor() ? saveSource(false) : views.modified && saveImage()),
    "Alt+T": () => tests.run(),
  });
  // The run's figures, for bench/web and for looking into a slow page from the console.
  (window as unknown as { quarzelPage: object }).quarzelPage = { run: commands.run };
  document.body.dataset.ready = "true";
}

void start();
