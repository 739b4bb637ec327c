import type { AsmEditor } from "./asmeditor";
import { saveFile } from "./files";
import { showNotice } from "./notice";
import type { Machine, QuarzelModule } from "./quarzel";
import {
  MaxLinkLength, ShareError, decodeShared, encodeShared, fragmentParams, linkWith, type Shared,
} from "./sharelink";
import type { TestPanel } from "./testpanel";

// Copy Link, and opening a shared program from the page's address. Opening loads the
// program and never runs it.
export class ShareCommands {
  // Told after a shared program went into the machine.
  loaded: () => void = () => {};

  constructor(private readonly q: QuarzelModule, private readonly machine: Machine,
              private readonly editor: AsmEditor, private readonly tests: TestPanel) {}

  // The editor's source, or memory when the editor is empty; the breakpoints; the tests.
  private current(): Shared {
    const text = this.editor.text;
    const hasSource = text.trim() !== "";
    return {
      source: hasSource ? { name: this.editor.fileName || "source.asm", text } : undefined,
      image: hasSource ? undefined : new Uint8Array(this.machine.saveImage()),
      breakpoints: this.machine.breakpoints(),
      tests: this.tests.file,
    };
  }

  async copyLink(): Promise<void> {
    const shared = this.current();
    const link = linkWith(new URLSearchParams({ share: await encodeShared(shared) }));
    if (link.length > MaxLinkLength) {
      showNotice(`The link would be ${link.length.toLocaleString("en")} characters long, more than ` +
        `the ${MaxLinkLength.toLocaleString("en")} that browsers and course pages take safely. ` +
        "Share the files instead.", { label: "Download Files", run: () => void this.download(shared) });
      return;
    }
    try {
      await navigator.clipboard.writeText(link);
      showNotice("Link copied. It opens this program in a fresh page; nothing was sent anywhere.");
    } catch {
      prompt("Copy this link:", link);  // the browser keeps the clipboard from the page
    }
  }

  private async download(shared: Shared): Promise<void> {
    if (shared.source) await saveFile(shared.source.name, shared.source.text.replace(/\n/g, "\r\n"));
    else if (shared.image) await saveFile("memory.prg", shared.image);
    if (shared.tests) await saveFile(shared.tests.name, shared.tests.text);
  }

  // Loads the program of the address's fragment, if it has one; false when it has none.
  // A damaged one leaves the machine empty and says so.
  async openFromAddress(): Promise<boolean> {
    const data = fragmentParams(location.hash).get("share");
    if (data === null) return false;
    let shared: Shared;
    try {
      shared = await decodeShared(data);
    } catch (error) {
      if (!(error instanceof ShareError)) throw error;
      showNotice(`This link's program could not be opened: ${error.message}. The machine is empty.`);
      return true;
    }
    if (shared.source) {
      this.editor.load(shared.source.text, shared.source.name);
      if (this.q.assembleFile(shared.source.text).ok) this.machine.assemble(shared.source.text);
    } else if (shared.image) {
      const why = this.machine.openImage(shared.image);
      if (why) {
        showNotice(`This link's program could not be opened: ${why.replace(/\.$/, "")}. The machine is empty.`);
        return true;
      }
    }
    for (const address of shared.breakpoints) this.machine.toggleBreakpoint(address);
    if (shared.tests) this.tests.open(shared.tests.text, shared.tests.name);
    this.loaded();
    return true;
  }
}
