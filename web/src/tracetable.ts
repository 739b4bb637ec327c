import { make } from "./dom";
import type { Machine } from "./quarzel";

// The trace as a virtual table: only the rows on screen exist, so millions of rows cost
// no more than a screenful. Browsers cap an element's height, so beyond MaxHeight the
// scroll position is scaled to the row number.
const RowHeight = 16;
const MaxHeight = 8_000_000;
const Columns = ["step", "pc", "word", "instruction", "change"];

export class TraceTable {
  private readonly body = make("div", { role: "rowgroup" });
  private readonly spacer = make("div");
  private rows = 0;
  private selected = -1;
  // Told after a double click took the machine back to a row's step.
  wentBack: () => void = () => {};

  constructor(private readonly host: HTMLElement, private readonly machine: Machine) {
    host.setAttribute("role", "grid");
    host.setAttribute("aria-label", "Execution history");
    host.setAttribute("tabindex", "0");
    const header = make("div", { role: "row", class: "tr th", "aria-rowindex": "1" });
    for (const name of Columns) header.append(make("div", { role: "columnheader" }, name));
    host.append(header, this.spacer, this.body);
    host.addEventListener("scroll", () => this.render());
    host.addEventListener("click", (event) => this.select(this.rowOf(event.target)));
    host.addEventListener("dblclick", (event) => this.goBack(this.rowOf(event.target)));
    host.addEventListener("keydown", (event) => {
      const moves: Record<string, number> = { ArrowDown: 1, ArrowUp: -1, PageDown: 10, PageUp: -10 };
      if (event.key in moves) this.select(Math.max(0, Math.min(this.rows - 1, this.selected + moves[event.key])));
      else if (event.key === "Enter") this.goBack(this.selected);
      else return;
      event.preventDefault();
      this.reveal(this.selected);
    });
  }

  // Follows the trace's growth; a table scrolled to its end stays at the end.
  update(rows: number): void {
    const atEnd = this.host.scrollTop + this.host.clientHeight >= this.host.scrollHeight - RowHeight;
    this.rows = rows;
    this.host.setAttribute("aria-rowcount", String(rows + 1));
    this.spacer.style.height = `${Math.min(rows * RowHeight, MaxHeight)}px`;
    if (this.selected >= rows) this.selected = -1;
    if (atEnd) this.host.scrollTop = this.host.scrollHeight;
    this.render();
  }

  private scale(): number {
    const view = this.host.clientHeight;
    const full = this.rows * RowHeight;
    return full <= MaxHeight ? 1 : (full - view) / Math.max(1, MaxHeight - view);
  }

  private render(): void {
    if (this.host.hidden) return;
    const top = this.host.scrollTop;
    const onScreen = Math.ceil(this.host.clientHeight / RowHeight) + 1;
    // The header row scrolls too, so the scaled position can pass the last row's.
    const first = Math.max(0, Math.min(Math.floor((top * this.scale()) / RowHeight), this.rows - onScreen + 1));
    const count = Math.min(this.rows - first, onScreen);
    const lines: HTMLElement[] = [];
    for (let k = 0; k < count; ++k) {
      const i = first + k;
      const row = make("div", { role: "row", class: "tr", "aria-rowindex": String(i + 2),
                                "data-row": String(i), "aria-selected": String(i === this.selected) });
      row.style.top = `${top + RowHeight * (k + 1)}px`;
      for (const text of this.machine.traceRow(i)) row.append(make("div", { role: "gridcell" }, text));
      lines.push(row);
    }
    this.body.replaceChildren(...lines);
  }

  private rowOf(target: EventTarget | null): number {
    const row = (target as HTMLElement | null)?.closest?.("[data-row]");
    return row ? Number(row.getAttribute("data-row")) : -1;
  }

  // Marks the row without building the rows anew, so a double click's second press meets
  // the row its first one selected.
  private select(row: number): void {
    if (row < 0) return;
    this.selected = row;
    for (const line of this.body.children)
      line.setAttribute("aria-selected", String(Number(line.getAttribute("data-row")) === row));
  }

  private reveal(row: number): void {
    const first = Math.floor((this.host.scrollTop * this.scale()) / RowHeight);
    const visible = Math.floor(this.host.clientHeight / RowHeight) - 2;
    if (row < first || row > first + visible)
      this.host.scrollTop = ((row - (row < first ? 0 : visible)) * RowHeight) / this.scale();
    this.render();
  }

  private goBack(row: number): void {
    if (row < 0) return;
    this.machine.stepBackTo(this.machine.traceStep(row));
    this.wentBack();
  }

  // The whole trace as one text in the native tool's format, or as CSV.
  exportText(format: "tsv" | "csv"): Blob {
    const pieces: string[] = [];
    this.machine.exportTrace(format, (piece) => pieces.push(piece));
    return new Blob(pieces, { type: format === "csv" ? "text/csv" : "text/tab-separated-values" });
  }
}
