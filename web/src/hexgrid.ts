import { hex, make } from "./dom";

// A grid of hex cells as screen readers know grids: rows of cells named by address or
// register. Typing a hex digit edits the current cell in place; Enter writes it and moves
// on, Escape drops it, as on the desktop.
export interface HexGridShape {
  label: string;
  cols: number;
  rows: number;
  cellName(index: number): string;
  digits(index: number): number;
  editable(index: number): boolean;
  columnLabels?: string[];
  rowLabels: string[];
  write(index: number, value: number): void;
  // The current cell moved there, or the selection changed (lo <= hi, -1 for none).
  moved?(index: number): void;
  selected?(lo: number, hi: number): void;
}

const HexDigit = /^[0-9a-fA-F]$/;

export class HexGrid {
  readonly cells: HTMLElement[] = [];
  private shown: number[] = [];
  private current = 0;
  private anchor = -1;
  private selection: [number, number] = [-1, -1];
  private typed: string | null = null;
  private changedCell = -1;

  constructor(readonly host: HTMLElement, private readonly shape: HexGridShape) {
    host.setAttribute("role", "grid");
    host.setAttribute("aria-label", shape.label);
    host.classList.add("hexgrid");
    const labelled = shape.columnLabels !== undefined;
    host.style.gridTemplateColumns = `auto repeat(${shape.cols}, auto)`;
    if (shape.columnLabels) {
      const header = make("div", { role: "row" });
      header.style.display = "contents";
      header.append(make("div", { role: "columnheader", "aria-label": "Address" }));
      for (const text of shape.columnLabels) header.append(make("div", { role: "columnheader" }, text));
      host.append(header);
    }
    for (let r = 0; r < shape.rows; ++r) {
      const row = make("div", { role: "row", "aria-rowindex": String(r + (labelled ? 2 : 1)) });
      row.style.display = "contents";
      row.append(make("div", { role: "rowheader" }, shape.rowLabels[r]));
      for (let c = 0; c < shape.cols; ++c) {
        const index = r * shape.cols + c;
        const cell = make("div", {
          role: "gridcell", "aria-label": shape.cellName(index), tabindex: index === 0 ? "0" : "-1",
          "data-index": String(index), "aria-selected": "false",
        });
        if (!shape.editable(index)) cell.setAttribute("aria-readonly", "true");
        row.append(cell);
        this.cells.push(cell);
        this.shown.push(-1);
      }
      host.append(row);
    }
    host.addEventListener("mousedown", (event) => this.pointerDown(event));
    host.addEventListener("mouseover", (event) => { if (event.buttons === 1) this.pointerDrag(event); });
    host.addEventListener("keydown", (event) => this.keyDown(event));
    host.addEventListener("focusout", (event) => {
      if (!host.contains(event.relatedTarget as Node | null)) this.commit();
    });
  }

  // Shows the values; only cells whose value or mark changed are touched.
  show(values: ArrayLike<number>, changed: number): void {
    for (let i = 0; i < this.cells.length; ++i) {
      if (values[i] === this.shown[i]) continue;
      this.shown[i] = values[i];
      if (i !== this.editingIndex()) this.cells[i].textContent = hex(values[i], this.shape.digits(i));
    }
    if (changed !== this.changedCell) {
      this.cells[this.changedCell]?.classList.remove("changed");
      this.cells[changed]?.classList.add("changed");
      this.changedCell = changed;
    }
  }

  // The selected range, lo <= hi; [-1, -1] when none.
  selectionBounds(): [number, number] { return this.selection; }

  selectAll(): void {
    this.anchor = 0;
    this.select(0, this.cells.length - 1);
  }

  private editingIndex(): number { return this.typed === null ? -1 : this.current; }

  private indexOf(target: EventTarget | null): number {
    const cell = (target as HTMLElement | null)?.closest?.("[role=gridcell]");
    return cell ? Number(cell.getAttribute("data-index")) : -1;
  }

  private pointerDown(event: MouseEvent): void {
    const index = this.indexOf(event.target);
    if (index < 0 || event.button !== 0) return;
    event.preventDefault();
    if (!this.shape.editable(index)) return;
    this.commit();
    this.moveTo(index, event.shiftKey);
    this.cells[index].focus();
  }

  private pointerDrag(event: MouseEvent): void {
    const index = this.indexOf(event.target);
    if (index >= 0 && this.anchor >= 0) this.select(this.anchor, index);
  }

  private moveTo(index: number, extend: boolean): void {
    this.cells[this.current].setAttribute("tabindex", "-1");
    this.cells[this.current].classList.remove("current");
    this.current = index;
    this.cells[index].setAttribute("tabindex", "0");
    this.cells[index].classList.add("current");
    if (!extend) this.anchor = index;
    this.select(this.anchor, index);
    this.shape.moved?.(index);
  }

  private select(from: number, to: number): void {
    if (!this.shape.selected) return;  // registers keep no selection
    const lo = Math.min(from, to), hi = Math.max(from, to);
    this.selection = [lo, hi];
    this.cells.forEach((cell, i) => cell.setAttribute("aria-selected", String(i >= lo && i <= hi)));
    this.shape.selected(lo, hi);
  }

  private keyDown(event: KeyboardEvent): void {
    if (event.ctrlKey || event.altKey || event.metaKey) return;
    const { cols, rows } = this.shape;
    const count = cols * rows;
    let next = -1;
    switch (event.key) {
      case "Enter":
        if (this.typed !== null) this.commit();
        next = (this.current + 1) % count;
        break;
      case "Escape":
        this.drop();
        break;
      case "Backspace":
        if (this.typed !== null) this.edit(this.typed.slice(0, -1));
        break;
      case "ArrowLeft": next = this.current - 1; break;
      case "ArrowRight": next = this.current + 1; break;
      case "ArrowUp": next = this.current - cols; break;
      case "ArrowDown": next = this.current + cols; break;
      case "Home": next = event.ctrlKey ? 0 : this.current - (this.current % cols); break;
      case "End": next = this.current - (this.current % cols) + cols - 1; break;
      default:
        if (!HexDigit.test(event.key)) return;
        if ((this.typed ?? "").length < this.shape.digits(this.current))
          this.edit((this.typed ?? "") + event.key.toUpperCase());
    }
    event.preventDefault();
    if (next < 0 || next >= count || next === this.current) return;
    this.commit();
    if (!this.shape.editable(next)) return;
    this.moveTo(next, event.shiftKey);
    this.cells[next].focus();
  }

  private edit(text: string): void {
    this.typed = text;
    const cell = this.cells[this.current];
    cell.textContent = text;
    cell.classList.add("editing");
  }

  private drop(): void {
    if (this.typed === null) return;
    this.typed = null;
    const cell = this.cells[this.current];
    cell.classList.remove("editing");
    cell.textContent = hex(this.shown[this.current], this.shape.digits(this.current));
  }

  // An empty edit writes nothing, as a cleared edit box does on the desktop.
  private commit(): void {
    const text = this.typed;
    const index = this.current;
    this.drop();
    if (text) this.shape.write(index, parseInt(text, 16));
  }
}
