import type { AsmEditor } from "./asmeditor";
import { byId } from "./dom";
import { acceptDrops, baseName, kindOf, pickFiles, saveFile, watchInput, type OpenedFile } from "./files";
import type { Machine, QuarzelModule } from "./quarzel";
import { maySaveFirst } from "./question";
import type { TestPanel } from "./testpanel";
import type { MainViews } from "./views";

const Caption = "Quarzel Simulator";

// Open and Save of both windows. An opened file goes where its kind says: an image into
// memory, a source into the editor (with its NAME.tests.toml when that came along), a test
// file to the tests.
export class FileCommands {
  private imageName = "";
  private imageHandle?: FileSystemFileHandle;
  private sourceHandle?: FileSystemFileHandle;
  private readonly picker = byId<HTMLInputElement>("FilePicker");
  // Told after an image was loaded into memory.
  loaded: () => void = () => {};

  constructor(private readonly q: QuarzelModule, private readonly machine: Machine,
              private readonly views: MainViews, private readonly editor: AsmEditor,
              private readonly tests: TestPanel) {
    watchInput(this.picker, (files) => void this.opened(files));
    acceptDrops(document.body, (files) => void this.opened(files));
    // Leaving the page loses what was not saved: the browser asks first.
    window.addEventListener("beforeunload", (event) => {
      if (views.modified || editor.isModified) event.preventDefault();
    });
  }

  open(): void {
    void pickFiles(this.picker, (files) => void this.opened(files));
  }

  async saveImage(): Promise<boolean> {
    const image = new Uint8Array(this.machine.saveImage());
    await saveFile(this.imageName || "memory.prg", image, this.imageHandle);
    this.views.setMemModified(false);
    return true;
  }

  async saveSource(asNew: boolean): Promise<boolean> {
    // Lines end in CR LF in the file, as the desktop writes them.
    const text = this.editor.text.replace(/\n/g, "\r\n");
    await saveFile(this.editor.fileName || "source.asm", text, asNew ? undefined : this.sourceHandle);
    this.editor.setFileModified(false);
    return true;
  }

  mayOverwriteMemory(): Promise<boolean> {
    return maySaveFirst(this.views.modified,
      "Memory Changed.\nDo you want to save before you overwrite the memory?", () => this.saveImage());
  }

  private async opened(files: OpenedFile[]): Promise<void> {
    for (const file of files) {
      const kind = kindOf(file.name);
      if (kind === "image") await this.openImage(file);
      else if (kind === "source") await this.openSource(file, files);
      else if (kind === "tests") this.tests.open(new TextDecoder().decode(file.bytes), file.name);
      else alert(`${file.name}: not a memory image (.prg), assembly source (.asm) or test file (.tests.toml).`);
    }
  }

  private async openImage(file: OpenedFile): Promise<void> {
    if (!(await maySaveFirst(this.views.modified,
      "Memory Changed.\nDo you want to save before you open another file?", () => this.saveImage()))) return;
    const why = this.machine.openImage(file.bytes);
    if (why) return alert(why);
    this.imageName = file.name;
    this.imageHandle = file.handle;
    document.title = `${Caption} - ${file.name}`;
    this.loaded();
  }

  private async openSource(file: OpenedFile, all: OpenedFile[]): Promise<void> {
    if (!(await maySaveFirst(this.editor.isModified,
      "Assembly File Changed.\nDo you want to save before you open another file?",
      () => this.saveSource(false)))) return;
    this.editor.load(this.q.sourceFileToText(file.bytes), file.name);
    this.sourceHandle = file.handle;
    const tests = all.find((f) => kindOf(f.name) === "tests" && baseName(f.name) === baseName(file.name));
    if (tests) this.tests.open(new TextDecoder().decode(tests.bytes), tests.name);
  }
}
