// Files in and out of the page, nothing leaving the browser: opening through the file
// picker or by dropping files on the page, saving as a download, or in place when the
// browser handed the page a writable handle (File System Access API).

export interface OpenedFile {
  name: string;
  bytes: Uint8Array;
  handle?: FileSystemFileHandle;
}

interface PickerWindow {
  showOpenFilePicker?(options: object): Promise<FileSystemFileHandle[]>;
}
interface WritableHandle {
  createWritable(): Promise<{ write(data: Blob): Promise<void>; close(): Promise<void> }>;
}

export type FileKind = "image" | "source" | "tests";

export function kindOf(name: string): FileKind | null {
  const lower = name.toLowerCase();
  if (lower.endsWith(".tests.toml") || lower.endsWith(".toml")) return "tests";
  if (lower.endsWith(".asm")) return "source";
  if (lower.endsWith(".prg")) return "image";
  return null;
}

// The base name a test file is found by: "sum" for sum.asm and sum.tests.toml.
export function baseName(name: string): string {
  return name.replace(/(\.tests)?\.[^.]*$/i, "");
}

const accept = ".prg,.asm,.toml";

async function read(file: File, handle?: FileSystemFileHandle): Promise<OpenedFile> {
  return { name: file.name, bytes: new Uint8Array(await file.arrayBuffer()), handle };
}

// The file input hands its files to opened; it also serves browsers without a picker.
export function watchInput(input: HTMLInputElement, opened: (files: OpenedFile[]) => void): void {
  input.accept = accept;
  input.multiple = true;
  input.addEventListener("change", async () => {
    opened(await Promise.all([...(input.files ?? [])].map((f) => read(f))));
    input.value = "";
  });
}

// Asks for files: the browser's picker, which gives handles to save in place, where
// offered; else the file input.
export async function pickFiles(input: HTMLInputElement, opened: (files: OpenedFile[]) => void):
    Promise<void> {
  const picker = (window as PickerWindow).showOpenFilePicker;
  if (!picker) return input.click();
  try {
    const handles = await picker.call(window, {
      multiple: true,
      types: [{ description: "Quarzel files", accept: { "application/octet-stream": accept.split(",") } }],
    });
    opened(await Promise.all(handles.map(async (h) => read(await h.getFile(), h))));
  } catch (error) {
    if ((error as DOMException).name !== "AbortError") throw error;
  }
}

// Calls opened with the files dropped anywhere on the page.
export function acceptDrops(target: HTMLElement, opened: (files: OpenedFile[]) => void): void {
  target.addEventListener("dragover", (event) => {
    event.preventDefault();
    target.classList.add("dropping");
  });
  target.addEventListener("dragleave", () => target.classList.remove("dropping"));
  target.addEventListener("drop", async (event) => {
    event.preventDefault();
    target.classList.remove("dropping");
    opened(await Promise.all([...(event.dataTransfer?.files ?? [])].map((f) => read(f))));
  });
}

// Writes through the handle when there is one, else (or when the browser refuses to write
// there) offers the bytes as a download, so that nothing is lost. Returns how it was saved.
export async function saveFile(name: string, data: BlobPart, handle?: FileSystemFileHandle):
    Promise<"in place" | "downloaded"> {
  const blob = new Blob([data], { type: "application/octet-stream" });
  const writable = handle as unknown as WritableHandle | undefined;
  if (writable?.createWritable) {
    try {
      const stream = await writable.createWritable();
      await stream.write(blob);
      await stream.close();
      return "in place";
    } catch {
      // permission withdrawn, the file gone or locked: download it instead
    }
  }
  const link = document.createElement("a");
  link.href = URL.createObjectURL(blob);
  link.download = name;
  link.click();
  setTimeout(() => URL.revokeObjectURL(link.href), 10_000);
  return "downloaded";
}
